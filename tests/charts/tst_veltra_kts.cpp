#include "chart_drawing.h"
#include "file_bytes.h"
#include "test_image_files.h"
#include "tool_run.h"
#include "trace_matching.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// Activities a scanned disc reads reliably: driving, other work and rest. (Availability is
// exactly 4 dark rows of 14, so a pixel of scanning error turns it into rest or other work;
// the disc-image tests cover it.)
const std::vector<TraceInterval> kUpperTrace = {
    {0, 300, 0}, {300, 420, 3}, {420, 480, 2}, {480, 900, 3}, {900, 1380, 0}, {1380, 1420, 2}, {1420, 1440, 0},
};
const std::vector<TraceInterval> kLowerTrace = {
    {0, 120, 0}, {120, 560, 3}, {560, 1000, 0}, {1000, 1300, 2}, {1300, 1440, 0},
};
// The scan adds resampling to the disc image's own uncertainty (see trace_matching.h).
constexpr int kScanTolerance = 4;

ToolRun RunKts(const QStringList& arguments)
{
    return RunTool(QStringLiteral("veltra-kts"), arguments);
}

ChartIntervals IntervalsFromJson(const QJsonArray& array)
{
    ChartIntervals intervals;
    for (const QJsonValue& value : array) {
        const QJsonObject o = value.toObject();
        intervals.push_back({o[QStringLiteral("start")].toInt(), o[QStringLiteral("end")].toInt(),
                             o[QStringLiteral("code")].toInt()});
    }
    return intervals;
}

// A BMP of run-length data that declares width x height pixels but holds only a few empty
// lines and the end-of-bitmap mark: a file of a hundred bytes asking for a whole raster.
// Without `complete`, the end-of-bitmap mark is missing, as in a file cut short.
QByteArray RunLengthBomb(int bitsPerPixel, int width, int height, bool complete = true)
{
    QByteArray pixels = QByteArray("\x00\x00", 2).repeated(4);
    if (complete)
        pixels += QByteArray("\x00\x01", 2);
    return RunLengthBmp(bitsPerPixel, width, height, std::vector<quint32>(std::size_t(1) << bitsPerPixel, 0xFFFFFF),
                        pixels);
}

// Address space the tool may take: about twice the raster limit, the libraries included.
constexpr qint64 kAddressSpaceLimit = qint64(1024) * 1024 * 1024;

} // namespace

class TestVeltraKts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void readsBothDiscsOfAScan();
    void printsTheTextExport();
    void warnsWhenZeroIsInDoubt();
    void readsTheOptionAndGeometryFiles();
    void reportsScanErrors_data();
    void reportsScanErrors();
    void refusesBadArguments();
    void batchKeepsTheOrderAndGoesPastBadFiles();
    void hostileScansUnderMemoryLimit_data();
    void hostileScansUnderMemoryLimit();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QString m_scan;
};

void TestVeltraKts::initTestCase()
{
    QVERIFY(QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/veltra-kts")));
    const int width = A4WidthPixels(200);
    const int height = A4HeightPixels(200);
    std::vector<ChartDiscDrawing> discs = StackedDiscs(width, height, 2);
    discs[0].pos0 = 180;
    discs[0].trace = kUpperTrace;
    discs[1].pos0 = 95.5;
    discs[1].trace = kLowerTrace;
    m_scan = path(QStringLiteral("dva listića.jpg"));
    QVERIFY(WriteJpegFile(m_scan, DrawChartPage(width, height, discs)));
}

void TestVeltraKts::readsBothDiscsOfAScan()
{
    const ToolRun run = RunKts({QStringLiteral("--json"), m_scan});
    QCOMPARE(run.exitCode, 0);
    const QJsonArray scans = QJsonDocument::fromJson(run.out.toUtf8()).object()[QStringLiteral("scans")].toArray();
    QCOMPARE(scans.size(), 1);
    const QJsonArray discs = scans[0].toObject()[QStringLiteral("discs")].toArray();
    QCOMPARE(discs.size(), 2);

    const std::vector<TraceInterval>* traces[] = {&kUpperTrace, &kLowerTrace};
    const double drawnPos0[] = {180, 95.5};
    for (int i = 0; i < 2; ++i) {
        const QJsonObject disc = discs[i].toObject();
        QCOMPARE(disc[QStringLiteral("number")].toInt(), i + 1);
        QCOMPARE(disc[QStringLiteral("imageWidth")].toInt(), 750);
        const QJsonObject geometry = disc[QStringLiteral("geometry")].toObject();
        // The fine reading cuts the image to the disc with a margin: the ring lies a pixel in.
        QCOMPARE(geometry[QStringLiteral("r1")].toInt(), 183);
        QVERIFY(std::abs(geometry[QStringLiteral("pos0")].toDouble() - drawnPos0[i]) <= 1.0);
        const ChartIntervals read = IntervalsFromJson(disc[QStringLiteral("intervals")].toArray());
        const QString mismatch = MismatchWithTrace(read, *traces[i], kScanTolerance);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        // The chart starts at its first activity; the rest before it belongs to the day before.
        QCOMPARE(disc[QStringLiteral("splitPoint")].toInt(), read[1].start);
        QCOMPARE(disc[QStringLiteral("intervals")].toArray()[0].toObject()[QStringLiteral("day")].toInt(), 2);
        QVERIFY(!disc[QStringLiteral("twoDay")].toBool());
        QVERIFY(disc[QStringLiteral("durations")].toObject().contains(QStringLiteral("orientationMs")));
    }
}

void TestVeltraKts::printsTheTextExport()
{
    const ToolRun run = RunKts({m_scan});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    const QStringList lines = run.out.split(QLatin1Char('\n'));
    QVERIFY(lines.contains(QStringLiteral("Detektirano 2 listića!")));
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^MIRELTOSA\\|\\|KTS2\\|\\|\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d$"))).size(), 2);
    QCOMPARE(lines.count(QStringLiteral("Aktivnost\tOd\tDo\tTrajanje\tDan\tOpis")), 2);
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^R1 = 18\\d; R2 = 19\\d; C = \\(37\\d,37\\d\\)  0="))).size(), 2);
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^Obrada - stretch \\([12]\\) = \\d+$"))).size(), 2);
    QVERIFY(lines.filter(QRegularExpression(QStringLiteral("^Učitavanje = \\d+$"))).size() == 1);
    // The upper disc's first line: the morning rest of the following day, ending when driving starts.
    const int header = lines.indexOf(QStringLiteral("Aktivnost\tOd\tDo\tTrajanje\tDan\tOpis"));
    QVERIFY(QRegularExpression(QStringLiteral("^0\t00:00\t(0[45]:\\d\\d)\t\\1\t2\tOdmor\t$")).match(lines[header + 1]).hasMatch());
    QVERIFY(QRegularExpression(QStringLiteral("^3\t0[45]:\\d\\d\t0[67]:\\d\\d\t0[12]:\\d\\d\t1\tVožnja\t$")).match(lines[header + 2]).hasMatch());
    QVERIFY(lines[header - 1].isEmpty());
}

// A disc whose printed rim scale and centre hole disagree on 00:00 gets a warning line (and a
// warning in JSON); a disc read without doubt gets none.
void TestVeltraKts::warnsWhenZeroIsInDoubt()
{
    const int width = A4WidthPixels(150);
    const int height = A4HeightPixels(150);
    std::vector<ChartDiscDrawing> discs = StackedDiscs(width, height, 2);
    for (ChartDiscDrawing& disc : discs) {
        disc.trace = kLowerTrace;
        disc = PrintedDisc(disc, false);
    }
    discs[1].scaleTurn = 0.6;
    const QString scan = path(QStringLiteral("sumnja.jpg"));
    QVERIFY(WriteJpegFile(scan, DrawChartPage(width, height, discs)));

    const ToolRun run = RunKts({scan});
    QCOMPARE(run.exitCode, 0);
    const QStringList warnings = run.out.split(QLatin1Char('\n')).filter(QStringLiteral("Provjerite"));
    QCOMPARE(warnings, QStringList{QStringLiteral("Upozorenje (2): Provjerite položaj 00:00")});

    const ToolRun json = RunKts({QStringLiteral("--json"), scan});
    const QJsonArray read = QJsonDocument::fromJson(json.out.toUtf8()).object()[QStringLiteral("scans")].toArray()[0]
                                .toObject()[QStringLiteral("discs")].toArray();
    QCOMPARE(read.size(), 2);
    QVERIFY(!read[0].toObject().contains(QStringLiteral("warning")));
    QCOMPARE(read[1].toObject()[QStringLiteral("warning")].toString(), QStringLiteral("Provjerite položaj 00:00"));
    const QJsonObject check = read[1].toObject()[QStringLiteral("zeroCheck")].toObject();
    QVERIFY(check[QStringLiteral("scaleFound")].toBool());
    QVERIFY(check[QStringLiteral("holeAxisFound")].toBool());
    QVERIFY(std::abs(check[QStringLiteral("scaleZero")].toDouble() - check[QStringLiteral("holeZero")].toDouble() - 0.6) <= 0.1);
}

// Many scans at once, on three workers: each scan's output in the order of the arguments, a
// scan that cannot be read named on stderr without stopping the others, and exit status 1.
void TestVeltraKts::batchKeepsTheOrderAndGoesPastBadFiles()
{
    const QString damaged = path(QStringLiteral("oštećen.jpg"));
    QByteArray bytes = ReadAll(m_scan);
    bytes.truncate(bytes.size() / 3);
    QVERIFY(WriteAll(damaged, bytes));
    const QString missing = path(QStringLiteral("nema.jpg"));
    const QStringList scans{m_scan, damaged, m_scan, missing, m_scan};
    const ToolRun run = RunKts(QStringList{QStringLiteral("--jobs"), QStringLiteral("3")} + scans);
    QCOMPARE(run.exitCode, 1);
    const QStringList order = run.out.split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^== ")));
    QStringList expected;
    for (const QString& scan : scans)
        expected << QStringLiteral("== ") + scan;
    QCOMPARE(order, expected);
    QCOMPARE(run.out.count(QStringLiteral("Detektirano 2 listića!")), 3);
    QCOMPARE(run.err, damaged + QStringLiteral(": Pogreška pri učitavanju slike!\n") + missing
                          + QStringLiteral(": Pogreška pri učitavanju slike!\n"));

    // The same scans one at a time give the same output, but for the times.
    const QRegularExpression times(QStringLiteral("( = \\d+|\\d\\d:\\d\\d:\\d\\d)$"), QRegularExpression::MultilineOption);
    const ToolRun single = RunKts(QStringList{QStringLiteral("--jobs"), QStringLiteral("1")} + scans);
    QCOMPARE(QString(single.out).remove(times), QString(run.out).remove(times));
    QCOMPARE(RunKts({QStringLiteral("--jobs"), QStringLiteral("0"), m_scan}).exitCode, 2);
}

void TestVeltraKts::readsTheOptionAndGeometryFiles()
{
    const QString options = path(QStringLiteral("postavke.dat"));
    const QString geometry = path(QStringLiteral("ktspostavke.dat"));
    QFile file(options);
    QVERIFY(file.open(QIODevice::WriteOnly));
    // Other work of up to 60 minutes counts as a disturbance: the upper disc's 40 minutes go.
    file.write("[KTS]\r\nSpecKorekt=1\r\nMinKorekt=60\r\nFinoPoravnaj=0\r\n");
    file.close();
    QFile geometryFile(geometry);
    QVERIFY(geometryFile.open(QIODevice::WriteOnly));
    geometryFile.write("[Postavke]\r\nR1=180\r\nR2=200\r\nPos0=12,5\r\nCX=375\r\nCY=373\r\n");
    geometryFile.close();

    const ToolRun run = RunKts({QStringLiteral("--options"), options, QStringLiteral("--geometry"), geometry,
                             QStringLiteral("--json"), m_scan});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject disc = QJsonDocument::fromJson(run.out.toUtf8())
                                 .object()[QStringLiteral("scans")][0][QStringLiteral("discs")][0]
                                 .toObject();
    const QJsonObject g = disc[QStringLiteral("geometry")].toObject();
    QCOMPARE(g[QStringLiteral("r1")].toInt(), 180);
    QCOMPARE(g[QStringLiteral("r2")].toInt(), 200);
    QCOMPARE(g[QStringLiteral("cx")].toInt(), 375);
    QCOMPARE(g[QStringLiteral("cy")].toInt(), 373);
    QVERIFY(std::abs(g[QStringLiteral("pos0")].toDouble() - 180) <= 1.0); // estimated, not 12,5
    const ChartIntervals read = IntervalsFromJson(disc[QStringLiteral("intervals")].toArray());
    QVERIFY(std::none_of(read.begin(), read.end(), [](const ChartInterval& i) { return i.start > 1300 && i.code == 2; }));
}

void TestVeltraKts::reportsScanErrors_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing") << "nema.jpg" << "Pogreška pri učitavanju slike!";
    QTest::newRow("not an image") << "tekst.jpg" << "Pogreška pri učitavanju slike!";
    QTest::newRow("too narrow") << "uska.jpg" << "Minimalne dimenzije skeniranog listića moraju biti 400x400 piksela!";
    QTest::newRow("no disc") << "prazna.jpg" << "Nije detektiran ni jedan listić!";
}

void TestVeltraKts::reportsScanErrors()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    const QString scan = path(file);
    if (file == QLatin1String("tekst.jpg")) {
        QFile text(scan);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("nije slika");
    } else if (file != QLatin1String("nema.jpg")) {
        Raster grey;
        ResizeRaster(grey, file == QLatin1String("uska.jpg") ? 400 : 800, file == QLatin1String("uska.jpg") ? 3000 : 800);
        ClearRaster(grey, GreyPixel(128));
        QVERIFY(WriteJpegFile(scan, grey));
    }
    // A bad scan does not stop the next one.
    const ToolRun run = RunKts({scan, m_scan});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err.trimmed(), scan + QStringLiteral(": ") + message);
    QCOMPARE(run.out.count(QStringLiteral("MIRELTOSA||KTS2||")), 2);
}

void TestVeltraKts::refusesBadArguments()
{
    QCOMPARE(RunKts({}).exitCode, 2);
    QCOMPARE(RunKts({QStringLiteral("--json")}).exitCode, 2);
    QCOMPARE(RunKts({QStringLiteral("--brzo"), m_scan}).exitCode, 2);
    const ToolRun missing = RunKts({QStringLiteral("--options"), path(QStringLiteral("nema.dat")), m_scan});
    QCOMPARE(missing.exitCode, 2);
    QVERIFY(missing.err.contains(QStringLiteral("Nema datoteke postavki")));
    QCOMPARE(missing.out, QString());
}

void TestVeltraKts::hostileScansUnderMemoryLimit_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");  // how the error line starts; empty: any message
    const QString noDisc = QStringLiteral("Nije detektiran ni jedan listić!");
    const QString loadError = QStringLiteral("Pogreška pri učitavanju slike!");
    QTest::newRow("a thin stripe 1200 x 16000") << "traka.jpg" << noDisc;
    QTest::newRow("RLE4 bomb 11000 x 11000") << "rle4.bmp" << noDisc;
    QTest::newRow("RLE8 bomb 11000 x 11000") << "rle8.bmp" << noDisc;
    QTest::newRow("run-length data cut short") << "odrezana.bmp" << loadError;
    QTest::newRow("progressive JPEG 11000 x 11000") << "progresivna.jpg"
                                                    << "Slika je prevelika za učitavanje: 11000 × 11000 piksela";
    QTest::newRow("a FIFO") << "fifo.jpg" << loadError;
    QTest::newRow("a file cut short while it is read") << "rezana.jpg" << "";
}

// Each gives its message and ends normally within the memory limit: no signal, no hang.
void TestVeltraKts::hostileScansUnderMemoryLimit()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    const QString scan = path(file);
    QFile::remove(scan);
    if (file == "traka.jpg") {
        Raster stripe;
        ResizeRaster(stripe, 1200, 16000);
        ClearRaster(stripe, GreyPixel(250));
        for (int y = 0; y < stripe.height; ++y)
            for (int x = 560; x < 640; ++x)
                stripe.row(y)[x] = GreyPixel(40);
        QVERIFY(WriteJpegFile(scan, stripe));
    } else if (file == "rle4.bmp" || file == "rle8.bmp") {
        QVERIFY(WriteAll(scan, RunLengthBomb(file == "rle4.bmp" ? 4 : 8, 11000, 11000)));
    } else if (file == "odrezana.bmp") {
        QVERIFY(WriteAll(scan, RunLengthBomb(8, 2000, 2000, false)));
    } else if (file == "progresivna.jpg") {
        Raster small;
        ResizeRaster(small, 64, 64);
        ClearRaster(small, GreyPixel(200));
        QVERIFY(WriteJpegFile(path("mala.jpg"), small, {.quality = 90, .grayscale = false, .progressive = true}));
        QVERIFY(WriteAll(scan, WithJpegSize(ReadAll(path("mala.jpg")), 11000, 11000)));
    } else if (file == "fifo.jpg") {
        QCOMPARE(::mkfifo(QFile::encodeName(scan).constData(), 0600), 0);
    } else {
        QVERIFY(QFile::copy(m_scan, scan));
    }

    QProcess process;
    process.start("prlimit", {QStringLiteral("--as=%1").arg(kAddressSpaceLimit), "--",
                              QCoreApplication::applicationDirPath() + "/veltra-kts", scan});
    QVERIFY(process.waitForStarted());
    if (file == "rezana.jpg") {
        QFile cut(scan);
        QVERIFY(cut.resize(cut.size() / 3));
    }
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    const QString err = QString::fromUtf8(process.readAllStandardError()).trimmed();
    if (!message.isEmpty()) {
        QCOMPARE(process.exitCode(), 1);
        QVERIFY2(err.startsWith(scan + ": " + message), qPrintable(err));
    } else {
        QVERIFY2(process.exitCode() == 0 || process.exitCode() == 1, qPrintable(err));
    }
}

QTEST_GUILESS_MAIN(TestVeltraKts)
#include "tst_veltra_kts.moc"
