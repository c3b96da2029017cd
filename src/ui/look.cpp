#include "ui/look.h"

#include <QWidget>

#include <algorithm>

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

namespace {

constexpr int kFramePadding = 16;  // frame, margins and a little air around a text

}  // namespace

int TextWidth(const QWidget* widget, const QString& text)
{
    return widget->fontMetrics().horizontalAdvance(text) + kFramePadding;
}

int ColumnWidth(const QFontMetrics& metrics, int width, const QString& text)
{
    return std::max(width, metrics.horizontalAdvance(text) + kFramePadding);
}

}  // namespace Look
