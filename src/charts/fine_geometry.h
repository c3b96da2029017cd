#pragma once

#include "charts/chart_geometry.h"
#include "charts/raster.h"

#include <functional>
#include <optional>

// The fine fit of a disc image's geometry, for the set-up of a workspace when the reading
// option "Automatski fino poravnaj geometriju" is on. The geometry of the set-up is only a
// start: the centre comes out to whole pixels and 00:00 to the first of the longest free rays
// in quarter degrees, so every boundary of the trace may read a few minutes off.

// The disc's rim as a circle about (startX, startY) with a radius within `spread` (a share)
// of `about`: edge points found along rays from outside inwards (where the image first differs
// from the background of its corners), fitted by least squares with the points far off the
// circle (dust, a torn edge, the image's border) left out.
struct RimFit {
    bool found = false;
    double centreX = 0.0;
    double centreY = 0.0;
    double radius = 0.0;
    int points = 0; // edge points the circle was fitted to
};
RimFit FitDiscRim(const IntensityImage& disc, double startX, double startY, double about, double spread);

// 00:00 to a few hundredths of a degree from the centre hole, which is symmetric about the
// line through its notch, pointing away from 00:00. The notch is where the hole reaches
// furthest from the centre; its axis is searched within two degrees of it. The hole's edge is
// where the level changes from what shows through the hole to the paper's, or, when the hole
// is as light as the paper (a white scanner lid), the thin dark outline the paper's cut edge
// casts. Nothing without a notch that stands out or without a hole edge to read.
std::optional<double> HoleZeroDirection(const IntensityImage& disc, double centreX, double centreY);

// 00:00 modulo an hour (15 degrees) from the printed rim scale near the rim: the 5-minute
// ticks give the angle within a tick's 1.25 degrees, the hour ticks (longer than the others)
// which of the twelve ticks of an hour 00:00 is. Nothing when the scale shows no ticks, or no
// hour ticks that stand out.
std::optional<double> RimScaleZeroWithinHour(const IntensityImage& disc, double centreX, double centreY,
                                             double rimRadius);

// How far the two witnesses of 00:00 may disagree before the operator is asked to check it.
constexpr double kZeroAgreement = 0.25; // degrees

// How 00:00 was established.
struct ZeroDirectionCheck {
    bool holeAxisFound = false; // the hole's axis was read, not only the rough estimate kept
    bool scaleFound = false;    // the rim scale was read
    double holeZero = 0.0;      // 00:00 by the hole (its axis, or the rough estimate)
    double scaleZero = 0.0;     // 00:00 by the rim scale, in the hour the hole gives
    // The operator should check 00:00: the hole and the scale disagree by more than
    // kZeroAgreement, or neither the hole's axis nor the scale could be read.
    bool needsChecking = false;
};

// Two witnesses of 00:00 weighed: when the scale agrees with the hole within kZeroAgreement,
// 00:00 is the scale's (the more precise); otherwise the hole's stands, and the disagreement
// (or a rough estimate without a scale) asks the operator to check.
struct ZeroDirection {
    double pos0 = 180.0;
    ZeroDirectionCheck check;
};
ZeroDirection WeighZeroWitnesses(double roughPos0, std::optional<double> holeZero,
                                 std::optional<double> scaleZeroWithinHour);

// The geometry of a disc image fitted finely, the rim looked for about the centre of `start`:
// the centre to a fraction of a pixel, the trace ring where it lies on a disc of the fitted
// radius, 00:00 from the hole and the rim scale. The rough estimate of 00:00 (`roughPos0`, the
// longest free ray) is worked out only where the hole's axis cannot be read. A disc whose rim
// cannot be found keeps the geometry of `start` with the rough 00:00 (and asks for 00:00 to
// be checked).
struct FineFit {
    ChartGeometry geometry;
    ZeroDirectionCheck zero;
};
FineFit FineChartGeometry(const Raster& disc, const ChartGeometry& start, const std::function<double()>& roughPos0);

// The trace ring of a disc whose rim has this radius (on a 750-pixel disc image of a disc
// that fills it, R1 = 184 and R2 = 197).
constexpr double kFineInnerFraction = 184.0 / 375.0;
constexpr double kFineOuterFraction = 197.0 / 375.0;
