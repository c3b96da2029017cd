#include "charts/day_split.h"
#include "charts/trace_reading.h"

#include <QStringList>
#include <QTest>

namespace {

// "start-end:code" for each interval, blank-separated.
QString Describe(const ChartIntervals& intervals)
{
    QStringList parts;
    for (const ChartInterval& i : intervals)
        parts << QStringLiteral("%1-%2:%3").arg(i.start).arg(i.end).arg(i.code);
    return parts.join(QLatin1Char(' '));
}

// Minute codes from a text of digits placed from minute 0 on; the rest of the day is rest.
MinuteCodes CodesFrom(const QString& pattern)
{
    MinuteCodes codes{};
    for (int x = 0; x < pattern.size(); ++x)
        codes[x] = pattern[x].digitValue();
    return codes;
}

ChartIntervals IntervalsFrom(const QString& text)
{
    ChartIntervals intervals;
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList fields = part.split(QRegularExpression(QStringLiteral("[-:]")));
        intervals.push_back({fields[0].toInt(), fields[1].toInt(), fields[2].toInt()});
    }
    return intervals;
}

ChartReadingOptions NoSmoothing()
{
    ChartReadingOptions options;
    options.joinOneMinute = false;
    options.joinToDriving = false;
    return options;
}
// A strip of R1 = 184, R2 = 197 (15 rows, h = 14), paper everywhere but at `minute`, whose
// rows 0..14 follow the pattern: '#' trace (40), 'k' black trace (10), 'm' half-dark edge
// (115), 'g' grey (150), 'l' light edge (182), '.' paper.
TraceStrip StripWithColumn(const QString& column, int minute)
{
    TraceStrip strip;
    strip.rows = 15;
    strip.paperLevel = 235;
    strip.values.assign(strip.rows * TraceStrip::kColumns, TraceStrip::kPaper);
    for (int row = 0; row < strip.rows; ++row) {
        const QChar c = column[row];
        strip.at(minute, row) = c == QLatin1Char('#') ? 40
            : c == QLatin1Char('k')                   ? 10
            : c == QLatin1Char('m')                   ? 115
            : c == QLatin1Char('g')                   ? 150
            : c == QLatin1Char('l')                   ? 182
                                                      : TraceStrip::kPaper;
    }
    return strip;
}

} // namespace

class TestChartReading : public QObject {
    Q_OBJECT

private slots:
    void classifiesByThickness_data();
    void classifiesByThickness();
    void finelyCountsTheSoftEdgeHalfway_data();
    void finelyCountsTheSoftEdgeHalfway();
    void smoothsSingleMinutes_data();
    void smoothsSingleMinutes();
    void runsCoverTheDay();
    void correctsDisturbances_data();
    void correctsDisturbances();
    void correctsShortRests();
    void readsAnEmptyStripAsRest();
    void takesTheSplitPointFromTheRememberedIndex();
    void splitsDays_data();
    void splitsDays();
};

void TestChartReading::classifiesByThickness_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("code");

    QTest::newRow("no trace") << "..............." << int(kRest);
    QTest::newRow("row 0 alone is not read") << "#.............." << int(kRest);
    QTest::newRow("3 dark is rest") << "####..........." << int(kRest);
    QTest::newRow("4 dark is availability") << ".####.........." << int(kAvailability);
    QTest::newRow("5 dark is other work") << ".#####........." << int(kOtherWork);
    QTest::newRow("9 dark is other work") << ".#########....." << int(kOtherWork);
    QTest::newRow("10 dark is driving") << ".##########...." << int(kDriving);
    QTest::newRow("13 dark is driving") << ".#############." << int(kDriving);
    QTest::newRow("last row is not read") << "..........#####" << int(kRest);
    QTest::newRow("4 dark from row 2") << "..####........." << int(kAvailability);
    QTest::newRow("5 dark from row 3") << "...#####......." << int(kOtherWork);
    QTest::newRow("first dark at row 4 is rest") << "....##########." << int(kRest);
    // A light edge pixel (not dark) before the stroke does not hide the stroke's first row.
    QTest::newRow("stroke after a light edge") << "..l##########.." << int(kDriving);
    // 150 then 10: a step of 140 is no stroke; row 3 starts a new one: rows 1, 3, 4, 5 count.
    QTest::newRow("step of 128 or more is not dark") << ".gkkkk........." << int(kAvailability);
    QTest::newRow("grey trace counts") << ".ggggg........." << int(kOtherWork);
}

void TestChartReading::classifiesByThickness()
{
    QFETCH(QString, column);
    QFETCH(int, code);
    const int minute = 700;
    const TraceStrip strip = StripWithColumn(column, minute);
    const MinuteCodes codes = ClassifyMinutes(strip);
    QCOMPARE(codes[minute], code);
    QCOMPARE(codes[minute - 1], int(kRest));
    QCOMPARE(codes[kMinutesPerDay], int(kRest));
}

// The fine reading counts a row as trace below the level halfway between the paper (235) and
// the column's darkest row, so the soft row just beyond a trace's edge is not counted; a
// faint trace is read at the fixed level all the same.
void TestChartReading::finelyCountsTheSoftEdgeHalfway_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("plainCode");
    QTest::addColumn<int>("fineCode");

    QTest::newRow("soft outer edge") << ".####g........." << int(kOtherWork) << int(kAvailability);
    QTest::newRow("half-dark outer edge") << ".####m........." << int(kOtherWork) << int(kOtherWork);
    QTest::newRow("soft inner edge") << "..g####........" << int(kOtherWork) << int(kAvailability);
    QTest::newRow("soft edge of other work") << ".#########g...." << int(kDriving) << int(kOtherWork);
    QTest::newRow("faint trace") << ".ggggg........." << int(kOtherWork) << int(kOtherWork);
    QTest::newRow("no trace") << "..............." << int(kRest) << int(kRest);
}

void TestChartReading::finelyCountsTheSoftEdgeHalfway()
{
    QFETCH(QString, column);
    QFETCH(int, plainCode);
    QFETCH(int, fineCode);
    const int minute = 700;
    const TraceStrip strip = StripWithColumn(column, minute);
    QCOMPARE(ClassifyMinutes(strip)[minute], plainCode);
    QCOMPARE(ClassifyMinutesFinely(strip)[minute], fineCode);
    QCOMPARE(ClassifyMinutesFinely(strip)[minute - 1], int(kRest));
}

void TestChartReading::smoothsSingleMinutes_data()
{
    QTest::addColumn<bool>("joinOneMinute");
    QTest::addColumn<bool>("joinToDriving");
    QTest::addColumn<bool>("keepShortDriving");
    QTest::addColumn<bool>("keepShortRest");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");

    QTest::newRow("lone other work joins rest") << true << true << true << true << "0002000" << "0000000";
    QTest::newRow("lone rest in driving kept") << true << true << true << true << "3303300" << "3303300";
    QTest::newRow("lone rest joins driving") << true << true << true << false << "3303300" << "3333300";
    QTest::newRow("Min1 alone joins predecessor") << true << false << true << false << "3303300" << "3333300";
    QTest::newRow("availability beside driving") << true << true << true << true << "3310000" << "3330000";
    QTest::newRow("driving propagates") << true << true << true << true << "3312000" << "3333000";
    QTest::newRow("lone driving kept") << true << true << true << true << "0030000" << "0030000";
    QTest::newRow("lone driving joins rest") << true << true << false << true << "0030000" << "0000000";
    QTest::newRow("both off") << false << false << false << false << "0020300" << "0020300";
    QTest::newRow("minute 0 untouched") << true << true << true << true << "2000000" << "2000000";
}

void TestChartReading::smoothsSingleMinutes()
{
    QFETCH(bool, joinOneMinute);
    QFETCH(bool, joinToDriving);
    QFETCH(bool, keepShortDriving);
    QFETCH(bool, keepShortRest);
    QFETCH(QString, before);
    QFETCH(QString, after);
    ChartReadingOptions options;
    options.joinOneMinute = joinOneMinute;
    options.joinToDriving = joinToDriving;
    options.keepShortDriving = keepShortDriving;
    options.keepShortRest = keepShortRest;
    MinuteCodes codes = CodesFrom(before);
    SmoothMinutes(codes, options);
    QCOMPARE(codes, CodesFrom(after));
}

void TestChartReading::runsCoverTheDay()
{
    MinuteCodes codes{};
    codes[0] = kDriving;
    codes[1439] = kOtherWork;
    QCOMPARE(Describe(MinuteRuns(codes)), QStringLiteral("0-1:3 1-1439:0 1439-1440:2"));
    QCOMPARE(Describe(MinuteRuns(MinuteCodes{})), QStringLiteral("0-1440:0"));
}

void TestChartReading::correctsDisturbances_data()
{
    QTest::addColumn<bool>("correctDisturbances");
    QTest::addColumn<int>("disturbanceMinutes");
    QTest::addColumn<QString>("after");

    const QString untouched = QStringLiteral("0-100:0 100-102:1 102-200:0 200-201:3 201-203:2 203-1440:0");
    QTest::newRow("two minutes") << true << 2 << "0-200:0 200-201:3 201-1440:0";
    QTest::newRow("off") << false << 2 << untouched;
    QTest::newRow("one minute does nothing") << true << 1 << untouched;
}

void TestChartReading::correctsDisturbances()
{
    QFETCH(bool, correctDisturbances);
    QFETCH(int, disturbanceMinutes);
    QFETCH(QString, after);
    ChartReadingOptions options;
    options.correctDisturbances = correctDisturbances;
    options.disturbanceMinutes = disturbanceMinutes;
    ChartIntervals intervals = IntervalsFrom(QStringLiteral("0-100:0 100-102:1 102-200:0 200-201:3 201-203:2 203-1440:0"));
    CorrectDisturbances(intervals, options);
    MergeIntervals(intervals);
    QCOMPARE(Describe(intervals), after);
}

void TestChartReading::correctsShortRests()
{
    ChartReadingOptions options;
    options.shortRestIsAvailability = true;
    ChartIntervals intervals = IntervalsFrom(QStringLiteral(
        "0-10:0 10-20:1 20-300:3 300-315:0 315-400:3 400-416:0 416-500:1 500-510:0 510-1440:3"));
    CorrectShortRests(intervals, options);
    // 15 minutes become availability, 16 stay rest; the interval at 00:00 absorbs nothing.
    QCOMPARE(Describe(intervals), QStringLiteral(
        "0-10:1 10-20:1 20-300:3 300-315:1 315-400:3 400-416:0 416-510:1 510-1440:3"));

    ChartIntervals unchanged = IntervalsFrom(QStringLiteral("0-10:0 10-1440:3"));
    CorrectShortRests(unchanged, ChartReadingOptions());
    QCOMPARE(Describe(unchanged), QStringLiteral("0-10:0 10-1440:3"));
}

void TestChartReading::readsAnEmptyStripAsRest()
{
    TraceStrip strip;
    strip.rows = 15;
    strip.paperLevel = 235;
    strip.values.assign(strip.rows * TraceStrip::kColumns, TraceStrip::kPaper);
    const ChartIntervals intervals = ReadTraceIntervals(strip, ChartReadingOptions());
    QCOMPARE(Describe(intervals), QStringLiteral("0-1440:0"));
    QCOMPARE(SplitIndex(intervals), 0);
    const ChartDays days = SplitDays(intervals, SplitPointAt(intervals, SplitIndex(intervals)));
    QCOMPARE(days.day1.size(), std::size_t(1));
    QVERIFY(!days.twoDay);

    // The last minute alone still makes an interval when nothing smooths it away.
    for (int row = 1; row <= 10; ++row)
        strip.at(1439, row) = 40;
    QCOMPARE(Describe(ReadTraceIntervals(strip, NoSmoothing())), QStringLiteral("0-1439:0 1439-1440:3"));
}

void TestChartReading::takesTheSplitPointFromTheRememberedIndex()
{
    const ChartIntervals first = IntervalsFrom(QStringLiteral("0-310:0 310-720:3 720-1440:0"));
    const int index = SplitIndex(first);
    QCOMPARE(index, 1);
    QCOMPARE(SplitPointAt(first, index), 310);
    // A later reading keeps the index, even where it now points at rest.
    const ChartIntervals second = IntervalsFrom(QStringLiteral("0-200:2 200-700:0 700-1440:3"));
    QCOMPARE(SplitPointAt(second, index), 200);
    // A list too short for the index falls back to its first activity, then to 00:00.
    QCOMPARE(SplitPointAt(IntervalsFrom(QStringLiteral("0-500:0 500-1440:1")), 5), 500);
    QCOMPARE(SplitPointAt(IntervalsFrom(QStringLiteral("0-1440:0")), 5), 0);
}

void TestChartReading::splitsDays_data()
{
    QTest::addColumn<QString>("intervals");
    QTest::addColumn<int>("splitPoint");
    QTest::addColumn<QString>("all");
    QTest::addColumn<QString>("day1");
    QTest::addColumn<QString>("day2");
    QTest::addColumn<bool>("twoDay");
    QTest::addColumn<int>("day1Minutes");
    QTest::addColumn<int>("day2Minutes");

    QTest::newRow("one day, morning rest trimmed")
        << "0-310:0 310-720:3 720-1440:0" << 310
        << "0-310:0/2 310-720:3/1 720-1440:0/1" << "310-720:3 720-1440:0" << "" << false << 1130 << 0;
    QTest::newRow("two days") << "0-180:3 180-1080:0 1080-1440:2" << 1080
                              << "0-180:3/2 180-1080:0/2 1080-1440:2/1" << "1080-1440:2" << "0-180:3"
                              << true << 360 << 180;
    QTest::newRow("split inside an interval") << "0-600:3 600-1440:0" << 300
                                              << "0-300:3/2 300-600:3/1 600-1440:0/1"
                                              << "300-600:3 600-1440:0" << "0-300:3" << true << 1140 << 300;
    QTest::newRow("split at 00:00") << "0-600:3 600-1440:0" << 0 << "0-600:3/1 600-1440:0/1"
                                    << "0-600:3 600-1440:0" << "" << false << 1440 << 0;
}

void TestChartReading::splitsDays()
{
    QFETCH(QString, intervals);
    QFETCH(int, splitPoint);
    QFETCH(QString, all);
    QFETCH(QString, day1);
    QFETCH(QString, day2);
    QFETCH(bool, twoDay);
    QFETCH(int, day1Minutes);
    QFETCH(int, day2Minutes);

    const ChartDays days = SplitDays(IntervalsFrom(intervals), splitPoint);
    QStringList allText;
    for (const DayInterval& d : days.all)
        allText << QStringLiteral("%1/%2").arg(Describe({d.interval})).arg(d.day);
    QCOMPARE(allText.join(QLatin1Char(' ')), all);
    QCOMPARE(Describe(days.day1), day1);
    QCOMPARE(Describe(days.day2), day2);
    QCOMPARE(days.twoDay, twoDay);
    QCOMPARE(days.day1Minutes, day1Minutes);
    QCOMPARE(days.day2Minutes, day2Minutes);
}

QTEST_APPLESS_MAIN(TestChartReading)
#include "tst_chart_reading.moc"
