#pragma once

#include "charts/raster.h"

// The direction of 00:00 on a disc image, in degrees (above 0 up to 360): the centre hole
// and the day's first minutes leave the longest edge-free ray from the image centre, which
// points away from 00:00.
struct OrientationResult {
    double pos0 = 180.0;
    int elapsedMs = 0;
};
OrientationResult FindChartOrientation(const Raster& disc);

// The search of FindChartOrientation on a ready edge map: rays every quarter degree (0 to 360
// inclusive) from the centre, each free until the first point of edge strength 20 or more, at
// most width / 2 + 1 points; the first longest ray, turned by 180 degrees.
// FindChartOrientation gives the same as this search on EdgeMap(disc, 40, 120), but works out
// the edge strengths only where its rays pass.
double OrientationFromEdgeMap(const Raster& edgeMap);
