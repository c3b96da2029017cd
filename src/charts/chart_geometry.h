#pragma once

#include <QString>

class ProfileFile;

// Geometry of one chart disc in disc-image pixels: the centre, the inner and outer radius
// of the trace ring and the direction of 00:00 in degrees (clockwise on screen).
struct ChartGeometry {
    int cx = 0;
    int cy = 0;
    int r1 = 10;
    int r2 = 20;
    double pos0 = 180.0;
    // The part of a pixel by which the centre lies beyond (cx, cy), -0.5 .. 0.5, as the fine
    // fit of the disc's rim finds it; 0 unless that fit ran. Moves of the centre by the
    // operator keep it; the settings file keeps only whole pixels.
    double centreFractionX = 0.0;
    double centreFractionY = 0.0;
    // Likewise the part of a pixel by which the trace ring lies beyond R1 and R2 (the rows of
    // the strip are read at R1 + radiusFraction, R1 + 1 + radiusFraction, ...). Moves of a
    // radius by the operator keep it; radii set from the centre's formula clear it.
    double radiusFraction = 0.0;

    double centreX() const { return cx + centreFractionX; }
    double centreY() const { return cy + centreFractionY; }
    double innerRadius() const { return r1 + radiusFraction; }
    double outerRadius() const { return r2 + radiusFraction; }

    bool operator==(const ChartGeometry&) const = default;
};

// ktspostavke.dat, section "Postavke": R1, R2, CX and CY are read as decimal numbers and
// rounded (halves to even); Pos0 is kept as it is. Missing or unreadable values give the
// defaults of ChartGeometry; cx == 0 means that no geometry was ever saved.
ChartGeometry ReadChartGeometry(const ProfileFile& file);
// Writes the five keys (the file is created when missing); false when it could not be written.
bool WriteChartGeometry(ProfileFile& file, const ChartGeometry& geometry);

// The trace ring lies at these fractions of the disc's half-size.
constexpr double kInnerRadiusFraction = 0.49058;
constexpr double kOuterRadiusFraction = 0.52407;

// The chart geometry file, ktspostavke.dat, kept in the folder of the settings file.
QString ChartGeometryPathBeside(const QString& settingsPath);

// The geometry a disc image of the given size starts from when none was saved (Pos0 is left
// at its default; the orientation estimate replaces it).
ChartGeometry DefaultChartGeometry(int imageWidth, int imageHeight);
// The radii that go with a centre: the ring lies at fixed fractions of the smaller half-size.
void FitRadiiToCentre(ChartGeometry& geometry);

// "R1 = 184; R2 = 197; C = (374,374)  0=180,5", the direction with at most two decimals.
QString GeometryCaption(const ChartGeometry& geometry);

