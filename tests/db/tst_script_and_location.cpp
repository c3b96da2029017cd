#include "db/database_location.h"
#include "db/script.h"

#include <QtTest>

#include <sys/stat.h>

class TestScriptAndLocation : public QObject {
    Q_OBJECT
private slots:
    void splitStatements_data();
    void splitStatements();
    void databaseLocation_data();
    void databaseLocation();
    void locationFileThatIsNoFile();
    void serverLocationAndAccount_data();
    void serverLocationAndAccount();
    void serverHosts_data();
    void serverHosts();
};

void TestScriptAndLocation::splitStatements_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("statements");
    QTest::newRow("terminators") << "CREATE GENERATOR G;\nCREATE INDEX I ON T (A);  \n"
                                 << QStringList{"CREATE GENERATOR G", "CREATE INDEX I ON T (A)"};
    QTest::newRow("last without terminator") << "A; B" << QStringList{"A", "B"};
    QTest::newRow("semicolon in text") << "INSERT INTO T VALUES ('a;b');" << QStringList{"INSERT INTO T VALUES ('a;b')"};
    QTest::newRow("set term around a trigger")
        << "SET TERM ^ ; CREATE TRIGGER VOZILO_BI FOR VOZILO ACTIVE BEFORE INSERT POSITION 0\n"
           "AS BEGIN   IF (NEW.IDVOZ IS NULL) THEN      NEW.IDVOZ = GEN_ID(GEN_VOZILO_ID,1); END \n"
           "^ SET TERM ; ^ \nCREATE INDEX X ON T (A);"
        << QStringList{"CREATE TRIGGER VOZILO_BI FOR VOZILO ACTIVE BEFORE INSERT POSITION 0\n"
                       "AS BEGIN   IF (NEW.IDVOZ IS NULL) THEN      NEW.IDVOZ = GEN_ID(GEN_VOZILO_ID,1); END",
                       "CREATE INDEX X ON T (A)"};
}

void TestScriptAndLocation::splitStatements()
{
    QFETCH(QString, script);
    QTEST(Script::SplitStatements(script), "statements");
}

void TestScriptAndLocation::databaseLocation_data()
{
    QTest::addColumn<QByteArray>("locationText");  // empty: no VTDB.DAT
    QTest::addColumn<bool>("namesExistingFile");
    QTest::addColumn<bool>("expectNamed");
    QTest::addColumn<QString>("problem"); // a part of the message; empty: none
    QTest::newRow("no location file") << QByteArray() << false << false << "";
    QTest::newRow("blanks and a line break") << QByteArray("  %1  \r\n") << true << true << "";
    QTest::newRow("missing target") << QByteArray("%1") << false << false << "takve datoteke nema";
    QTest::newRow("two lines") << QByteArray("%1\r\n%1\r\n") << true << false << "nevidljivi znakovi";
    QTest::newRow("binary garbage") << QByteArray("%1\x01\xff\x7f\x02") << true << false << "nevidljivi znakovi";
    QTest::newRow("empty") << QByteArray(" \r\n") << false << false << "je prazna";
}

void TestScriptAndLocation::databaseLocation()
{
    QFETCH(QByteArray, locationText);
    QFETCH(bool, namesExistingFile);
    QFETCH(bool, expectNamed);
    QFETCH(QString, problem);
    QTemporaryDir program, working, data;
    const QString named = data.filePath("Podaci VT.FDB");
    if (namesExistingFile) {
        QFile file(named);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (!locationText.isEmpty()) {
        QFile location(working.filePath("VTDB.DAT"));
        QVERIFY(location.open(QIODevice::WriteOnly));
        location.write(QString::fromLatin1(locationText).arg(named).toLocal8Bit());
    }
    const QString expected = expectNamed ? named : QDir(program.path()).filePath("VT.FDB");
    QCOMPARE(DatabaseLocation(program.path(), working.path()), expected);
    // The operator is told which file could not be used, and why.
    const QString told = DatabaseLocationProblem(working.path());
    QCOMPARE(told.isEmpty(), problem.isEmpty());
    if (!problem.isEmpty()) {
        QVERIFY2(told.contains(problem), qPrintable(told));
        QVERIFY(told.contains(QDir::toNativeSeparators(working.filePath("VTDB.DAT"))));
    }
    // A location file beside the program, not in the working folder, is not seen.
    QCOMPARE(DatabaseLocation(working.path(), program.path()), QDir(working.path()).filePath("VT.FDB"));
}

// A folder or FIFO named VTDB.DAT gives the default database, with a message, and does not
// block the start.
void TestScriptAndLocation::locationFileThatIsNoFile()
{
    QTemporaryDir program, working;
    const QString expected = QDir(program.path()).filePath("VT.FDB");
    QCOMPARE(DatabaseLocationProblem(working.path()), QString());
    QVERIFY(QDir(working.path()).mkdir("VTDB.DAT"));
    QCOMPARE(DatabaseLocation(program.path(), working.path()), expected);
    QVERIFY(DatabaseLocationProblem(working.path()).contains(QStringLiteral("nije obična datoteka")));
    QVERIFY(QDir(working.path()).rmdir("VTDB.DAT"));
    QCOMPARE(mkfifo(QFile::encodeName(working.filePath("VTDB.DAT")).constData(), 0600), 0);
    QCOMPARE(DatabaseLocation(program.path(), working.path()), expected);
}

void TestScriptAndLocation::serverLocationAndAccount_data()
{
    QTest::addColumn<QByteArray>("locationText");
    QTest::addColumn<QString>("location"); // empty: the default database
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::newRow("server, default account") << QByteArray("ured:/srv/veltra/VT.FDB\r\n")
                                             << "ured:/srv/veltra/VT.FDB" << "SYSDBA" << "corbelwin";
    QTest::newRow("server with port and account")
        << QByteArray("ured/3051:/srv/veltra/VT.FDB\r\nuser=VELTRA\r\npassword= tajna =1\r\n")
        << "ured/3051:/srv/veltra/VT.FDB" << "VELTRA" << " tajna =1";
    QTest::newRow("url form, user only") << QByteArray("inet://10.0.0.5/srv/VT.FDB\nUSER = ana\n")
                                         << "inet://10.0.0.5/srv/VT.FDB" << "ana" << "corbelwin";
    QTest::newRow("missing local file with an account") << QByteArray("/nema/VT.FDB\nuser=ana\npassword=x\n")
                                                        << "" << "SYSDBA" << "corbelwin";
}

void TestScriptAndLocation::serverLocationAndAccount()
{
    QFETCH(QByteArray, locationText);
    QFETCH(QString, location);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QTemporaryDir program, working;
    QFile file(working.filePath("VTDB.DAT"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(locationText);
    file.close();
    const DatabaseTarget target = ReadDatabaseTarget(program.path(), working.path());
    QCOMPARE(target.location, location.isEmpty() ? QDir(program.path()).filePath("VT.FDB") : location);
    QCOMPARE(target.account.user, user);
    QCOMPARE(target.account.password, password);
}

void TestScriptAndLocation::serverHosts_data()
{
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("port");
    QTest::newRow("host and path") << "ured:/srv/VT.FDB" << "ured" << "3050";
    QTest::newRow("host, port and path") << "192.168.1.10/3051:/srv/VT.FDB" << "192.168.1.10" << "3051";
    QTest::newRow("host, service and path") << "localhost/gds_db:/srv/VT.FDB" << "localhost" << "gds_db";
    QTest::newRow("url") << "inet://ured.firma.hr/srv/VT.FDB" << "ured.firma.hr" << "3050";
    QTest::newRow("url with port") << "inet4://ured:3051/srv/VT.FDB" << "ured" << "3051";
    QTest::newRow("local path") << "/srv/veltra/VT.FDB" << "" << "";
    QTest::newRow("drive letter") << "C:/VELTRA/VT.FDB" << "" << "";
    QTest::newRow("relative name") << "VT.FDB" << "" << "";
}

void TestScriptAndLocation::serverHosts()
{
    QFETCH(QString, location);
    QFETCH(QString, host);
    QFETCH(QString, port);
    QCOMPARE(ServerHost(location), host);
    QCOMPARE(IsServerLocation(location), !host.isEmpty());
    if (!host.isEmpty())
        QCOMPARE(ServerPort(location), port);
}

QTEST_GUILESS_MAIN(TestScriptAndLocation)
#include "tst_script_and_location.moc"
