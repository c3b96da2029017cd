// A clerk's program and its database server with the network between them cut and restored:
// run by scripts/test.sh against the server it starts (tests/support/on_server.sh), through a
// relay this test puts in front of it; skipped without a server.

#include "tcp_relay.h"
#include "temp_database.h"

#include "temp_database.h"
#include "db/db_error.h"
#include "db/scopes.h"
#include "entries/entry_store.h"

#include <QtTest>

#include <set>

namespace {

constexpr int kFirebirdPort = 3050;
constexpr int kIntervalsPerEntry = 4;
// The statements a new entry's store prepares: its two keys, its row, its day, its intervals.
constexpr int kStoreStatements = 5;

ManualEntry DayOfIntervals(int dayNumber)
{
    std::vector<IntervalRow> rows;
    for (int i = 0; i < kIntervalsPerEntry; ++i)
        rows.push_back({i % 2 ? ActivityKind::Driving : ActivityKind::Rest, ClockText(i * 6 * kMinutesPerHour),
                        ClockText((i + 1) * 6 * kMinutesPerHour), "", ""});
    ManualEntry entry;
    entry.driverId = 1;
    entry.vehicleId = 1;
    entry.date = QDate(2025, 3, 1).addDays(dayNumber);
    entry.intervals = IntervalsFromRows(rows);
    return entry;
}

// What a clerk is told while the server cannot be reached: in Croatian, naming the server, and
// never the dead end of a connection that is not open.
void CheckToldOfTheServer(const QString& message)
{
    QVERIFY2(message.contains(QStringLiteral("localhost")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("nije dostupan")) || message.contains(QStringLiteral("prekinuta")),
             qPrintable(message));
    QVERIFY2(!message.contains(QStringLiteral("nije otvorena")), qPrintable(message));
}

// Read straight from the server, past the relay: every acknowledged entry is there whole, and
// nothing else is, not even half of something.
void CheckStoredWhole(const QString& location, const std::set<int>& acknowledged)
{
    TestConnection data;
    QCOMPARE(ConnectUpgraded(data, location), QStringList());
    QCOMPARE(QueryNumber(data, QStringLiteral("SELECT COUNT(*) FROM UNOS")), qint64(acknowledged.size()));
    QCOMPARE(QueryNumber(data, QStringLiteral("SELECT COUNT(*) FROM UNOS U WHERE NOT EXISTS "
                                              "(SELECT 1 FROM DUNOS D WHERE D.IDUNOS=U.IDUNOS)")),
             0);
    QCOMPARE(QueryNumber(data, QStringLiteral("SELECT COUNT(*) FROM DUNOS D WHERE NOT EXISTS "
                                              "(SELECT 1 FROM UNOS U WHERE U.IDUNOS=D.IDUNOS)")),
             0);
    for (const int id : acknowledged) {
        const std::optional<LoadedEntry> loaded = LoadEntry(data.read, id, {});
        QVERIFY(loaded.has_value());
        QCOMPARE(loaded->entry.intervals.size(), size_t(kIntervalsPerEntry));
    }
}

}  // namespace

class TestServerOutage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void storeAcrossACut_data();
    void storeAcrossACut();
    void outageAcrossActions_data();
    void outageAcrossActions();
};

void TestServerOutage::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("VELTRA_TEST_SERVER"))
        QSKIP("No Firebird server (scripts/test.sh starts one)");
}

void TestServerOutage::storeAcrossACut_data()
{
    QTest::addColumn<int>("cutAtStatement"); // 0: cut between two stores
    QTest::newRow("cut between stores") << 0;
    for (int statement = 1; statement <= kStoreStatements; ++statement)
        QTest::addRow("cut at the store's statement %d", statement) << statement;
}

// A store that the cut interrupts is told in Croatian and leaves nothing behind; the first
// retry after the network is back stores, and so does every store after it.
void TestServerOutage::storeAcrossACut()
{
    QFETCH(int, cutAtStatement);
    TempDatabase db;
    TcpRelay relay(kFirebirdPort);
    TestConnection clerk;
    QCOMPARE(ConnectUpgraded(clerk, ThroughRelay(db.path(), relay)), QStringList());
    std::set<int> acknowledged;
    const auto store = [&](int day) {
        ManualEntry entry = DayOfIntervals(day);
        const WriteResult result = StoreManualEntry(clerk.write, entry);
        if (result.done)
            acknowledged.insert(entry.entryId);
        return result;
    };
    QVERIFY(store(0).done);

    if (cutAtStatement == 0) {
        relay.cut();
        relay.restore();
    } else {
        int statements = 0;
        clerk.connection.setStatementObserver([&](const QString&) {
            if (++statements == cutAtStatement)
                relay.cut();
        });
        const WriteResult cut = store(1);
        clerk.connection.setStatementObserver({});
        QCOMPARE(statements, cutAtStatement);
        QVERIFY(!cut.done);
        CheckToldOfTheServer(cut.message);
        relay.restore();
    }
    const WriteResult retried = store(1);
    QVERIFY2(retried.done, qPrintable(retried.message));
    QVERIFY(store(2).done);
    CheckStoredWhole(db.path(), acknowledged);
}

void TestServerOutage::outageAcrossActions_data()
{
    QTest::addColumn<int>("actions");
    QTest::newRow("two") << 2;
    QTest::newRow("five") << 5;
    QTest::newRow("twenty") << 20;
}

// However long the server stays away, every action says so and nothing is shown as read; the
// first action after it is back works.
void TestServerOutage::outageAcrossActions()
{
    QFETCH(int, actions);
    TempDatabase db;
    TcpRelay relay(kFirebirdPort);
    TestConnection clerk;
    QCOMPARE(ConnectUpgraded(clerk, ThroughRelay(db.path(), relay)), QStringList());
    ManualEntry first = DayOfIntervals(0);
    QVERIFY(StoreManualEntry(clerk.write, first).done);
    std::set<int> acknowledged{first.entryId};

    relay.cut();
    for (int action = 0; action < actions; ++action) {
        if (action % 2 == 0) {
            try {
                LoadEntry(clerk.read, first.entryId, {});
                QFAIL("An entry was read from a server that is away");
            } catch (const DbError& error) {
                CheckToldOfTheServer(error.text());
            }
        } else {
            ManualEntry entry = DayOfIntervals(action);
            const WriteResult result = StoreManualEntry(clerk.write, entry);
            QVERIFY(!result.done);
            CheckToldOfTheServer(result.message);
        }
    }

    relay.restore();
    const std::optional<LoadedEntry> loaded = LoadEntry(clerk.read, first.entryId, {});
    QVERIFY(loaded.has_value());
    ManualEntry after = DayOfIntervals(actions);
    const WriteResult stored = StoreManualEntry(clerk.write, after);
    QVERIFY2(stored.done, qPrintable(stored.message));
    acknowledged.insert(after.entryId);
    CheckStoredWhole(db.path(), acknowledged);
}

QTEST_GUILESS_MAIN(TestServerOutage)
#include "tst_server_outage.moc"
