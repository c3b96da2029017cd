#include "charts/chart_geometry.h"

#include "common/profile_file.h"
#include "common/rounding.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace {

const QString kSection = QStringLiteral("Postavke");

// Values beyond this are no disc-image geometry (and would ask for huge strips): missing.
constexpr double kMaxCoordinate = 10000;

} // namespace

QString ChartGeometryPathBeside(const QString& settingsPath)
{
    return QFileInfo(settingsPath).absoluteDir().filePath(QStringLiteral("ktspostavke.dat"));
}

ChartGeometry ReadChartGeometry(const ProfileFile& file)
{
    const ChartGeometry defaults;
    auto readRounded = [&](const char* key, int defaultValue) {
        const double value = file.readDecimal(kSection, QLatin1String(key), defaultValue);
        return std::abs(value) <= kMaxCoordinate ? static_cast<int>(RoundHalfEven(value)) : defaultValue;
    };
    ChartGeometry geometry;
    geometry.r1 = readRounded("R1", defaults.r1);
    geometry.r2 = readRounded("R2", defaults.r2);
    geometry.pos0 = file.readDecimal(kSection, QStringLiteral("Pos0"), defaults.pos0);
    geometry.cx = readRounded("CX", defaults.cx);
    geometry.cy = readRounded("CY", defaults.cy);
    return geometry;
}

bool WriteChartGeometry(ProfileFile& file, const ChartGeometry& geometry)
{
    return file.writeDecimal(kSection, QStringLiteral("R1"), geometry.r1)
        && file.writeDecimal(kSection, QStringLiteral("R2"), geometry.r2)
        && file.writeDecimal(kSection, QStringLiteral("Pos0"), geometry.pos0)
        && file.writeDecimal(kSection, QStringLiteral("CX"), geometry.cx)
        && file.writeDecimal(kSection, QStringLiteral("CY"), geometry.cy);
}

void FitRadiiToCentre(ChartGeometry& geometry)
{
    const int m = std::min(geometry.cx, geometry.cy);
    geometry.r1 = static_cast<int>(RoundHalfEven(m * kInnerRadiusFraction)) + 1;
    geometry.r2 = static_cast<int>(RoundHalfEven(m * kOuterRadiusFraction)) + 1;
    geometry.radiusFraction = 0.0;
}

ChartGeometry DefaultChartGeometry(int imageWidth, int imageHeight)
{
    ChartGeometry geometry;
    geometry.cx = imageWidth / 2 - (imageWidth % 2 == 0 ? 1 : 0);
    geometry.cy = imageHeight / 2 - (imageHeight % 2 == 0 ? 1 : 0);
    FitRadiiToCentre(geometry);
    return geometry;
}

QString GeometryCaption(const ChartGeometry& geometry)
{
    return QStringLiteral("R1 = %1; R2 = %2; C = (%3,%4)  0=%5")
        .arg(geometry.r1)
        .arg(geometry.r2)
        .arg(geometry.cx)
        .arg(geometry.cy)
        .arg(ProfileFile::decimalText(geometry.pos0));
}
