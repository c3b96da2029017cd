#include "common/conversion_error.h"
#include "entries/day_totals.h"

#include <QTest>

#include <vector>

using Intervals = std::vector<ActivityInterval>;

namespace {

constexpr int H = kMinutesPerHour;
constexpr NightWindow kDefaultNight{22 * H, 6 * H};

ActivityInterval Interval(ActivityKind kind, int start, int end, qint64 kmThousandths = 0, qint64 litreThousandths = 0)
{
    return ActivityInterval{kind, start, end, Decimal3{kmThousandths}, Decimal3{litreThousandths}};
}

// Night totals in column order S5, S6, N1, N2.
struct Night {
    int work, all, driving, otherWork;
};

} // namespace

Q_DECLARE_METATYPE(IntervalTimes)
Q_DECLARE_METATYPE(Intervals)
Q_DECLARE_METATYPE(NightWindow)
Q_DECLARE_METATYPE(DayTotals)
Q_DECLARE_METATYPE(SummaryMinutes)
Q_DECLARE_METATYPE(Decimal3)

class TestDayTotals : public QObject {
    Q_OBJECT

private slots:
    void normaliseInterval_data();
    void normaliseInterval();
    void normaliseRejectsNonTimes();
    void intervalsFromRows();
    void nightMinutes_data();
    void nightMinutes();
    void computeDayTotals_data();
    void computeDayTotals();
    void nightWindowPerInterval();
    void summaryToDayTotals();
    void splitDayTotals();
    void summaryWarning_data();
    void summaryWarning();
    void dayDistance_data();
    void dayDistance();
    void averageSpeed_data();
    void averageSpeed();
    void activityKinds();
};

void TestDayTotals::normaliseInterval_data()
{
    QTest::addColumn<QString>("fromText");
    QTest::addColumn<QString>("toText");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<bool>("counts");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");

    QTest::newRow("00:00-00:00 is an empty row") << "00:00" << "00:00" << true << false << 0 << 0;
    QTest::newRow("two empty texts") << "" << "" << true << false << 0 << 0;
    QTest::newRow("00:00-04:00") << "00:00" << "04:00" << false << true << 0 << 4 * H;
    QTest::newRow("22:00-00:00 ends at 24:00") << "22:00" << "00:00" << false << true << 22 * H << 1440;
    QTest::newRow("22:00-02:00 runs into the next day") << "22:00" << "02:00" << false << true << 22 * H << 1560;
    QTest::newRow("08:00-08:00 counts nothing") << "08:00" << "08:00" << false << false << 8 * H << 8 * H;
    QTest::newRow("12:00 to empty end is 24:00") << "12:00" << "" << false << true << 12 * H << 1440;
    QTest::newRow("typed forms") << "830" << "7,5" << false << true << 8 * H + 30 << 1440 + 7 * H + 30;
    QTest::newRow("23:59-23:58 almost a whole day") << "23:59" << "23:58" << false << true << 1439 << 2878;
}

void TestDayTotals::normaliseInterval()
{
    QFETCH(QString, fromText);
    QFETCH(QString, toText);
    QFETCH(bool, empty);
    QFETCH(bool, counts);
    QFETCH(int, start);
    QFETCH(int, end);

    const IntervalTimes times = NormaliseInterval(fromText, toText);
    QCOMPARE(times.empty, empty);
    QCOMPARE(times.counts(), counts);
    if (!empty) {
        QCOMPARE(times.start, start);
        QCOMPARE(times.end, end);
        QCOMPARE(times.duration(), end - start);
    }
}

void TestDayTotals::normaliseRejectsNonTimes()
{
    QVERIFY_THROWS_EXCEPTION(ConversionError, NormaliseInterval(QStringLiteral("abc"), QStringLiteral("08:00")));
    QVERIFY_THROWS_EXCEPTION(ConversionError, NormaliseInterval(QStringLiteral("08:00"), QStringLiteral("-5")));
}

void TestDayTotals::intervalsFromRows()
{
    const std::vector<IntervalRow> rows{
        {ActivityKind::Driving, "06:00", "10:00", "450", "55,5"},
        {ActivityKind::Rest, "00:00", "00:00", "7", "1"},
        {ActivityKind::OtherWork, "08:00", "08:00", "7", "1"},
        {ActivityKind::Availability, "22:00", "02:00", "100,00", ""},
    };
    const std::vector<ActivityInterval> intervals = IntervalsFromRows(rows);
    QCOMPARE(intervals.size(), size_t(2));
    QCOMPARE(intervals[0].kind, ActivityKind::Driving);
    QCOMPARE(intervals[0].start, 6 * H);
    QCOMPARE(intervals[0].end, 10 * H);
    QCOMPARE(intervals[0].kilometres.thousandths, 450000);
    QCOMPARE(intervals[0].litres.thousandths, 55500);
    QCOMPARE(intervals[1].kind, ActivityKind::Availability);
    QCOMPARE(intervals[1].end, 1560);
    QCOMPARE(WholeKilometres(intervals[1].kilometres), 100);
    QCOMPARE(intervals[1].litres.thousandths, 0);

    // A stored interval shown in the grid reads back as the same interval.
    const IntervalRow shown = RowFromInterval(intervals[1]);
    QCOMPARE(shown.from, QStringLiteral("22:00"));
    QCOMPARE(shown.to, QStringLiteral("02:00"));
    QCOMPARE(shown.kilometres, QStringLiteral("100,00"));
    QCOMPARE(shown.litres, QString());
    const IntervalRow toMidnight = RowFromInterval(Interval(ActivityKind::Rest, 20 * H, 1440, 1234000, 55500));
    QCOMPARE(toMidnight.to, QStringLiteral("00:00"));
    QCOMPARE(toMidnight.kilometres, QStringLiteral("1.234,00"));
    QCOMPARE(toMidnight.litres, QStringLiteral("55,50"));
    const std::vector<IntervalRow> shownRows{RowFromInterval(intervals[0]), shown, toMidnight};
    const std::vector<ActivityInterval> again = IntervalsFromRows(shownRows);
    QCOMPARE(again.size(), size_t(3));
    QCOMPARE(ComputeDayTotals(again, kDefaultNight), ComputeDayTotals(Intervals{intervals[0], intervals[1],
                                                                                 Interval(ActivityKind::Rest, 20 * H, 1440, 1234000, 55500)},
                                                                        kDefaultNight));
}

void TestDayTotals::nightMinutes_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<NightWindow>("window");
    QTest::addColumn<int>("night");

    QTest::newRow("23:00-02:00 next day") << 23 * H << 1440 + 2 * H << kDefaultNight << 180;
    QTest::newRow("20:00-08:00 next day counts the evening on") << 20 * H << 1440 + 8 * H << kDefaultNight << 600;
    QTest::newRow("05:00-23:00") << 5 * H << 23 * H << kDefaultNight << 120;
    QTest::newRow("21:00-24:00") << 21 * H << 1440 << kDefaultNight << 120;
    QTest::newRow("06:00-22:00") << 6 * H << 22 * H << kDefaultNight << 0;
    QTest::newRow("00:00-04:00") << 0 << 4 * H << kDefaultNight << 240;
    QTest::newRow("22:00-24:00") << 22 * H << 1440 << kDefaultNight << 120;
    QTest::newRow("22:00-02:00 next day") << 22 * H << 1440 + 2 * H << kDefaultNight << 240;
    QTest::newRow("window 00:00-06:00, 08:00-12:00") << 8 * H << 12 * H << NightWindow{0, 6 * H} << 0;
    QTest::newRow("window 00:00-06:00, 05:00-07:00") << 5 * H << 7 * H << NightWindow{0, 6 * H} << 60;
    QTest::newRow("window within the day ignores the next day") << 20 * H << 1440 + 3 * H << NightWindow{H, 4 * H} << 0;
    QTest::newRow("equal ends: no night") << 0 << 1440 << NightWindow{10 * H, 10 * H} << 0;
    QTest::newRow("end before start is never negative") << 23 * H << 22 * H << kDefaultNight << 0;
}

void TestDayTotals::nightMinutes()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(NightWindow, window);
    QFETCH(int, night);

    QCOMPARE(NightMinutes(start, end, window), night);
    QCOMPARE(NightMinutes(start, end, window.from, window.to), night);
}

void TestDayTotals::computeDayTotals_data()
{
    QTest::addColumn<Intervals>("intervals");
    QTest::addColumn<NightWindow>("window");
    QTest::addColumn<DayTotals>("expected");

    auto totals = [](std::array<int, 4> kinds, Night night, int km = 0, qint64 litreThousandths = 0) {
        DayTotals t;
        t.kindMinutes = kinds;
        t.totalMinutes = kinds[0] + kinds[1] + kinds[2] + kinds[3];
        t.nightWork = night.work;
        t.nightAll = night.all;
        t.nightDriving = night.driving;
        t.nightOtherWork = night.otherWork;
        t.kilometres = km;
        t.litres = Decimal3{litreThousandths};
        return t;
    };

    QTest::newRow("no intervals") << Intervals{} << kDefaultNight << DayTotals{};
    QTest::newRow("rest 05:00-23:00")
        << Intervals{Interval(ActivityKind::Rest, 5 * H, 23 * H)} << kDefaultNight
        << totals({1080, 0, 0, 0}, {0, 120, 0, 0});
    QTest::newRow("other work 22:00-24:00 is all night")
        << Intervals{Interval(ActivityKind::OtherWork, 22 * H, 1440)} << kDefaultNight
        << totals({0, 0, 120, 0}, {120, 120, 0, 120});
    QTest::newRow("driving 22:00-02:00")
        << Intervals{Interval(ActivityKind::Driving, 22 * H, 1440 + 2 * H)} << kDefaultNight
        << totals({0, 0, 0, 240}, {240, 240, 240, 0});
    QTest::newRow("availability at night counts in S5 only")
        << Intervals{Interval(ActivityKind::Availability, 0, 2 * H)} << kDefaultNight
        << totals({0, 120, 0, 0}, {120, 120, 0, 0});
    QTest::newRow("window 00:00-06:00, driving 08:00-12:00")
        << Intervals{Interval(ActivityKind::Driving, 8 * H, 12 * H)} << NightWindow{0, 6 * H}
        << totals({0, 0, 0, 240}, {0, 0, 0, 0});
    QTest::newRow("00:00-13:00 and 12:00-24:00 overlap: 1500 minutes")
        << Intervals{Interval(ActivityKind::Driving, 0, 13 * H), Interval(ActivityKind::Rest, 12 * H, 1440)}
        << kDefaultNight << totals({720, 0, 0, 780}, {360, 480, 360, 0});
    QTest::newRow("a whole day of four kinds")
        << Intervals{Interval(ActivityKind::Rest, 0, 6 * H), Interval(ActivityKind::Driving, 6 * H, 12 * H, 450000, 55500),
                     Interval(ActivityKind::OtherWork, 12 * H, 20 * H, 12000, 1250),
                     Interval(ActivityKind::Availability, 20 * H, 1440)}
        << kDefaultNight << totals({360, 240, 480, 360}, {120, 480, 0, 0}, 462, 56750);
    QTest::newRow("a start equal to the end counts nothing")
        << Intervals{Interval(ActivityKind::Driving, 8 * H, 8 * H, 100000, 1000)} << kDefaultNight << DayTotals{};
    QTest::newRow("kilometres count only when whole")
        << Intervals{Interval(ActivityKind::Driving, 8 * H, 9 * H, 100000), Interval(ActivityKind::Driving, 9 * H, 10 * H, 12500)}
        << kDefaultNight << totals({0, 0, 0, 120}, {0, 0, 0, 0}, 100);
}

void TestDayTotals::computeDayTotals()
{
    QFETCH(Intervals, intervals);
    QFETCH(NightWindow, window);
    QFETCH(DayTotals, expected);

    const DayTotals totals = ComputeDayTotals(intervals, window);
    QCOMPARE(totals.kindMinutes, expected.kindMinutes);
    QCOMPARE(totals.totalMinutes, expected.totalMinutes);
    QCOMPARE(totals.nightWork, expected.nightWork);
    QCOMPARE(totals.nightAll, expected.nightAll);
    QCOMPARE(totals.nightDriving, expected.nightDriving);
    QCOMPARE(totals.nightOtherWork, expected.nightOtherWork);
    QCOMPARE(totals.kilometres, expected.kilometres);
    QCOMPARE(totals.litres.thousandths, expected.litres.thousandths);
    QCOMPARE(totals.workStart, 0);
    QCOMPARE(totals.workEnd, 0);
    QCOMPARE(ExceedsOneDay(totals.totalMinutes), totals.totalMinutes > 1440);
}

void TestDayTotals::nightWindowPerInterval()
{
    // The day graph counts each interval with the night window stored with its own entry.
    const Intervals intervals{Interval(ActivityKind::Driving, 4 * H, 8 * H), Interval(ActivityKind::Driving, 20 * H, 1440)};
    const std::vector<NightWindow> windows{kDefaultNight, NightWindow{21 * H, 5 * H}};
    const DayTotals totals = ComputeDayTotals(intervals, windows);
    QCOMPARE(totals.nightDriving, 120 + 180);
    QCOMPARE(totals.nightAll, 300);

    // The same window for every interval gives what the single-window form gives.
    const std::vector<NightWindow> same(intervals.size(), kDefaultNight);
    QCOMPARE(ComputeDayTotals(intervals, same), ComputeDayTotals(intervals, kDefaultNight));

    const std::vector<NightWindow> tooFew{kDefaultNight};
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ComputeDayTotals(intervals, tooFew));
}

void TestDayTotals::summaryToDayTotals()
{
    SummaryMinutes input;
    input.day[ActivityCode(ActivityKind::Driving)] = 8 * H;
    input.night[ActivityCode(ActivityKind::Driving)] = 90;
    const DayTotals totals = SummaryToDayTotals(input, 5 * H);
    QCOMPARE(totals.minutes(ActivityKind::Driving), 570);
    QCOMPARE(totals.nightDriving, 90);
    QCOMPARE(totals.nightWork, 90);
    QCOMPARE(totals.nightAll, 90);
    QCOMPARE(totals.nightOtherWork, 0);
    QCOMPARE(totals.workStart, 300);
    QCOMPARE(totals.workEnd, 870);
    QCOMPARE(totals.totalMinutes, 570);

    // Every kind by day and by night survives storing and splitting back.
    const SummaryMinutes all{{600, 30, 90, 450}, {150, 30, 30, 90}};
    const DayTotals allTotals = SummaryToDayTotals(all, 0);
    QCOMPARE(allTotals.workEnd, 1470);
    QCOMPARE(SplitDayTotals(allTotals), all);
}

void TestDayTotals::splitDayTotals()
{
    DayTotals stored;
    stored.kindMinutes = {600, 60, 120, 540};
    stored.nightWork = 150;
    stored.nightAll = 300;
    stored.nightDriving = 90;
    stored.nightOtherWork = 30;
    const SummaryMinutes split = SplitDayTotals(stored);
    QCOMPARE(split.night, (std::array<int, 4>{150, 30, 30, 90}));
    QCOMPARE(split.day, (std::array<int, 4>{450, 30, 90, 450}));
}

void TestDayTotals::summaryWarning_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("warning");

    QTest::newRow("24 hours from 00:00") << 0 << 1440 << QString();
    QTest::newRow("start plus activity past midnight")
        << 5 * H << 20 * H << QStringLiteral("Provjerite početak puta - početak + aktivnosti dulje od 24h!");
    QTest::newRow("over 24 hours")
        << 0 << 1470
        << QStringLiteral("Ukupno trajanje aktivnosti više od 24h!  Provjerite početak puta - početak + aktivnosti dulje od 24h!");
}

void TestDayTotals::summaryWarning()
{
    QFETCH(int, start);
    QFETCH(int, total);
    QFETCH(QString, warning);
    QCOMPARE(SummaryWarning(start, total), warning);
}

void TestDayTotals::dayDistance_data()
{
    QTest::addColumn<Decimal3>("km1");
    QTest::addColumn<Decimal3>("km2");
    QTest::addColumn<Decimal3>("distance");
    QTest::addColumn<bool>("reversed");

    QTest::newRow("forward") << Decimal3{100500} << Decimal3{550750} << Decimal3{450250} << false;
    QTest::newRow("equal") << Decimal3{100000} << Decimal3{100000} << Decimal3{} << false;
    QTest::newRow("no end reading") << Decimal3{100000} << Decimal3{} << Decimal3{} << true;
}

void TestDayTotals::dayDistance()
{
    QFETCH(Decimal3, km1);
    QFETCH(Decimal3, km2);
    QFETCH(Decimal3, distance);
    QFETCH(bool, reversed);
    QCOMPARE(DayDistance(km1, km2).thousandths, distance.thousandths);
    QCOMPARE(OdometerReversed(km1, km2), reversed);
}

void TestDayTotals::averageSpeed_data()
{
    QTest::addColumn<int>("intervalKm");
    QTest::addColumn<Decimal3>("distance");
    QTest::addColumn<int>("drivingMinutes");
    QTest::addColumn<QString>("speed");

    QTest::newRow("no driving") << 450 << Decimal3{} << 0 << QStringLiteral("N/A");
    QTest::newRow("450 km of intervals in 300 minutes") << 450 << Decimal3{999000} << 300 << QStringLiteral("90,00");
    QTest::newRow("the day's distance without interval km") << 0 << Decimal3{100500} << 90 << QStringLiteral("67,00");
    QTest::newRow("rounded to hundredths") << 100 << Decimal3{} << 7 << QStringLiteral("857,14");
    QTest::newRow("grouped thousands") << 1234 << Decimal3{} << 60 << QStringLiteral("1.234,00");
    QTest::newRow("no kilometres at all") << 0 << Decimal3{} << 60 << QString();
}

void TestDayTotals::averageSpeed()
{
    QFETCH(int, intervalKm);
    QFETCH(Decimal3, distance);
    QFETCH(int, drivingMinutes);
    QFETCH(QString, speed);
    QCOMPARE(AverageSpeed(SpeedKilometres(intervalKm, distance), drivingMinutes), speed);
}

void TestDayTotals::activityKinds()
{
    QCOMPARE(kNewIntervalKind, ActivityKind::OtherWork);
    QCOMPARE(ActivityShortName(ActivityKind::Availability), QStringLiteral("Spremnost"));
    QCOMPARE(ActivityLongName(ActivityKind::Availability), QStringLiteral("Spremnost za rad"));
    QCOMPARE(ActivityShortName(ActivityKind::Driving), QStringLiteral("Vožnja"));
    QCOMPARE(kActivityLegend.split(QStringLiteral("||")).size(), kActivityKindCount);
    for (ActivityKind kind : kActivityKinds) {
        QCOMPARE(ActivityLevel(kind), ActivityCode(kind) + 1);
        QCOMPARE(kActivityLegend.split(QStringLiteral("||")).at(ActivityCode(kind)), ActivityLongName(kind));
        QCOMPARE(ActivityKindForQuickKey(ActivityQuickKey(kind)), kind);
        QCOMPARE(ActivityKindForQuickKey(ActivityQuickKey(kind).toLower()), kind);
        QCOMPARE(ActivityColourKey(kind), QStringLiteral("T%1").arg(ActivityCode(kind)));
    }
    QCOMPARE(ActivityKindForQuickKey(QLatin1Char('B')), ActivityKind::Rest);
    QCOMPARE(ActivityKindForQuickKey(QLatin1Char('m')), ActivityKind::Availability);
    QCOMPARE(ActivityKindForQuickKey(QLatin1Char('X')), std::nullopt);
    QCOMPARE(ActivityKindFromCode(4), std::nullopt);
}

QTEST_APPLESS_MAIN(TestDayTotals)
#include "tst_day_totals.moc"
