// One database on a Firebird server shared by several programs: run by scripts/test.sh against
// the server it starts (tests/support/on_server.sh); skipped without one.

#include "temp_database.h"

#include "temp_database.h"
#include "db/db_error.h"
#include "db/scopes.h"
#include "db/schema_upgrade.h"
#include "entries/entry_store.h"

#include <QProcess>
#include <QTest>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

const char* const kStoreMany = "--store-many";
const char* const kHoldEntry = "--hold-entry";
constexpr int kEntriesPerProcess = 200;
constexpr int kIntervalsPerEntry = 6;

ManualEntry DayOfIntervals(int dayNumber)
{
    std::vector<IntervalRow> rows;
    for (int i = 0; i < kIntervalsPerEntry; ++i)
        rows.push_back({i % 2 ? ActivityKind::Driving : ActivityKind::Rest, ClockText(i * 4 * kMinutesPerHour),
                        ClockText((i + 1) * 4 * kMinutesPerHour), "", ""});
    ManualEntry entry;
    entry.driverId = 1;
    entry.vehicleId = 1;
    entry.date = QDate(2024, 1, 1).addDays(dayNumber);
    entry.intervals = IntervalsFromRows(rows);
    return entry;
}

// A child: stores `count` entries from day `first` on, and tells each id it was given.
int StoreMany(const QString& path, int first, int count)
{
    TestConnection data;
    if (!ConnectUpgraded(data, path).isEmpty())
        return 1;
    for (int day = first; day < first + count; ++day) {
        ManualEntry entry = DayOfIntervals(day);
        const WriteResult result = StoreManualEntry(data.write, entry);
        if (!result.done) {
            std::fprintf(stderr, "%s\n", qPrintable(result.message));
            return 1;
        }
        std::printf("%d\n", entry.entryId);
    }
    return 0;
}

// A child: changes the entry's row in a transaction it keeps open until a line comes on stdin.
int HoldEntry(const QString& path, int entryId)
{
    TestConnection data;
    if (!ConnectUpgraded(data, path).isEmpty())
        return 1;
    data.write.startIfNotActive();
    Statement sql(data.write);
    sql.prepare(QStringLiteral("UPDATE UNOS SET NOD=NOD WHERE IDUNOS=:I"));
    sql.setInt(QStringLiteral("I"), entryId);
    sql.execute();
    std::printf("held\n");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    data.write.commit();
    return 0;
}

} // namespace

class TestSharedDatabase : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void createAndUpgradeThroughTheServer();
    void wrongAccountAndUnreachableServerNameTheHost();
    void clerkWithoutARightIsToldTheGrant();
    void urlFormOfTheLocation();
    void lostConnectionIsJoinedAgainAtOnce();
    void sameEntryStoredByTwoClerks();
    void twoProgramsStoringAtOnceLoseNothing();
    void eachSeesTheOthersStores();
};

void TestSharedDatabase::initTestCase()
{
    if (qEnvironmentVariable("VELTRA_TEST_SERVER").isEmpty())
        QSKIP("No Firebird server (scripts/test.sh starts one)");
}

void TestSharedDatabase::createAndUpgradeThroughTheServer()
{
    TempDatabase db(TempDatabase::Schema::Base);
    QVERIFY(db.path().startsWith(qEnvironmentVariable("VELTRA_TEST_SERVER") + QLatin1Char(':')));
    // The command line, as an office sets its database up from any computer.
    QProcess upgrade;
    upgrade.setProcessEnvironment([] {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VELTRA_USER"), TestAccount().user);
        env.insert(QStringLiteral("VELTRA_PASSWORD"), TestAccount().password);
        return env;
    }());
    upgrade.start(QCoreApplication::applicationDirPath() + QStringLiteral("/veltra"),
                  {QStringLiteral("--upgrade-database"), db.path()});
    QVERIFY(upgrade.waitForFinished(60000));
    QCOMPARE(upgrade.readAllStandardOutput(), QByteArray());
    QCOMPARE(upgrade.exitCode(), 0);
    // A second database at the same place is refused by the server.
    upgrade.start(QCoreApplication::applicationDirPath() + QStringLiteral("/veltra"),
                  {QStringLiteral("--create-database"), db.path()});
    QVERIFY(upgrade.waitForFinished(60000));
    QCOMPARE(upgrade.exitCode(), 1);

    TestConnection data;
    QCOMPARE(ConnectUpgraded(data, db.path()), QStringList());
    QVERIFY(QueryNumber(data, QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='SKENLOG'")) == 1);
}

void TestSharedDatabase::wrongAccountAndUnreachableServerNameTheHost()
{
    TempDatabase db;
    const QString host = qEnvironmentVariable("VELTRA_TEST_SERVER");
    DatabaseAccount wrong = TestAccount();
    wrong.password += QStringLiteral("x");
    QStringList messages;
    QStringList details;
    const auto collect = [&](const QString& message, const QString& detail) {
        messages << message;
        details << detail;
    };
    TestConnection data;
    QVERIFY(!ConnectAndUpgrade(data.connection, db.path(), collect, wrong));
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(host) && messages[0].contains(QStringLiteral("ne prihvaća korisnika")),
             qPrintable(messages[0]));
    QVERIFY(!messages[0].contains(wrong.password) && !details[0].contains(wrong.password));

    messages.clear();
    // Nothing listens on this port.
    QVERIFY(!ConnectAndUpgrade(data.connection, host + QStringLiteral("/3999:/nema/VT.FDB"), collect, TestAccount()));
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(host) && messages[0].contains(QStringLiteral("nije dostupan")), qPrintable(messages[0]));
    QVERIFY2(messages[0].contains(QStringLiteral("vrata 3999")), qPrintable(messages[0]));
}

void TestSharedDatabase::clerkWithoutARightIsToldTheGrant()
{
    const DatabaseAccount clerk{qEnvironmentVariable("VELTRA_SERVER_CLERK_USER"),
                                qEnvironmentVariable("VELTRA_SERVER_CLERK_PASSWORD")};
    if (clerk.user.isEmpty())
        QSKIP("No clerk's account on this server (scripts/firebird_server.sh makes one)");
    TempDatabase db;
    GrantClerkRights(db.path(), clerk.user, QStringLiteral("VOZACI"));
    const QString told = QStringLiteral("Korisnik %1 nema pravo SELECT na tablici VOZACI u bazi podataka %2. To nije "
                                        "oštećenje baze: administrator baze (SYSDBA) korisniku daje prava naredbom\n"
                                        "    GRANT SELECT, INSERT, UPDATE, DELETE ON VOZACI TO USER %1;\n")
                             .arg(clerk.user.toUpper(), db.path());

    // The program's start.
    QStringList messages;
    TestConnection data;
    ConnectAndUpgrade(data.connection, db.path(), [&](const QString& message, const QString&) { messages << message; }, clerk);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].startsWith(told), qPrintable(messages[0]));

    // The command line, with the account every Firebird tool reads.
    const auto upgrade = [&] {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("VELTRA_USER"));
        env.remove(QStringLiteral("VELTRA_PASSWORD"));
        env.insert(QStringLiteral("ISC_USER"), clerk.user);
        env.insert(QStringLiteral("ISC_PASSWORD"), clerk.password);
        process.setProcessEnvironment(env);
        process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/veltra"),
                      {QStringLiteral("--upgrade-database"), db.path()});
        process.waitForFinished(60000);
        return std::pair{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
    };
    const auto [refusedExit, refusedOut] = upgrade();
    QCOMPARE(refusedExit, 1);
    QVERIFY2(refusedOut.startsWith(told), qPrintable(refusedOut));

    // Given the instructions' rights in full, the clerk's start is clean.
    GrantClerkRights(db.path(), clerk.user);
    QCOMPARE(upgrade(), std::pair(0, QString()));
}

// The URL form of a location takes an absolute path after a second slash; the form with one
// slash, which the server reads as a relative path, is told how to write it.
void TestSharedDatabase::urlFormOfTheLocation()
{
    TempDatabase db;
    const QString file = db.path().mid(db.path().indexOf(QLatin1Char(':')) + 1);
    const QString host = qEnvironmentVariable("VELTRA_TEST_SERVER");
    QStringList messages;
    const auto collect = [&](const QString& message, const QString&) { messages << message; };
    TestConnection data;
    QVERIFY(ConnectAndUpgrade(data.connection, QStringLiteral("inet://%1/%2").arg(host, file), collect, TestAccount()));
    QCOMPARE(messages, QStringList());
    QVERIFY(!ConnectAndUpgrade(data.connection, QStringLiteral("inet://%1%2").arg(host, file), collect, TestAccount()));
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(QStringLiteral("inet://%1/%2").arg(host, file)), qPrintable(messages[0]));
}

void TestSharedDatabase::lostConnectionIsJoinedAgainAtOnce()
{
    TempDatabase db;
    TestConnection clerk;
    QCOMPARE(ConnectUpgraded(clerk, db.path()), QStringList());
    ManualEntry first = DayOfIntervals(0);
    QVERIFY(StoreManualEntry(clerk.write, first).done);
    { ReadScope scope(clerk.read); }

    // The server drops the clerk's connection, as a restart does.
    TestConnection admin;
    QCOMPARE(ConnectUpgraded(admin, db.path()), QStringList());
    clerk.write.startIfNotActive();
    const qint64 attachment = QueryNumber(clerk, QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE"));
    admin.write.startIfNotActive();
    Statement kill(admin.write);
    kill.prepare(QStringLiteral("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID=:A"));
    kill.setInt(QStringLiteral("A"), attachment);
    kill.execute();
    admin.write.commit();

    // Nothing of the next piece of work had started: it connects again and goes through.
    ManualEntry second = DayOfIntervals(1);
    const WriteResult stored = StoreManualEntry(clerk.write, second);
    QVERIFY2(stored.done, qPrintable(stored.message));
    QVERIFY(LoadEntry(clerk.read, first.entryId, {}).has_value());
    QCOMPARE(QueryNumber(admin, QStringLiteral("SELECT COUNT(*) FROM UNOS")), 2);
}

void TestSharedDatabase::sameEntryStoredByTwoClerks()
{
    TempDatabase db;
    TestConnection clerk;
    QCOMPARE(ConnectUpgraded(clerk, db.path()), QStringList());
    ManualEntry entry = DayOfIntervals(0);
    QVERIFY(StoreManualEntry(clerk.write, entry).done);

    QProcess other;
    other.start(QCoreApplication::applicationFilePath(), {kHoldEntry, db.path(), QString::number(entry.entryId)});
    QVERIFY(other.waitForReadyRead(60000));
    QCOMPARE(other.readLine().trimmed(), QByteArray("held"));

    entry.remark = QStringLiteral("Promjena drugog djelatnika");
    const WriteResult refused = StoreManualEntry(clerk.write, entry);
    QVERIFY(!refused.done);
    QVERIFY2(refused.message.startsWith(QStringLiteral("Drugi korisnik upravo mijenja iste podatke")),
             qPrintable(refused.message));
    QVERIFY2(refused.message.contains(QStringLiteral("lock conflict"), Qt::CaseInsensitive)
                 || refused.message.contains(QStringLiteral("update conflict"), Qt::CaseInsensitive),
             qPrintable(refused.message));
    QVERIFY(!clerk.write.isActive());

    other.write("\n");
    QVERIFY(other.waitForFinished(60000));
    QCOMPARE(other.exitCode(), 0);
    const WriteResult stored = StoreManualEntry(clerk.write, entry);
    QVERIFY2(stored.done, qPrintable(stored.message));
    QCOMPARE(LoadEntry(clerk.read, entry.entryId, {})->entry.remark, entry.remark);
}

void TestSharedDatabase::twoProgramsStoringAtOnceLoseNothing()
{
    TempDatabase db;
    QProcess a;
    QProcess b;
    a.start(QCoreApplication::applicationFilePath(), {kStoreMany, db.path(), QStringLiteral("0"),
                                                      QString::number(kEntriesPerProcess)});
    b.start(QCoreApplication::applicationFilePath(), {kStoreMany, db.path(), QString::number(kEntriesPerProcess),
                                                      QString::number(kEntriesPerProcess)});
    QVERIFY(a.waitForFinished(300000));
    QVERIFY(b.waitForFinished(300000));
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);
    QSet<int> ids;
    for (QProcess* child : {&a, &b}) {
        for (const QByteArray& line : child->readAllStandardOutput().split('\n')) {
            if (!line.isEmpty())
                ids.insert(line.toInt());
        }
    }
    QCOMPARE(ids.size(), 2 * kEntriesPerProcess);

    TestConnection data;
    QCOMPARE(ConnectUpgraded(data, db.path()), QStringList());
    QCOMPARE(QueryNumber(data, QStringLiteral("SELECT COUNT(*) FROM UNOS")), 2 * kEntriesPerProcess);
    QCOMPARE(QueryNumber(data, QStringLiteral("SELECT COUNT(DISTINCT DATUM) FROM DUNOS")), 2 * kEntriesPerProcess);
    QCOMPARE(QueryNumber(data, QStringLiteral("SELECT COUNT(*) FROM SATIUNOS")),
             2 * kEntriesPerProcess * kIntervalsPerEntry);
    // Every entry whole: one day, all its intervals, and the day's totals.
    QCOMPARE(QueryNumber(data, QStringLiteral("SELECT COUNT(*) FROM DUNOS D WHERE (SELECT COUNT(*) FROM SATIUNOS S "
                                              "WHERE S.IDDUNOS=D.IDD) <> %1 OR D.S4 <> 720")
                                   .arg(kIntervalsPerEntry)),
             0);
    for (int id : ids)
        QVERIFY(LoadEntry(data.read, id, {}).has_value());
}

void TestSharedDatabase::eachSeesTheOthersStores()
{
    TempDatabase db;
    TestConnection first;
    TestConnection second;
    QCOMPARE(ConnectUpgraded(first, db.path()), QStringList());
    QCOMPARE(ConnectUpgraded(second, db.path()), QStringList());
    { ReadScope scope(second.read); }
    ManualEntry entry = DayOfIntervals(3);
    QVERIFY(StoreManualEntry(first.write, entry).done);
    // The second program's open read transaction sees the commit at its next read.
    const std::optional<LoadedEntry> seen = LoadEntry(second.read, entry.entryId, {});
    QVERIFY(seen.has_value());
    QCOMPARE(seen->entry.intervals.size(), size_t(kIntervalsPerEntry));
}

int main(int argc, char** argv)
{
    if (argc == 5 && QByteArray(argv[1]) == kStoreMany) {
        QCoreApplication app(argc, argv);
        return StoreMany(QString::fromLocal8Bit(argv[2]), atoi(argv[3]), atoi(argv[4]));
    }
    if (argc == 4 && QByteArray(argv[1]) == kHoldEntry) {
        QCoreApplication app(argc, argv);
        return HoldEntry(QString::fromLocal8Bit(argv[2]), atoi(argv[3]));
    }
    QCoreApplication app(argc, argv);
    TestSharedDatabase test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shared_database.moc"
