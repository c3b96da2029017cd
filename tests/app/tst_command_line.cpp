#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include "db/connection.h"
#include "temp_database.h"
#include "file_bytes.h"
#include "temp_database.h"

#include <QRandomGenerator>

#include <csignal>

namespace {

struct Run {
    int exitCode;
    QString out;
    QString err;
};

Run Veltra(const QStringList& arguments, const QStringList& environment = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"VELTRA_USER", "VELTRA_PASSWORD", "ISC_USER", "ISC_PASSWORD"})
        env.remove(QLatin1String(name));
    for (const QString& setting : environment)
        env.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    process.start(QCoreApplication::applicationDirPath() + "/veltra", arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

constexpr char kDataKind = 5;
constexpr qsizetype kChangeCounterPage = 2;

int PageSize(const QByteArray& file)
{
    return quint8(file[16]) | quint8(file[17]) << 8;
}

// The last page of the file that holds table rows.
qsizetype LastDataPage(const QByteArray& file)
{
    const int pageSize = PageSize(file);
    for (qsizetype page = file.size() / pageSize - 1; page > 0; --page) {
        if (file[page * pageSize] == kDataKind)
            return page;
    }
    return -1;
}

// The pages that differ; -1 when the sizes differ.
QList<qsizetype> ChangedPages(const QByteArray& before, const QByteArray& after)
{
    QList<qsizetype> changed;
    if (before.size() != after.size())
        return {-1};
    const int pageSize = PageSize(before);
    for (qsizetype at = 0; at < before.size(); at += pageSize) {
        if (before.mid(at, pageSize) != after.mid(at, pageSize))
            changed << at / pageSize;
    }
    return changed;
}

}  // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void createThenUpgrade();
    void upgradeOfMissingFileFails();
    void damagedDatabaseIsRefusedUnchanged_data();
    void damagedDatabaseIsRefusedUnchanged();
    void missingRightIsToldWithItsGrant_data();
    void missingRightIsToldWithItsGrant();
    void terminationEndsTheProgramCleanly_data();
    void terminationEndsTheProgramCleanly();
};

void TestCommandLine::createThenUpgrade()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("VT.FDB");
    QCOMPARE(Veltra({"--create-database", path}).exitCode, 0);
    QVERIFY(QFileInfo(path).size() > 0);

    const Run again = Veltra({"--create-database", path});
    QCOMPARE(again.exitCode, 1);
    QVERIFY2(again.err.contains("već postoji"), qPrintable(again.err));

    const Run upgrade = Veltra({"--upgrade-database", path});
    QCOMPARE(upgrade.exitCode, 0);
    QCOMPARE(upgrade.out, QString());
}

void TestCommandLine::upgradeOfMissingFileFails()
{
    QTemporaryDir folder;
    const Run run = Veltra({"--upgrade-database", folder.filePath("NEMA.FDB")});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out.trimmed(), QStringLiteral("Pogreška kod nadogradnje baze!"));
    QVERIFY(!run.err.trimmed().isEmpty());  // the database's own reason
}

void TestCommandLine::damagedDatabaseIsRefusedUnchanged_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    const QString damaged = QStringLiteral("Baza podataka %1 je oštećena ili nije baza ovog programa");
    QTest::newRow("cut to half") << "half" << damaged;
    QTest::newRow("its last data page cut off") << "last page" << damaged;
    QTest::newRow("a data page overwritten") << "data page" << damaged;
    QTest::newRow("a text file") << "text" << damaged;
    QTest::newRow("its page 2 zeroed") << "page 2" << damaged;
    QTest::newRow("a database of another program")
        << "foreign" << QStringLiteral("Baza podataka %1 nije baza ovog programa (u njoj nema tablica DJELATNICI, AKTPOTVRDA)");
}

void TestCommandLine::damagedDatabaseIsRefusedUnchanged()
{
    QFETCH(QString, damage);
    QFETCH(QString, message);
    TempDatabase db;
    {
        // Enough rows for many data pages.
        TestConnection data;
        QCOMPARE(ConnectUpgraded(data, db.path()), QStringList());
        data.sql.prepare("INSERT INTO SATIUNOS (IDDUNOS, TOD, TDO, TAKT) SELECT R.RDB$RELATION_ID, 0, 60, 3 "
                            "FROM RDB$RELATIONS R CROSS JOIN RDB$RELATION_FIELDS F");
        data.sql.execute();
        data.write.commit();
    }
    QByteArray file = ReadAll(db.path());
    const int pageSize = PageSize(file);
    const qsizetype lastData = LastDataPage(file);
    QVERIFY(lastData > 10);
    if (damage == "half") {
        file.truncate(file.size() / pageSize / 2 * pageSize);
    } else if (damage == "last page") {
        file.truncate(lastData * pageSize);
    } else if (damage == "data page") {
        for (qsizetype at = (lastData - 3) * pageSize; at < (lastData - 2) * pageSize; ++at)
            file[at] = char(QRandomGenerator::global()->bounded(6, 256));
    } else if (damage == "text") {
        file = "Ovo nije baza.\n";
    } else if (damage == "page 2") {
        file.replace(kChangeCounterPage * pageSize, pageSize, QByteArray(pageSize, '\0'));
    } else {
        QVERIFY(QFile::remove(db.path()));
        Connection connection;
        connection.setDatabaseName(db.path());
        connection.params() << "user_name=SYSDBA" << "password=corbelwin";
        connection.createDatabase("WIN1250");
    }
    if (damage != "foreign")
        QVERIFY(WriteAll(db.path(), file));
    const QByteArray before = ReadAll(db.path());

    const Run run = Veltra({"--upgrade-database", db.path()});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.out.startsWith(message.arg(db.path())), qPrintable(run.out));
    if (damage != "foreign")
        QVERIFY(!run.err.trimmed().isEmpty());  // what exactly is wrong
    // Refused means untouched, to the byte.
    if (damage != "text")
        QCOMPARE(ChangedPages(before, ReadAll(db.path())), QList<qsizetype>());
    else
        QCOMPARE(ReadAll(db.path()), before);
}

void TestCommandLine::missingRightIsToldWithItsGrant_data()
{
    // The embedded engine takes the user name as given and checks its rights.
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<bool>("upToDate");
    QTest::addColumn<QString>("leftOut");  // the table of the instructions' list not granted
    QTest::addColumn<QString>("message");  // its start; empty for none (and exit code 0)
    const QString noSelect = QStringLiteral("Korisnik UREDNIK nema pravo SELECT na tablici VOZACI u bazi podataka %1. "
                                            "To nije oštećenje baze: administrator baze (SYSDBA) korisniku daje prava "
                                            "naredbom\n    GRANT SELECT, INSERT, UPDATE, DELETE ON VOZACI TO USER UREDNIK;\n");
    QTest::newRow("the instructions' rights suffice") << QStringList{"VELTRA_USER=urednik"} << true << QString() << QString();
    QTest::newRow("no right on VOZACI") << QStringList{"VELTRA_USER=urednik"} << true << "VOZACI" << noSelect;
    QTest::newRow("the account of Firebird's tools") << QStringList{"ISC_USER=urednik", "ISC_PASSWORD=x"} << true
                                                     << "VOZACI" << noSelect;
    QTest::newRow("VELTRA_USER before ISC_USER") << QStringList{"VELTRA_USER=urednik", "ISC_USER=SYSDBA"} << true
                                                 << "VOZACI" << noSelect;
    QTest::newRow("an upgrade is the owner's")
        << QStringList{"VELTRA_USER=urednik"} << false << QString()
        << QStringLiteral("Korisnik UREDNIK nema pravo ALTER na tablici AKTPOTVRDA u bazi podataka %1. To nije oštećenje "
                          "baze: bazu treba nadograditi, a to smije samo njezin vlasnik. Administrator pokreće\n"
                          "    veltra --upgrade-database %1\n");
}

void TestCommandLine::missingRightIsToldWithItsGrant()
{
    QFETCH(QStringList, environment);
    QFETCH(bool, upToDate);
    QFETCH(QString, leftOut);
    QFETCH(QString, message);
    TempDatabase db(upToDate ? TempDatabase::Schema::Upgraded : TempDatabase::Schema::Base);
    GrantClerkRights(db.path(), QStringLiteral("UREDNIK"), leftOut);

    const Run run = Veltra({"--upgrade-database", db.path()}, environment);
    if (message.isEmpty()) {
        QCOMPARE(run.out, QString());
        QCOMPARE(run.exitCode, 0);
    } else {
        QVERIFY2(run.out.startsWith(message.arg(db.path())), qPrintable(run.out));
        QCOMPARE(run.exitCode, 1);
    }
}

void TestCommandLine::terminationEndsTheProgramCleanly_data()
{
    QTest::addColumn<int>("number");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestCommandLine::terminationEndsTheProgramCleanly()
{
    QFETCH(int, number);
    QTemporaryDir folder;
    const QString path = folder.filePath("VT.FDB");
    QCOMPARE(Veltra({"--create-database", path}).exitCode, 0);
    QFile location(folder.filePath("VTDB.DAT"));
    QVERIFY(location.open(QIODevice::WriteOnly));
    location.write(path.toLocal8Bit());
    location.close();

    QProcess program;
    program.setWorkingDirectory(folder.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(QCoreApplication::applicationDirPath() + "/veltra", {});
    QVERIFY(program.waitForStarted());
    // Running, with the database open by its first showing.
    QVERIFY(!program.waitForFinished(3000));
    QElapsedTimer timer;
    timer.start();
    ::kill(pid_t(program.processId()), number);
    QVERIFY(program.waitForFinished(5000));
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    // Detached: the embedded engine lets the next program open the file.
    const Run upgrade = Veltra({"--upgrade-database", path});
    QCOMPARE(upgrade.exitCode, 0);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
