#pragma once

#include "charts/chart_geometry.h"
#include "charts/raster.h"

// The fine fit of a disc image's geometry, for the set-up of a workspace when the reading
// option "Automatski fino poravnaj geometriju" is on. The geometry of the set-up is only a
// start: the centre comes out to whole pixels and 00:00 to the first of the longest free rays
// in quarter degrees, so every boundary of the trace may read a few minutes off.

// The disc's rim as a circle: edge points found along rays from outside inwards (where the
// image first differs from the background of its corners), fitted by least squares with the
// points far off the circle (dust, a torn edge, the image's border) left out.
struct RimFit {
    bool found = false;
    double centreX = 0.0;
    double centreY = 0.0;
    double radius = 0.0;
    int points = 0; // edge points the circle was fitted to
};
RimFit FitDiscRim(const Raster& disc, double startX, double startY);

// 00:00 to a few hundredths of a degree: the centre hole is symmetric about the line through
// its notch, which points away from 00:00. The notch is where the hole reaches furthest from
// the centre; its axis is searched within two degrees of it. Without a notch that stands out,
// or without a hole edge to read, the rough estimate `pos0` is given back.
double RefineZeroDirection(const Raster& disc, double centreX, double centreY, double pos0);

// The geometry of a disc image fitted finely from the rough one: the centre to a fraction of
// a pixel, the trace ring where it lies on a disc of the fitted radius, 00:00 refined. A disc
// whose rim cannot be found keeps the rough geometry.
ChartGeometry FineChartGeometry(const Raster& disc, const ChartGeometry& rough);

// The trace ring of a disc whose rim has this radius (on a 750-pixel disc image of a disc
// that fills it, R1 = 184 and R2 = 197).
constexpr double kFineInnerFraction = 184.0 / 375.0;
constexpr double kFineOuterFraction = 197.0 / 375.0;
