#pragma once

#include "reviews/day_chart.h"

#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

// The strip of the day graph that draws a day's chart, highlights a selected interval and
// tells which minute the mouse is over.
class DayChartStrip : public QWidget {
    Q_OBJECT

public:
    explicit DayChartStrip(QWidget* parent = nullptr);

    void setColours(const ActivityColours& colours);
    void setIntervals(std::vector<ChartInterval> intervals);
    void setSelection(std::optional<std::pair<int, int>> selection);
    const DayChartScale& scale() const { return m_scale; }

signals:
    // The minute under the mouse; nothing when the mouse is off the day or has left the strip.
    void minuteHovered(std::optional<int> minute);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    ActivityColours m_colours;
    std::vector<ChartInterval> m_intervals;
    std::optional<std::pair<int, int>> m_selection;
    DayChartScale m_scale;
};

// The strip under the chart with the legend of the four kinds.
class ActivityLegendStrip : public QWidget {
public:
    explicit ActivityLegendStrip(QWidget* parent = nullptr);

    void setColours(const ActivityColours& colours);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ActivityColours m_colours;
};
