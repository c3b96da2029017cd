#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include <csignal>

namespace {

struct Run {
    int exitCode;
    QString out;
    QString err;
};

Run Veltra(const QStringList& arguments)
{
    QProcess process;
    process.start(QCoreApplication::applicationDirPath() + "/veltra", arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void createThenUpgrade();
    void upgradeOfMissingFileFails();
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
