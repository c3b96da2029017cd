#pragma once

#include <QApplication>
#include <QWidget>

// The open window of a kind of which the program keeps one at a time, found among the windows
// that exist now; nullptr when there is none.
template <typename Window>
Window* FindWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<Window*>(window))
            return found;
    }
    return nullptr;
}
