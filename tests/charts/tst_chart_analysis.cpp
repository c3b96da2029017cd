#include "chart_drawing.h"
#include "test_image_files.h"
#include "trace_matching.h"
#include "charts/chart_analysis.h"
#include "charts/fine_geometry.h"
#include "charts/scan_intake.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <numbers>

namespace {

Raster DiscImage(double pos0, const std::vector<TraceInterval>& trace)
{
    ChartDiscDrawing disc;
    disc.centreX = 374;
    disc.centreY = 374;
    disc.radius = kDiscRadiusUnits;
    disc.pos0 = pos0;
    disc.trace = trace;
    return DrawChartPage(750, 750, {disc});
}

// The reading exactly as the set-up of a workspace has it without the fine fit.
ChartReadingOptions WithoutFineFit()
{
    ChartReadingOptions options;
    options.fineAlignment = false;
    return options;
}

const std::vector<TraceInterval> kDay = {
    {0, 300, 0}, {300, 420, 3}, {420, 450, 1}, {450, 600, 2}, {600, 900, 3}, {900, 1380, 0}, {1380, 1420, 2}, {1420, 1440, 0},
};

} // namespace

class TestChartAnalysis : public QObject {
    Q_OBJECT

private slots:
    void readsADrawnDisc_data();
    void readsADrawnDisc();
    void keepsTheSavedGeometryButEstimatesPos0();
    void keepsTheSplitIndexAcrossReadings();
    void fineFitFindsTheDrawnGeometry_data();
    void fineFitFindsTheDrawnGeometry();
    void roundHoleKeepsTheRoughZeroDirection();
    void fineReadingThroughTheIntake_data();
    void fineReadingThroughTheIntake();
    void zeroFromTheOutlineOfAHoleOnAWhiteLid_data();
    void zeroFromTheOutlineOfAHoleOnAWhiteLid();
    void rimScaleChecksTheHole_data();
    void rimScaleChecksTheHole();
    void splitsANightChart();
};

void TestChartAnalysis::readsADrawnDisc_data()
{
    QTest::addColumn<double>("pos0");
    QTest::newRow("midnight on the left") << 180.0;
    QTest::newRow("turned") << 77.0;
}

void TestChartAnalysis::readsADrawnDisc()
{
    QFETCH(double, pos0);
    ChartAnalysis analysis(DiscImage(pos0, kDay), WithoutFineFit());
    analysis.setUp(ChartGeometry()); // nothing saved: the image's default geometry
    QCOMPARE(analysis.geometry().cx, 374);
    QCOMPARE(analysis.geometry().r1, 184);
    QCOMPARE(analysis.geometry().r2, 197);
    QCOMPARE(analysis.strip().rows, 15);
    QVERIFY(std::abs(analysis.geometry().pos0 - pos0) <= 0.5);
    QVERIFY2(MismatchWithTrace(analysis.intervals(), kDay, 3).isEmpty(),
             qPrintable(MismatchWithTrace(analysis.intervals(), kDay, 3)));
    QCOMPARE(analysis.splitPoint(), analysis.intervals()[1].start);
    QCOMPARE(analysis.days().day1.size(), kDay.size() - 1);
    QVERIFY(analysis.days().day2.empty()); // the morning rest belongs to the day before

    // With Pos0 put right, as the operator does with the "0+" and "0-" buttons, only the
    // sub-pixel minute boundaries remain.
    ChartGeometry corrected = analysis.geometry();
    corrected.pos0 = pos0;
    analysis.setGeometry(corrected);
    QVERIFY2(MismatchWithTrace(analysis.intervals(), kDay, 1).isEmpty(),
             qPrintable(MismatchWithTrace(analysis.intervals(), kDay, 1)));
    QVERIFY(!analysis.days().twoDay);
    QVERIFY(analysis.caption().startsWith(QStringLiteral("R1 = 184; R2 = 197; C = (374,374)  0=")));
}

void TestChartAnalysis::keepsTheSavedGeometryButEstimatesPos0()
{
    ChartAnalysis analysis(DiscImage(180, kDay), WithoutFineFit());
    analysis.setUp({370, 371, 150, 160, 33.0});
    QCOMPARE(analysis.geometry().cx, 370);
    QCOMPARE(analysis.geometry().cy, 371);
    QCOMPARE(analysis.geometry().r1, 150);
    QCOMPARE(analysis.geometry().r2, 160);
    QVERIFY(std::abs(analysis.geometry().pos0 - 180.0) <= 1.0);
    QCOMPARE(analysis.strip().rows, 12);
}

// A disc image whose geometry has Pos0 put right after the set-up.
ChartAnalysis CorrectedAnalysis(double pos0, const std::vector<TraceInterval>& trace)
{
    ChartAnalysis analysis(DiscImage(pos0, trace), WithoutFineFit());
    analysis.setUp(ChartGeometry());
    ChartGeometry corrected = analysis.geometry();
    corrected.pos0 = pos0;
    analysis.setGeometry(corrected);
    return analysis;
}

void TestChartAnalysis::keepsTheSplitIndexAcrossReadings()
{
    ChartAnalysis analysis = CorrectedAnalysis(180, kDay);
    const ChartIntervals read = analysis.intervals();
    QCOMPARE(analysis.splitPoint(), read[1].start);

    analysis.setSplitPoint(500); // by hand, inside the other work of 450-600: it is cut
    QCOMPARE(analysis.days().day1.front(), (ChartInterval{500, read[3].end, 2}));
    QCOMPARE(analysis.days().day2.back(), (ChartInterval{read[3].start, 500, 2}));
    QCOMPARE(analysis.days().all.size(), read.size() + 1);
    QVERIFY(analysis.days().twoDay);

    // A re-analysis takes the split point from the remembered index (1) again; turning the
    // disc back by 15 minutes moves every interval, and the split point with them.
    ChartGeometry turned = analysis.geometry();
    turned.pos0 -= 15.0 / 4;
    analysis.setGeometry(turned);
    QCOMPARE(analysis.intervals()[1].code, 3);
    QCOMPARE(analysis.splitPoint(), analysis.intervals()[1].start);
    QVERIFY(std::abs(analysis.splitPoint() - (read[1].start + 15)) <= 1);
    QVERIFY(!analysis.days().twoDay);
}

void TestChartAnalysis::splitsANightChart()
{
    const std::vector<TraceInterval> night = {{0, 180, 3}, {180, 1080, 0}, {1080, 1440, 2}};
    ChartAnalysis analysis = CorrectedAnalysis(180, night);
    QVERIFY2(MismatchWithTrace(analysis.intervals(), night, 1).isEmpty(),
             qPrintable(MismatchWithTrace(analysis.intervals(), night, 1)));
    // The first activity is at 00:00, so the chart starts there: one day.
    QCOMPARE(analysis.splitPoint(), 0);
    QVERIFY(!analysis.days().twoDay);

    const ChartIntervals read = analysis.intervals();
    analysis.setSplitPoint(read[2].start);
    QCOMPARE(analysis.days().day1, ChartIntervals{read[2]});
    QCOMPARE(analysis.days().day2, ChartIntervals{read[0]}); // the rest before 18:00 is trimmed
    QVERIFY(analysis.days().twoDay);
    QCOMPARE(analysis.days().day1Minutes, read[2].length());
    QCOMPARE(analysis.days().day2Minutes, read[0].length());
}

void TestChartAnalysis::fineFitFindsTheDrawnGeometry_data()
{
    QTest::addColumn<double>("centreX");
    QTest::addColumn<double>("centreY");
    QTest::addColumn<double>("pos0");
    QTest::newRow("on the grid") << 374.0 << 374.0 << 180.0;
    QTest::newRow("off the grid, turned") << 373.63 << 374.41 << 12.3;
    QTest::newRow("a pixel off, turned the other way") << 372.8 << 375.35 << 251.71;
}

// Drawn off the pixel grid and turned by any angle, a disc's centre comes out within 0.3
// pixels, 00:00 within 0.1 degree, and every change of activity on its minute.
void TestChartAnalysis::fineFitFindsTheDrawnGeometry()
{
    QFETCH(double, centreX);
    QFETCH(double, centreY);
    QFETCH(double, pos0);
    const std::vector<TraceInterval> trace = {
        {0, 300, 0}, {300, 437, 3}, {437, 452, 0}, {452, 611, 2}, {611, 903, 3}, {903, 1381, 0}, {1381, 1420, 2},
        {1420, 1440, 0},
    };
    ChartDiscDrawing disc{centreX, centreY, 374.6, pos0, trace};
    ChartAnalysis analysis(DrawChartPage(750, 750, {disc}), ChartReadingOptions());
    analysis.setUp(ChartGeometry());
    const ChartGeometry& g = analysis.geometry();
    QVERIFY2(std::hypot(g.centreX() - centreX, g.centreY() - centreY) <= 0.3,
             qPrintable(QStringLiteral("%1, %2").arg(g.centreX()).arg(g.centreY())));
    QVERIFY2(std::abs(g.pos0 - pos0) <= 0.1, qPrintable(QString::number(g.pos0)));
    QCOMPARE(g.r1, 184);
    QCOMPARE(g.r2, 197);
    QVERIFY2(MismatchWithTrace(analysis.intervals(), trace, 1).isEmpty(),
             qPrintable(MismatchWithTrace(analysis.intervals(), trace, 1)));
}

// A hole without a notch is symmetric about every axis: it tells nothing of 00:00, which
// stays where the rough estimate put it rather than wandering to some axis nearby.
void TestChartAnalysis::roundHoleKeepsTheRoughZeroDirection()
{
    ChartDiscDrawing disc{374.3, 374.6, 374.6, 90.0, kDay};
    Raster image = DrawChartPage(750, 750, {disc});
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const double r = std::hypot(x - disc.centreX, y - disc.centreY);
            if (r > 0.1 * disc.radius && r < 0.45 * disc.radius)
                image.at(x, y) = kChartPaper;
        }
    QVERIFY(!HoleZeroDirection(IntensityImageOf(image), disc.centreX, disc.centreY).has_value());
}

void TestChartAnalysis::fineReadingThroughTheIntake_data()
{
    QTest::addColumn<int>("diameter");
    QTest::addColumn<bool>("whiteLid");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("dusty");
    QTest::addColumn<bool>("printed");
    QTest::newRow("small disc on a white lid, JPEG") << 700 << true << "mali.jpg" << false << false;
    QTest::newRow("large disc on a dark lid, BMP") << 2500 << false << "veliki.bmp" << false << false;
    QTest::newRow("dust on the lid, in the hole and its notch, white lid") << 1500 << true << "prasina.bmp" << true << false;
    QTest::newRow("printed disc on a white lid, hole seen by its outline") << 1500 << true << "bijeli.jpg" << false << true;
    QTest::newRow("printed disc on a white lid with dust") << 1500 << true << "bijeli-prasina.bmp" << true << true;
    QTest::newRow("printed disc on a dark lid") << 1500 << false << "tamni.jpg" << false << true;
}

// A scan goes through the intake, its disc image averaged by area, and the fine reading finds
// every activity, availability too, on its minute.
void TestChartAnalysis::fineReadingThroughTheIntake()
{
    QFETCH(int, diameter);
    QFETCH(bool, whiteLid);
    QFETCH(QString, file);
    QFETCH(bool, dusty);
    QFETCH(bool, printed);
    const std::vector<TraceInterval> trace = {
        {0, 290, 0}, {290, 300, 1}, {300, 437, 3}, {437, 452, 1}, {452, 611, 2}, {611, 640, 1}, {640, 903, 3},
        {903, 1381, 0}, {1381, 1420, 1}, {1420, 1440, 0},
    };
    const std::uint32_t lid = whiteLid ? kOpaqueWhite : kChartBackground;
    const int width = diameter * 13 / 10;
    const int height = diameter * 14 / 10;
    ChartDiscDrawing disc{width / 2 + 0.37, height / 2 - 0.21, diameter / 2.0, 143.6, trace, lid};
    if (printed)
        disc = PrintedDisc(disc, whiteLid);
    QTemporaryDir folder;
    const QString path = folder.filePath(file);
    Raster page = DrawChartPage(width, height, {disc}, lid);
    if (dusty) {
        // Specks of three pixels: on the centre, along the notch (which points away from
        // 00:00) and scattered over the lid around the disc.
        const auto speck = [&page](double x, double y) {
            for (int dy = 0; dy < 3; ++dy)
                for (int dx = 0; dx < 3; ++dx)
                    SetPixel(page, static_cast<int>(x) + dx, static_cast<int>(y) + dy, GreyPixel(40));
        };
        const double notch = (disc.pos0 - 180.0) * std::numbers::pi / 180.0;
        for (double along : {0.0, 0.1, 0.2, 0.3})
            speck(disc.centreX + along * disc.radius * std::cos(notch), disc.centreY + along * disc.radius * std::sin(notch));
        for (int i = 0; i < 2000; ++i) {
            const int x = (i * 7919) % width;
            const int y = (i * 104729) % height;
            if (std::hypot(x - disc.centreX, y - disc.centreY) > disc.radius + 3)
                speck(x, y);
        }
    }
    QVERIFY(file.endsWith(QLatin1String(".bmp")) ? WriteBmpFile(path, page) : WriteJpegFile(path, page, {.quality = 90}));

    const ChartReadingOptions options;
    const ScanReading reading = ReadScanDiscs(path, {}, SamplingFor(options));
    QCOMPARE(reading.discs.size(), std::size_t(1));
    QCOMPARE(reading.discs[0].sampling, Sampling::Area);
    ChartAnalysis analysis(reading.discs[0].image, options);
    analysis.setUp(ChartGeometry());
    QVERIFY2(std::abs(analysis.geometry().pos0 - 143.6) <= 0.1, qPrintable(QString::number(analysis.geometry().pos0)));
    QVERIFY2(MismatchWithTrace(analysis.intervals(), trace, 1).isEmpty(),
             qPrintable(MismatchWithTrace(analysis.intervals(), trace, 1)));
}

void TestChartAnalysis::zeroFromTheOutlineOfAHoleOnAWhiteLid_data()
{
    QTest::addColumn<double>("pos0");
    QTest::newRow("00:00 at the right") << 0.0;
    QTest::newRow("turned") << 46.125;
    QTest::newRow("notch straight down") << 270.0;
    QTest::newRow("turned the other way") << 200.37;
    QTest::newRow("near a whole turn") << 341.18;
}

// A printed disc on a white lid: the pear-shaped hole is as light as the paper and differs from
// it only by the thin dark outline its cut edge casts. The hole alone gives 00:00 within a
// quarter of a degree, and the rim scale agrees.
void TestChartAnalysis::zeroFromTheOutlineOfAHoleOnAWhiteLid()
{
    QFETCH(double, pos0);
    const ChartDiscDrawing disc = PrintedDisc({374.3, 374.6, 372.0, pos0, kDay}, true);
    const Raster sharp = DrawChartPage(750, 750, {disc}, kOpaqueWhite);
    // A scanner's optics spread every edge over about two pixels.
    Raster image = sharp;
    for (int y = 1; y < image.height - 1; ++y)
        for (int x = 1; x < image.width - 1; ++x) {
            int sum = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    sum += (dx == 0 ? 2 : 1) * (dy == 0 ? 2 : 1) * Intensity(sharp.at(x + dx, y + dy));
            image.at(x, y) = GreyPixel(sum / 16);
        }
    const std::optional<double> hole = HoleZeroDirection(IntensityImageOf(image), disc.centreX, disc.centreY);
    QVERIFY(hole.has_value());
    const auto off = [pos0](double read) { return std::min(std::abs(read - pos0), 360.0 - std::abs(read - pos0)); };
    QVERIFY2(off(*hole) <= 0.25, qPrintable(QString::number(*hole)));

    ChartAnalysis analysis(image, ChartReadingOptions());
    analysis.setUp(ChartGeometry());
    const ZeroDirectionCheck& check = analysis.zeroCheck();
    QVERIFY(check.holeAxisFound);
    QVERIFY(check.scaleFound);
    QVERIFY(!check.needsChecking);
    QVERIFY2(off(analysis.geometry().pos0) <= 0.05, qPrintable(QString::number(analysis.geometry().pos0)));
    QVERIFY2(MismatchWithTrace(analysis.intervals(), kDay, 1).isEmpty(),
             qPrintable(MismatchWithTrace(analysis.intervals(), kDay, 1)));
}

void TestChartAnalysis::rimScaleChecksTheHole_data()
{
    QTest::addColumn<bool>("printed");
    QTest::addColumn<double>("scaleTurn");
    QTest::addColumn<bool>("needsChecking");
    QTest::addColumn<double>("expectedPos0");
    // The scale is the more precise witness: when it agrees, 00:00 is the scale's.
    QTest::newRow("scale a tenth of a degree off the hole: taken") << true << 0.1 << false << 100.1;
    // Beyond a quarter of a degree the hole stands and the operator is asked to check.
    QTest::newRow("scale 0.6 degrees off the hole") << true << 0.6 << true << 100.0;
    QTest::newRow("scale a tick and a half off the hole") << true << -1.9 << true << 100.0;
    // Plain blocks at the rim show no hour ticks: no second witness, nothing to check.
    QTest::newRow("no printed scale") << false << 0.0 << false << 100.0;
}

// The printed rim scale is a second witness of 00:00: a disc whose scale was printed (or
// whose hole was punched) off its mark keeps the hole's 00:00 and asks for it to be checked.
void TestChartAnalysis::rimScaleChecksTheHole()
{
    QFETCH(bool, printed);
    QFETCH(double, scaleTurn);
    QFETCH(bool, needsChecking);
    QFETCH(double, expectedPos0);
    ChartDiscDrawing disc{374.3, 374.6, 372.0, 100.0, kDay};
    if (printed)
        disc = PrintedDisc(disc, false);
    disc.scaleTurn = scaleTurn;
    ChartAnalysis analysis(DrawChartPage(750, 750, {disc}), ChartReadingOptions());
    analysis.setUp(ChartGeometry());
    const ZeroDirectionCheck& check = analysis.zeroCheck();
    QCOMPARE(check.scaleFound, printed);
    QCOMPARE(check.needsChecking, needsChecking);
    QVERIFY2(std::abs(analysis.geometry().pos0 - expectedPos0) <= 0.2, qPrintable(QString::number(analysis.geometry().pos0)));
    if (printed)
        QVERIFY2(std::abs(check.scaleZero - (100.0 + scaleTurn)) <= 0.02, qPrintable(QString::number(check.scaleZero)));

    // The reading without the fine fit neither looks for witnesses nor asks anything.
    ChartAnalysis plain(DrawChartPage(750, 750, {disc}), WithoutFineFit());
    plain.setUp(ChartGeometry());
    QVERIFY(!plain.zeroCheck().needsChecking);
}

QTEST_APPLESS_MAIN(TestChartAnalysis)
#include "tst_chart_analysis.moc"
