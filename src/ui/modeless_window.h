#pragma once

#include "ui/window_placement.h"

#include <QList>
#include <QPointer>
#include <QWidget>

// A window for one piece of work, of which several may be open at once (a manual entry, a
// chart, an attestation, a day graph): shown without blocking, deleted when closed, with a
// placement slot of its own (restored by `restorePlacement`, saved when the window goes), and
// Ctrl+S, Ctrl+Enter storing from anywhere in it.
class ModelessWindow : public QWidget {
public:
    ~ModelessWindow() override;

protected:
    // `settingsPath` is the settings file that keeps the window's placement.
    ModelessWindow(const QString& objectName, QWidget* owner, const QString& settingsPath);

    // Call once the window is built, so a saved size is not undone by the layout.
    void restorePlacement();
    // What Ctrl+S and Ctrl+Enter do; nothing unless the window stores something.
    virtual void storeRequested() {}
    // A window opened from this one (which does not own it): when this one closes, the
    // latest of them still shown comes to the front rather than the main window.
    void openedFromHere(QWidget* window);

    void closeEvent(QCloseEvent* event) override;

private:
    QString m_settingsPath;
    PlacementSlot m_placement;
    QList<QPointer<QWidget>> m_openedFromHere;
};
