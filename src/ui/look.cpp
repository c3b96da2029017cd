#include "ui/look.h"

#include <QWidget>

namespace Look {

void Paint(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QFont Bold(QFont font)
{
    font.setBold(true);
    return font;
}

}  // namespace Look
