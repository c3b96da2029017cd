#include "card_file_writer.h"
#include "temp_database.h"

#include "cards/card_import.h"
#include "temp_database.h"
#include "db/statement.h"
#include "entries/chart_entry.h"
#include "entries/entry_store.h"
#include "masterdata/driver_store.h"
#include "masterdata/vehicle_store.h"
#include "reviews/overview_queries.h"

#include <QTest>

namespace {

constexpr int H = 60;
const QDate kJan15(2025, 1, 15);
const QDate kJan16(2025, 1, 16);

// Three UTC days: on the 15th (local) the driver drives two vehicles, the second in a crew and
// from the co-driver slot; on the 16th alone.
TestCard ThreeDays()
{
    TestCard card;
    card.days = {
        {QDate(2025, 1, 14), 0, {{0, kCardRest}}},
        {kJan15, 500, {{0, kCardRest}, {4 * H, kCardDriving}, {10 * H, kCardWork}, {11 * H, kCardDriving, true, true}, {13 * H, kCardRest}}},
        {kJan16, 90, {{0, kCardRest}, {6 * H, kCardDriving}, {7 * H, kCardAvailability}, {8 * H, kCardRest}}},
    };
    card.vehicles = {
        {QStringLiteral("ZG 1234-AB"), 0x19, 1000, 1400, Utc(2025, 1, 15, 4), Utc(2025, 1, 15, 10)},
        {QStringLiteral("ST555CC"), 0x19, 2000, 2100, Utc(2025, 1, 15, 10), Utc(2025, 1, 15, 13)},
        {QStringLiteral("ZG1234AB"), 0x19, 1400, 1490, Utc(2025, 1, 16, 6), Utc(2025, 1, 16, 8)},
    };
    return card;
}

} // namespace

class TestCardImport : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void storesEachLocalDayAsACardEntry();
    void importingTheSameFileAgainChangesNothing();
    void conflictWithADiscIsKeptUnlessReplaced();
    void twoDayChartCannotGiveWay();
    void unknownDriverIsNotCreatedUnlessAllowed();
    void knownDriverAndVehiclesAreFound();
    void aFailingDayLeavesNothingOfTheFile();

private:
    CardImportPlan Plan(const TestCard& card);
    qint64 Number(const QString& sql);

    std::unique_ptr<TempDatabase> m_db;
    std::unique_ptr<TestConnection> m_data;
};

void TestCardImport::init()
{
    m_db = std::make_unique<TempDatabase>();
    m_data = std::make_unique<TestConnection>();
    QCOMPARE(ConnectUpgraded(*m_data, m_db->path()), QStringList());
    if (m_data->write.isActive())
        m_data->write.commit();
}

void TestCardImport::cleanup()
{
    m_data.reset();
    m_db.reset();
}

CardImportPlan TestCardImport::Plan(const TestCard& card)
{
    return PlanCardImport(m_data->read, ParseCardDownload(WriteTestCard(card).bytes, QStringLiteral("horvat.ddd")),
                          SignatureStatus{SignatureCheck::NotChecked, QStringLiteral("potpis nije provjeren")});
}

qint64 TestCardImport::Number(const QString& sql)
{
    m_data->write.startIfNotActive();
    const qint64 value = QueryNumber(*m_data, sql);
    m_data->write.commit();
    return value;
}

void TestCardImport::storesEachLocalDayAsACardEntry()
{
    const CardImportPlan plan = Plan(ThreeDays());
    QVERIFY(!plan.driverId);
    QCOMPARE(plan.unknownVehicles(), QStringList({QStringLiteral("ZG 1234-AB"), QStringLiteral("ST555CC")}));
    const CardImportResult result = RunCardImport(m_data->write, plan, NightWindow{}, true);
    QVERIFY2(result.done, qPrintable(result.message));
    QVERIFY(result.driverCreated);
    QCOMPARE(result.vehiclesCreated, 2);
    QCOMPARE(result.stored, int(plan.days.size()));

    const int driverId = int(Number(QStringLiteral("SELECT MAX(IDDJ) FROM DJELATNICI")));
    const std::optional<DriverRecord> driver = LoadDriver(m_data->read, driverId);
    QVERIFY(driver);
    QCOMPARE(driver->name, QStringLiteral("HORVAT Ivan"));
    QCOMPARE(driver->card, QStringLiteral("H100000012345601"));
    QCOMPARE(driver->birthDate, QDate(1980, 5, 17));
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM UNOS WHERE PODTIP=2 AND TIP=0")), qint64(plan.days.size()));
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM UNOS WHERE PODTIP IS DISTINCT FROM 2")), 0);

    // The 15th: rest to 05:00, driving in the first vehicle, other work and crew driving from
    // the co-driver slot in the second, rest; 500 km, the first vehicle's day.
    Transaction& read = m_data->read;
    read.startIfNotActive();
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT IDD,DKM,IDVOZILO,S1,S2,S3,S4 FROM DUNOS WHERE DATUM=:D"));
    sql.setDate(QStringLiteral("D"), kJan15);
    sql.execute();
    QVERIFY(sql.next());
    const int dayId = int(*sql.intValue(0));
    QCOMPARE(sql.decimal3Value(1), Decimal3::fromWhole(500));
    const int firstVehicle = int(*sql.intValue(2));
    QCOMPARE(sql.intValue(3), 5 * H + 10 * H);
    QCOMPARE(sql.intValue(4), 0);
    QCOMPARE(sql.intValue(5), 1 * H);
    QCOMPARE(sql.intValue(6), 6 * H + 2 * H);
    sql.close();
    sql.prepare(QStringLiteral("SELECT TOD,TDO,TAKT,SCP,IDVOZILO FROM SATIUNOS WHERE IDDUNOS=:D ORDER BY TOD"));
    sql.setInt(QStringLiteral("D"), dayId);
    sql.execute();
    QStringList rows;
    while (sql.next()) {
        rows << QStringLiteral("%1-%2 %3 %4 %5")
                    .arg(*sql.intValue(0))
                    .arg(*sql.intValue(1))
                    .arg(*sql.intValue(2))
                    .arg(*sql.intValue(3))
                    .arg(*sql.intValue(4) == firstVehicle ? QStringLiteral("prvo") : QStringLiteral("drugo"));
    }
    const QStringList expected{
        QStringLiteral("0-300 0 1 prvo"),    QStringLiteral("300-660 3 1 prvo"),   QStringLiteral("660-720 2 1 drugo"),
        QStringLiteral("720-840 3 7 drugo"), QStringLiteral("840-1440 0 1 prvo"),
    };
    QCOMPARE(rows, expected);
    sql.close();
    read.commit();

    // The overview shows the card's mark.
    Transaction overviewRead{m_data->connection, TransactionAccess::ReadOnly};
    EntryDaysReader days(overviewRead, OverviewFilter{});
    const std::vector<OverviewDayRow> lines = days.fetch(10);
    QVERIFY(!lines.empty());
    for (const OverviewDayRow& line : lines)
        QCOMPARE(line.mark(), EntryMark::DriverCard);
}

void TestCardImport::importingTheSameFileAgainChangesNothing()
{
    QVERIFY(RunCardImport(m_data->write, Plan(ThreeDays()), NightWindow{}, true).done);
    const qint64 entries = Number(QStringLiteral("SELECT COUNT(*) FROM UNOS"));
    const qint64 intervals = Number(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS"));
    const qint64 lastEntry = Number(QStringLiteral("SELECT MAX(IDUNOS) FROM UNOS"));

    const CardImportPlan again = Plan(ThreeDays());
    QVERIFY(again.driverId);
    QVERIFY(again.unknownVehicles().isEmpty());
    for (const CardImportDay& day : again.days)
        QCOMPARE(day.state, CardDayState::Unchanged);
    const CardImportResult result = RunCardImport(m_data->write, again, NightWindow{}, false);
    QVERIFY2(result.done, qPrintable(result.message));
    QCOMPARE(result.unchanged, int(again.days.size()));
    QCOMPARE(result.stored, 0);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM UNOS")), entries);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS")), intervals);
    QCOMPARE(Number(QStringLiteral("SELECT MAX(IDUNOS) FROM UNOS")), lastEntry);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM DJELATNICI")), 1);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM VOZILO")), 2);

    // A later download holding the 16th otherwise is a conflict, not a silent change.
    TestCard later = ThreeDays();
    later.days[2].changes.back().minute = 9 * H;
    const CardImportPlan changed = Plan(later);
    const auto day16 = std::find_if(changed.days.begin(), changed.days.end(), [](const CardImportDay& d) { return d.day.date == kJan16; });
    QCOMPARE(day16->state, CardDayState::Conflict);
    QVERIFY(day16->existing.front().text().startsWith(QStringLiteral("Digitalna kartica: odmor")));
}

void TestCardImport::conflictWithADiscIsKeptUnlessReplaced()
{
    QVERIFY(RunCardImport(m_data->write, Plan(ThreeDays()), NightWindow{}, true).done);
    // Remove the 16th and put a disc there instead.
    const int driverId = int(Number(QStringLiteral("SELECT MAX(IDDJ) FROM DJELATNICI")));
    const int cardEntry16 = int(Number(QStringLiteral("SELECT IDUNOS FROM DUNOS WHERE DATUM='2025-01-16'")));
    QVERIFY(DeleteEntry(m_data->write, cardEntry16, 0, kSubtypeDriverCard).done);
    ChartEntry disc;
    disc.driverId = driverId;
    disc.vehicleId = int(Number(QStringLiteral("SELECT MIN(IDVOZ) FROM VOZILO")));
    disc.date = kJan16;
    disc.day1 = std::vector<ActivityInterval>{{ActivityKind::Driving, 7 * H, 9 * H, {}, {}}};
    QVERIFY(StoreChartEntry(m_data->write, disc).done);

    CardImportPlan plan = Plan(ThreeDays());
    auto day16 = std::find_if(plan.days.begin(), plan.days.end(), [](const CardImportDay& d) { return d.day.date == kJan16; });
    QCOMPARE(day16->state, CardDayState::Conflict);
    QCOMPARE(day16->existing.size(), std::size_t(1));
    QCOMPARE(day16->existing.front().text(),
             QStringLiteral("Skenirani listić: odmor 00:00, spremnost 00:00, rad 00:00, vožnja 02:00, 0,00 km"));
    QVERIFY(day16->cardText().startsWith(QStringLiteral("odmor 22:00, spremnost 01:00, rad 00:00, vožnja 01:00, 90 km")));

    CardImportResult kept = RunCardImport(m_data->write, plan, NightWindow{}, false);
    QVERIFY(kept.done);
    QCOMPARE(kept.conflictsKept, 1);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM UNOS U JOIN DUNOS D ON D.IDUNOS=U.IDUNOS WHERE D.DATUM='2025-01-16' AND U.PODTIP=1")), 1);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM DUNOS WHERE DATUM='2025-01-16'")), 1);
    QVERIFY(CardImportSummary(plan, kept).contains(QStringLiteral("sukoba zadržano 1; potpis nije provjeren.")));

    day16->replace = true;
    const CardImportResult replaced = RunCardImport(m_data->write, plan, NightWindow{}, false);
    QVERIFY(replaced.done);
    QCOMPARE(replaced.replaced, 1);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM UNOS WHERE PODTIP=1")), 0);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM SKENLOG")), 0);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM UNOS U JOIN DUNOS D ON D.IDUNOS=U.IDUNOS WHERE D.DATUM='2025-01-16' AND U.PODTIP=2")), 1);
}

void TestCardImport::twoDayChartCannotGiveWay()
{
    // A night chart of the 15th and 16th: replacing the 16th would delete the 15th with it.
    QVERIFY(StoreDriver(m_data->write, kNewId, DriverFromHolder(ParseCardDownload(WriteTestCard(ThreeDays()).bytes, "k").holder)).done);
    ChartEntry disc;
    disc.driverId = int(Number(QStringLiteral("SELECT MAX(IDDJ) FROM DJELATNICI")));
    disc.vehicleId = 1;
    disc.date = kJan15;
    disc.day1 = std::vector<ActivityInterval>{{ActivityKind::Driving, 22 * H, 24 * H, {}, {}}};
    disc.day2 = std::vector<ActivityInterval>{{ActivityKind::Driving, 0, 2 * H, {}, {}}};
    QVERIFY(StoreChartEntry(m_data->write, disc).done);

    CardImportPlan plan = Plan(ThreeDays());
    for (CardImportDay& day : plan.days) {
        if (day.state == CardDayState::Conflict) {
            QVERIFY(!day.replaceable());
            day.replace = true;
        }
    }
    const CardImportResult result = RunCardImport(m_data->write, plan, NightWindow{}, true);
    QVERIFY(result.done);
    QCOMPARE(result.conflictsKept, 2);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM DUNOS D JOIN UNOS U ON U.IDUNOS=D.IDUNOS WHERE U.PODTIP=1")), 2);
}

void TestCardImport::unknownDriverIsNotCreatedUnlessAllowed()
{
    const CardImportResult result = RunCardImport(m_data->write, Plan(ThreeDays()), NightWindow{}, false);
    QVERIFY(!result.done);
    QCOMPARE(result.message, QStringLiteral("Vozač s karticom H100000012345601 (Horvat Ivan) nije u evidenciji."));
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM UNOS")), 0);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM DJELATNICI")), 0);
}

void TestCardImport::knownDriverAndVehiclesAreFound()
{
    // The office typed the card number with spaces and only the driver identification, and the
    // plate without its hyphen; a renewed card (other last two characters) is the same driver.
    DriverRecord driver = DriverFromHolder(CardHolder{});
    driver.name = QStringLiteral("Horvat Ivan");
    driver.card = QStringLiteral("h1000 0001 23456");
    QVERIFY(StoreDriver(m_data->write, kNewId, driver).done);
    VehicleRecord truck;
    truck.make = QStringLiteral("MAN TGX");
    truck.plate = QStringLiteral("ZG 1234 AB");
    QVERIFY(StoreVehicle(m_data->write, kNewId, truck).done);

    TestCard card = ThreeDays();
    card.cardNumber = QStringLiteral("H100000012345602");
    const CardImportPlan plan = Plan(card);
    QVERIFY(plan.driverId);
    QCOMPARE(plan.driverName, QStringLiteral("Horvat Ivan"));
    QCOMPARE(plan.unknownVehicles(), QStringList({QStringLiteral("ST555CC")}));
    const CardImportResult refused = RunCardImport(m_data->write, plan, NightWindow{}, false);
    QCOMPARE(refused.message, QStringLiteral("Vozila nisu u evidenciji: ST555CC."));
    QVERIFY(RunCardImport(m_data->write, plan, NightWindow{}, true).done);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM DJELATNICI")), 1);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM VOZILO")), 2);
}

void TestCardImport::aFailingDayLeavesNothingOfTheFile()
{
    m_data->write.startIfNotActive();
    Statement ddl(m_data->write);
    ddl.prepare(QStringLiteral("CREATE EXCEPTION NO_DAY 'dan odbijen'"));
    ddl.execute();
    m_data->write.commit();
    m_data->write.startIfNotActive();
    ddl.prepare(QStringLiteral("CREATE TRIGGER DUNOS_NO_16 FOR DUNOS BEFORE INSERT AS BEGIN "
                               "IF (NEW.DATUM = '2025-01-16') THEN EXCEPTION NO_DAY; END"));
    ddl.execute();
    m_data->write.commit();

    const CardImportResult result = RunCardImport(m_data->write, Plan(ThreeDays()), NightWindow{}, true);
    QVERIFY(!result.done);
    QVERIFY2(result.message.contains(QStringLiteral("dan odbijen")), qPrintable(result.message));
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM UNOS")), 0);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM DUNOS")), 0);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM DJELATNICI")), 0);
    QCOMPARE(Number(QStringLiteral("SELECT COUNT(*) FROM VOZILO")), 0);
}

QTEST_GUILESS_MAIN(TestCardImport)
#include "tst_card_import.moc"
