#include "temp_database.h"

#include "temp_database.h"
#include "common/name_order.h"
#include "db/scopes.h"
#include "db/statement.h"
#include "entries/entry_store.h"
#include "large_database.h"
#include "overview_reference.h"
#include "reviews/overview_queries.h"

#include <QtTest>

#include <algorithm>

namespace {

template <typename Row>
std::vector<Row> ReadAll(TestConnection& data, const OverviewFilter& filter, int batch = 37)
{
    OverviewReader<Row> reader(data.read, filter);
    std::vector<Row> rows;
    while (!reader.atEnd()) {
        const std::vector<Row> more = reader.fetch(batch);
        rows.insert(rows.end(), more.begin(), more.end());
    }
    return rows;
}

template <typename Row>
QStringList Texts(const std::vector<Row>& rows)
{
    QStringList texts;
    for (const Row& row : rows)
        texts << row.columnTexts().join('\t');
    return texts;
}

ManualEntry Entry(int driver, QDate date, std::vector<ActivityInterval> intervals)
{
    ManualEntry entry;
    entry.driverId = driver;
    entry.vehicleId = 1;
    entry.date = date;
    entry.intervals = std::move(intervals);
    entry.distance = Decimal3::fromWhole(100);
    return entry;
}

}  // namespace

class TestOverviewQueries : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void listsHoldTheWrittenQueriesRows_data();
    void listsHoldTheWrittenQueriesRows();
    void groupsPlaceEveryLine_data();
    void groupsPlaceEveryLine();
    void driversAreTheWrittenQueriesDrivers();
    void plansFollowTheFilter();
    void linesShowAsTheOverviewShowsThem();
    void readsOfOneSnapshotAgree();
    void openingRules();
    void driversInAlphabeticalOrder();

private:
    QTemporaryDir m_folder;
    std::unique_ptr<TestConnection> m_data;
};

void TestOverviewQueries::initTestCase()
{
    const QString path = m_folder.filePath("VT.FDB");
    CreateLargeDatabase(path, LargeDatabaseSize{.drivers = 3, .years = 1, .vehicles = 2, .lastDay = QDate(2025, 3, 31)});
    m_data = std::make_unique<TestConnection>();
    QCOMPARE(ConnectUpgraded(*m_data, path), QStringList());
    // The corners: an entry without days, two entries of one driver and date over 24 hours, a
    // summary entry, a driver without a record, an entry day without a date (of a driver and
    // of an entry without one), an entry day without an entry, and names whose bytes are out of
    // alphabetical order (ć after č, and small and capital letters).
    m_data->write.startIfNotActive();
    m_data->script.execute("UPDATE DJELATNICI SET IMEPREZIME='čolić Ivo' WHERE IDDJ=1;"
                           "UPDATE DJELATNICI SET IMEPREZIME='Ćosić Ana' WHERE IDDJ=3;");
    m_data->script.execute("INSERT INTO UNOS (IDUNOS,IDVOZAC,DV,TIP) VALUES (90001,2,'2025-04-02 10:15:00',0);"
                              "INSERT INTO UNOS (IDUNOS,IDVOZAC,DV,TIP) VALUES (90002,2,'2025-04-02 10:16:00',1);"
                              "INSERT INTO UNOS (IDUNOS,IDVOZAC,DV,TIP) VALUES (90003,3,'2025-02-01 09:00:00',0);"
                              "INSERT INTO DUNOS (IDD,IDUNOS,S1) VALUES (90003,90003,600);"
                              "INSERT INTO UNOS (IDUNOS,IDVOZAC,DV,TIP) VALUES (90004,NULL,'2025-02-01 09:30:00',0);"
                              "INSERT INTO DUNOS (IDD,IDUNOS,DATUM,S1) VALUES (90004,90004,NULL,60);"
                              "INSERT INTO DUNOS (IDD,IDUNOS,DATUM,S1) VALUES (90005,99999,'2025-01-31',60);");
    m_data->write.commit();
    const QDate day(2025, 4, 1);
    ManualEntry first = Entry(1, day, {{ActivityKind::Driving, 0, 900, {}, {}}});
    ManualEntry second = Entry(1, day, {{ActivityKind::OtherWork, 100, 800, {}, {}}});
    ManualEntry summary = Entry(77, day, {});
    summary.detailed = false;
    summary.summary.day[3] = 300;
    summary.workStart = 360;
    for (ManualEntry* entry : {&first, &second, &summary})
        QVERIFY(StoreManualEntry(m_data->write, *entry).done);
}

void TestOverviewQueries::listsHoldTheWrittenQueriesRows_data()
{
    QTest::addColumn<OverviewFilter>("filter");
    QTest::newRow("no filter") << OverviewFilter{};
    QTest::newRow("driver") << OverviewFilter{2, {}, {}};
    QTest::newRow("entered") << OverviewFilter{{}, std::pair{QDate(2024, 12, 30), QDate(2025, 1, 5)}, {}};
    QTest::newRow("days") << OverviewFilter{{}, {}, std::pair{QDate(2025, 1, 31), QDate(2025, 2, 2)}};
    QTest::newRow("driver with an undated day") << OverviewFilter{3, {}, {}};
    QTest::newRow("driver and entered") << OverviewFilter{1, std::pair{QDate(2024, 12, 30), QDate(2025, 1, 5)}, {}};
    QTest::newRow("driver and days") << OverviewFilter{2, {}, std::pair{QDate(2025, 1, 31), QDate(2025, 2, 2)}};
    QTest::newRow("entered and days")
        << OverviewFilter{{}, std::pair{QDate(2025, 1, 1), QDate(2025, 2, 5)}, std::pair{QDate(2025, 2, 1), QDate(2025, 2, 10)}};
    QTest::newRow("driver, entered and days")
        << OverviewFilter{3, std::pair{QDate(2024, 6, 1), QDate(2024, 9, 1)}, std::pair{QDate(2024, 7, 1), QDate(2024, 7, 31)}};
    QTest::newRow("days given backwards") << OverviewFilter{{}, {}, std::pair{QDate(2025, 2, 2), QDate(2025, 1, 31)}};
}

void TestOverviewQueries::listsHoldTheWrittenQueriesRows()
{
    QFETCH(OverviewFilter, filter);
    const auto check = [&](int list, const QStringList& read) {
        QStringList written = WrittenOverviewRows(*m_data, list, filter);
        QStringList sortedRead = read;
        std::sort(written.begin(), written.end());
        std::sort(sortedRead.begin(), sortedRead.end());
        QCOMPARE(sortedRead, written);
    };
    const std::vector<OverviewEntryRow> entries = ReadAll<OverviewEntryRow>(*m_data, filter);
    check(0, Texts(entries));
    QVERIFY(std::is_sorted(entries.begin(), entries.end(),
                           [](const auto& a, const auto& b) { return a.enteredAt > b.enteredAt; }));
    const std::vector<OverviewDayRow> days = ReadAll<OverviewDayRow>(*m_data, filter);
    check(1, Texts(days));
    QVERIFY(std::is_sorted(days.begin(), days.end(), [](const auto& a, const auto& b) {
        return a.date != b.date ? a.date > b.date : a.firstMinute.value_or(-1) < b.firstMinute.value_or(-1);
    }));
    const std::vector<OverviewTotalRow> totals = ReadAll<OverviewTotalRow>(*m_data, filter);
    check(2, Texts(totals));
    QVERIFY(std::is_sorted(totals.begin(), totals.end(), [](const auto& a, const auto& b) {
        return a.date != b.date ? a.date > b.date : NameBefore(a.driverName, b.driverName);
    }));
    if (filter.driverId) {
        for (const OverviewDayRow& day : days)
            QCOMPARE(day.driverId, filter.driverId);
    }
}

void TestOverviewQueries::groupsPlaceEveryLine_data()
{
    listsHoldTheWrittenQueriesRows_data();
}

// The groups give each list's length and where each date's lines lie, and a read from any
// group (a keyset, past some of its lines for the entries) gives the lines there.
void TestOverviewQueries::groupsPlaceEveryLine()
{
    QFETCH(OverviewFilter, filter);
    const auto check = [&](auto list) {
        using Row = decltype(list);
        const QStringList all = Texts(ReadAll<Row>(*m_data, filter));
        const std::vector<OverviewGroup> groups = LoadOverviewGroups<Row>(m_data->read, filter);
        int first = 0;
        for (const OverviewGroup& group : groups) {
            QVERIFY(group.lines > 0);
            const int skip = std::is_same_v<Row, OverviewEntryRow> ? group.lines / 2 : 0;
            OverviewReader<Row> reader(m_data->read, filter, OverviewStart{group.date, skip});
            const std::vector<Row> read = reader.fetch(3);
            QVERIFY(!read.empty());
            QCOMPARE(OverviewGroupOf(read.front()), group.date);
            QCOMPARE(read.front().columnTexts().join('\t'), all.value(first + skip));
            first += group.lines;
        }
        QCOMPARE(first, all.size());
    };
    check(OverviewEntryRow{});
    check(OverviewDayRow{});
    check(OverviewTotalRow{});
}

void TestOverviewQueries::driversAreTheWrittenQueriesDrivers()
{
    QStringList written;
    m_data->sql.prepare("SELECT DISTINCT UNOS.IDVOZAC,DJELATNICI.IMEPREZIME FROM UNOS LEFT JOIN DJELATNICI ON "
                           "UNOS.IDVOZAC=DJELATNICI.IDDJ ORDER BY 2");
    m_data->sql.execute();
    while (m_data->sql.next()) {
        if (!m_data->sql.isNull(0))
            written << QString::number(*m_data->sql.intValue(0)) + ' ' + m_data->sql.textValue(1).value_or("");
    }
    m_data->write.commit();
    // The names in alphabetical order, as every list of names is shown.
    const auto name = [](const QString& line) { return line.mid(line.indexOf(' ') + 1); };
    std::stable_sort(written.begin(), written.end(),
                     [&](const QString& a, const QString& b) { return NameBefore(name(a), name(b)); });
    QStringList drivers;
    for (const auto& [id, name] : LoadOverviewDrivers(m_data->read))
        drivers << QString::number(id) + ' ' + name;
    // A driver without a name (77) comes first, as NULL sorts first.
    QCOMPARE(drivers.first(), QStringLiteral("77 "));
    QCOMPARE(drivers, written);
}

// The first screen of every list comes by an index in the list's order, or for one driver
// from his entries: never by reading a whole table.
void TestOverviewQueries::plansFollowTheFilter()
{
    const auto planOf = [&](const QString& sql) {
        Statement statement(m_data->read);
        statement.prepare(sql);
        return statement.plan();
    };
    const OverviewFilter all;
    const OverviewFilter driver{2, {}, {}};
    QVERIFY(planOf(OverviewQuery<OverviewEntryRow>(all)).contains("UNOS ORDER UN_IDX2"));
    QVERIFY(planOf(OverviewQuery<OverviewEntryRow>(driver)).contains("UNOS ORDER UN_IDX3"));
    for (const QString& sql : {OverviewQuery<OverviewDayRow>(all), OverviewQuery<OverviewTotalRow>(all)})
        QVERIFY2(planOf(sql).contains("DUNOS ORDER DUN_IDX3"), qPrintable(planOf(sql)));
    for (const QString& sql : {OverviewQuery<OverviewDayRow>(driver), OverviewQuery<OverviewTotalRow>(driver)})
        QVERIFY2(planOf(sql).contains("UNOS INDEX (UN_IDX1"), qPrintable(planOf(sql)));
    for (const QString& sql : {OverviewQuery<OverviewEntryRow>(driver), OverviewQuery<OverviewDayRow>(driver),
                               OverviewQuery<OverviewTotalRow>(driver), OverviewQuery<OverviewDayRow>(all)})
        QVERIFY2(!planOf(sql).contains("NATURAL"), qPrintable(planOf(sql)));
}

void TestOverviewQueries::linesShowAsTheOverviewShowsThem()
{
    const std::vector<OverviewEntryRow> entries = ReadAll<OverviewEntryRow>(*m_data, OverviewFilter{});
    const auto entry = [&](int id) {
        return *std::find_if(entries.begin(), entries.end(), [id](const auto& row) { return row.entryId == id; });
    };
    QCOMPARE(entry(90001).periodText(), QStringLiteral("N/A"));
    QVERIFY(!entry(90001).kilometres);
    QCOMPARE(entry(90001).mark(), EntryMark::Manual);
    QCOMPARE(entry(90002).mark(), EntryMark::OtherType);
    const auto twoDays = std::find_if(entries.begin(), entries.end(),
                                      [](const auto& row) { return row.firstDay && row.firstDay != row.lastDay; });
    QVERIFY(twoDays != entries.end());
    QCOMPARE(twoDays->mark(), EntryMark::ScannedChart);
    QCOMPARE(twoDays->periodText(), twoDays->firstDay->toString("dd.MM.yyyy") + " - " + twoDays->lastDay->toString("dd.MM.yyyy"));

    const OverviewFilter aprilFirst{{}, {}, std::pair{QDate(2025, 4, 1), QDate(2025, 4, 1)}};
    const std::vector<OverviewDayRow> days = ReadAll<OverviewDayRow>(*m_data, aprilFirst);
    QCOMPARE(days.size(), size_t(3));
    // A summary entry: the sum icon, and its times from T1 and T2.
    QCOMPARE(days[0].driverId, 77);
    QCOMPARE(days[0].mark(), EntryMark::Summary);
    QCOMPARE(days[0].startText(), QStringLiteral("06:00"));
    QCOMPARE(days[0].endText(), QStringLiteral("11:00"));
    QCOMPARE(days[1].startText(), QStringLiteral("00:00"));
    QCOMPARE(days[1].endText(), QStringLiteral("15:00"));
    QCOMPARE(days[2].startText(), QStringLiteral("01:40"));

    // 900 and 700 minutes of one driver on one date.
    const std::vector<OverviewTotalRow> totals = ReadAll<OverviewTotalRow>(*m_data, aprilFirst);
    const auto driverOne = std::find_if(totals.begin(), totals.end(), [](const auto& row) { return row.driverId == 1; });
    QCOMPARE(driverOne->totalMinutes, 1600);
    QVERIFY(driverOne->exceedsOneDay());
    QCOMPARE(driverOne->entryDays, 2);
    QCOMPARE(driverOne->kilometres, Decimal3::fromWhole(200));
}

void TestOverviewQueries::readsOfOneSnapshotAgree()
{
    // A list's first batch, its groups and a later batch, while another window stores.
    Transaction snapshot(m_data->connection, TransactionAccess::Snapshot);
    EntriesReader reader(snapshot, OverviewFilter{});
    const std::vector<OverviewEntryRow> first = reader.fetch(10);
    QCOMPARE(first.size(), size_t(10));
    const qint64 before = QueryNumber(*m_data, "SELECT COUNT(*) FROM UNOS WHERE DV IS NOT NULL");
    ManualEntry entry = Entry(3, QDate(2025, 4, 3), {{ActivityKind::Rest, 0, 1440, {}, {}}});
    QVERIFY(StoreManualEntry(m_data->write, entry).done);
    int lines = 0;
    for (const OverviewGroup& group : LoadOverviewGroups<OverviewEntryRow>(snapshot, OverviewFilter{}))
        lines += group.lines;
    QCOMPARE(lines, int(before));
    const std::vector<OverviewEntryRow> next = reader.fetch(10);
    QCOMPARE(next.size(), size_t(10));
    QVERIFY(next.front().enteredAt <= first.back().enteredAt);
    snapshot.rollback();
    QVERIFY(DeleteEntry(m_data->write, entry.entryId, 0, std::nullopt).done);
}

void TestOverviewQueries::openingRules()
{
    QCOMPARE(OpeningOfEntry(0, std::nullopt), EntryOpening::Edit);
    QCOMPARE(OpeningOfEntry(0, 100), EntryOpening::Edit);
    QCOMPARE(OpeningOfEntry(0, 1), EntryOpening::TwoDayChartMessage);
    QCOMPARE(OpeningOfEntry(1, std::nullopt), EntryOpening::Nothing);
    QCOMPARE(OpeningOfEntry(std::nullopt, std::nullopt), EntryOpening::Nothing);
    QCOMPARE(kTwoDayChartMessage, QString::fromUtf8("Omogućen isključivo pregled po danima - radi se o unosu "
                                                    "skeniranog \"noćnog dvodnevnog\" listića!"));
    QVERIFY(OpensDayForEditing(0));
    QVERIFY(!OpensDayForEditing(1));
}

void TestOverviewQueries::driversInAlphabeticalOrder()
{
    // The driver without a record first, then "Babić Željko 2", "čolić Ivo", "Ćosić Ana".
    QList<int> ids;
    for (const auto& [id, name] : LoadOverviewDrivers(m_data->read))
        ids << id;
    QCOMPARE(ids, (QList<int>{77, 2, 1, 3}));
}

QTEST_GUILESS_MAIN(TestOverviewQueries)
#include "tst_overview_queries.moc"
