#include "temp_database.h"

#include "temp_database.h"
#include "entries/entry_store.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <csignal>
#include <cstdio>

namespace {

constexpr int kIntervalsPerEntry = 12;
constexpr int kKills = 8;
const char* const kStoreCommand = "--store-entries";

// A detailed day of kIntervalsPerEntry two-hour intervals.
ManualEntry DayOfIntervals(int dayNumber)
{
    std::vector<IntervalRow> rows;
    for (int i = 0; i < kIntervalsPerEntry; ++i) {
        const QString from = ClockText(i * 2 * kMinutesPerHour);
        const QString to = ClockText((i + 1) * 2 * kMinutesPerHour);
        rows.push_back({i % 2 ? ActivityKind::Driving : ActivityKind::Rest, from, to, "", ""});
    }
    ManualEntry entry;
    entry.driverId = 1;
    entry.vehicleId = 1;
    entry.date = QDate(2024, 1, 1).addDays(dayNumber);
    entry.intervals = IntervalsFromRows(rows);
    return entry;
}

// The child: stores one entry after another and tells the id of each acknowledged store.
int StoreEntriesForever(const QString& path)
{
    TestConnection data;
    if (!ConnectUpgraded(data, path).isEmpty())
        return 1;
    for (int day = 0;; ++day) {
        ManualEntry entry = DayOfIntervals(day);
        if (!StoreManualEntry(data.write, entry).done)
            return 1;
        std::printf("%d\n", entry.entryId);
        std::fflush(stdout);
    }
}

}  // namespace

class TestEntryCrashSafety : public QObject {
    Q_OBJECT
private slots:
    void killedStoresLeaveWholeEntries();
};

// The storing process is killed (SIGKILL) at random moments; afterwards every acknowledged
// entry is there, and every entry is whole: its day and all its intervals, or nothing.
void TestEntryCrashSafety::killedStoresLeaveWholeEntries()
{
    TempDatabase db;
    QSet<int> acknowledged;
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {kStoreCommand, db.path()});
        QVERIFY(child.waitForReadyRead(30000));
        QTest::qWait(QRandomGenerator::global()->bounded(5, 150));
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
            if (!line.isEmpty())
                acknowledged.insert(line.toInt());
        }
    }
    QVERIFY(acknowledged.size() >= kKills);
    qInfo("%lld entries acknowledged", qlonglong(acknowledged.size()));

    TestConnection data;
    QCOMPARE(ConnectUpgraded(data, db.path()), QStringList());
    for (const int id : acknowledged)
        QCOMPARE(QueryNumber(data, QStringLiteral("SELECT COUNT(*) FROM UNOS WHERE IDUNOS = %1").arg(id)), 1);
    const QStringList brokenEntries{
        "SELECT COUNT(*) FROM UNOS U WHERE (SELECT COUNT(*) FROM DUNOS D WHERE D.IDUNOS = U.IDUNOS) <> 1",
        "SELECT COUNT(*) FROM DUNOS D WHERE NOT EXISTS (SELECT 1 FROM UNOS U WHERE U.IDUNOS = D.IDUNOS)",
        QStringLiteral("SELECT COUNT(*) FROM DUNOS D WHERE (SELECT COUNT(*) FROM SATIUNOS S WHERE S.IDDUNOS = D.IDD) <> %1")
            .arg(kIntervalsPerEntry),
        "SELECT COUNT(*) FROM SATIUNOS S WHERE NOT EXISTS (SELECT 1 FROM DUNOS D WHERE D.IDD = S.IDDUNOS)",
    };
    for (const QString& sql : brokenEntries)
        QVERIFY2(QueryNumber(data, sql) == 0, qPrintable(sql));
}

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], kStoreCommand) == 0)
        return StoreEntriesForever(QString::fromLocal8Bit(argv[2]));
    TestEntryCrashSafety test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_entry_crash_safety.moc"
