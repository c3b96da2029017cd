#pragma once

#include <QString>

class QWidget;

// The program's message boxes, titled "VELTRA", with Croatian buttons.
void ShowMessage(QWidget* parent, const QString& text);
void ShowError(QWidget* parent, const QString& text);
// "Da" / "Ne"; true for "Da".
bool AskYesNo(QWidget* parent, const QString& question);

// "Pokušaj ponovo" / "Odustani" under the text; true for "Pokušaj ponovo".
bool AskTryAgain(QWidget* parent, const QString& text);

// Runs a store (a callable that makes its own transaction and returns how it went: `done`,
// `lockConflict`, `message`) until it is done or given up. When another user holds the same
// data (a lock conflict) the operator is told and chooses to try the whole store again or give
// up; any other refusal is shown as an error. The window keeps what was typed either way.
// Returns the last try's result.
template <typename Store>
auto StoreTryingAgain(QWidget* parent, const Store& store)
{
    for (;;) {
        auto result = store();
        if (result.done)
            return result;
        if (!result.lockConflict) {
            ShowError(parent, result.message);
            return result;
        }
        if (!AskTryAgain(parent, result.message))
            return result;
    }
}
