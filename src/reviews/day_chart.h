#pragma once

#include "settings/settings_values.h"

#include <QColor>
#include <QRect>
#include <QStringList>

#include <optional>
#include <span>
#include <utility>

class QPainter;

// One interval as the day chart draws it: each value as stored, none where the column is NULL.
struct ChartInterval {
    std::optional<int> start;  // TOD
    std::optional<int> end;    // TDO
    std::optional<int> kind;   // TAKT
    int crewFlags = 0;         // SCP
};

// How a day chart is drawn; the defaults are those of the day graph window.
struct DayChartStyle {
    int levelLineWidth = 1;
    int frameWidth = 1;
    int boxHeight = 0;  // the summary boxes
    int boxWidth = 0;
    bool summary = false;
    bool summary2x2 = true;  // setting Sumarno2x2: the boxes in two columns of two
    QColor gridLine = QColor(192, 192, 192);
    QColor background = Qt::white;
    QColor frame = Qt::black;
    QColor selection = QColor(227, 227, 227);  // the light 3-D colour of the system
    ActivityColours colours;
    int verticalMargin = 10;
    int horizontalMargin = 10;
};

// Where minute 0 lies and how many pixels a minute takes, as the mouse readout needs them.
struct DayChartScale {
    int x0 = 0;
    double pixelsPerMinute = 0;

    // The minute under a horizontal position: trunc((x - x0) / scale), nothing outside 0..1440.
    std::optional<int> minuteAt(int x) const;
};

// The 24-hour step chart of a day: six bands (co-driver, driving, other work, availability,
// rest, crew) with hour ticks and numbers below, a bar per interval at its kind's level (kinds
// drawn in code order, so later ones paint over earlier ones), the crew and co-driver bars, the
// selection shown inverted over the whole height, and optionally the four summary boxes with
// the kinds' totals. The same drawing serves the screen, the printer and PDF.
DayChartScale DrawDayChart(QPainter& painter, const QRect& area, std::optional<std::pair<int, int>> selection,
                           const DayChartStyle& style, std::span<const ChartInterval> intervals);

// The legend of the four kinds: boxes filled to a quarter, half, three quarters and the whole
// height, each followed by its label.
void DrawActivityLegend(QPainter& painter, const QRect& area, int frameWidth, int boxWidth, int boxHeight,
                        const QColor& boxFrame, const ActivityColours& colours, const QStringList& labels);

// "Odmor||Spremnost za rad||Ostali rad||Vožnja" as a list.
QStringList ActivityLegendLabels();
