#include "ui/modeless_window.h"

#include <QKeySequence>
#include <QShortcut>

ModelessWindow::ModelessWindow(const QString& objectName, QWidget* owner)
    : QWidget(owner, Qt::Window), m_placement(objectName)
{
    setObjectName(objectName);
    setAttribute(Qt::WA_DeleteOnClose);
    for (const QKeySequence& keys :
         {QKeySequence(QKeySequence::Save), QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] { storeRequested(); });
    }
}

ModelessWindow::~ModelessWindow()
{
    SaveWindowPlacement(this, m_placement.section());
}

void ModelessWindow::restorePlacement()
{
    RestoreWindowPlacement(this, m_placement.section());
}
