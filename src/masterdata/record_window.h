#pragma once

#include <QString>

class QBoxLayout;
class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;

// Pieces shared by the record windows of drivers and vehicles.

inline const QString kRecordAccessError = QStringLiteral("Pogreška prilikom pristupa podacima!");

// A one-line text field with its object name and the longest text it accepts (0: no limit).
QLineEdit* NewTextField(QWidget* parent, const char* objectName, int maxLength);

// Adds the grey bar at the bottom of a record window: "Otkaži" (BitBtn2, closes the window
// with Rejected) on the left and the store button (BitBtn1) on the right, which is returned.
// Neither button is a default button, so Enter stores nothing.
QPushButton* AddRecordButtonBar(QDialog& window, QBoxLayout& layout);

// The store button's caption: "Dodaj" for a new record (id -1), "Promijeni" otherwise.
QString StoreButtonCaption(int id);

// Closes the window with Rejected once the event being handled is over (a window cannot close
// while it is still being shown).
void CloseAtOnce(QDialog& window);
