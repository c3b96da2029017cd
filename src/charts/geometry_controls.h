#pragma once

#include "charts/chart_geometry.h"

// How the workspace's geometry buttons and the keys on the disc image change a chart's
// geometry. The image size is the size of the disc image at scale 1; only the keys keep the
// values within limits, the buttons check none.

enum class GeometryButton {
    Initial,                               // "Inicijalne postavke"
    Up, Down, Left, Right,                 // the centre by one pixel
    R1Plus, R1Minus, R1PlusFive, R1MinusFive,
    R2Plus, R2Minus, R2PlusFive, R2MinusFive,
    ZeroPlus, ZeroMinus,                   // 00:00 by a quarter of a degree
    ZeroPlusPlus, ZeroMinusMinus,          // by a whole degree
};

enum class ImageKey {
    Left, Right, Up, Down,                 // the centre; Right and Down wrap to 0 past the image
    CtrlLeft, CtrlRight,                   // R1 + 1 / - 1
    CtrlUp, CtrlDown,                      // R2 + 1 / - 1
    Ctrl0, Ctrl1,                          // 00:00 + 1 / - 1 degree
    CtrlF3, CtrlF4,                        // 00:00 + / - a quarter of a degree
};

struct ImageSize {
    int width = 0;
    int height = 0;
};

// `radiiFollowCentre` is the reading option CentarRadijus: after a centre move the radii are
// fitted to the new centre.
ChartGeometry ApplyGeometryButton(ChartGeometry geometry, GeometryButton button, ImageSize image,
                                  bool radiiFollowCentre);
ChartGeometry ApplyImageKey(ChartGeometry geometry, ImageKey key, ImageSize image, bool radiiFollowCentre);

// One step of "0+": the direction of 00:00 moves by this much.
constexpr double kZeroStepDegrees = 0.25;
