#include "reviews/ui/day_chart_strip.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kLegendLeft = 20;
constexpr int kLegendTop = 5;
constexpr int kLegendBox = 20;
const QColor kLegendFrame(192, 192, 192);

}  // namespace

DayChartStrip::DayChartStrip(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
}

void DayChartStrip::setColours(const ActivityColours& colours)
{
    m_colours = colours;
    update();
}

void DayChartStrip::setIntervals(std::vector<ChartInterval> intervals)
{
    m_intervals = std::move(intervals);
    update();
}

void DayChartStrip::setSelection(std::optional<std::pair<int, int>> selection)
{
    m_selection = selection;
    update();
}

void DayChartStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DayChartStyle style;
    style.colours = m_colours;
    m_scale = DrawDayChart(painter, rect(), m_selection, style, m_intervals);
}

void DayChartStrip::mouseMoveEvent(QMouseEvent* event)
{
    emit minuteHovered(m_scale.minuteAt(event->position().toPoint().x()));
}

void DayChartStrip::leaveEvent(QEvent*)
{
    emit minuteHovered(std::nullopt);
}

void DayChartStrip::enterEvent(QEnterEvent*)
{
    update();
}

ActivityLegendStrip::ActivityLegendStrip(QWidget* parent) : QWidget(parent) {}

void ActivityLegendStrip::setColours(const ActivityColours& colours)
{
    m_colours = colours;
    update();
}

void ActivityLegendStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    DrawActivityLegend(painter, rect().adjusted(kLegendLeft, kLegendTop, 0, 0), 1, kLegendBox, kLegendBox, kLegendFrame,
                       m_colours, ActivityLegendLabels());
}
