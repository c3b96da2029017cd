#include "tcp_relay.h"
#include "temp_database.h"

#include "db/database_worker.h"
#include "db/db_error.h"
#include "db/index_statistics.h"
#include "db/scopes.h"

#include <QtTest>

#include <atomic>
#include <future>

namespace {

constexpr long kCancelled = 335544794L;  // isc_cancelled

qint64 Number(Transaction& transaction, const QString& sql)
{
    Statement statement(transaction);
    statement.prepare(sql);
    statement.execute();
    return statement.next() ? statement.intValue(0).value_or(0) : 0;
}

// An upgraded database with the data module connected.
struct Database {
    Database() { ConnectUpgraded(data, file.path()); }
    void run(const QString& sql)
    {
        data.sql.prepare(sql);
        data.sql.execute();
        data.write.commit();
    }
    TempDatabase file;
    TestConnection data;
};

double Selectivity(TestConnection& data, const QString& index)
{
    data.sql.prepare("SELECT RDB$STATISTICS FROM RDB$INDICES WHERE RDB$INDEX_NAME = :I");
    data.sql.setText("I", index);
    data.sql.execute();
    const double value = data.sql.next() ? data.sql.doubleValue(0).value_or(0) : -1;
    data.write.commit();
    return value;
}

}  // namespace

// Work on a connection of its own, off the window's thread: it sees one snapshot, it can be
// stopped in the middle of a statement, and it can measure the indexes while the window's
// connection reads and writes.
class TestDatabaseWorker : public QObject {
    Q_OBJECT
private slots:
    void snapshotIgnoresLaterStores();
    void cancelStopsALongStatement();
    void cancelAfterTheConnectionWasLost();
    void measuresIndexesWhileTheWindowWorks();
};

void TestDatabaseWorker::snapshotIgnoresLaterStores()
{
    Database db;
    db.run("INSERT INTO UNOS (IDUNOS, IDVOZAC, DV, TIP) VALUES (1, 1, '2025-01-01 10:00:00', 0)");
    DatabaseWorker worker(db.data.connection, TransactionAccess::Snapshot);
    std::promise<qint64> before;
    std::promise<qint64> after;
    std::promise<void> stored;
    worker.post([&](Transaction& read) {
        before.set_value(Number(read, "SELECT COUNT(*) FROM UNOS"));
        stored.get_future().wait();
        after.set_value(Number(read, "SELECT COUNT(*) FROM UNOS"));
    }, {});
    QCOMPARE(before.get_future().get(), 1);
    db.run("INSERT INTO UNOS (IDUNOS, IDVOZAC, DV, TIP) VALUES (2, 1, '2025-01-02 10:00:00', 0)");
    stored.set_value();
    QCOMPARE(after.get_future().get(), 1);
}

// A cancel stops the statement running, drops the jobs waiting, and leaves the worker ready
// for new work on a new snapshot, its connection kept.
void TestDatabaseWorker::cancelStopsALongStatement()
{
    Database db;
    DatabaseWorker worker(db.data.connection, TransactionAccess::Snapshot);
    std::promise<void> started;
    std::promise<long> failed;
    std::atomic<bool> finished = false;
    std::atomic<bool> dropped = true;
    worker.post(
        [&](Transaction& read) {
            started.set_value();
            // Some hundred million rows: many seconds unless stopped.
            Number(read, "SELECT COUNT(*) FROM RDB$FIELDS A, RDB$FIELDS B, RDB$FIELDS C");
            finished = true;
        },
        [&](const DbError& error) { failed.set_value(error.code()); });
    worker.post([&](Transaction&) { dropped = false; }, {});
    started.get_future().wait();
    QTest::qWait(100);
    QElapsedTimer timer;
    timer.start();
    worker.cancelAll();
    std::future<long> failure = failed.get_future();
    QCOMPARE(failure.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    QCOMPARE(failure.get(), kCancelled);
    QVERIFY(!finished);
    QVERIFY(timer.elapsed() < 2000);

    // A cancel while a job runs no statement waits on the attachment; the next job is not hit.
    std::promise<void> inJob;
    std::promise<void> release;
    worker.post([&](Transaction& read) {
        Number(read, "SELECT 1 FROM RDB$DATABASE");
        inJob.set_value();
        release.get_future().wait();
    }, {});
    inJob.get_future().wait();
    worker.cancelAll();
    release.set_value();

    db.run("INSERT INTO UNOS (IDUNOS, IDVOZAC, DV, TIP) VALUES (1, 1, '2025-01-01 10:00:00', 0)");
    std::promise<qint64> after;
    worker.post([&](Transaction& read) { after.set_value(Number(read, "SELECT COUNT(*) FROM UNOS")); },
                [&](const DbError& error) { after.set_value(-error.code()); });
    QCOMPARE(after.get_future().get(), 1);
    QVERIFY(dropped);
    QVERIFY(worker.serves(db.data.connection));
}

// The network to the server breaks under the worker and a window then reads anew (a cancel
// first): the worker goes on, and once the server is back its next job reads.
void TestDatabaseWorker::cancelAfterTheConnectionWasLost()
{
    if (qEnvironmentVariableIsEmpty("VELTRA_TEST_SERVER"))
        QSKIP("Needs a Firebird server (scripts/test.sh starts one)");
    constexpr int kFirebirdPort = 3050;
    Database db;
    TcpRelay relay(kFirebirdPort);
    Connection throughRelay;
    throughRelay.setDatabaseName(ThroughRelay(db.file.path(), relay));
    throughRelay.setAccount(TestAccount());
    DatabaseWorker worker(throughRelay, TransactionAccess::Snapshot);
    const auto count = [&worker] {
        std::promise<qint64> read;
        worker.post([&](Transaction& transaction) { read.set_value(Number(transaction, "SELECT COUNT(*) FROM UNOS")); },
                    [&](const DbError& error) { read.set_value(-1 - error.code()); });
        return read.get_future().get();
    };
    QCOMPARE(count(), 0);

    relay.cut();
    QVERIFY(count() < 0);
    worker.cancelAll();
    QVERIFY(count() < 0);

    relay.restore();
    worker.cancelAll();
    QCOMPARE(count(), 0);
}

void TestDatabaseWorker::measuresIndexesWhileTheWindowWorks()
{
    Database db;
    TestConnection& data = db.data;
    // Rows after the indexes were made: never measured.
    data.write.startIfNotActive();
    for (int id = 1; id <= 300; ++id) {
        data.sql.prepare("INSERT INTO UNOS (IDUNOS, IDVOZAC, DV, TIP) VALUES (:ID, :DRIVER, CURRENT_TIMESTAMP, 0)");
        data.sql.setInt("ID", id);
        data.sql.setInt("DRIVER", id % 10);
        data.sql.execute();
    }
    data.write.commit();
    QCOMPARE(Selectivity(data, "UN_IDX1"), 0.0);
    QVERIFY(IndexStatisticsMissing(data.sql));
    data.write.commit();

    // The window keeps a cursor open on the table and stores meanwhile.
    ReadScope scope(data.read);
    Statement open(data.read);
    open.prepare("SELECT IDUNOS FROM UNOS WHERE IDVOZAC = 3 ORDER BY DV DESC");
    open.execute();
    QVERIFY(open.next());
    std::promise<QString> outcome;
    {
        DatabaseWorker worker(data.connection, TransactionAccess::ReadWrite);
        worker.post(
            [&](Transaction& transaction) {
                RecomputeIndexStatistics(transaction);
                outcome.set_value(QString());
            },
            [&](const DbError& error) { outcome.set_value(error.text()); });
        data.write.startIfNotActive();
        data.sql.prepare("INSERT INTO UNOS (IDUNOS, IDVOZAC, DV, TIP) VALUES (301, 3, CURRENT_TIMESTAMP, 0)");
        data.sql.execute();
        data.write.commit();
        QCOMPARE(outcome.get_future().get(), QString());
    }
    QVERIFY(open.next());
    QVERIFY(qAbs(Selectivity(data, "UN_IDX1") - 0.1) < 1e-6);  // ten drivers
    QVERIFY(Selectivity(data, "PK_UNOS") > 0);
    QVERIFY(!IndexStatisticsMissing(data.sql));
    data.write.commit();
}

QTEST_GUILESS_MAIN(TestDatabaseWorker)
#include "tst_database_worker.moc"
