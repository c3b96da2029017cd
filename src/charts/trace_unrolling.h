#pragma once

#include "charts/chart_geometry.h"
#include "charts/raster.h"
#include "charts/trace_strip.h"

// The paper's brightness: the mean intensity of the four rings just inside R1 (one sample per
// whole degree, not turned by Pos0).
int PaperLevel(const Raster& disc, const ChartGeometry& geometry);

// Unrolls the trace ring R1..R2 into a strip of 1440 minute columns (minute m at the angle
// Pos0 + m / 4 degrees) and R2 − R1 + 2 rows; the last row is never written and stays paper.
// Samples are bilinear; points outside the disc image read as black. The strip keeps the paper's
// level, and its threshold is 10 below it: brighter samples are stored as paper.
TraceStrip UnrollTrace(const Raster& disc, const ChartGeometry& geometry);
