#include "ui/window_placement.h"

#include "common/profile_file.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int kTaskBarAllowance = 32;
constexpr int kCascadeStep = 32;

const QString kTop = QStringLiteral("Top");
const QString kLeft = QStringLiteral("Left");
const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");

QString SectionOf(const QWidget* window, const QString& section)
{
    return section.isEmpty() ? window->objectName() : section;
}

// The property that marks a window with the placement slot it holds, under its base name.
constexpr char kSlotBase[] = "veltraPlacementBase";
constexpr char kSlotNumber[] = "veltraPlacementSlot";

}  // namespace

void SaveWindowPlacement(const QWidget* window, const QString& settingsPath, const QString& section)
{
    ProfileFile file(settingsPath);
    const QString name = SectionOf(window, section);
    file.writeInteger(name, kTop, window->y());
    file.writeInteger(name, kLeft, window->x());
    file.writeInteger(name, kWidth, window->width());
    file.writeInteger(name, kHeight, window->height());
}

void RestoreWindowPlacement(QWidget* window, const QString& settingsPath, const QString& section)
{
    const ProfileFile file(settingsPath);
    const QString name = SectionOf(window, section);
    QRect placement;
    placement.moveTop(file.readInteger(name, kTop, window->y()));
    placement.moveLeft(file.readInteger(name, kLeft, window->x()));
    placement.setWidth(file.readInteger(name, kWidth, window->width()));
    placement.setHeight(file.readInteger(name, kHeight, window->height()));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        placement = KeepOnScreen(placement, screen->geometry().size());
    }
    window->move(placement.topLeft());
    window->resize(placement.size());
}

QRect KeepOnScreen(const QRect& placement, const QSize& screen)
{
    QRect kept = placement;
    if (kept.left() + kept.width() > screen.width()) {
        kept.moveLeft(screen.width() - kept.width());
    }
    if (kept.left() < 0) {
        kept.moveLeft(0);
    }
    if (kept.top() + kept.height() > screen.height()) {
        kept.moveTop(screen.height() - kept.height() - kTaskBarAllowance);
    }
    if (kept.top() < 0) {
        kept.moveTop(0);
    }
    return kept;
}

namespace {

// The nearest top left corner at which a window of the size lies within the area (at the
// area's top left when it is larger).
QPoint WithinArea(const QPoint& corner, const QSize& size, const QRect& area)
{
    return QPoint(std::max(area.left(), std::min(corner.x(), area.right() + 1 - size.width())),
                  std::max(area.top(), std::min(corner.y(), area.bottom() + 1 - size.height())));
}

}  // namespace

QPoint CascadedPosition(const QRect& placement, const QList<QPoint>& taken, const QRect& available)
{
    for (const QPoint& origin : {placement.topLeft(), available.topLeft()}) {
        QPoint previous = WithinArea(origin, placement.size(), available);
        for (int step = 0;; ++step) {
            const QPoint candidate = WithinArea(origin + QPoint(step, step) * kCascadeStep, placement.size(), available);
            if (!taken.contains(candidate))
                return candidate;
            // Stuck at the area's edge: no further place this way.
            if (step > 0 && candidate == previous)
                break;
            previous = candidate;
        }
    }
    return WithinArea(placement.topLeft(), placement.size(), available);
}

PlacementSlot::PlacementSlot(QWidget* window, const QString& baseName) : m_baseName(baseName)
{
    QSet<int> taken;
    for (const QWidget* open : QApplication::topLevelWidgets()) {
        if (open != window && open->property(kSlotBase).toString() == baseName)
            taken.insert(open->property(kSlotNumber).toInt());
    }
    while (taken.contains(m_number))
        ++m_number;
    window->setProperty(kSlotBase, baseName);
    window->setProperty(kSlotNumber, m_number);
}

QString PlacementSlot::section() const
{
    return m_number == 1 ? m_baseName : m_baseName + QString::number(m_number);
}
