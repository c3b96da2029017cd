#pragma once

#include <QWidget>

// "Tipkovnica": the keys of the chart workspace's disc image, in a small tool window that stays
// open beside the workspace. One window for the run.
class TInfoForm : public QWidget {
public:
    explicit TInfoForm(QWidget* parent = nullptr);

    // Shows the window (made at the first call) and brings it to the front.
    static TInfoForm* showHelp(QWidget* parent);
};
