#include "charts/chart_overlay.h"

#include "common/time_text.h"

#include <QPainter>
#include <QPen>

#include <cmath>
#include <numbers>

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
constexpr double kMinutesPerDegree = 4.0;
constexpr int kDegreesPerTurn = 360;
constexpr double kZeroLineLength = 2.0;  // times R1
constexpr double kSplitLineLength = 1.5; // times R1
constexpr double kSplitSquareHalf = 2.0;
constexpr double kNightTickInner = 10.0;
constexpr double kNightTickOuter = 32.0;
// Ticks of the first four degrees of every ten are yellow.
constexpr int kNightTickBand = 10;
constexpr int kNightTickYellow = 4;

const QColor kZeroLineColour = QColor::fromRgba(0xFF007F00u);

QPointF PointAt(const QPointF& centre, double degrees, double radius)
{
    const double angle = degrees * kRadiansPerDegree;
    return centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
}

QPen CosmeticPen(const QColor& colour)
{
    QPen pen(colour, 0);
    pen.setCosmetic(true);
    return pen;
}

} // namespace

void PaintChartOverlay(QPainter& painter, const ChartGeometry& g, int splitPoint, NightWindow night)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    // The centre of pixel (cx, cy) and its fraction, where the reading puts the disc's centre.
    const QPointF centre(g.centreX() + 0.5, g.centreY() + 0.5);

    painter.setPen(CosmeticPen(Qt::red));
    painter.drawEllipse(centre, g.innerRadius(), g.innerRadius());
    painter.setPen(CosmeticPen(Qt::blue));
    painter.drawEllipse(centre, g.outerRadius(), g.outerRadius());

    painter.setPen(CosmeticPen(kZeroLineColour));
    painter.drawLine(centre, PointAt(centre, g.pos0, kZeroLineLength * g.r1));

    const QPointF splitEnd = PointAt(centre, g.pos0 + splitPoint / kMinutesPerDegree, kSplitLineLength * g.r1);
    painter.setPen(CosmeticPen(Qt::black));
    painter.drawLine(centre, splitEnd);
    painter.setPen(CosmeticPen(Qt::blue));
    painter.drawRect(QRectF(splitEnd - QPointF(kSplitSquareHalf, kSplitSquareHalf),
                            QSizeF(2 * kSplitSquareHalf, 2 * kSplitSquareHalf)));

    const double start = night.from / kMinutesPerDegree;
    double end = night.to / kMinutesPerDegree;
    if (end < start)
        end += kDegreesPerTurn;
    for (double degree = start; degree < end; degree += 1.0) {
        const double relative = std::fmod(degree, kDegreesPerTurn);
        const bool yellow = static_cast<int>(relative) % kNightTickBand < kNightTickYellow;
        painter.setPen(CosmeticPen(yellow ? Qt::yellow : Qt::black));
        painter.drawLine(PointAt(centre, g.pos0 + relative, kNightTickInner),
                         PointAt(centre, g.pos0 + relative, kNightTickOuter));
    }
    painter.restore();
}

QImage TraceStripImage(const TraceStrip& strip)
{
    QImage image(TraceStrip::kColumns, strip.rows + 2 * kStripMargin, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int row = 0; row < strip.rows; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(kStripMargin + strip.rows - 1 - row));
        for (int column = 0; column < TraceStrip::kColumns; ++column) {
            const int v = strip.at(column, row);
            line[column] = qRgb(v, v, v);
        }
    }
    return image;
}
