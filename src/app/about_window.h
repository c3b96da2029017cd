#pragma once

#include <QDialog>

// "O programu": version, author and contact, with a link to the publisher's site.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
};
