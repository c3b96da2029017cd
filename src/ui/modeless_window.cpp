#include "ui/modeless_window.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QTimer>

ModelessWindow::ModelessWindow(const QString& objectName, QWidget* owner, const QString& settingsPath)
    : QWidget(owner, Qt::Window), m_settingsPath(settingsPath), m_placement(this, objectName)
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
    SaveWindowPlacement(this, m_settingsPath, m_placement.section());
}

void ModelessWindow::openedFromHere(QWidget* window)
{
    m_openedFromHere << window;
}

void ModelessWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (!event->isAccepted())
        return;
    for (auto it = m_openedFromHere.crbegin(); it != m_openedFromHere.crend(); ++it) {
        QWidget* next = it->data();
        if (next && next->isVisible()) {
            // Once this window is gone and the system has activated another one.
            QTimer::singleShot(0, next, [next] {
                next->raise();
                next->activateWindow();
            });
            return;
        }
    }
}

void ModelessWindow::restorePlacement()
{
    RestoreWindowPlacement(this, m_settingsPath, m_placement.section());
}
