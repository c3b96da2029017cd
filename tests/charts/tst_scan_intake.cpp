#include "chart_drawing.h"
#include "test_image_files.h"
#include "charts/image_loading.h"
#include "charts/scan_intake.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <numbers>

namespace {

Raster Uniform(int width, int height, uint32_t color)
{
    Raster raster;
    ResizeRaster(raster, width, height);
    ClearRaster(raster, color);
    return raster;
}

// Intensity of a disc image at a radius (disc-image units) and minute of the drawn trace.
int TraceLevel(const Raster& image, double pos0, int minute, double radius)
{
    const double angle = (pos0 + minute / 4.0) * std::numbers::pi / 180.0;
    const double cx = image.width / 2.0;
    const double cy = image.height / 2.0;
    return Intensity(SampleBilinear(image, cx + radius * std::cos(angle), cy + radius * std::sin(angle)));
}

} // namespace

class TestScanIntake : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void refusesScans_data();
    void refusesScans();
    void workingRasterAndDiscImage_data();
    void workingRasterAndDiscImage();
    void cutsTheRefinedBox();
    void imageIsTheRefinedCutOutResampled_data();
    void imageIsTheRefinedCutOutResampled();
    void boxWithoutSizeGivesNoDisc();
    void readsTwoStackedDiscs();
    void averagedWhileLoading();

private:
    QTemporaryDir m_dir;
};

void TestScanIntake::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestScanIntake::refusesScans_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("message");
    QTest::newRow("400 x 3000") << 400 << 3000 << kScanTooSmallMessage;
    QTest::newRow("3000 x 400") << 3000 << 400 << kScanTooSmallMessage;
    QTest::newRow("401 x 401 is analysed") << 401 << 401 << kNoDiscFoundMessage;
    QTest::newRow("uniform A4") << 1240 << 1754 << kNoDiscFoundMessage;
    QTest::newRow("no file") << 0 << 0 << kImageLoadErrorMessage;
    QTest::newRow("a thin tall stripe") << 1200 << 16000 << kNoDiscFoundMessage;
}

void TestScanIntake::refusesScans()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, message);
    QString path;
    if (width > 0) {
        path = m_dir.filePath(QStringLiteral("scan-%1x%2.jpg").arg(width).arg(height));
        QVERIFY(WriteJpegFile(path, Uniform(width, height, 0xFFC8C8C8u)));
    }
    const ScanReading reading = ReadScanDiscs(path);
    QCOMPARE(reading.error, message);
    QVERIFY(reading.discs.empty());
    QCOMPARE(kScanTooSmallMessage,
             QString::fromUtf8("Minimalne dimenzije skeniranog listića moraju biti 400x400 piksela!"));
    QCOMPARE(kNoDiscFoundMessage, QString::fromUtf8("Nije detektiran ni jedan listić!"));
}

void TestScanIntake::workingRasterAndDiscImage_data()
{
    QTest::addColumn<int>("boxWidth");
    QTest::addColumn<int>("boxHeight");
    QTest::addColumn<bool>("stretched");
    QTest::addColumn<int>("workingHeight");
    QTest::addColumn<int>("imageHeight");
    // A plain scan has no edges to refine by, so the whole working raster becomes the disc image.
    QTest::newRow("900 x 880") << 900 << 880 << true << 783 << 733;
    QTest::newRow("700 x 820: 801 wide though the height is larger") << 700 << 820 << true << 938 << 878;
    QTest::newRow("600 x 590 kept") << 600 << 590 << false << 590 << 737;
    QTest::newRow("801 x 801 kept") << 801 << 801 << false << 801 << 750;
    QTest::newRow("802 x 400") << 802 << 400 << true << 399 << 373;
}

void TestScanIntake::workingRasterAndDiscImage()
{
    QFETCH(int, boxWidth);
    QFETCH(int, boxHeight);
    QFETCH(bool, stretched);
    QFETCH(int, workingHeight);
    QFETCH(int, imageHeight);
    const Raster scan = Uniform(2000, 2000, 0xFFEEEEEEu);
    const DiscBox box{100, 200, 100 + boxWidth, 200 + boxHeight};
    const std::optional<ScanDisc> disc = PrepareScanDisc(QStringLiteral("sken.jpg"), scan, box, 2);
    QVERIFY(disc.has_value());
    QCOMPARE(disc->stretched, stretched);
    QCOMPARE(disc->workingWidth, stretched ? kWorkingRasterWidth : boxWidth);
    QCOMPARE(disc->workingHeight, workingHeight);
    QCOMPARE(disc->refinedBox, DiscBox{});
    QCOMPARE(disc->cutBox, (DiscBox{0, 0, disc->workingWidth, workingHeight}));
    QCOMPARE(disc->image.width, kDiscImageWidth);
    QCOMPARE(disc->image.height, imageHeight);
    QCOMPARE(disc->image.at(749, imageHeight - 1), 0xFFEEEEEEu);
    QCOMPARE(disc->discNumber, 2);
    QCOMPARE(disc->scanFileName, QStringLiteral("sken.jpg"));
    QCOMPARE(disc->scanWidth, 2000);
    QCOMPARE(disc->scanHeight, 2000);
    QCOMPARE(disc->entryMarker, -1);
}

void TestScanIntake::cutsTheRefinedBox()
{
    // A disc near the scan's corner: the detected box reaches beyond the scan, which reads
    // as black, and the refined box is cut out of the working raster.
    ChartDiscDrawing drawing;
    drawing.centreX = 290;
    drawing.centreY = 300;
    drawing.radius = 280;
    const Raster scan = DrawChartPage(900, 900, {drawing});
    const DiscBox box{-20, -10, 600, 620};
    const std::optional<ScanDisc> disc = PrepareScanDisc(QString(), scan, box, 1);
    QVERIFY(disc.has_value());
    QVERIFY(!disc->stretched);
    QVERIFY(disc->refinedBox.complete());
    QCOMPARE(disc->cutBox, disc->refinedBox);
    // Disc left edge 10 in the scan is 30 in the working raster; top 20 → 30.
    QVERIFY(std::abs(disc->refinedBox.left - 30) <= 2);
    QVERIFY(std::abs(disc->refinedBox.top - 30) <= 2);
    QVERIFY(std::abs(disc->refinedBox.right - 590) <= 2);
    QVERIFY(std::abs(disc->refinedBox.bottom - 590) <= 2);
    const int cutWidth = disc->refinedBox.right - disc->refinedBox.left;
    const int cutHeight = disc->refinedBox.bottom - disc->refinedBox.top;
    QCOMPARE(disc->image.height, static_cast<int>(750 / (double(cutWidth) / cutHeight)));
    // Nearest-neighbour resampling of the cut-out: the centre of the image is the disc's hole.
    QCOMPARE(disc->image.at(375, disc->image.height / 2), kChartBackground);
    QCOMPARE(disc->image.at(375, 100), kChartPaper);
}

void TestScanIntake::imageIsTheRefinedCutOutResampled_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("size");
    QTest::newRow("inside, kept") << 150 << 140 << 760;
    QTest::newRow("inside, resampled") << 80 << 60 << 1000;
    QTest::newRow("beyond the scan's corner, resampled") << -90 << -120 << 1150;
}

void TestScanIntake::imageIsTheRefinedCutOutResampled()
{
    // The disc image must be exactly what cutting the box out, resampling it to the working
    // raster, cutting the refined box out of that and resampling it to 750 wide gives.
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, size);
    ChartDiscDrawing drawing;
    drawing.centreX = 530;
    drawing.centreY = 500;
    drawing.radius = 370;
    drawing.trace = {{100, 500, 3}, {700, 900, 2}};
    const Raster scan = DrawChartPage(1100, 1050, {drawing});
    const DiscBox box{left, top, left + size, top + size + 7};
    const std::optional<ScanDisc> disc = PrepareScanDisc(QString(), scan, box, 1);
    QVERIFY(disc.has_value());

    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    Raster working = CopyRect(scan, box.left, box.top, w, h);
    if (w > 801 || h > 801)
        working = StretchNearest(working, 801, static_cast<int>(801 / (double(w) / h)));
    const DiscBox refined = RefineDiscBox(working).box;
    QCOMPARE(disc->refinedBox, refined);
    QVERIFY(refined.complete());
    const Raster cut = CopyRect(working, refined.left, refined.top, refined.right - refined.left,
                                refined.bottom - refined.top);
    const Raster expected = StretchNearest(cut, 750, static_cast<int>(750 / (double(cut.width) / cut.height)));
    QCOMPARE(disc->image.width, expected.width);
    QCOMPARE(disc->image.height, expected.height);
    QVERIFY(disc->image.pixels == expected.pixels);
}

void TestScanIntake::boxWithoutSizeGivesNoDisc()
{
    const Raster scan = Uniform(1000, 1000, 0xFFEEEEEEu);
    QVERIFY(!PrepareScanDisc(QString(), scan, {500, 100, 500, 600}, 1).has_value());
    QVERIFY(!PrepareScanDisc(QString(), scan, {500, 600, 900, 100}, 1).has_value());
    // So flat that no image row remains.
    QVERIFY(!PrepareScanDisc(QString(), scan, {0, 0, 2000, 1}, 1).has_value());

    // A box far from round holds no disc: a thin tall stripe would ask for a disc image of
    // 750 x 1.4 million pixels.
    const Raster stripe = Uniform(1200, 16000, 0xFFEEEEEEu);
    QVERIFY(!PrepareScanDisc(QString(), stripe, {0, 0, 1200, 16000}, 1).has_value());
    QVERIFY(!PrepareScanDisc(QString(), stripe, {0, 0, 1200, 280}, 1).has_value());
    QVERIFY(PrepareScanDisc(QString(), stripe, {0, 0, 1200, 1100}, 1).has_value());
}

void TestScanIntake::readsTwoStackedDiscs()
{
    const int width = A4WidthPixels(150);
    const int height = A4HeightPixels(150);
    std::vector<ChartDiscDrawing> discs = StackedDiscs(width, height, 2);
    discs[0].pos0 = 180;
    discs[0].trace = {{0, 360, 3}, {360, 720, 0}, {720, 1080, 2}, {1080, 1440, 1}};
    discs[1].pos0 = 60;
    discs[1].trace = {{0, 720, 0}, {720, 1440, 3}};
    const QString path = m_dir.filePath(QStringLiteral("dva listića.jpg"));
    QVERIFY(WriteJpegFile(path, DrawChartPage(width, height, discs), {.quality = 90, .grayscale = false, .progressive = true}));

    const ScanReading reading = ReadScanDiscs(path);
    QCOMPARE(reading.error, QString());
    QCOMPARE(reading.scanWidth, width);
    QCOMPARE(reading.scanHeight, height);
    QCOMPARE(reading.discs.size(), size_t(2));
    QVERIFY(reading.unusableDiscs.empty());
    for (int i = 0; i < 2; ++i) {
        const ScanDisc& disc = reading.discs[i];
        QCOMPARE(disc.discNumber, i + 1);
        QCOMPARE(disc.scanFileName, path);
        QCOMPARE(disc.scanWidth, width);
        QCOMPARE(disc.scanHeight, height);
        QCOMPARE(disc.entryMarker, kNewEntryMarker);
        QCOMPARE(disc.image.width, kDiscImageWidth);
        QVERIFY(std::abs(disc.image.height - kDiscImageWidth) <= 3);
        QVERIFY(disc.box.top < discs[i].centreY && disc.box.bottom > discs[i].centreY);
    }
    QVERIFY(reading.discs[0].box.bottom <= reading.discs[1].box.top);

    // The trace sits where the default geometry of a 750-pixel disc image reads it:
    // two rows out from R1 every drawn activity is dark, ten rows out only driving is.
    const Raster& upper = reading.discs[0].image;
    const double nearRing = kTraceInnerUnits + 2;
    const double farRing = kTraceInnerUnits + 10;
    QVERIFY(TraceLevel(upper, 180, 180, nearRing) < 100);
    QVERIFY(TraceLevel(upper, 180, 180, farRing) < 100);
    QVERIFY(TraceLevel(upper, 180, 540, nearRing) > 200);
    QVERIFY(TraceLevel(upper, 180, 900, nearRing) < 100);
    QVERIFY(TraceLevel(upper, 180, 900, farRing) > 200);
    QVERIFY(TraceLevel(upper, 180, 1260, nearRing) < 100);
    const Raster& lower = reading.discs[1].image;
    QVERIFY(TraceLevel(lower, 60, 360, nearRing) > 200);
    QVERIFY(TraceLevel(lower, 60, 1080, farRing) < 100);
}

// With the fine reading the detection's averaged copy is made while the scan is decoded: the
// same boxes as detection on the loaded scan, and each disc image cut square to its rim.
void TestScanIntake::averagedWhileLoading()
{
    const int width = A4WidthPixels(150);
    const int height = A4HeightPixels(150);
    std::vector<ChartDiscDrawing> discs = StackedDiscs(width, height, 2);
    for (ChartDiscDrawing& disc : discs) {
        disc.trace = {{100, 400, 3}, {600, 800, 2}};
        disc = PrintedDisc(disc, true);
    }
    const QString path = m_dir.filePath(QStringLiteral("bijeli poklopac.jpg"));
    QVERIFY(WriteJpegFile(path, DrawChartPage(width, height, discs, kOpaqueWhite), {.quality = 90}));

    const ScanReading reading = ReadScanDiscs(path, {}, Sampling::Area);
    Raster scan;
    QVERIFY(LoadRasterImage(path, scan));
    const ChartDiscsResult found = FindChartDiscs(scan, Sampling::Area);
    QCOMPARE(reading.discs.size(), size_t(2));
    QCOMPARE(found.boxes.size(), size_t(2));
    for (int i = 0; i < 2; ++i) {
        const ScanDisc& disc = reading.discs[i];
        QCOMPARE(disc.box, found.boxes[i]);
        QCOMPARE(disc.image.width, kDiscImageWidth);
        QCOMPARE(disc.image.height, kDiscImageWidth);
        // The image spans the disc and its margin: the drawn rim lies kDiscImageMargin pixels in.
        const double radius = discs[i].radius / disc.imageStepX;
        QVERIFY2(std::abs(radius - (kDiscImageWidth / 2.0 - kDiscImageMargin)) <= 1.5, qPrintable(QString::number(radius)));
    }
}

QTEST_GUILESS_MAIN(TestScanIntake)
#include "tst_scan_intake.moc"
