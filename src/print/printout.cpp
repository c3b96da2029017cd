#include "print/printout.h"

#include <QPageSize>
#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace {

constexpr double kMillimetresPerInch = 25.4;

}  // namespace

PageCanvas::PageCanvas(QPainter& painter, double dotsPerInch)
    : m_painter(painter), m_dotsPerMm(dotsPerInch / kMillimetresPerInch)
{
}

double PageCanvas::mm(double millimetres) const
{
    return millimetres * m_dotsPerMm;
}

int PageCanvas::px(double millimetres) const
{
    return static_cast<int>(std::lround(mm(millimetres)));
}

QRect PageCanvas::rect(double left, double top, double right, double bottom) const
{
    return QRect(QPoint(px(left), px(top)), QPoint(px(right) - 1, px(bottom) - 1));
}

void PageCanvas::setFont(const QString& family, double points, bool bold, bool italic)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    m_painter.setFont(font);
}

void PageCanvas::textAt(double left, double top, const QString& text) const
{
    const QFontMetricsF metrics(m_painter.font(), m_painter.device());
    m_painter.drawText(QPointF(mm(left), mm(top) + metrics.ascent()), text);
}

void PageCanvas::textCentred(double left, double right, double top, const QString& text) const
{
    const QFontMetricsF metrics(m_painter.font(), m_painter.device());
    const double width = metrics.horizontalAdvance(text);
    m_painter.drawText(QPointF((mm(left) + mm(right) - width) / 2, mm(top) + metrics.ascent()), text);
}

void PageCanvas::textRightAligned(double right, double top, const QString& text) const
{
    const QFontMetricsF metrics(m_painter.font(), m_painter.device());
    m_painter.drawText(QPointF(mm(right) - metrics.horizontalAdvance(text), mm(top) + metrics.ascent()), text);
}

void PageCanvas::line(double x1, double y1, double x2, double y2, double width) const
{
    m_painter.save();
    QPen pen = m_painter.pen();
    pen.setWidthF(mm(width));
    m_painter.setPen(pen);
    m_painter.drawLine(QPointF(mm(x1), mm(y1)), QPointF(mm(x2), mm(y2)));
    m_painter.restore();
}

void PaintHeaderBand(PageCanvas& canvas, double left, double top, double right, double height)
{
    QPainter& painter = canvas.painter();
    painter.fillRect(canvas.rect(left, top, right, top + height), QColor(241, 255, 242));
    painter.save();
    painter.setPen(Qt::blue);
    canvas.line(left, top, right, top, 0.3);
    canvas.line(left, top + height, right, top + height, 0.3);
    painter.restore();
}

void PaintDottedRule(PageCanvas& canvas, double left, double right, double y, const QColor& colour)
{
    QPainter& painter = canvas.painter();
    painter.save();
    QPen dotted(colour);
    dotted.setStyle(Qt::DotLine);
    painter.setPen(dotted);
    canvas.line(left, y, right, y, 0.2);
    painter.restore();
}

void PaintPageFooter(PageCanvas& canvas, double left, double right, double textTop, int page, int pages,
                     const QDateTime& printedAt, const QString& webAddress)
{
    const QString arial = QStringLiteral("Arial");
    QPainter& painter = canvas.painter();
    painter.save();
    painter.setPen(Qt::black);
    canvas.setFont(arial, 9, true);
    canvas.textAt(left, textTop, QStringLiteral("Str. %1 od %2").arg(page + 1).arg(pages));
    canvas.setFont(arial, 7);
    canvas.textCentred(left, right, textTop + 0.5,
                       QStringLiteral("Datum i vrijeme ispisa: ") + printedAt.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    canvas.setFont(arial, 9);
    painter.setPen(Qt::blue);
    canvas.textRightAligned(right, textTop, webAddress);
    painter.restore();
}

QPageLayout Printout::pageLayout() const
{
    return A4Portrait();
}

QPageLayout A4Portrait()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void PaintPrintoutPage(const Printout& printout, QPainter& painter, int page, double dotsPerInch)
{
    painter.save();
    PageCanvas canvas(painter, dotsPerInch);
    printout.paintPage(canvas, page);
    painter.restore();
}

QString PrintoutFileName(const QStringList& parts)
{
    static const QRegularExpression refused(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1F]"));
    QStringList cleaned;
    for (const QString& part : parts) {
        QString text = part.trimmed();
        text.replace(refused, QStringLiteral("_"));
        if (!text.isEmpty())
            cleaned << text;
    }
    return cleaned.join(QStringLiteral(" - "));
}
