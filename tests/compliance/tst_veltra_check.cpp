#include "temp_database.h"
#include "tool_run.h"

#include "temp_database.h"
#include "entries/entry_store.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {

ToolRun RunCheck(const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELTRA_USER"), TestAccount().user);
    environment.insert(QStringLiteral("VELTRA_PASSWORD"), TestAccount().password);
    return RunTool(QStringLiteral("veltra-check"), arguments, 60000, environment);
}

void Store(TestConnection& data, int driver, const QDate& date, std::vector<ActivityInterval> intervals)
{
    ManualEntry entry;
    entry.driverId = driver;
    entry.vehicleId = 1;
    entry.date = date;
    entry.intervals = std::move(intervals);
    QVERIFY(StoreManualEntry(data.write, entry).done);
}

ActivityInterval Driving(int from, int to)
{
    return ActivityInterval{ActivityKind::Driving, from, to, {}, {}};
}

ActivityInterval Rest(int from, int to)
{
    return ActivityInterval{ActivityKind::Rest, from, to, {}, {}};
}

}  // namespace

class TestVeltraCheck : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void jsonOfEveryDriverAndOfOne();
    void textLines();
    void gapsAsJsonAndText();
    void cannotRun_data();
    void cannotRun();

private:
    TempDatabase m_file;
};

void TestVeltraCheck::initTestCase()
{
    TestConnection data;
    QCOMPARE(ConnectUpgraded(data, m_file.path()), QStringList());
    data.write.startIfNotActive();
    data.script.execute("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC) VALUES (5, 'Babić Ana', 1);\n"
                           "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC) VALUES (6, 'Šarić Ivo', 1);");
    data.write.commit();
    // Driver 5 on Wednesday 4 March 2026: 10 h 01 of driving from 06:00 with two breaks.
    Store(data, 5, QDate(2026, 3, 4), {Driving(360, 630), Rest(630, 675), Driving(675, 945), Rest(945, 990),
                                       Driving(990, 1051)});
    // Driver 6 on Thursday: 4 h 31 without a break, then 45 minutes and 1 h.
    Store(data, 6, QDate(2026, 3, 5), {Driving(360, 631), Rest(631, 676), Driving(676, 736)});
}

void TestVeltraCheck::jsonOfEveryDriverAndOfOne()
{
    const ToolRun all = RunCheck({"--from", "2026-03-02", "--to", "2026-03-08", "--json", m_file.path()});
    QCOMPARE(all.exitCode, 0);
    const QJsonArray found = QJsonDocument::fromJson(all.out.toUtf8()).array();
    QCOMPARE(found.size(), 2);
    QCOMPARE(found[0].toObject(), (QJsonObject{{"driver", 5},
                                                {"rule", "561/6.1"},
                                                {"start", "2026-03-04T06:00"},
                                                {"end", "2026-03-04T17:31"},
                                                {"value", 601},
                                                {"limit", 600},
                                                {"severity", QJsonValue::Null}}));
    QCOMPARE(found[1].toObject()[QStringLiteral("driver")].toInt(), 6);
    QCOMPARE(found[1].toObject()[QStringLiteral("rule")].toString(), QStringLiteral("561/7"));
    QCOMPARE(found[1].toObject()[QStringLiteral("value")].toInt(), 271);

    const ToolRun one = RunCheck({"--driver", "6", "--json", "--from", "2026-03-02", "--to", "2026-03-08", m_file.path()});
    QCOMPARE(one.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(one.out.toUtf8()).array().size(), 1);

    const ToolRun none = RunCheck({"--from", "2026-04-01", "--to", "2026-04-30", "--json", m_file.path()});
    QCOMPARE(none.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(none.out.toUtf8()).array().size(), 0);
}

void TestVeltraCheck::textLines()
{
    const ToolRun run = RunCheck({"--from", "2026-03-02", "--to", "2026-03-08", m_file.path()});
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].startsWith(QStringLiteral("5\tBabić Ana\t561/6.1\t04.03.2026 06:00 - 04.03.2026 17:31\t10:01 / 10:00\t-\t")));
    QCOMPARE(lines[2], QStringLiteral("Razdoblje 02.03.2026 - 08.03.2026: prekršaja 2, vozača 2."));
}

void TestVeltraCheck::gapsAsJsonAndText()
{
    // Šarić's attestation without an end starts in the middle of his driving.
    {
        TestConnection data;
        QCOMPARE(ConnectUpgraded(data, m_file.path()), QStringList());
        data.write.startIfNotActive();
        data.script.execute("INSERT INTO AKTPOTVRDA (IDP, IDVOZ, TIP, RAZOD) VALUES (40, 6, 4, '2026-03-05 08:00');");
        data.write.commit();
    }

    const ToolRun run = RunCheck({"--gaps", "--json", "--from", "2026-03-02", "--to", "2026-03-08", m_file.path()});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const auto item = [](int driver, const char* kind, const char* start, const char* end) {
        return QJsonObject{{"driver", driver}, {"kind", kind}, {"start", start}, {"end", end}};
    };
    const QJsonArray expected{item(5, "gap", "2026-03-02T00:00", "2026-03-04T06:00"),
                              item(5, "gap", "2026-03-04T17:31", "2026-03-09T00:00"),
                              item(6, "gap", "2026-03-02T00:00", "2026-03-05T06:00"),
                              item(6, "overlap-work", "2026-03-05T08:00", "2026-03-05T12:16"),
                              item(6, "open-end", "2026-03-05T08:00", "2026-03-05T10:31"),
                              item(6, "gap", "2026-03-06T00:00", "2026-03-09T00:00")};
    QCOMPARE(QJsonDocument::fromJson(run.out.toUtf8()).array(), expected);

    const ToolRun text = RunCheck({"--gaps", "--driver", "6", "--from", "2026-03-02", "--to", "2026-03-08", m_file.path()});
    QCOMPARE(text.exitCode, 0);
    const QStringList lines = text.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[0], QStringLiteral("6\tŠarić Ivo\tPraznina\t02.03.2026 00:00 - 05.03.2026 06:00\t78:00\tnema zapisa\t"
                                      "Vožnja od 05.03.2026 06:00"));
    QCOMPARE(lines[2], QStringLiteral("6\tŠarić Ivo\tPotvrda bez \"Do\", a iza nje ima zapisa\t"
                                      "05.03.2026 08:00 - 05.03.2026 10:31\tpotvrda 40"));
    QCOMPARE(lines[4], QStringLiteral("Razdoblje 02.03.2026 - 08.03.2026: praznina 2, sukoba 2, vozača 1."));
}

void TestVeltraCheck::cannotRun_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no database") << QStringList{"--json"} << "Nije navedena baza.";
    QTest::newRow("unknown option") << QStringList{"--gapz", "x.fdb"} << "Nepoznata opcija: --gapz";
    QTest::newRow("bad date") << QStringList{"--from", "4.3.2026", "x.fdb"} << "Datum nije oblika GGGG-MM-DD: 4.3.2026";
    QTest::newRow("backwards") << QStringList{"--from", "2026-03-08", "--to", "2026-03-02", "x.fdb"}
                               << "Razdoblje završava prije nego što počinje.";
    QTest::newRow("missing file") << QStringList{"/nonexistent/folder/VT.FDB"} << "";
}

void TestVeltraCheck::cannotRun()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const ToolRun run = RunCheck(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(!run.err.trimmed().isEmpty());
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

QTEST_MAIN(TestVeltraCheck)
#include "tst_veltra_check.moc"
