#include "card_file_writer.h"

#include "cards/card_days.h"
#include "cards/local_time.h"

#include <QTest>

Q_DECLARE_METATYPE(CardGeneration)

namespace {

constexpr int H = 60;

// An interval as the tests write it: start and end in local clock minutes, activity, and the
// flags crew (c), co-driver (o), by hand (m), and the vehicle's index (v0, v1).
struct Expected {
    int start;
    int end;
    int activity;
    QString flags;
};

QString Text(const CardInterval& i)
{
    QString flags;
    if (i.crew)
        flags += QLatin1Char('c');
    if (i.coDriver)
        flags += QLatin1Char('o');
    if (i.manual)
        flags += QLatin1Char('m');
    if (i.vehicle)
        flags += QStringLiteral("v%1").arg(*i.vehicle);
    return QStringLiteral("%1-%2 %3 %4").arg(i.start).arg(i.end).arg(i.activity).arg(flags);
}

QStringList Texts(const std::vector<Expected>& intervals)
{
    QStringList texts;
    for (const Expected& e : intervals)
        texts << QStringLiteral("%1-%2 %3 %4").arg(e.start).arg(e.end).arg(e.activity).arg(e.flags);
    return texts;
}

// A whole UTC day of rest with the card in, as the days around a tested day hold.
TestDay RestDay(const QDate& date)
{
    return {date, 0, {{0, kCardRest}}};
}

struct DayCase {
    std::vector<TestDay> days;
    std::vector<TestVehicle> vehicles;
    QDate local;
    std::vector<Expected> intervals;
    int distanceKm;
};

} // namespace

Q_DECLARE_METATYPE(DayCase)

class TestCardDays : public QObject {
    Q_OBJECT

private slots:
    void summerTime_data();
    void summerTime();
    void localDays_data();
    void localDays();
    void distanceIsSharedByDriving();
};

void TestCardDays::summerTime_data()
{
    QTest::addColumn<QDateTime>("utc");
    QTest::addColumn<int>("offset");
    QTest::newRow("zima") << Utc(2025, 1, 15, 12) << 60;
    QTest::newRow("prije početka ljetnog") << Utc(2025, 3, 30, 0, 59) << 60;
    QTest::newRow("početak ljetnog") << Utc(2025, 3, 30, 1) << 120;
    QTest::newRow("prije kraja ljetnog") << Utc(2025, 10, 26, 0, 59) << 120;
    QTest::newRow("kraj ljetnog") << Utc(2025, 10, 26, 1) << 60;
    QTest::newRow("2024 počinje 31.3.") << Utc(2024, 3, 31, 1) << 120;
    QTest::newRow("2024 završava 27.10.") << Utc(2024, 10, 27, 1) << 60;
    QTest::newRow("2024 još ljetno 26.10.") << Utc(2024, 10, 26, 23) << 120;
}

void TestCardDays::summerTime()
{
    QFETCH(QDateTime, utc);
    QFETCH(int, offset);
    QCOMPARE(LocalOffsetMinutes(utc.toSecsSinceEpoch()), offset);
}

void TestCardDays::localDays_data()
{
    QTest::addColumn<CardGeneration>("generation");
    QTest::addColumn<DayCase>("day");

    const QDate jan14(2025, 1, 14), jan15(2025, 1, 15), jan16(2025, 1, 16);
    const QDate jul9(2025, 7, 9), jul10(2025, 7, 10), jul11(2025, 7, 11);
    const QDate mar29(2025, 3, 29), mar30(2025, 3, 30), mar31(2025, 3, 31);
    const QDate oct25(2025, 10, 25), oct26(2025, 10, 26), oct27(2025, 10, 27);
    const TestVehicle truck{QStringLiteral("ZG1234AB"), 0x19, 1000, 1400, Utc(2025, 1, 15, 4), Utc(2025, 1, 15, 10)};
    const TestVehicle trailerTruck{QStringLiteral("ST555CC"), 0x19, 2000, 2100, Utc(2025, 1, 15, 10), Utc(2025, 1, 15, 13)};

    const auto add = [](const char* name, const DayCase& day) {
        for (const CardGeneration generation : {CardGeneration::First, CardGeneration::Second}) {
            const QString row = QStringLiteral("%1, generacija %2").arg(QString::fromUtf8(name)).arg(generation == CardGeneration::First ? 1 : 2);
            QTest::newRow(qPrintable(row)) << generation << day;
        }
    };
    add("običan dan",
        DayCase{{RestDay(jan14),
                 {jan15, 380, {{0, kCardRest}, {5 * H, kCardDriving}, {570, kCardWork}, {10 * H, kCardDriving}, {14 * H, kCardRest}}},
                 RestDay(jan16)},
                {},
                jan15,
                {{0, 6 * H, 0, ""}, {6 * H, 630, 3, ""}, {630, 11 * H, 2, ""}, {11 * H, 15 * H, 3, ""}, {15 * H, 24 * H, 0, ""}},
                380});
    add("vožnja preko ponoći UTC je jedan lokalni dan",
        DayCase{{{jul9, 0, {{0, kCardRest}, {1350, kCardDriving}}}, {jul10, 0, {{0, kCardDriving}, {H, kCardRest}}}, RestDay(jul11)},
                {},
                jul10,
                {{0, 30, 0, ""}, {30, 3 * H, 3, ""}, {3 * H, 24 * H, 0, ""}},
                0});
    add("početak ljetnog vremena: dan od 23 sata",
        DayCase{{RestDay(mar29), {mar30, 0, {{0, kCardRest}, {30, kCardDriving}, {90, kCardRest}}}, RestDay(mar31)},
                {},
                mar30,
                {{0, 90, 0, ""}, {90, 2 * H, 3, ""}, {3 * H, 210, 3, ""}, {210, 24 * H, 0, ""}},
                0});
    add("kraj ljetnog vremena: dan od 25 sati",
        DayCase{{RestDay(oct25), {oct26, 0, {{0, kCardRest}, {30, kCardDriving}, {90, kCardRest}}}, RestDay(oct27)},
                {},
                oct26,
                {{0, 150, 0, ""}, {2 * H, 150, 3, ""}, {150, 3 * H, 3, ""}, {150, 24 * H, 0, ""}},
                0});
    add("vožnja u posadi",
        DayCase{{RestDay(jan14),
                 {jan15, 0, {{0, kCardRest}, {6 * H, kCardDriving, false, true}, {8 * H, kCardAvailability, false, true}, {9 * H, kCardRest}}},
                 RestDay(jan16)},
                {},
                jan15,
                {{0, 7 * H, 0, ""}, {7 * H, 9 * H, 3, "c"}, {9 * H, 10 * H, 1, "c"}, {10 * H, 24 * H, 0, ""}},
                0});
    add("mjesto suvozača",
        DayCase{{RestDay(jan14),
                 {jan15, 0, {{0, kCardRest}, {6 * H, kCardAvailability, true, true}, {8 * H, kCardDriving, true, true}, {9 * H, kCardRest}}},
                 RestDay(jan16)},
                {},
                jan15,
                {{0, 7 * H, 0, ""}, {7 * H, 9 * H, 1, "co"}, {9 * H, 10 * H, 3, "co"}, {10 * H, 24 * H, 0, ""}},
                0});
    add("kartica izvađena tijekom dana",
        DayCase{{RestDay(jan14),
                 {jan15, 0, {{0, kCardRest}, {6 * H, kCardDriving}, {11 * H, kCardRest, false, false, true}, {13 * H, kCardWork, false, true, true},
                             {14 * H, kCardRest, false, false, true}, {16 * H, kCardDriving}, {18 * H, kCardRest}}},
                 RestDay(jan16)},
                {},
                jan15,
                {{0, 7 * H, 0, ""}, {7 * H, 12 * H, 3, ""}, {14 * H, 15 * H, 2, "m"}, {17 * H, 19 * H, 3, ""}, {19 * H, 24 * H, 0, ""}},
                0});
    add("promjena vozila u danu",
        DayCase{{RestDay(jan14),
                 {jan15, 500, {{0, kCardRest}, {4 * H, kCardDriving}, {10 * H, kCardWork}, {11 * H, kCardDriving}, {13 * H, kCardRest}}},
                 RestDay(jan16)},
                {truck, trailerTruck},
                jan15,
                {{0, 5 * H, 0, ""}, {5 * H, 11 * H, 3, "v0"}, {11 * H, 12 * H, 2, "v1"}, {12 * H, 14 * H, 3, "v1"}, {14 * H, 24 * H, 0, ""}},
                500});
}

void TestCardDays::localDays()
{
    QFETCH(CardGeneration, generation);
    QFETCH(DayCase, day);
    TestCard card;
    card.generation = generation;
    card.days = day.days;
    card.vehicles = day.vehicles;
    const CardDownload download = ParseCardDownload(WriteTestCard(card).bytes, QStringLiteral("k.ddd"));
    const std::vector<CardDay> days = LocalCardDays(download);
    const auto found = std::find_if(days.begin(), days.end(), [&](const CardDay& d) { return d.date == day.local; });
    QVERIFY(found != days.end());
    QStringList actual;
    for (const CardInterval& interval : found->intervals)
        actual << Text(interval);
    QCOMPARE(actual, Texts(day.intervals));
    QCOMPARE(found->distanceKm, day.distanceKm);
    if (!day.vehicles.empty())
        QCOMPARE(found->vehicle, std::optional<std::size_t>(0));
}

void TestCardDays::distanceIsSharedByDriving()
{
    // Summer: the UTC day's driving from 21:00 to 24:00 UTC is 23:00 to 02:00 local, one hour
    // on its own day and two on the next; its 300 km go 100 and 200. The local days the file
    // holds only in part (the 8th from 02:00, the 12th to 02:00) are left out.
    TestCard card;
    card.days = {RestDay(QDate(2025, 7, 8)), {QDate(2025, 7, 9), 300, {{0, kCardRest}, {21 * H, kCardDriving}}},
                 RestDay(QDate(2025, 7, 10)), RestDay(QDate(2025, 7, 11))};
    const std::vector<CardDay> days = LocalCardDays(ParseCardDownload(WriteTestCard(card).bytes, QStringLiteral("k.ddd")));
    QCOMPARE(days.size(), std::size_t(3));
    QCOMPARE(days[0].date, QDate(2025, 7, 9));
    QCOMPARE(days[0].distanceKm, 100);
    QCOMPARE(days[1].distanceKm, 200);
    QCOMPARE(days[2].date, QDate(2025, 7, 11));
    QCOMPARE(days[2].distanceKm, 0);
}

QTEST_GUILESS_MAIN(TestCardDays)
#include "tst_card_days.moc"
