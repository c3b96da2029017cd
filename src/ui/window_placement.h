#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

// Window positions and sizes are kept in the settings file (postavke.dat, whose path the
// window is given), one section per window with the whole-number keys Top, Left, Width and
// Height. The section is the window's object name unless a section is given. Windows restore
// when they are created and save when destroyed.
void SaveWindowPlacement(const QWidget* window, const QString& settingsPath, const QString& section = QString());
void RestoreWindowPlacement(QWidget* window, const QString& settingsPath, const QString& section = QString());

// Keeps a placement on a screen of the given size: a window past the right edge ends flush
// with it, one past the bottom edge ends 32 pixels above it (room for the task bar), and
// neither Left nor Top is ever below 0.
QRect KeepOnScreen(const QRect& placement, const QSize& screen);

// Where a window of which several open at once goes, so that none hides another: its own
// placement when no window of its kind stands there (`taken`), otherwise the first free place
// moving from there down and right a title bar's height at a time, then from the top left of
// the area again; always within the available area of the screen.
QPoint CascadedPosition(const QRect& placement, const QList<QPoint>& taken, const QRect& available);

// The section of a window of which several can be open at once: the first of them keeps the
// base name, the others the base name followed by the number of the first free slot
// ("TfrmRucniUnos", "TfrmRucniUnos2", ...). A slot is taken by a window while it exists: the
// slots in use are those of the windows open now.
class PlacementSlot {
public:
    PlacementSlot(QWidget* window, const QString& baseName);

    QString section() const;

private:
    QString m_baseName;
    int m_number = 1;
};
