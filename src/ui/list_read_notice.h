#pragma once

#include <QLabel>
#include <QString>

class QComboBox;

// A list read from the database that could not be read says so, so that an empty list always
// means there is nothing in it: the line "Popis nije pročitan: <why>" stands where the list's
// own state is shown, and the list is disabled until a later read succeeds.

// "Popis nije pročitan: " and the first line of the reason.
QString ListNotReadText(const QString& reason);

// The line above (or below) a grid: hidden while the list is read, the reason in red when it is
// not. Object name "PopisNijeProcitan".
class ListReadNotice : public QLabel {
    Q_OBJECT

public:
    // `list` is the view that shows the rows; it is disabled while the list is not read.
    explicit ListReadNotice(QWidget* list, QWidget* parent = nullptr);

    void showRead();
    void showNotRead(const QString& reason);
    bool isRead() const { return m_read; }

private:
    QWidget* m_list;
    bool m_read = true;
};

// A drop-down whose items could not be read: its only item is the not-read line, and it is
// disabled; filling it again enables it (ShowComboRead).
void ShowComboNotRead(QComboBox* combo, const QString& reason);
void ShowComboRead(QComboBox* combo);
