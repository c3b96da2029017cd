#include "charts/raster.h"

#include <QTest>

class TestRaster : public QObject {
    Q_OBJECT

private slots:
    void intensity_data();
    void intensity();
    void resizeAndPixels();
    void copyRectFillsOutsideWithBlack();
    void stretchNearestPicksSourcePixels();
    void stretchRectMatchesCopyThenStretch();
    void bilinearSampling_data();
    void bilinearSampling();
    void areaResample_data();
    void areaResample();
    void takesSpecksAndKeepsLinesAndEdges();
    void sampledMeanRowByRow();
};

void TestRaster::intensity_data()
{
    QTest::addColumn<uint>("argb");
    QTest::addColumn<int>("expected");
    QTest::newRow("opaque red") << 0xFFFF0000u << 60;
    QTest::newRow("opaque blue") << 0xFF0000FFu << 20;
    QTest::newRow("opaque yellow") << 0xFFFFFF00u << 234;
    QTest::newRow("transparent green") << 0x00008000u << 87;
    QTest::newRow("white") << 0xFFFFFFFFu << 255;
    QTest::newRow("black") << 0xFF000000u << 0;
    QTest::newRow("alpha ignored") << 0x12808080u << 128;
}

void TestRaster::intensity()
{
    QFETCH(uint, argb);
    QFETCH(int, expected);
    QCOMPARE(Intensity(argb), expected);
}

void TestRaster::resizeAndPixels()
{
    Raster raster;
    ResizeRaster(raster, 3, 2);
    QCOMPARE(raster.pixels.size(), size_t(6));
    QCOMPARE(GetPixel(raster, 2, 1), kOpaqueBlack);
    SetPixel(raster, 2, 1, 0xFF123456u);
    SetPixel(raster, 3, 1, 0xFFFFFFFFu); // outside: ignored
    SetPixel(raster, -1, 0, 0xFFFFFFFFu);
    QCOMPARE(raster.at(2, 1), 0xFF123456u);
    QCOMPARE(GetPixel(raster, 3, 0), kOpaqueBlack);
    QCOMPARE(GetPixel(raster, 0, -1), kOpaqueBlack);
    ClearRaster(raster, kOpaqueWhite);
    QCOMPARE(GetPixel(raster, 2, 1), kOpaqueWhite);
    ResizeRaster(raster, -5, 4);
    QVERIFY(raster.isEmpty());
    QCOMPARE(raster.pixels.size(), size_t(0));
}

static Raster Numbered(int width, int height)
{
    Raster raster;
    ResizeRaster(raster, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            raster.at(x, y) = 0xFF000000u | static_cast<uint32_t>(y * 1000 + x);
    return raster;
}

void TestRaster::copyRectFillsOutsideWithBlack()
{
    const Raster source = Numbered(5, 4);
    const Raster copy = CopyRect(source, -2, 2, 4, 3);
    QCOMPARE(copy.width, 4);
    QCOMPARE(copy.height, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const int sx = x - 2;
            const int sy = y + 2;
            const uint32_t expected = (sx >= 0 && sy < 4) ? source.at(sx, sy) : kOpaqueBlack;
            QCOMPARE(copy.at(x, y), expected);
        }
    }
    const Raster outside = CopyRect(source, 10, 10, 2, 2);
    QCOMPARE(outside.pixels, PixelBuffer(4, kOpaqueBlack));
}

void TestRaster::stretchNearestPicksSourcePixels()
{
    const Raster source = Numbered(4, 2);
    const Raster wide = StretchNearest(source, 8, 4);
    QCOMPARE(wide.at(0, 0), source.at(0, 0));
    QCOMPARE(wide.at(1, 1), source.at(0, 0));
    QCOMPARE(wide.at(7, 3), source.at(3, 1));
    QCOMPARE(wide.at(5, 2), source.at(2, 1));
    const Raster narrow = StretchNearest(Numbered(11, 11), 2, 2);
    QCOMPARE(narrow.at(1, 1), Numbered(11, 11).at(5, 5));
}

void TestRaster::stretchRectMatchesCopyThenStretch()
{
    const Raster source = Numbered(40, 30);
    const Raster direct = StretchRectNearest(source, 25, -7, 23, 19, 17, 31);
    const Raster viaCopy = StretchNearest(CopyRect(source, 25, -7, 23, 19), 17, 31);
    QCOMPARE(direct.width, 17);
    QCOMPARE(direct.height, 31);
    QCOMPARE(direct.pixels, viaCopy.pixels);
}

void TestRaster::bilinearSampling_data()
{
    QTest::addColumn<int>("x256");
    QTest::addColumn<int>("y256");
    QTest::addColumn<uint>("expected");
    // 2 × 2 raster: grey 0 and 200 on the top row, 100 and 255 on the bottom row.
    QTest::newRow("on a pixel") << 256 << 0 << uint(GreyPixel(200));
    QTest::newRow("half way along the top") << 128 << 0 << uint(GreyPixel(100));
    QTest::newRow("quarter down the left") << 0 << 64 << uint(GreyPixel(25));
    QTest::newRow("centre") << 128 << 128 << uint(GreyPixel(138));
    // Right of the last column the missing neighbour is opaque black.
    QTest::newRow("half past the right edge") << 384 << 0 << uint(GreyPixel(100));
    QTest::newRow("far outside") << -2000 << 50 << uint(kOpaqueBlack);
}

void TestRaster::bilinearSampling()
{
    QFETCH(int, x256);
    QFETCH(int, y256);
    QFETCH(uint, expected);
    Raster raster;
    ResizeRaster(raster, 2, 2);
    raster.at(0, 0) = GreyPixel(0);
    raster.at(1, 0) = GreyPixel(200);
    raster.at(0, 1) = GreyPixel(100);
    raster.at(1, 1) = GreyPixel(255);
    QCOMPARE(SampleBilinear256(raster, x256, y256), uint32_t(expected));
    QCOMPARE(SampleBilinear(raster, x256 / 256.0, y256 / 256.0), uint32_t(expected));
}

// Source: 8 × 2, columns grey 0, 0, 200, 200, 100, 100, 40, 40 on both rows.
void TestRaster::areaResample_data()
{
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("greys");
    QTest::newRow("two to one") << 0.0 << 2.0 << 3 << QList<int>{0, 200, 100};
    QTest::newRow("three to one, across a step") << 0.0 << 3.0 << 2 << QList<int>{67, 133};
    QTest::newRow("a fraction of a pixel on") << 0.5 << 2.0 << 2 << QList<int>{50, 175};
    QTest::newRow("one to two") << 1.0 << 0.5 << 4 << QList<int>{0, 0, 200, 200};
    QTest::newRow("half outside reads black there") << -1.0 << 2.0 << 1 << QList<int>{0};
    QTest::newRow("past the right edge") << 5.0 << 2.0 << 2 << QList<int>{70, 20};
    QTest::newRow("five to one") << 0.0 << 5.0 << 1 << QList<int>{100};
    QTest::newRow("all eight to one") << 0.0 << 8.0 << 1 << QList<int>{85};
}

void TestRaster::areaResample()
{
    QFETCH(double, left);
    QFETCH(double, step);
    QFETCH(int, width);
    QFETCH(QList<int>, greys);
    Raster source;
    ResizeRaster(source, 8, 2);
    const int columns[] = {0, 0, 200, 200, 100, 100, 40, 40};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 8; ++x)
            source.at(x, y) = GreyPixel(columns[x]);
    const Raster target = AreaResample(source, left, 0.0, step, 2.0, width, 1);
    QCOMPARE(target.width, width);
    QCOMPARE(target.height, 1);
    for (int x = 0; x < width; ++x)
        QCOMPARE(target.at(x, 0), GreyPixel(greys[x]));
}

void TestRaster::takesSpecksAndKeepsLinesAndEdges()
{
    // 12 × 10: paper 200 on the left seven columns, lid 60 on the right; on the paper a dark
    // speck of 2 × 2 pixels, a dark diagonal line five pixels long and a light pixel; on the
    // lid a light speck of 3 × 1 and a light line down the whole lid.
    Raster source;
    ResizeRaster(source, 12, 10);
    const auto background = [](int x) { return x < 7 ? 200 : 60; };
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            source.at(x, y) = GreyPixel(background(x));
    for (int y = 1; y <= 2; ++y)
        for (int x = 1; x <= 2; ++x)
            source.at(x, y) = GreyPixel(0);
    for (int k = 0; k < 5; ++k)
        source.at(1 + k, 4 + k) = GreyPixel(20);
    source.at(5, 1) = GreyPixel(255);
    for (int x = 8; x <= 10; ++x)
        source.at(x, 2) = GreyPixel(240);
    for (int y = 0; y < 10; ++y)
        source.at(10, y) = GreyPixel(230);
    const Raster clean = WithoutSpecks(source);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool onDiagonal = x - y == -3 && x >= 1 && x <= 5;
            const int expected = x == 10 ? 230 : onDiagonal ? 20 : background(x);
            QCOMPARE(clean.at(x, y), GreyPixel(expected));
        }
    }
}

// The mean worked out as rows come, a few at a time, is the mean of the whole raster, also
// where the reduction is so slight that several samples fall on one row.
void TestRaster::sampledMeanRowByRow()
{
    Raster source;
    ResizeRaster(source, 37, 29);
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < source.width; ++x)
            source.at(x, y) = 0xFF000000u | std::uint32_t(x * 7) << 16 | std::uint32_t(y * 8) << 8 | std::uint32_t((x * y) % 256);
    for (const double step : {3.7, 1.3}) {
        const int width = static_cast<int>(source.width / step);
        const int height = static_cast<int>(source.height / step);
        SampledMeanRows rows(source.width, source.height, step, width, height, 3);
        for (int first = 0; first < source.height; first += 5)
            rows.add(source, first, std::min(first + 5, source.height));
        QVERIFY(rows.take().pixels == SampledMean(source, step, width, height, 3).pixels);
    }
}

QTEST_GUILESS_MAIN(TestRaster)
#include "tst_raster.moc"
