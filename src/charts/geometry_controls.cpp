#include "charts/geometry_controls.h"

#include "common/rounding.h"

#include <algorithm>

namespace {

constexpr int kFastRadiusStep = 5;
constexpr int kSmallestInnerRadius = 5;
// When a key would cross the two radii, the other one is put this far away instead.
constexpr int kRingWidthAfterCrossing = 20;

int Rounded(double value)
{
    return static_cast<int>(RoundHalfEven(value));
}

ChartGeometry CentreMoved(ChartGeometry geometry, bool radiiFollowCentre)
{
    if (radiiFollowCentre)
        FitRadiiToCentre(geometry);
    return geometry;
}

} // namespace

ChartGeometry ApplyGeometryButton(ChartGeometry g, GeometryButton button, ImageSize image, bool radiiFollowCentre)
{
    switch (button) {
    case GeometryButton::Initial:
        g.cx = image.width / 2 + 1;
        g.cy = image.height / 2 + 1;
        g.r1 = Rounded(g.cx * kInnerRadiusFraction) - 1;
        g.r2 = Rounded(g.cx * kOuterRadiusFraction);
        g.radiusFraction = 0.0;
        return g;
    case GeometryButton::Up:
        --g.cy;
        return CentreMoved(g, radiiFollowCentre);
    case GeometryButton::Down:
        ++g.cy;
        return CentreMoved(g, radiiFollowCentre);
    case GeometryButton::Left:
        --g.cx;
        return CentreMoved(g, radiiFollowCentre);
    case GeometryButton::Right:
        ++g.cx;
        return CentreMoved(g, radiiFollowCentre);
    case GeometryButton::R1Plus: ++g.r1; return g;
    case GeometryButton::R1Minus: --g.r1; return g;
    case GeometryButton::R1PlusFive: g.r1 += kFastRadiusStep; return g;
    case GeometryButton::R1MinusFive: g.r1 -= kFastRadiusStep; return g;
    case GeometryButton::R2Plus: ++g.r2; return g;
    case GeometryButton::R2Minus: --g.r2; return g;
    case GeometryButton::R2PlusFive: g.r2 += kFastRadiusStep; return g;
    case GeometryButton::R2MinusFive: g.r2 -= kFastRadiusStep; return g;
    case GeometryButton::ZeroPlus: g.pos0 += kZeroStepDegrees; return g;
    case GeometryButton::ZeroMinus: g.pos0 -= kZeroStepDegrees; return g;
    case GeometryButton::ZeroPlusPlus: g.pos0 += 1; return g;
    case GeometryButton::ZeroMinusMinus: g.pos0 -= 1; return g;
    }
    return g;
}

ChartGeometry ApplyImageKey(ChartGeometry g, ImageKey key, ImageSize image, bool radiiFollowCentre)
{
    switch (key) {
    case ImageKey::Left:
        g.cx = std::max(g.cx - 1, 0);
        return CentreMoved(g, radiiFollowCentre);
    case ImageKey::Up:
        g.cy = std::max(g.cy - 1, 0);
        return CentreMoved(g, radiiFollowCentre);
    case ImageKey::Right:
        g.cx = g.cx + 1 > image.width ? 0 : g.cx + 1;
        return CentreMoved(g, radiiFollowCentre);
    case ImageKey::Down:
        g.cy = g.cy + 1 > image.height ? 0 : g.cy + 1;
        return CentreMoved(g, radiiFollowCentre);
    case ImageKey::CtrlLeft:
        g.r1 = g.r1 + 1 > g.r2 ? g.r2 - kRingWidthAfterCrossing : g.r1 + 1;
        return g;
    case ImageKey::CtrlRight:
        g.r1 = std::max(g.r1 - 1, kSmallestInnerRadius);
        return g;
    case ImageKey::CtrlUp:
        g.r2 = std::min(g.r2 + 1, image.height / 2);
        return g;
    case ImageKey::CtrlDown:
        g.r2 = g.r2 - 1 < g.r1 ? g.r1 + kRingWidthAfterCrossing : g.r2 - 1;
        return g;
    case ImageKey::Ctrl0: g.pos0 += 1; return g;
    case ImageKey::Ctrl1: g.pos0 -= 1; return g;
    case ImageKey::CtrlF3: g.pos0 += kZeroStepDegrees; return g;
    case ImageKey::CtrlF4: g.pos0 -= kZeroStepDegrees; return g;
    }
    return g;
}
