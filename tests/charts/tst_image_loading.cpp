#include "charts/image_loading.h"
#include "chart_drawing.h"
#include "file_bytes.h"
#include "test_image_files.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>

#include <sys/stat.h>

Q_DECLARE_METATYPE(JpegInks)

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;

// Four flat quadrants: red, green, blue and light grey.
const uint32_t kQuadrants[4] = {0xFFD02020u, 0xFF20B040u, 0xFF3040C0u, 0xFFE0E0E0u};

Raster QuadrantImage()
{
    Raster raster;
    ResizeRaster(raster, kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            raster.at(x, y) = kQuadrants[(y >= kHeight / 2) * 2 + (x >= kWidth / 2)];
    return raster;
}

bool Near(uint32_t actual, uint32_t expected, int tolerance)
{
    if ((actual >> 24) != 0xFF)
        return false;
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(int((actual >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) > tolerance)
            return false;
    }
    return true;
}

// A 4 x 2 paletted BMP with RLE8 data: the bottom row a run of four white pixels, the top
// row an absolute run white, black, white, black; then the end-of-bitmap mark.
QByteArray TwoRowRunLengthBmp()
{
    const QByteArray pixels("\x04\x01\x00\x00"
                            "\x00\x04\x01\x00\x01\x00\x00\x00"
                            "\x00\x01",
                            14);
    return RunLengthBmp(8, 4, 2, {0x000000, 0xFFFFFF}, pixels);
}

} // namespace

class TestImageLoading : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void loadsGoodFiles_data();
    void loadsGoodFiles();
    void planesAveragedByArea_data();
    void planesAveragedByArea();
    void refusesBadFiles_data();
    void refusesBadFiles();
    void loadsFileWhoseNameIsNotText();
    void inkJpegs_data();
    void inkJpegs();
    void progressiveJpegBeyondDecoderMemory();
    void runLengthBmp_data();
    void runLengthBmp();
    void jpegEndings_data();
    void jpegEndings();
    void rasterSizeLimit_data();
    void rasterSizeLimit();

private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }
};

void TestImageLoading::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const Raster image = QuadrantImage();
    QVERIFY(WriteJpegFile(path("colour.jpg"), image));
    QVERIFY(WriteJpegFile(path("grey.jpg"), image, {.quality = 92, .grayscale = true, .progressive = false}));
    QVERIFY(WriteJpegFile(path("progressive.jpeg"), image, {.quality = 92, .grayscale = false, .progressive = true}));
    QVERIFY(WriteJpegFile(path("colour-422.jpg"), image, {.colourSpanAcross = 2, .colourSpanDown = 1}));
    QVERIFY(WriteJpegFile(path("colour-444.jpg"), image, {.colourSpanAcross = 1, .colourSpanDown = 1}));
    QVERIFY(WriteBmpFile(path("bitmap.bmp"), image));
    QVERIFY(QFile::copy(path("bitmap.bmp"), path("bitmap-named.jpg")));
    QVERIFY(QFile::copy(path("colour.jpg"), path("jpeg-named.bmp")));
}

void TestImageLoading::loadsGoodFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("grey");
    QTest::addColumn<int>("tolerance");
    QTest::newRow("colour JPEG") << "colour.jpg" << false << 12;
    QTest::newRow("colour JPEG, colour halved across only") << "colour-422.jpg" << false << 12;
    QTest::newRow("colour JPEG, colour whole") << "colour-444.jpg" << false << 12;
    QTest::newRow("grayscale JPEG") << "grey.jpg" << true << 3;
    QTest::newRow("progressive JPEG") << "progressive.jpeg" << false << 12;
    QTest::newRow("BMP") << "bitmap.bmp" << false << 0;
    QTest::newRow("BMP named .jpg") << "bitmap-named.jpg" << false << 0;
    QTest::newRow("JPEG named .bmp") << "jpeg-named.bmp" << false << 12;
}

void TestImageLoading::loadsGoodFiles()
{
    QFETCH(QString, name);
    QFETCH(bool, grey);
    QFETCH(int, tolerance);
    Raster raster;
    QVERIFY(LoadRasterImage(path(name), raster));
    QCOMPARE(raster.width, kWidth);
    QCOMPARE(raster.height, kHeight);
    QCOMPARE(raster.pixels.size(), size_t(kWidth * kHeight));
    for (int q = 0; q < 4; ++q) {
        const int x = (q % 2) * kWidth / 2 + kWidth / 4;
        const int y = (q / 2) * kHeight / 2 + kHeight / 4;
        const uint32_t expected = grey ? GreyPixel(Intensity(kQuadrants[q])) : kQuadrants[q];
        QVERIFY2(Near(raster.at(x, y), expected, tolerance),
                 qPrintable(QString("quadrant %1: %2").arg(q).arg(raster.at(x, y), 8, 16)));
    }

    // The rows are told of as they are written, in order, each once, and hold their pixels then.
    Raster told;
    int next = 0;
    bool inOrder = true;
    const RowsWritten rowsWritten = [&](const Raster& written, int firstRow, int endRow) {
        inOrder = inOrder && firstRow == next && endRow > firstRow;
        next = endRow;
        if (told.isEmpty())
            ResizeRaster(told, written.width, written.height);
        for (int y = firstRow; y < endRow; ++y)
            std::copy(written.row(y), written.row(y) + written.width, told.row(y));
    };
    Raster again;
    QVERIFY(LoadRasterImage(path(name), again, rowsWritten));
    QVERIFY(inOrder);
    QCOMPARE(next, kHeight);
    QVERIFY(told.pixels == again.pixels);

    // Loaded for the fine reading: a JPEG in its decoder's planes, a BMP as colours; either way
    // the same image, told of row by row in order.
    ScanImage scan;
    next = 0;
    const ScanRowsWritten scanRows = [&](const ScanImage& written, int firstRow, int endRow) {
        inOrder = inOrder && firstRow == next && endRow > firstRow && endRow <= written.height();
        next = endRow;
    };
    QVERIFY(LoadScanImage(QFile::encodeName(path(name)), scan, scanRows));
    QVERIFY(inOrder);
    QCOMPARE(next, kHeight);
    QCOMPARE(scan.inPlanes(), !name.contains(QLatin1String("bitmap")));
    QCOMPARE(scan.width(), kWidth);
    QCOMPARE(scan.height(), kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t pixel = scan.inPlanes() ? YccRow(scan.planes, y)(x) : scan.raster.at(x, y);
            // The colour differences are taken pixel by pixel from their half-size planes, not
            // blended as the decoder blends them: near a colour edge a pixel may differ.
            const bool nearEdge = std::abs(x - kWidth / 2) <= 2 || std::abs(y - kHeight / 2) <= 2;
            QVERIFY2(Near(pixel, raster.at(x, y), nearEdge ? 96 : 4),
                     qPrintable(QString("(%1, %2): %3 / %4").arg(x).arg(y).arg(pixel, 8, 16).arg(raster.at(x, y), 8, 16)));
        }
    }
}

// A disc image averaged from a JPEG's planes is the one averaged from its colours, also where
// the rectangle reaches beyond the scan (black there) and where it is enlarged.
void TestImageLoading::planesAveragedByArea_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("step");
    QTest::newRow("inside, reduced") << "colour.jpg" << 3.3 << 2.7 << 1.9;
    QTest::newRow("beyond the top left") << "colour.jpg" << -11.5 << -7.25 << 1.3;
    QTest::newRow("beyond the bottom right") << "colour.jpg" << 30.4 << 20.6 << 1.7;
    QTest::newRow("enlarged") << "colour.jpg" << 10.2 << 5.9 << 0.45;
    QTest::newRow("reduced much, mostly beyond") << "colour.jpg" << -3.1 << -2.2 << 6.5;
    QTest::newRow("progressive") << "progressive.jpeg" << -4.0 << 3.0 << 1.5;
    QTest::newRow("colour halved across only") << "colour-422.jpg" << -2.5 << 1.25 << 1.7;
    QTest::newRow("colour whole") << "colour-444.jpg" << 40.5 << -5.0 << 0.8;
    QTest::newRow("grey, beyond") << "grey.jpg" << -6.6 << -3.3 << 1.2;
}

void TestImageLoading::planesAveragedByArea()
{
    QFETCH(QString, name);
    QFETCH(double, left);
    QFETCH(double, top);
    QFETCH(double, step);
    Raster colours;
    QVERIFY(LoadRasterImage(path(name), colours));
    ScanImage scan;
    QVERIFY(LoadScanImage(QFile::encodeName(path(name)), scan));
    QVERIFY(scan.inPlanes());
    constexpr int kSize = 40;
    const Raster expected = AreaResample(colours, left, top, step, step, kSize, kSize);
    const Raster actual = AreaResample(scan.planes, left, top, step, step, kSize, kSize);
    QCOMPARE(actual.width, kSize);
    QCOMPARE(actual.height, kSize);
    // The decoder blends colour differences across the quadrants' edges, the planes are
    // averaged as they are: colours are compared away from those edges, levels everywhere.
    const auto nearEdge = [step](double from, int edge) { return from - 2 < edge && from + step + 2 > edge; };
    int worstLevel = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const uint32_t a = actual.at(x, y);
            const uint32_t e = expected.at(x, y);
            const bool edge = nearEdge(left + x * step, kWidth / 2) || nearEdge(top + y * step, kHeight / 2);
            QVERIFY2(edge || Near(a, e, 4), qPrintable(QString("(%1, %2): %3 / %4").arg(x).arg(y).arg(a, 8, 16).arg(e, 8, 16)));
            worstLevel = std::max(worstLevel, std::abs(Intensity(a) - Intensity(e)));
        }
    }
    // What the reading sees, the level, hardly differs.
    QVERIFY2(worstLevel <= 6, qPrintable(QString::number(worstLevel)));
    // Wholly beyond the scan: black, not the colour of zero differences.
    const Raster outside = AreaResample(scan.planes, -100.0, -100.0, 2.0, 2.0, 4, 4);
    for (const uint32_t pixel : outside.pixels)
        QCOMPARE(pixel, kOpaqueBlack);
}

void TestImageLoading::refusesBadFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("contents"); // written to the file unless the name is empty

    const QByteArray jpeg = ReadAll(path("colour.jpg"));
    const QByteArray bmp = ReadAll(path("bitmap.bmp"));
    QByteArray bmpHuge = bmp;
    bmpHuge[18] = char(0x60); // width and height 60000 (0xEA60), little-endian
    bmpHuge[19] = char(0xEA);
    bmpHuge[20] = bmpHuge[21] = 0;
    bmpHuge[22] = char(0x60);
    bmpHuge[23] = char(0xEA);
    bmpHuge[24] = bmpHuge[25] = 0;
    QByteArray png;
    {
        QImage image(500, 500, QImage::Format_RGB32);
        image.fill(Qt::white);
        QVERIFY(image.save(path("real.png"), "PNG"));
        png = ReadAll(path("real.png"));
    }

    QByteArray cutShort = jpeg;
    cutShort[jpeg.size() - 12] = char(0xFF); // an end-of-image marker amid the compressed data
    cutShort[jpeg.size() - 11] = char(0xD9);

    QTest::newRow("no path") << "" << QByteArray();
    QTest::newRow("a folder") << "folder.jpg" << QByteArray();
    QTest::newRow("a FIFO, which would block") << "fifo.jpg" << QByteArray();
    QTest::newRow("missing file") << "missing.jpg" << QByteArray();
    QTest::newRow("empty file") << "empty.jpg" << QByteArray("");
    QTest::newRow("truncated JPEG") << "truncated.jpg" << jpeg.left(jpeg.size() / 2);
    QTest::newRow("JPEG ending amid its data") << "cut-short.jpg" << cutShort;
    QTest::newRow("JPEG start only") << "start.jpg" << jpeg.left(3);
    QTest::newRow("JPEG declaring 60000 x 60000") << "huge.jpg" << WithJpegSize(jpeg, 60000, 60000);
    QTest::newRow("text named .jpg") << "text.jpg" << QByteArray("Ovo nije slika.\n");
    QTest::newRow("PNG") << "real.png" << png;
    QTest::newRow("truncated BMP") << "truncated.bmp" << bmp.left(bmp.size() - 100);
    QTest::newRow("BMP header only") << "header.bmp" << bmp.left(30);
    QTest::newRow("BMP declaring 60000 x 60000") << "huge.bmp" << bmpHuge;
    QByteArray offsetInHeader = bmp;
    offsetInHeader[10] = char(20);
    offsetInHeader[11] = offsetInHeader[12] = offsetInHeader[13] = 0;
    QTest::newRow("BMP pixel data inside its header") << "offset.bmp" << offsetInHeader;
}

void TestImageLoading::refusesBadFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    if (!name.isEmpty() && !contents.isNull())
        QVERIFY(WriteAll(path(name), contents));
    if (name == QLatin1String("folder.jpg"))
        QVERIFY(QDir().mkpath(path(name)));
    if (name == QLatin1String("fifo.jpg"))
        QCOMPARE(::mkfifo(QFile::encodeName(path(name)).constData(), 0600), 0);
    Raster raster;
    ResizeRaster(raster, 5, 5); // whatever was there goes
    const ImageLoad load = LoadRasterImage(name.isEmpty() ? QString() : path(name), raster);
    QVERIFY(!load);
    QVERIFY(raster.isEmpty());
    // Refused alike when loaded for the fine reading.
    ScanImage scan;
    const ImageLoad scanLoad = LoadScanImage(name.isEmpty() ? QByteArray() : QFile::encodeName(path(name)), scan);
    QCOMPARE(scanLoad.outcome, load.outcome);
    QCOMPARE(scanLoad.message(), load.message());
    QVERIFY(scan.raster.isEmpty() && scan.planes.isEmpty());
    if (name.startsWith(QLatin1String("huge"))) {
        QCOMPARE(load.outcome, ImageLoad::Outcome::TooLarge);
        QVERIFY2(load.message().startsWith(QString::fromUtf8("Slika je prevelika: 60000 × 60000 piksela, a najviše se može "
                                                             "učitati 134 milijuna piksela (512 MB).")),
                 qPrintable(load.message()));
    } else {
        QCOMPARE(load.message(), kImageLoadErrorMessage);
    }
    QVERIFY(raster.pixels.empty());
    QCOMPARE(kImageLoadErrorMessage, QString::fromUtf8("Pogreška pri učitavanju slike!"));
}

// A name in an old 8-bit encoding ("čipka" in Windows-1250) is no valid UTF-8; the file is
// opened by its bytes all the same.
void TestImageLoading::loadsFileWhoseNameIsNotText()
{
    const QByteArray name = QFile::encodeName(m_dir.path()) + "/\xE8ipka.jpg";
    QVERIFY(QFile::copy(path("colour.jpg"), path("plain.jpg")));
    QCOMPARE(::rename(QFile::encodeName(path("plain.jpg")).constData(), name.constData()), 0);
    Raster raster;
    QVERIFY(LoadRasterImage(name, raster));
    QCOMPARE(raster.width, kWidth);
}

void TestImageLoading::inkJpegs_data()
{
    QTest::addColumn<JpegInks>("inks");
    QTest::addColumn<bool>("adobeMarker");
    QTest::addColumn<bool>("progressive");
    QTest::newRow("CMYK, Adobe's inverted inks") << JpegInks::Cmyk << true << false;
    QTest::newRow("CMYK without Adobe's marker") << JpegInks::Cmyk << false << false;
    QTest::newRow("YCCK") << JpegInks::Ycck << true << false;
    QTest::newRow("progressive YCCK") << JpegInks::Ycck << true << true;
}

// A scan saved in printing inks reads as the same picture: a drawn disc in greys and the four
// coloured quadrants. One that declares an absurd size is refused before anything is allocated.
void TestImageLoading::inkJpegs()
{
    QFETCH(JpegInks, inks);
    QFETCH(bool, adobeMarker);
    QFETCH(bool, progressive);
    const JpegWriteOptions options{.quality = 92, .grayscale = false, .progressive = progressive, .inks = inks, .adobeMarker = adobeMarker};

    const Raster disc = DrawChartPage(300, 300, StackedDiscs(300, 300, 1));
    QVERIFY(WriteJpegFile(path("disc-inks.jpg"), disc, options));
    Raster read;
    QVERIFY(LoadRasterImage(path("disc-inks.jpg"), read));
    QCOMPARE(read.width, disc.width);
    QCOMPARE(read.height, disc.height);
    std::int64_t difference = 0;
    for (int y = 0; y < disc.height; ++y)
        for (int x = 0; x < disc.width; ++x)
            difference += std::abs(Intensity(read.at(x, y)) - Intensity(disc.at(x, y)));
    const double meanDifference = double(difference) / (disc.width * disc.height);
    QVERIFY2(meanDifference < 1.5, qPrintable(QString::number(meanDifference)));

    QVERIFY(WriteJpegFile(path("quadrants-inks.jpg"), QuadrantImage(), options));
    QVERIFY(LoadRasterImage(path("quadrants-inks.jpg"), read));
    for (int q = 0; q < 4; ++q) {
        const int x = (q % 2) * kWidth / 2 + kWidth / 4;
        const int y = (q / 2) * kHeight / 2 + kHeight / 4;
        QVERIFY2(Near(read.at(x, y), kQuadrants[q], 12), qPrintable(QString("quadrant %1: %2").arg(q).arg(read.at(x, y), 8, 16)));
    }

    QVERIFY(WriteAll(path("huge-inks.jpg"), WithJpegSize(ReadAll(path("quadrants-inks.jpg")), 60000, 60000)));
    const ImageLoad huge = LoadRasterImage(path("huge-inks.jpg"), read);
    QCOMPARE(huge.outcome, ImageLoad::Outcome::TooLarge);
    QCOMPARE(huge.width, 60000);
    QVERIFY(read.isEmpty());
}

// Within the raster limit, but its coefficients would not fit beside the raster.
void TestImageLoading::progressiveJpegBeyondDecoderMemory()
{
    QVERIFY(WriteAll(path("progressive-11000.jpg"), WithJpegSize(ReadAll(path("progressive.jpeg")), 11000, 11000)));
    Raster raster;
    const ImageLoad load = LoadRasterImage(path("progressive-11000.jpg"), raster);
    QCOMPARE(load.outcome, ImageLoad::Outcome::DecoderOutOfMemory);
    QVERIFY2(load.message().startsWith(QString::fromUtf8("Slika je prevelika za učitavanje: 11000 × 11000 piksela")),
             qPrintable(load.message()));
    QVERIFY(raster.isEmpty());
}

void TestImageLoading::runLengthBmp_data()
{
    QTest::addColumn<int>("cut");  // bytes cut from the end
    QTest::addColumn<bool>("read");
    QTest::newRow("whole") << 0 << true;
    QTest::newRow("without its end-of-bitmap mark") << 2 << false;
    QTest::newRow("cut amid an absolute run") << 6 << false;
    QTest::newRow("cut after the first row") << 10 << false;
}

void TestImageLoading::runLengthBmp()
{
    QFETCH(int, cut);
    QFETCH(bool, read);
    const QByteArray whole = TwoRowRunLengthBmp();
    QVERIFY(WriteAll(path("rle.bmp"), whole.left(whole.size() - cut)));
    Raster raster;
    const ImageLoad load = LoadRasterImage(path("rle.bmp"), raster);
    QCOMPARE(bool(load), read);
    if (!read) {
        QVERIFY(raster.isEmpty());
        return;
    }
    constexpr uint32_t kWhite = 0xFFFFFFFF;
    constexpr uint32_t kBlack = 0xFF000000;
    const uint32_t expected[2][4] = {{kWhite, kBlack, kWhite, kBlack}, {kWhite, kWhite, kWhite, kWhite}};
    QCOMPARE(raster.width, 4);
    QCOMPARE(raster.height, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            QCOMPARE(raster.at(x, y), expected[y][x]);
}

void TestImageLoading::jpegEndings_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("keptShare");  // of the data before the end marker
    QTest::addColumn<int>("dropped");       // bytes dropped before the end marker
    QTest::addColumn<bool>("read");
    for (const char* name : {"colour.jpg", "progressive.jpeg"}) {
        QTest::addRow("%s without its end marker", name) << QString::fromLatin1(name) << 1.0 << 0 << true;
        QTest::addRow("%s cut at 60 %%", name) << QString::fromLatin1(name) << 0.6 << 0 << false;
        QTest::addRow("%s cut 40 bytes short", name) << QString::fromLatin1(name) << 1.0 << 40 << false;
    }
}

void TestImageLoading::jpegEndings()
{
    QFETCH(QString, name);
    QFETCH(double, keptShare);
    QFETCH(int, dropped);
    QFETCH(bool, read);
    const QByteArray whole = ReadAll(path(name));
    QVERIFY(whole.endsWith("\xFF\xD9"));
    const qsizetype data = whole.size() - 2;
    const QByteArray cut = whole.left(qsizetype(data * keptShare) - dropped);
    QVERIFY(WriteAll(path("ending.jpg"), cut));
    Raster raster;
    const ImageLoad load = LoadRasterImage(path("ending.jpg"), raster);
    QCOMPARE(bool(load), read);
    if (read) {
        Raster reference;
        QVERIFY(LoadRasterImage(path(name), reference));
        QVERIFY(raster.pixels == reference.pixels);
    }
}

void TestImageLoading::rasterSizeLimit_data()
{
    QTest::addColumn<qint64>("width");
    QTest::addColumn<qint64>("height");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("A4 at 600 dpi") << qint64(4961) << qint64(7016) << true;
    QTest::newRow("just within 512 MB") << qint64(11585) << qint64(11585) << true;
    QTest::newRow("just above 512 MB") << qint64(11586) << qint64(11586) << false;
    QTest::newRow("60000 x 60000") << qint64(60000) << qint64(60000) << false;
    QTest::newRow("one long row") << qint64(134217728) << qint64(1) << true;
    QTest::newRow("row too long") << qint64(134217729) << qint64(1) << false;
    QTest::newRow("zero width") << qint64(0) << qint64(100) << false;
    QTest::newRow("negative height") << qint64(100) << qint64(-100) << false;
}

void TestImageLoading::rasterSizeLimit()
{
    QFETCH(qint64, width);
    QFETCH(qint64, height);
    QFETCH(bool, allowed);
    QCOMPARE(RasterSizeAllowed(width, height), allowed);
}

QTEST_GUILESS_MAIN(TestImageLoading)
#include "tst_image_loading.moc"
