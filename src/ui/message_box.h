#pragma once

#include <QString>

class QWidget;

// The program's message boxes, titled "VELTRA", with Croatian buttons.
void ShowMessage(QWidget* parent, const QString& text);
void ShowError(QWidget* parent, const QString& text);
// "Da" / "Ne"; true for "Da".
bool AskYesNo(QWidget* parent, const QString& question);
