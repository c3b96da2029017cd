#include "chart_drawing.h"
#include "charts/chart_orientation.h"
#include "charts/disc_detection.h"
#include "charts/trace_unrolling.h"

#include <QTest>

#include <cmath>
#include <numbers>

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

Raster Filled(int width, int height, std::uint32_t color)
{
    Raster raster;
    ResizeRaster(raster, width, height);
    ClearRaster(raster, color);
    return raster;
}

// An edge map holding a thick ring (radius 100..200 around the centre) of full-strength
// edges, open only along the pixels a ray at `gapDegrees` visits.
Raster RingWithGap(double gapDegrees)
{
    const int size = 500;
    const int c = size / 2;
    Raster edges = Filled(size, size, GreyPixel(0));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double r = std::hypot(x - c, y - c);
            if (r >= 100 && r <= 200)
                edges.at(x, y) = GreyPixel(255);
        }
    }
    for (int i = 0; i <= size / 2; ++i) {
        const int x = c + static_cast<int>(std::nearbyint(i * std::cos(gapDegrees * kDegree)));
        const int y = c + static_cast<int>(std::nearbyint(i * std::sin(gapDegrees * kDegree)));
        SetPixel(edges, x, y, GreyPixel(0));
    }
    return edges;
}

} // namespace

class TestChartOrientation : public QObject {
    Q_OBJECT

private slots:
    void longestFreeRayPointsAwayFromMidnight_data();
    void longestFreeRayPointsAwayFromMidnight();
    void equalRaysGive180();
    void faintEdgesDoNotStopARay();
    void findsTheOrientationOfADrawnDisc_data();
    void findsTheOrientationOfADrawnDisc();
    void whiteDiscGivesPaperStrip();
    void stripHasAnUntouchedLastRow();
    void stripColumnsFollowPos0Clockwise();
    void samplesOutsideTheImageReadBlack();
};

void TestChartOrientation::longestFreeRayPointsAwayFromMidnight_data()
{
    QTest::addColumn<double>("gap");
    QTest::addColumn<double>("pos0");

    QTest::newRow("gap downwards") << 90.0 << 270.0;
    QTest::newRow("200 degrees") << 200.0 << 20.0;
    QTest::newRow("180 gives 360, not 0") << 180.0 << 360.0;
    QTest::newRow("quarter degree") << 37.25 << 217.25;
}

void TestChartOrientation::longestFreeRayPointsAwayFromMidnight()
{
    QFETCH(double, gap);
    QFETCH(double, pos0);
    QCOMPARE(OrientationFromEdgeMap(RingWithGap(gap)), pos0);
}

void TestChartOrientation::equalRaysGive180()
{
    QCOMPARE(OrientationFromEdgeMap(Filled(400, 400, GreyPixel(0))), 180.0);
    // A closed ring stops every ray at the same length: the ray at 0 degrees wins the tie.
    Raster ring = Filled(401, 401, GreyPixel(0));
    for (int i = 0; i < 360 * 16; ++i) {
        const double a = i / 16.0 * kDegree;
        SetPixel(ring, 200 + static_cast<int>(std::lround(50 * std::cos(a))),
                 200 + static_cast<int>(std::lround(50 * std::sin(a))), GreyPixel(255));
    }
    QCOMPARE(OrientationFromEdgeMap(ring), 180.0);
}

void TestChartOrientation::faintEdgesDoNotStopARay()
{
    Raster edges = RingWithGap(90);
    // Strength 19 inside the ring on the 90° ray leaves it free; 20 stops it short of the ring.
    SetPixel(edges, 250, 300, GreyPixel(19));
    QCOMPARE(OrientationFromEdgeMap(edges), 270.0);
    SetPixel(edges, 250, 300, GreyPixel(20));
    QVERIFY(OrientationFromEdgeMap(edges) != 270.0);
}

void TestChartOrientation::findsTheOrientationOfADrawnDisc_data()
{
    QTest::addColumn<double>("pos0");
    QTest::newRow("180") << 180.0;
    QTest::newRow("37") << 37.0;
    QTest::newRow("300,5") << 300.5;
}

void TestChartOrientation::findsTheOrientationOfADrawnDisc()
{
    QFETCH(double, pos0);
    ChartDiscDrawing disc;
    disc.centreX = 374;
    disc.centreY = 374;
    disc.radius = kDiscRadiusUnits;
    disc.pos0 = pos0;
    disc.trace = {{300, 700, 3}, {900, 1000, 2}};
    const Raster image = DrawChartPage(750, 750, {disc});
    const double found = FindChartOrientation(image).pos0;
    Raster edges;
    EdgeMap(image, edges, 40, 120);
    QCOMPARE(found, OrientationFromEdgeMap(edges));
    const double difference = std::remainder(found - pos0, 360.0);
    QVERIFY2(std::abs(difference) <= 1.0, qPrintable(QString::number(found)));
}

void TestChartOrientation::whiteDiscGivesPaperStrip()
{
    const Raster white = Filled(750, 750, kOpaqueWhite);
    const ChartGeometry geometry{374, 374, 184, 197, 180};
    QCOMPARE(PaperLevel(white, geometry), 255);
    const TraceStrip strip = UnrollTrace(white, geometry);
    QCOMPARE(strip.paperLevel, 255);
    QCOMPARE(strip.threshold, 245);
    QCOMPARE(strip.rows, 15);
    QVERIFY(std::all_of(strip.values.begin(), strip.values.end(), [](std::uint8_t v) { return v == 255; }));
}

void TestChartOrientation::stripHasAnUntouchedLastRow()
{
    // White inside radius 183,5 and dark grey outside: the ring R1..R2 is all trace.
    Raster disc = Filled(750, 750, GreyPixel(30));
    for (int y = 0; y < 750; ++y)
        for (int x = 0; x < 750; ++x)
            if (std::hypot(x - 374, y - 374) < 183.5)
                disc.at(x, y) = kOpaqueWhite;
    const TraceStrip strip = UnrollTrace(disc, {374, 374, 184, 197, 180});
    QCOMPARE(strip.rows, 15);
    QVERIFY(strip.threshold > 200);
    for (int column = 0; column < TraceStrip::kColumns; ++column) {
        for (int row = 0; row <= 13; ++row)
            QVERIFY(strip.at(column, row) < 255);
        QCOMPARE(strip.at(column, 14), std::uint8_t(255));
    }
}

void TestChartOrientation::stripColumnsFollowPos0Clockwise()
{
    // A dark spoke at 45° on screen (right and down from the centre).
    Raster disc = Filled(750, 750, kOpaqueWhite);
    for (int r = 150; r < 250; ++r)
        for (int d = -2; d <= 2; ++d)
            SetPixel(disc, 374 + static_cast<int>(std::lround(r * std::cos(45 * kDegree))) + d,
                     374 + static_cast<int>(std::lround(r * std::sin(45 * kDegree))), GreyPixel(0));
    for (const double pos0 : {0.0, 30.0}) {
        const TraceStrip strip = UnrollTrace(disc, {374, 374, 184, 197, pos0});
        const int expected = static_cast<int>((45 - pos0) * 4);
        QVERIFY(strip.at(expected, 5) < 255);
        QCOMPARE(strip.at(expected + 20, 5), std::uint8_t(255));
        QCOMPARE(strip.at(expected - 20, 5), std::uint8_t(255));
    }
}

void TestChartOrientation::samplesOutsideTheImageReadBlack()
{
    const Raster white = Filled(750, 750, kOpaqueWhite);
    const TraceStrip strip = UnrollTrace(white, {0, 0, 184, 197, 0});
    QCOMPARE(strip.at(180, 5), std::uint8_t(255)); // 45°: inside the image
    QCOMPARE(strip.at(900, 5), std::uint8_t(0));   // 225°: up and left of (0, 0)

    // A ring turned inside out has no rows to read.
    QCOMPARE(UnrollTrace(white, {374, 374, 197, 184, 0}).rows, 0);
}

QTEST_APPLESS_MAIN(TestChartOrientation)
#include "tst_chart_orientation.moc"
