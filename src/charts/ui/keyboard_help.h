#pragma once

#include <QWidget>

// "Tipkovnica": the keys of the chart workspace's disc image, in a small tool window that stays
// open beside the workspace. One window for the run.
class KeyboardHelp : public QWidget {
public:
    explicit KeyboardHelp(QWidget* parent = nullptr);

    // Shows the window (made at the first call) and brings it to the front.
    static KeyboardHelp* showHelp(QWidget* parent);
};
