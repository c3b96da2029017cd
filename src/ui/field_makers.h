#pragma once

#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

// The small makers of a window's fields: each control with its object name (none where
// `objectName` is null), made for `parent` (none: the layout it is put in takes it).

QLabel* NewLabel(const QString& text, QWidget* parent, const char* objectName = nullptr);
QLabel* NewBoldLabel(const QString& text, QWidget* parent, const char* objectName = nullptr);
// A one-line text field accepting at most `maxLength` characters (0: no limit).
QLineEdit* NewLineEdit(QWidget* parent, const char* objectName, int maxLength = 0);
// A read-only line; it takes no focus.
QLineEdit* NewReadOnlyLine(QWidget* parent, const char* objectName);
QCheckBox* NewCheckBox(QWidget* parent, const char* objectName, const QString& caption);
QComboBox* NewComboBox(QWidget* parent, const char* objectName);
// A small button beside a field ("+", "✎", "▶") with its hint.
QToolButton* NewSmallButton(QWidget* parent, const char* objectName, const QString& caption, const QString& hint);

// A control shown only at times keeps its room while hidden, so that showing it moves nothing.
void KeepRoomWhenHidden(QWidget* widget);
