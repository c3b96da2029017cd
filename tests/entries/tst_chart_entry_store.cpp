#include "temp_database.h"
#include "db/statement.h"
#include "entries/chart_entry.h"
#include "entries/entry_store.h"

#include <QTest>

namespace {

constexpr int H = kMinutesPerHour;
const QDate kDay(2025, 3, 15);

// A chart of one day as the workspace's grid gives it, the last interval running to midnight.
ChartEntry OneDayChart()
{
    ChartEntry entry;
    entry.driverId = 7;
    entry.vehicleId = 3;
    entry.date = kDay;
    entry.startKm = Decimal3::fromWhole(1000);
    entry.endKm = Decimal3::fromWhole(1300);
    entry.remark = QStringLiteral("Zagreb – Split");
    entry.crew = true;
    entry.day1 = std::vector<ActivityInterval>{
        {ActivityKind::Driving, 5 * H + 10, 12 * H, {}, {}},
        {ActivityKind::Rest, 12 * H, 22 * H, {}, {}},
        {ActivityKind::Driving, 22 * H, 24 * H, Decimal3::fromWhole(120), Decimal3::fromText("1,5")},
    };
    entry.scanFileName = QStringLiteral("/skenovi/2025/tjedan 11.jpg");
    entry.scanWidth = 2480;
    entry.scanHeight = 3508;
    entry.discNumber = 2;
    return entry;
}

// 18:00–24:00 other work on the first day, 00:00–03:00 driving on the second.
ChartEntry TwoDayChart()
{
    ChartEntry entry = OneDayChart();
    entry.day1 = std::vector<ActivityInterval>{{ActivityKind::OtherWork, 18 * H, 24 * H, {}, {}}};
    entry.day2 = std::vector<ActivityInterval>{{ActivityKind::Driving, 0, 3 * H, {}, {}}};
    entry.endOfDay1Km = Decimal3::fromWhole(1200);
    return entry;
}

// A stored day's id, date and odometer (IDD, DATUM, KM1, KM2, DKM, the first five columns) as
// "id yyyy-MM-dd km1 km2 distance", and the same of what is expected.
QString StoredDayText(const Statement& sql)
{
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(sql.intValue(0).value_or(kNewId))
        .arg(sql.dateValue(1).value_or(QDate()).toString(Qt::ISODate), sql.decimal3Value(2).toText(),
             sql.decimal3Value(3).toText(), sql.decimal3Value(4).toText());
}

QString DayText(int id, QDate date, int km1, int km2)
{
    return QStringLiteral("%1 %2 %3 %4 %5").arg(id).arg(date.toString(Qt::ISODate)).arg(km1).arg(km2).arg(km2 - km1);
}

} // namespace

class TestChartEntryStore : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void oneDayChart();
    void twoDayChartIsCrossLinked();
    void scanLogKeepsTheNameWithoutFolderCutTo100();
    void refusedPartwayLeavesNothing();

    void checksInTheirOrder_data();
    void checksInTheirOrder();
    void endOfDay1Estimate_data();
    void endOfDay1Estimate();
    void twoDayRange();

private:
    qint64 Number(const QString& sql);

    std::unique_ptr<TempDatabase> m_db;
    std::unique_ptr<TestConnection> m_data;
};

void TestChartEntryStore::init()
{
    m_db = std::make_unique<TempDatabase>();
    m_data = std::make_unique<TestConnection>();
    QCOMPARE(ConnectUpgraded(*m_data, m_db->path()), QStringList());
    if (m_data->write.isActive())
        m_data->write.commit();
}

void TestChartEntryStore::cleanup()
{
    m_data.reset();
    m_db.reset();
}

qint64 TestChartEntryStore::Number(const QString& sql)
{
    m_data->write.startIfNotActive();
    const qint64 value = QueryNumber(*m_data, sql);
    m_data->write.commit();
    return value;
}

void TestChartEntryStore::oneDayChart()
{
    StoredChart ids;
    const WriteResult result = StoreChartEntry(m_data->write, OneDayChart(), &ids);
    QVERIFY2(result.done, qPrintable(result.message));
    QVERIFY(!m_data->write.isActive());
    QCOMPARE(ids.day2Id, kNewId);

    Transaction& read = m_data->write;
    read.startIfNotActive();
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT IDVOZAC,TIP,PODTIP,NOD,NDO FROM UNOS WHERE IDUNOS=:I"));
    sql.setInt(QStringLiteral("I"), ids.entryId);
    sql.execute();
    QVERIFY(sql.next());
    QCOMPARE(sql.intValue(0), 7);
    QCOMPARE(sql.intValue(1), 0);
    QCOMPARE(sql.intValue(2), 1);
    QCOMPARE(sql.intValue(3), 22 * H);
    QCOMPARE(sql.intValue(4), 6 * H);
    sql.close();

    sql.prepare(QStringLiteral("SELECT FN,SX,SY,N,POM FROM SKENLOG WHERE IDUNOS=:I"));
    sql.setInt(QStringLiteral("I"), ids.entryId);
    sql.execute();
    QVERIFY(sql.next());
    QCOMPARE(sql.textValue(0), QStringLiteral("tjedan 11.jpg"));
    QCOMPARE(sql.intValue(1), 2480);
    QCOMPARE(sql.intValue(2), 3508);
    QCOMPARE(sql.intValue(3), 2);
    QCOMPARE(sql.intValue(4), ids.day1Id);
    sql.close();

    sql.prepare(QStringLiteral("SELECT IDD,DATUM,KM1,KM2,DKM,IDVOZILO,S1,S2,S3,S4,S5,S6,N1,N2,NAP,MF,IDMF,IDPF "
                               "FROM DUNOS WHERE IDUNOS=:I"));
    sql.setInt(QStringLiteral("I"), ids.entryId);
    sql.execute();
    QVERIFY(sql.next());
    QCOMPARE(StoredDayText(sql), DayText(ids.day1Id, kDay, 1000, 1300));
    QCOMPARE(sql.intValue(5), 3);
    // Night from 22:00 to 06:00: 05:10–06:00 and 22:00–24:00 of driving.
    const QList<qint64> totals{10 * H, 0, 0, 410 + 2 * H, 170, 170, 170, 0};
    for (int i = 0; i < totals.size(); ++i)
        QCOMPARE(sql.intValue(6 + i), totals[i]);
    QCOMPARE(sql.textValue(14), QStringLiteral("Zagreb – Split"));
    QCOMPARE(sql.intValue(15), 0);
    QCOMPARE(sql.intValue(16), std::nullopt);
    QCOMPARE(sql.intValue(17), std::nullopt);
    QVERIFY(!sql.next());
    sql.close();

    sql.prepare(QStringLiteral("SELECT TOD,TDO,TAKT,KM,LIT,IDVOZILO,SCP,DT1,DT2,IDVOZAC FROM SATIUNOS "
                               "WHERE IDDUNOS=:D ORDER BY TOD"));
    sql.setInt(QStringLiteral("D"), ids.day1Id);
    sql.execute();
    const QList<QList<int>> rows{{310, 720, 3}, {720, 1320, 0}, {1320, 1440, 3}};
    for (const QList<int>& row : rows) {
        QVERIFY(sql.next());
        QCOMPARE(sql.intValue(0), row[0]);
        QCOMPARE(sql.intValue(1), row[1]);
        QCOMPARE(sql.intValue(2), row[2]);
        QCOMPARE(sql.intValue(5), 3);
        QCOMPARE(sql.intValue(6), 3); // crew
        QCOMPARE(sql.timestampValue(7), QDateTime(kDay, QTime(0, 0), Qt::UTC).addSecs(row[0] * 60));
        QCOMPARE(sql.intValue(9), 7);
    }
    // 22:00 to 00:00 ends at midnight of the next day.
    QCOMPARE(sql.decimal3Value(3), Decimal3::fromWhole(120));
    QCOMPARE(sql.decimal3Value(4), Decimal3::fromText("1,5"));
    QCOMPARE(sql.timestampValue(8), QDateTime(kDay.addDays(1), QTime(0, 0), Qt::UTC));
    QVERIFY(!sql.next());
    sql.close();
    read.commit();
}

void TestChartEntryStore::twoDayChartIsCrossLinked()
{
    StoredChart ids;
    const WriteResult result = StoreChartEntry(m_data->write, TwoDayChart(), &ids);
    QVERIFY2(result.done, qPrintable(result.message));
    QVERIFY(ids.day2Id != kNewId && ids.day2Id != ids.day1Id);

    Transaction& read = m_data->write;
    read.startIfNotActive();
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT IDD,DATUM,KM1,KM2,DKM,MF,IDMF,IDPF,S3,S4,NAP FROM DUNOS WHERE IDUNOS=:I ORDER BY DATUM"));
    sql.setInt(QStringLiteral("I"), ids.entryId);
    sql.execute();
    QVERIFY(sql.next());
    QCOMPARE(StoredDayText(sql), DayText(ids.day1Id, kDay, 1000, 1200));
    QCOMPARE(sql.intValue(5), 1);
    QCOMPARE(sql.intValue(6), ids.day2Id);
    QCOMPARE(sql.intValue(7), std::nullopt);
    QCOMPARE(sql.intValue(8), 6 * H);
    QCOMPARE(sql.intValue(9), 0);
    QVERIFY(sql.next());
    QCOMPARE(StoredDayText(sql), DayText(ids.day2Id, kDay.addDays(1), 1200, 1300));
    QCOMPARE(sql.intValue(5), 0);
    QCOMPARE(sql.intValue(6), std::nullopt);
    QCOMPARE(sql.intValue(7), ids.day1Id);
    QCOMPARE(sql.intValue(8), 0);
    QCOMPARE(sql.intValue(9), 3 * H);
    QCOMPARE(sql.textValue(10), QStringLiteral("Zagreb – Split"));
    QVERIFY(!sql.next());
    sql.close();
    read.commit();

    QCOMPARE(Number(QStringLiteral("SELECT POM FROM SKENLOG WHERE IDUNOS=%1").arg(ids.entryId)), ids.day1Id);
    QCOMPARE(Number(QStringLiteral("SELECT TDO FROM SATIUNOS WHERE IDDUNOS=%1").arg(ids.day1Id)), 1440);
    QCOMPARE(Number(QStringLiteral("SELECT TDO FROM SATIUNOS WHERE IDDUNOS=%1").arg(ids.day2Id)), 180);
    // The second day's interval lies on the second day.
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS WHERE IDDUNOS=%1 AND DT1='2025-03-16 00:00'")
                        .arg(ids.day2Id)),
             1);
}

void TestChartEntryStore::scanLogKeepsTheNameWithoutFolderCutTo100()
{
    ChartEntry entry = OneDayChart();
    const QString name = QString(116, QLatin1Char('s')) + QStringLiteral(".jpg");
    entry.scanFileName = QStringLiteral("C:\\Skenovi\\") + name;
    StoredChart ids;
    QVERIFY(StoreChartEntry(m_data->write, entry, &ids).done);
    m_data->write.startIfNotActive();
    Statement sql(m_data->write);
    sql.prepare(QStringLiteral("SELECT FN FROM SKENLOG WHERE IDUNOS=:I"));
    sql.setInt(QStringLiteral("I"), ids.entryId);
    sql.execute();
    QVERIFY(sql.next());
    QCOMPARE(sql.textValue(0), name.left(100));
    sql.close();
    m_data->write.commit();
}

void TestChartEntryStore::refusedPartwayLeavesNothing()
{
    // The second day is refused after the entry, its scan log, the first day and its
    // intervals were written.
    m_data->write.startIfNotActive();
    m_data->script.execute(QStringLiteral("CREATE EXCEPTION E_TEST_DAY 'Drugi dan odbijen';\n"
                                             "SET TERM ^ ;\n"
                                             "CREATE TRIGGER DUNOS_TEST FOR DUNOS BEFORE INSERT AS\n"
                                             "BEGIN\n"
                                             "  IF (NEW.IDPF IS NOT NULL) THEN EXCEPTION E_TEST_DAY;\n"
                                             "END^\n"
                                             "SET TERM ; ^\n"));
    m_data->write.commit();

    const WriteResult result = StoreChartEntry(m_data->write, TwoDayChart());
    QVERIFY(!result.done);
    QVERIFY2(result.message.contains(QStringLiteral("Drugi dan odbijen")), qPrintable(result.message));
    QVERIFY(!m_data->write.isActive());
    for (const char* table : {"UNOS", "SKENLOG", "DUNOS", "SATIUNOS"})
        QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))), 0);

    // The same chart goes in once the database takes it.
    QVERIFY(StoreChartEntry(m_data->write, OneDayChart()).done);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS")), 3);
}

void TestChartEntryStore::checksInTheirOrder_data()
{
    QTest::addColumn<ChartEntry>("entry");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("field");
    using Field = ChartEntryProblem::Field;

    ChartEntry e = TwoDayChart();
    // A grid of rows none of which count still holds rows.
    ChartEntry uncounted = e;
    uncounted.day1->clear();
    uncounted.day2->clear();
    uncounted.endOfDay1Km = Decimal3::fromWhole(999);
    QTest::newRow("days of rows that do not count") << uncounted << kEndOfDay1KmMessage << int(Field::EndOfDay1Km);
    QTest::newRow("two-day chart as it should be") << e << QString() << int(Field::None);
    e.endOfDay1Km = e.startKm;
    QTest::newRow("first day ends at the start km") << e << QString() << int(Field::None);
    e.endOfDay1Km = e.endKm;
    QTest::newRow("first day ends at the end km") << e << QString() << int(Field::None);
    e.endOfDay1Km = Decimal3::fromWhole(999);
    QTest::newRow("first day ends below the start") << e << kEndOfDay1KmMessage << int(Field::EndOfDay1Km);
    e.endOfDay1Km = Decimal3::fromWhole(1301);
    QTest::newRow("first day ends above the end") << e << kEndOfDay1KmMessage << int(Field::EndOfDay1Km);
    e.day2.reset();
    QTest::newRow("one-day chart ignores the first day's km") << e << QString() << int(Field::None);
    e.endKm = Decimal3::fromWhole(900);
    QTest::newRow("end km below start km") << e << kKmReversedMessage << int(Field::EndKm);
    e.day1.reset();
    QTest::newRow("no activity on the first day") << e << kNoDay1ActivitiesMessage << int(Field::None);
    e.vehicleId = kNoneChosen;
    QTest::newRow("no vehicle") << e << kNoVehicleMessage << int(Field::None);
    e.driverId = kNoneChosen;
    QTest::newRow("no driver") << e << kNoDriverMessage << int(Field::None);
}

void TestChartEntryStore::checksInTheirOrder()
{
    QFETCH(ChartEntry, entry);
    QFETCH(QString, message);
    QFETCH(int, field);
    const std::optional<ChartEntryProblem> problem = CheckChartEntry(entry);
    QCOMPARE(problem ? problem->message : QString(), message);
    QCOMPARE(problem ? int(problem->field) : int(ChartEntryProblem::Field::None), field);
}

void TestChartEntryStore::endOfDay1Estimate_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("day1");
    QTest::addColumn<int>("day2");
    QTest::addColumn<QString>("estimate");
    QTest::newRow("shared by minutes") << 1000 << 1300 << 600 << 300 << "1200";
    QTest::newRow("to a thousandth") << 1000 << 1001 << 1 << 2 << "1000,333";
    QTest::newRow("no first day") << 1000 << 1300 << 0 << 300 << "1000";
    QTest::newRow("no second day") << 1000 << 1300 << 600 << 0 << "1300";
    QTest::newRow("end not above start") << 1300 << 1300 << 600 << 300 << "";
}

void TestChartEntryStore::endOfDay1Estimate()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, day1);
    QFETCH(int, day2);
    QFETCH(QString, estimate);
    const std::optional<Decimal3> km =
        EstimateEndOfDay1Km(Decimal3::fromWhole(start), Decimal3::fromWhole(end), day1, day2);
    QCOMPARE(km ? km->toText() : QString(), estimate);
}

void TestChartEntryStore::twoDayRange()
{
    const ChartEntry two = TwoDayChart();
    QCOMPARE(TwoDayRangeText(kDay, *two.day1, *two.day2), QStringLiteral("15.03.2025. 18:00 - 16.03.2025. 03:00"));
    const ChartEntry one = OneDayChart();
    QCOMPARE(TwoDayRangeText(kDay, *one.day1, {}), QStringLiteral("15.03.2025. 05:10 - 00:00"));
}

QTEST_MAIN(TestChartEntryStore)
#include "tst_chart_entry_store.moc"
