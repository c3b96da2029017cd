#include "reviews/day_chart.h"

#include "common/time_text.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace {

constexpr int kBands = 6;
constexpr int kKinds = 4;
constexpr int kHalfHours = 48;
constexpr int kMinutesPerHalfHour = 30;
constexpr int kFontPoints = 8;
constexpr int kCrewFlag = 2;
constexpr int kCoDriverFlag = 4;
const QColor kCrewColour(0, 0, 128);
const QColor kCoDriverColour(0, 0, 255);
const QString kTimeSample = QStringLiteral("00:00");

// Rectangles in the manner of the chart's coordinates: right and bottom are the first pixel
// outside.
QRect Span(int left, int top, int right, int bottom)
{
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

void Frame(QPainter& painter, int left, int top, int right, int bottom)
{
    painter.drawRect(left, top, right - left - 1, bottom - top - 1);
}

// The chart's coordinates once the area is known.
struct Geometry {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int band = 0;
    double scale = 0;

    int x(int minute) const { return left + static_cast<int>(std::trunc(minute * scale)); }
    int baseline() const { return bottom - band; }
    int levelTop(int kind) const { return bottom - band - (kind + 1) * band; }
};

void DrawSummary(QPainter& painter, const QRect& area, const Geometry& g, const DayChartStyle& style,
                 const std::array<int, kKinds>& totals)
{
    const QFontMetrics metrics(painter.font(), painter.device());
    const int timeWidth = metrics.horizontalAdvance(kTimeSample);
    const int digitWidth = metrics.horizontalAdvance(QLatin1Char('0'));
    int w = style.boxWidth;
    int h = style.boxHeight;
    std::array<QPoint, kKinds> corners;
    if (style.summary2x2) {
        const int s = (g.bottom - g.top - 2 * h) / 3;
        const int leftColumn = g.right + w / 2;
        const int rightColumn = g.right + 2 * w + timeWidth;
        corners = {QPoint(leftColumn, g.top + s), QPoint(leftColumn, g.top + h + 2 * s), QPoint(rightColumn, g.top + s),
                   QPoint(rightColumn, g.top + h + 2 * s)};
    } else {
        const int column = g.right + w / 2;
        const int H = area.height() - style.verticalMargin / 2;
        if (H / 4 < h)
            h = (H - 1) / 4;
        const int rest = H - 4 * h;
        corners = {QPoint(column, area.top() + rest / 5 - 1), QPoint(column, area.top() + h + 2 * (rest / 5)),
                   QPoint(column, area.top() + 2 * h + (3 * rest) / 5), QPoint(column, area.top() + 3 * h + (4 * rest) / 5)};
    }
    const int quarter = static_cast<int>(std::lround(h / 4.0));
    for (int kind = 0; kind < kKinds; ++kind) {
        const QPoint corner = corners[static_cast<size_t>(kind)];
        // The first box of the single column is a pixel taller.
        const int height = !style.summary2x2 && kind == 0 ? h + 1 : h;
        const int bottom = corner.y() + height;
        const int filled = kind == kKinds - 1 ? height : std::min(height, (kind + 1) * quarter);
        painter.fillRect(Span(corner.x(), bottom - filled, corner.x() + w, bottom), style.colours[static_cast<size_t>(kind)]);
        painter.setPen(QPen(style.gridLine, 1));
        painter.setBrush(Qt::NoBrush);
        Frame(painter, corner.x(), corner.y(), corner.x() + w, bottom);
        painter.setPen(Qt::black);
        painter.drawText(QRect(corner.x() + w + digitWidth, corner.y(), timeWidth * 2, metrics.height()),
                         Qt::AlignLeft | Qt::AlignTop, FormatMinutes(totals[static_cast<size_t>(kind)]));
    }
}

}  // namespace

std::optional<int> DayChartScale::minuteAt(int x) const
{
    if (pixelsPerMinute <= 0)
        return std::nullopt;
    const int minute = static_cast<int>(std::trunc((x - x0) / pixelsPerMinute));
    if (x < x0 || minute > kMinutesPerDay)
        return std::nullopt;
    return minute;
}

DayChartScale DrawDayChart(QPainter& painter, const QRect& area, std::optional<std::pair<int, int>> selection,
                           const DayChartStyle& style, std::span<const ChartInterval> intervals)
{
    painter.save();
    painter.fillRect(area, style.background);
    QFont font = painter.font();
    font.setPointSize(kFontPoints);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());

    Geometry g;
    g.left = area.left() + style.horizontalMargin;
    g.top = area.top() + style.verticalMargin;
    const int chartRight = area.left() + area.width() - style.horizontalMargin;
    const int chartBottom = area.top() + area.height() - style.verticalMargin;
    int usable = chartRight - g.left;
    if (style.summary) {
        const int timeWidth = metrics.horizontalAdvance(kTimeSample);
        usable -= style.summary2x2 ? 3 * style.boxWidth + 2 * timeWidth : 2 * style.boxWidth + timeWidth;
    }
    g.scale = static_cast<double>(usable) / kMinutesPerDay;
    g.band = (chartBottom - g.top - metrics.height()) / kBands;
    g.right = g.x(kMinutesPerDay);
    g.bottom = g.top + kBands * g.band;

    painter.setPen(QPen(style.frame, style.frameWidth));
    painter.setBrush(Qt::white);
    Frame(painter, g.left, g.top, g.right, g.bottom);
    painter.setBrush(Qt::NoBrush);

    if (selection) {
        painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        painter.fillRect(Span(g.x(selection->first), area.top(), g.x(selection->second), area.top() + area.height()),
                         style.selection);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }

    // Hour ticks, with the hour under every full one.
    painter.setPen(QPen(style.frame, 1));
    for (int i = 0; i < kHalfHours; ++i) {
        const int x = g.x(kMinutesPerHalfHour * i);
        const int length = i % 2 == 0 ? g.band : g.band / 2;
        if (length > 0)
            painter.drawLine(x, g.bottom, x, g.bottom + length - 1);
        if (i % 2 == 0) {
            const QString hour = QString::number(i / 2);
            const int width = metrics.horizontalAdvance(hour);
            painter.drawText(QRect(x - width / 2 - 1, g.bottom + g.band, width + 2, metrics.height()),
                             Qt::AlignHCenter | Qt::AlignTop, hour);
        }
    }

    // The tops of the four activity levels.
    int lineWidth = style.frameWidth;
    if (style.levelLineWidth >= 3 && style.frameWidth != 1)
        lineWidth = style.levelLineWidth / 2;
    const int inset = style.frameWidth == 1 ? 0 : style.frameWidth;
    painter.setPen(QPen(style.gridLine, lineWidth));
    for (int j = 1; j <= kKinds; ++j) {
        const int y = g.bottom - g.band - j * g.band;
        painter.drawLine(g.left + inset, y, g.right - 1 - inset, y);
    }

    std::array<int, kKinds> totals{};
    for (int kind = 0; kind < kKinds; ++kind) {
        for (const ChartInterval& interval : intervals) {
            if (interval.kind != kind || !interval.start || !interval.end)
                continue;
            const int left = g.x(*interval.start);
            const int right = g.x(*interval.end);
            painter.fillRect(Span(left, g.levelTop(kind), right, g.baseline()), style.colours[static_cast<size_t>(kind)]);
            totals[static_cast<size_t>(kind)] += *interval.end - *interval.start;
            if (interval.crewFlags & kCrewFlag)
                painter.fillRect(Span(left, g.bottom - g.band / 2, right, g.bottom - g.band / 6), kCrewColour);
            if (interval.crewFlags & kCoDriverFlag)
                painter.fillRect(Span(left, g.top + g.band / 6, right, g.top + g.band / 2), kCoDriverColour);
        }
    }

    if (style.summary)
        DrawSummary(painter, area, g, style, totals);
    painter.restore();
    return DayChartScale{g.left, g.scale};
}

void DrawActivityLegend(QPainter& painter, const QRect& area, int frameWidth, int boxWidth, int boxHeight,
                        const QColor& boxFrame, const ActivityColours& colours, const QStringList& labels)
{
    painter.save();
    const QFontMetrics metrics(painter.font(), painter.device());
    const int digitWidth = metrics.horizontalAdvance(QLatin1Char('0'));
    int left = area.left() + boxWidth;
    for (int i = 1; i <= kKinds && i <= labels.size(); ++i) {
        const int top = area.top();
        const int bottom = top + boxHeight;
        const int filled = static_cast<int>(std::lround(i * boxHeight / 4.0));
        painter.fillRect(Span(left, bottom - filled, left + boxWidth, bottom), colours[static_cast<size_t>(i - 1)]);
        painter.setPen(QPen(boxFrame, frameWidth));
        painter.setBrush(Qt::NoBrush);
        Frame(painter, left, top, left + boxWidth, bottom);
        const QString& label = labels[i - 1];
        const int labelWidth = metrics.horizontalAdvance(label);
        painter.setPen(Qt::black);
        painter.drawText(QRect(left + boxWidth + digitWidth, top, labelWidth + digitWidth, boxHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, label);
        left += labelWidth + 3 * boxWidth;
    }
    painter.restore();
}

QStringList ActivityLegendLabels()
{
    return QStringLiteral("Odmor||Spremnost za rad||Ostali rad||Vožnja").split(QStringLiteral("||"));
}
