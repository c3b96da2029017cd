#include <QProcess>
#include <QtTest>

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

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
