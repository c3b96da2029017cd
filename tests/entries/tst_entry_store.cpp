#include "temp_database.h"

#include "temp_database.h"
#include "entries/entry_store.h"

#include <QTest>

#include <algorithm>

namespace {

constexpr int H = kMinutesPerHour;
const QDate kDay(2024, 3, 14);

const QString kGenUnos = QStringLiteral("SELECT GEN_ID(GEN_UNOS_ID,1) FROM RDB$DATABASE");
const QString kGenDunos = QStringLiteral("SELECT GEN_ID(GEN_DUNOS_ID,1) FROM RDB$DATABASE");

// A detailed entry of three counted rows and one empty row, as a window's grid gives it.
ManualEntry DetailedEntry()
{
    const std::vector<IntervalRow> rows{
        {ActivityKind::Rest, "00:00", "06:00", "", ""},
        {ActivityKind::Driving, "06:00", "10:30", "450", "55,5"},
        {ActivityKind::Rest, "00:00", "00:00", "", ""},
        {ActivityKind::OtherWork, "22:00", "02:00", "", "1,25"},
    };
    ManualEntry entry;
    entry.driverId = 7;
    entry.vehicleId = 3;
    entry.date = kDay;
    entry.startKm = Decimal3::fromText("120.000,5");
    entry.endKm = Decimal3::fromText("120.450,5");
    entry.distance = DayDistance(entry.startKm, entry.endKm);
    entry.remark = QStringLiteral("Šibenik – Čakovec");
    entry.coDriver = true;
    entry.intervals = IntervalsFromRows(rows);
    return entry;
}

ManualEntry SummaryEntry()
{
    ManualEntry entry;
    entry.driverId = 7;
    entry.vehicleId = 3;
    entry.date = kDay;
    entry.distance = Decimal3::fromWhole(300);
    entry.detailed = false;
    entry.summary.day[ActivityCode(ActivityKind::Driving)] = 8 * H;
    entry.summary.night[ActivityCode(ActivityKind::Driving)] = 90;
    entry.summary.day[ActivityCode(ActivityKind::Rest)] = 10 * H;
    entry.workStart = 5 * H;
    return entry;
}

QDateTime Moment(QDate date, int hour)
{
    return QDateTime(date, QTime(hour, 0), Qt::UTC);
}

} // namespace

class TestEntryStore : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newDetailedEntry();
    void newSummaryEntry();
    void detailedEntryChangedIntoSummary();
    void intervalPastMidnight();
    void loadDetailedEntry();
    void loadSummaryEntryWithoutNightWindow();
    void loadMissingEntry();
    void templateStoresANewEntry();
    void entriesOfDay();
    void missingDriverOrVehicleWritesNothing();
    void failingStatementLeavesNothingOfTheStore();
    void failingChangeKeepsTheStoredEntry();
    void deleteScannedChartRemovesItsScanLog();
    void deleteManualEntryLeavesScanLog();

private:
    qint64 Count(const QString& sql);
    void MakeIntervalInsertFailAt(int start);

    std::unique_ptr<TempDatabase> m_db;
    std::unique_ptr<TestConnection> m_data;
    QStringList m_statements;
};

void TestEntryStore::init()
{
    m_db = std::make_unique<TempDatabase>();
    m_data = std::make_unique<TestConnection>();
    QCOMPARE(ConnectUpgraded(*m_data, m_db->path()), QStringList());
    if (m_data->write.isActive())
        m_data->write.commit();
    m_statements.clear();
    m_data->connection.setStatementObserver([this](const QString& sql) { m_statements << sql; });
}

void TestEntryStore::cleanup()
{
    m_data.reset();
    m_db.reset();
}

qint64 TestEntryStore::Count(const QString& sql)
{
    m_data->write.startIfNotActive();
    const qint64 value = QueryNumber(*m_data, sql);
    m_data->write.commit();
    return value;
}

void TestEntryStore::MakeIntervalInsertFailAt(int start)
{
    m_data->write.startIfNotActive();
    m_data->script.execute(QStringLiteral("CREATE EXCEPTION E_TEST_INTERVAL 'Interval odbijen';\n"
                                             "SET TERM ^ ;\n"
                                             "CREATE TRIGGER SATIUNOS_TEST FOR SATIUNOS BEFORE INSERT AS\n"
                                             "BEGIN\n"
                                             "  IF (NEW.TOD = %1) THEN EXCEPTION E_TEST_INTERVAL;\n"
                                             "END^\n"
                                             "SET TERM ; ^\n")
                                  .arg(start));
    m_data->write.commit();
    m_statements.clear();
}

void TestEntryStore::newDetailedEntry()
{
    ManualEntry entry = DetailedEntry();
    const WriteResult result = StoreManualEntry(m_data->write, entry);
    QVERIFY2(result.done, qPrintable(result.message));
    QVERIFY(!m_data->write.isActive());
    QVERIFY(entry.entryId > 0);
    QVERIFY(entry.entryDayId > 0);

    const QString insertInterval = QStringLiteral(
        "INSERT INTO SATIUNOS (IDDUNOS,TOD,TDO,TAKT,KM,LIT,IDVOZILO,SCP,DT1,DT2) "
        "VALUES (:IDD,:TOD,:TDO,:TAKT,:KM,:LIT,:IDV,:SCP,:DT1,:DT2)");
    QCOMPARE(m_statements,
             (QStringList{kGenUnos, kGenDunos,
                          "INSERT INTO UNOS (IDUNOS,IDVOZAC,TIP,PODTIP,NOD,NDO) VALUES (:IDU,:IDV,0,:PT,:NOD,:NDO)",
                          "INSERT INTO DUNOS (IDD,IDUNOS,DATUM,KM1,KM2,DKM,IDVOZILO,S1,S2,S3,S4,S5,S6,NAP,N1,N2,T1,T2)\n"
                          "VALUES\n"
                          " (:IDD,:IDU,:DATUM,:KM1,:KM2,:DKM,:IDV,:S1,:S2,:S3,:S4,:S5,:S6,:NAP,:N1,:N2,:T1,:T2)",
                          insertInterval}));

    const QString id = QString::number(entry.entryId);
    const QString dayId = QString::number(entry.entryDayId);
    QCOMPARE(Count("SELECT COUNT(*) FROM UNOS"), 1);
    QCOMPARE(Count("SELECT COUNT(*) FROM UNOS WHERE PODTIP IS NULL AND TIP=0 AND IDVOZAC=7 AND NOD=1320 AND NDO=360 "
                   "AND DV IS NOT NULL AND IDUNOS=" + id),
             1);
    QCOMPARE(Count("SELECT COUNT(*) FROM DUNOS"), 1);
    QCOMPARE(Count("SELECT COUNT(*) FROM DUNOS WHERE T1=0 AND T2=0 AND S1=360 AND S2=0 AND S3=240 AND S4=270 "
                   "AND S5=240 AND S6=600 AND N1=0 AND N2=240 AND IDVOZILO=3 AND DATUM='2024-03-14' "
                   "AND KM1=120000.5 AND KM2=120450.5 AND DKM=450 AND IDUNOS=" + id + " AND IDD=" + dayId),
             1);
    QCOMPARE(Count("SELECT COUNT(*) FROM SATIUNOS WHERE IDDUNOS=" + dayId), 3);
    QCOMPARE(Count("SELECT COUNT(*) FROM SATIUNOS WHERE SCP=5 AND IDVOZILO=3 AND IDVOZAC IS NULL"), 3);
    QCOMPARE(Count("SELECT COUNT(*) FROM SATIUNOS WHERE TAKT=3 AND TOD=360 AND TDO=630 AND KM=450 AND LIT=55.5"), 1);
}

void TestEntryStore::newSummaryEntry()
{
    ManualEntry entry = SummaryEntry();
    const WriteResult result = StoreManualEntry(m_data->write, entry);
    QVERIFY2(result.done, qPrintable(result.message));
    QCOMPARE(m_statements.size(), 4);
    QCOMPARE(Count("SELECT COUNT(*) FROM UNOS WHERE PODTIP=100"), 1);
    QCOMPARE(Count("SELECT COUNT(*) FROM SATIUNOS"), 0);
    QCOMPARE(Count("SELECT COUNT(*) FROM DUNOS WHERE S1=600 AND S4=570 AND N1=90 AND S5=90 AND S6=90 AND N2=0 "
                   "AND T1=300 AND T2=1470 AND DKM=300"),
             1);
}

void TestEntryStore::detailedEntryChangedIntoSummary()
{
    ManualEntry entry = DetailedEntry();
    QVERIFY(StoreManualEntry(m_data->write, entry).done);
    const int entryId = entry.entryId;
    const int dayId = entry.entryDayId;

    const ManualEntry summary = SummaryEntry();
    entry.detailed = false;
    entry.summary = summary.summary;
    entry.workStart = summary.workStart;
    m_statements.clear();
    const WriteResult result = StoreManualEntry(m_data->write, entry);
    QVERIFY2(result.done, qPrintable(result.message));
    QCOMPARE(entry.entryId, entryId);
    QCOMPARE(entry.entryDayId, dayId);

    QCOMPARE(m_statements,
             (QStringList{"UPDATE UNOS SET IDVOZAC=:IDV, TIP=0, NOD=:NOD,NDO=:NDO WHERE IDUNOS=:IDU",
                          "UPDATE DUNOS SET IDUNOS=:IDU,DATUM=:DATUM,KM1=:KM1,KM2=:KM2,DKM=:DKM,IDVOZILO=:IDV,\n"
                          " S1=:S1,S2=:S2,S3=:S3,S4=:S4,S5=:S5,S6=:S6,NAP=:NAP,N1=:N1,N2=:N2,T1=:T1,T2=:T2 WHERE IDD=:IDD",
                          "DELETE FROM SATIUNOS WHERE IDDUNOS=:IDD AND TAKT BETWEEN 0 AND 3"}));
    QCOMPARE(Count("SELECT COUNT(*) FROM UNOS WHERE PODTIP IS NULL"), 1);
    QCOMPARE(Count("SELECT COUNT(*) FROM DUNOS"), 1);
    QCOMPARE(Count("SELECT COUNT(*) FROM DUNOS WHERE S4=570 AND N1=90 AND T1=300 AND T2=1470 AND S3=0"), 1);
    QCOMPARE(Count("SELECT COUNT(*) FROM SATIUNOS"), 0);
}

void TestEntryStore::intervalPastMidnight()
{
    ManualEntry entry = DetailedEntry();
    QVERIFY(StoreManualEntry(m_data->write, entry).done);

    m_data->write.start();
    m_data->sql.prepare("SELECT TOD, TDO, DT1, DT2 FROM SATIUNOS WHERE TAKT=2");
    m_data->sql.execute();
    QVERIFY(m_data->sql.next());
    QCOMPARE(m_data->sql.intValue(0), 1320);
    QCOMPARE(m_data->sql.intValue(1), 1560);
    QCOMPARE(m_data->sql.timestampValue(2), Moment(kDay, 22));
    QCOMPARE(m_data->sql.timestampValue(3), Moment(kDay.addDays(1), 2));
    m_data->sql.close();
    m_data->write.commit();
}

void TestEntryStore::loadDetailedEntry()
{
    ManualEntry stored = DetailedEntry();
    stored.night = NightWindow{21 * H, 5 * H};
    stored.crew = true;
    QVERIFY(StoreManualEntry(m_data->write, stored).done);

    const std::optional<LoadedEntry> loaded = LoadEntry(m_data->read, stored.entryId, NightWindow{});
    QVERIFY(loaded);
    QVERIFY(!m_data->write.isActive());
    const ManualEntry& entry = loaded->entry;
    QCOMPARE(entry.entryId, stored.entryId);
    QCOMPARE(entry.entryDayId, stored.entryDayId);
    QCOMPARE(entry.driverId, 7);
    QCOMPARE(entry.vehicleId, 3);
    QCOMPARE(entry.date, kDay);
    QCOMPARE(entry.startKm, stored.startKm);
    QCOMPARE(entry.endKm, stored.endKm);
    QCOMPARE(entry.distance.thousandths, 450000);
    QCOMPARE(entry.remark, stored.remark);
    QCOMPARE(entry.night, stored.night);
    QVERIFY(entry.detailed);
    QVERIFY(entry.coDriver);
    QVERIFY(entry.crew);
    QVERIFY(!loaded->scannedChart);
    QVERIFY(loaded->storedAt.isValid());
    QVERIFY(StoredAtText(loaded->storedAt).startsWith("Uneseno u sustav: "));

    QCOMPARE(entry.intervals.size(), size_t(3));
    QCOMPARE(entry.intervals[1].kind, ActivityKind::Driving);
    QCOMPARE(entry.intervals[1].kilometres.thousandths, 450000);
    QCOMPARE(entry.intervals[1].litres.thousandths, 55500);
    QCOMPARE(entry.intervals[2].end, 1560);
    QCOMPARE(EntryDayTotals(entry), EntryDayTotals(stored));
    QCOMPARE(loaded->storedTotals.kindMinutes, EntryDayTotals(stored).kindMinutes);
}

void TestEntryStore::loadSummaryEntryWithoutNightWindow()
{
    ManualEntry stored = SummaryEntry();
    stored.crew = true;
    QVERIFY(StoreManualEntry(m_data->write, stored).done);
    m_data->write.start();
    m_data->sql.prepare("UPDATE UNOS SET NOD=0, NDO=0");
    m_data->sql.execute();
    m_data->write.commit();

    const NightWindow current{23 * H, 4 * H};
    const std::optional<LoadedEntry> loaded = LoadEntry(m_data->read, stored.entryId, current);
    QVERIFY(loaded);
    QVERIFY(!loaded->entry.detailed);
    QVERIFY(loaded->entry.intervals.empty());
    QCOMPARE(loaded->entry.summary, stored.summary);
    QCOMPARE(loaded->entry.workStart, 5 * H);
    QCOMPARE(loaded->entry.night, current);
    QVERIFY(!loaded->entry.crew);

    // Storing it again writes the window it was counted with.
    ManualEntry again = loaded->entry;
    QVERIFY(StoreManualEntry(m_data->write, again).done);
    QCOMPARE(Count("SELECT COUNT(*) FROM UNOS WHERE NOD=1380 AND NDO=240 AND PODTIP=100"), 1);
}

void TestEntryStore::loadMissingEntry()
{
    QVERIFY(!LoadEntry(m_data->read, 12345, NightWindow{}));
    QVERIFY(!m_data->write.isActive());
}

void TestEntryStore::templateStoresANewEntry()
{
    ManualEntry stored = DetailedEntry();
    QVERIFY(StoreManualEntry(m_data->write, stored).done);
    const std::optional<LoadedEntry> loaded = LoadEntry(m_data->read, stored.entryId, NightWindow{});
    QVERIFY(loaded);

    const QDate yesterday = kDay.addDays(20);
    ManualEntry copy = EntryFromTemplate(*loaded, NightWindow{0, 6 * H}, yesterday);
    QVERIFY(copy.isNew());
    QCOMPARE(copy.entryDayId, kNewId);
    QVERIFY(StoreManualEntry(m_data->write, copy).done);
    QVERIFY(copy.entryId != stored.entryId);
    QCOMPARE(Count("SELECT COUNT(*) FROM UNOS"), 2);
    QCOMPARE(Count("SELECT COUNT(*) FROM SATIUNOS"), 6);
    QCOMPARE(Count("SELECT COUNT(*) FROM DUNOS WHERE DATUM='2024-04-03' AND S6=360 AND S5=0"), 1);
}

void TestEntryStore::entriesOfDay()
{
    ManualEntry detailed = DetailedEntry();
    QVERIFY(StoreManualEntry(m_data->write, detailed).done);
    ManualEntry summary = SummaryEntry();
    QVERIFY(StoreManualEntry(m_data->write, summary).done);
    ManualEntry otherDay = SummaryEntry();
    otherDay.date = kDay.addDays(1);
    QVERIFY(StoreManualEntry(m_data->write, otherDay).done);
    ManualEntry otherDriver = SummaryEntry();
    otherDriver.driverId = 8;
    QVERIFY(StoreManualEntry(m_data->write, otherDriver).done);

    std::vector<DayEntry> entries = EntriesOfDay(m_data->read, 7, kDay);
    QVERIFY(!m_data->write.isActive());
    std::sort(entries.begin(), entries.end(), [](const DayEntry& a, const DayEntry& b) { return a.entryId < b.entryId; });
    QCOMPARE(entries.size(), size_t(2));
    QCOMPARE(entries[0].entryId, detailed.entryId);
    QCOMPARE(entries[0].caption(), QStringLiteral("04:30 vožnje, 450,00 km"));
    QCOMPARE(entries[1].entryId, summary.entryId);
    QCOMPARE(entries[1].caption(), QStringLiteral("09:30 vožnje, 300,00 km"));
    QVERIFY(EntriesOfDay(m_data->read, 9, kDay).empty());
}

void TestEntryStore::missingDriverOrVehicleWritesNothing()
{
    ManualEntry noDriver = DetailedEntry();
    noDriver.driverId = kNoneChosen;
    WriteResult result = StoreManualEntry(m_data->write, noDriver);
    QVERIFY(!result.done);
    QCOMPARE(result.message, QStringLiteral("Nije definiran vozač!"));

    ManualEntry noVehicle = DetailedEntry();
    noVehicle.vehicleId = kNoneChosen;
    result = StoreManualEntry(m_data->write, noVehicle);
    QVERIFY(!result.done);
    QCOMPARE(result.message, QStringLiteral("Nije definirano vozilo!"));

    QVERIFY(m_statements.isEmpty());
    QVERIFY(!m_data->write.isActive());
}

void TestEntryStore::failingStatementLeavesNothingOfTheStore()
{
    MakeIntervalInsertFailAt(6 * H);

    ManualEntry entry = DetailedEntry();
    const WriteResult result = StoreManualEntry(m_data->write, entry);
    QVERIFY(!result.done);
    QVERIFY2(result.message.contains("Interval odbijen"), qPrintable(result.message));
    QVERIFY(!m_data->write.isActive());
    QVERIFY(entry.isNew());
    QCOMPARE(entry.entryDayId, kNewId);
    QCOMPARE(Count("SELECT COUNT(*) FROM UNOS"), 0);
    QCOMPARE(Count("SELECT COUNT(*) FROM DUNOS"), 0);
    QCOMPARE(Count("SELECT COUNT(*) FROM SATIUNOS"), 0);

    // The next store commits only its own rows.
    ManualEntry summary = SummaryEntry();
    QVERIFY(StoreManualEntry(m_data->write, summary).done);
    QCOMPARE(Count("SELECT COUNT(*) FROM UNOS"), 1);
    QCOMPARE(Count("SELECT COUNT(*) FROM DUNOS"), 1);
    QCOMPARE(Count("SELECT COUNT(*) FROM SATIUNOS"), 0);
}

void TestEntryStore::failingChangeKeepsTheStoredEntry()
{
    ManualEntry entry = DetailedEntry();
    QVERIFY(StoreManualEntry(m_data->write, entry).done);
    MakeIntervalInsertFailAt(6 * H);

    entry.driverId = 8;
    entry.remark = QStringLiteral("promijenjeno");
    const WriteResult result = StoreManualEntry(m_data->write, entry);
    QVERIFY(!result.done);
    QVERIFY(!m_data->write.isActive());
    QCOMPARE(Count("SELECT COUNT(*) FROM UNOS WHERE IDVOZAC=7"), 1);
    QCOMPARE(Count("SELECT COUNT(*) FROM DUNOS WHERE NAP='promijenjeno'"), 0);
    QCOMPARE(Count("SELECT COUNT(*) FROM SATIUNOS"), 3);
}

void TestEntryStore::deleteScannedChartRemovesItsScanLog()
{
    ManualEntry chart = DetailedEntry();
    QVERIFY(StoreManualEntry(m_data->write, chart).done);
    ManualEntry other = SummaryEntry();
    QVERIFY(StoreManualEntry(m_data->write, other).done);
    const QString id = QString::number(chart.entryId);
    m_data->write.start();
    for (const QString& sql : {"UPDATE UNOS SET PODTIP=1 WHERE IDUNOS=" + id,
                               "INSERT INTO SKENLOG (IDUNOS,FN,SX,SY,N,POM) VALUES (" + id + ",'a.jpg',800,900,1,0)",
                               "INSERT INTO SKENLOG (IDUNOS,FN,SX,SY,N,POM) VALUES (" + id + ",'a.jpg',800,900,2,0)",
                               "INSERT INTO SKENLOG (IDUNOS,FN,SX,SY,N,POM) VALUES (" + QString::number(other.entryId)
                                   + ",'b.jpg',800,900,1,0)"}) {
        m_data->sql.prepare(sql);
        m_data->sql.execute();
    }
    m_data->write.commit();
    m_statements.clear();

    const WriteResult result = DeleteEntry(m_data->write, chart.entryId, 0, 1);
    QVERIFY2(result.done, qPrintable(result.message));
    QVERIFY(!m_data->write.isActive());
    QCOMPARE(Count("SELECT COUNT(*) FROM UNOS"), 1);
    QCOMPARE(Count("SELECT COUNT(*) FROM DUNOS"), 1);
    QCOMPARE(Count("SELECT COUNT(*) FROM SATIUNOS"), 0);
    QCOMPARE(Count("SELECT COUNT(*) FROM SKENLOG"), 1);
}

void TestEntryStore::deleteManualEntryLeavesScanLog()
{
    ManualEntry entry = DetailedEntry();
    QVERIFY(StoreManualEntry(m_data->write, entry).done);
    m_data->write.start();
    m_data->sql.prepare("INSERT INTO SKENLOG (IDUNOS,FN,SX,SY,N,POM) VALUES (" + QString::number(entry.entryId)
                           + ",'a.jpg',800,900,1,0)");
    m_data->sql.execute();
    m_data->write.commit();

    const WriteResult result = DeleteEntry(m_data->write, entry.entryId, 0, std::nullopt);
    QVERIFY2(result.done, qPrintable(result.message));
    QCOMPARE(Count("SELECT COUNT(*) FROM UNOS"), 0);
    QCOMPARE(Count("SELECT COUNT(*) FROM DUNOS"), 0);
    QCOMPARE(Count("SELECT COUNT(*) FROM SATIUNOS"), 0);
    QCOMPARE(Count("SELECT COUNT(*) FROM SKENLOG"), 1);
}

QTEST_GUILESS_MAIN(TestEntryStore)
#include "tst_entry_store.moc"
