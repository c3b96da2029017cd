#include "reviews/ui/entry_mark_icon.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kSize = 16;

QPixmap Draw(EntryMark mark)
{
    QPixmap picture(kSize, kSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (mark) {
    case EntryMark::Manual:
        painter.setPen(Qt::darkGray);
        painter.setBrush(Qt::white);
        painter.drawRect(3, 1, 10, 14);
        painter.setPen(QPen(QColor(0, 0, 128), 1));
        for (int y = 4; y <= 12; y += 3)
            painter.drawLine(5, y, 11, y);
        break;
    case EntryMark::Summary: {
        QFont font = painter.font();
        font.setPixelSize(14);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(QColor(128, 0, 0));
        painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QString(QChar(0x03A3)));
        break;
    }
    case EntryMark::ScannedChart:
        painter.setPen(QPen(Qt::darkGray, 1));
        painter.setBrush(QColor(255, 251, 240));
        painter.drawEllipse(1, 1, 14, 14);
        painter.setBrush(Qt::red);
        painter.drawPie(3, 3, 10, 10, 90 * 16, -120 * 16);
        painter.setBrush(Qt::white);
        painter.drawEllipse(6, 6, 4, 4);
        break;
    case EntryMark::DriverCard:
        // A chip card: a blue card with its golden contact pad.
        painter.setPen(QPen(QColor(0, 51, 153), 1));
        painter.setBrush(QColor(70, 120, 200));
        painter.drawRoundedRect(QRectF(0.5, 3.5, 15, 10), 2, 2);
        painter.setPen(QPen(QColor(140, 100, 0), 1));
        painter.setBrush(QColor(230, 190, 60));
        painter.drawRect(3, 6, 4, 4);
        break;
    case EntryMark::OtherType: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::lightGray);
        painter.drawRect(1, 1, 14, 14);
        QFont font = painter.font();
        font.setPixelSize(12);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
    return picture;
}

}  // namespace

QIcon EntryMarkIcon(EntryMark mark)
{
    return QIcon(Draw(mark));
}
