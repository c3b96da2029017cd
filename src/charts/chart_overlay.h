#pragma once

#include "charts/chart_geometry.h"
#include "charts/trace_strip.h"
#include "common/night_window.h"

#include <QImage>

class QPainter;

// Draws the geometry over a disc image, in the image's own pixel coordinates (pixel (x, y)
// covers [x, x + 1) × [y, y + 1), so the painter's transform may scale it to any zoom and the
// lines stay on the points the trace is read at): the ring's inner circle in red and outer in
// blue, the green line of 00:00 out to twice the inner radius, the black line of the split
// point out to 1.5 times the inner radius with a small blue square at its end, and one tick per
// degree of the night period near the centre, yellow and black by tens of degrees.
void PaintChartOverlay(QPainter& painter, const ChartGeometry& geometry, int splitPoint, NightWindow night);

// The unrolled trace as the workspace shows it: 1440 columns, the strip's rows with the inner
// radius at the bottom, grey trace on white and a white margin of kStripMargin above and below.
constexpr int kStripMargin = 17;
QImage TraceStripImage(const TraceStrip& strip);
