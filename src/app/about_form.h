#pragma once

#include <QDialog>

// "O programu": version, author and contact, with a link to the publisher's site.
class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);
};
