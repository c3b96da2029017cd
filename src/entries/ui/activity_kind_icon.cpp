#include "entries/ui/activity_kind_icon.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kIconSize = 12;

} // namespace

QIcon ActivityKindIcon(ActivityKind kind, const ActivityColours& colours)
{
    QPixmap square(kIconSize, kIconSize);
    square.fill(colours[static_cast<size_t>(ActivityCode(kind))]);
    QPainter painter(&square);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, kIconSize - 1, kIconSize - 1);
    return QIcon(square);
}
