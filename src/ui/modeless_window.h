#pragma once

#include "ui/window_placement.h"

#include <QWidget>

// A window for one piece of work, of which several may be open at once (a manual entry, a
// chart, an attestation, a day graph): shown without blocking, deleted when closed, with a
// placement slot of its own (restored by `restorePlacement`, saved when the window goes), and
// Ctrl+S, Ctrl+Enter storing from anywhere in it.
class ModelessWindow : public QWidget {
public:
    ~ModelessWindow() override;

protected:
    ModelessWindow(const QString& objectName, QWidget* owner);

    // Call once the window is built, so a saved size is not undone by the layout.
    void restorePlacement();
    // What Ctrl+S and Ctrl+Enter do; nothing unless the window stores something.
    virtual void storeRequested() {}

private:
    PlacementSlot m_placement;
};
