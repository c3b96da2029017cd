#include "card_file_writer.h"
#include "temp_database.h"
#include "tool_run.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int H = 60;

ToolRun RunDdd(const QStringList& arguments)
{
    return RunTool(QStringLiteral("veltra-ddd"), arguments, 120000);
}

// Summer: 05:00 to 09:00 UTC driving in a crew, 09:00 to 10:00 available from the co-driver slot.
TestCard SummerCard(CardGeneration generation)
{
    TestCard card;
    card.generation = generation;
    card.days = {{QDate(2025, 7, 9), 0, {{0, kCardRest}}},
                 {QDate(2025, 7, 10), 321, {{0, kCardRest}, {5 * H, kCardDriving, false, true}, {9 * H, kCardAvailability, true}, {10 * H, kCardRest}}},
                 {QDate(2025, 7, 11), 0, {{0, kCardRest}}}};
    card.vehicles = {{QStringLiteral("ZG 1234-AB"), 0x19, 1000, 1321, Utc(2025, 7, 10, 5), Utc(2025, 7, 10, 10)}};
    return card;
}

} // namespace

class TestVeltraDdd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void printsHolderAndDaysInLocalTime();
    void jsonOfBothGenerations();
    void damagedFileIsReportedAndTheOthersRead();
    void importsOnceAndReportsConflictsAfterwards();
    void signatureCheckedWithTheGivenRootKey();
    void usage();

private:
    QTemporaryDir m_folder;
    QString m_gen1;
    QString m_gen2;
};

void TestVeltraDdd::initTestCase()
{
    m_gen1 = m_folder.filePath(QStringLiteral("horvat.ddd"));
    m_gen2 = m_folder.filePath(QStringLiteral("horvat2.ddd"));
    QVERIFY(WriteBytes(m_gen1, WriteTestCard(SummerCard(CardGeneration::First)).bytes));
    QVERIFY(WriteBytes(m_gen2, WriteTestCard(SummerCard(CardGeneration::Second)).bytes));
}

void TestVeltraDdd::printsHolderAndDaysInLocalTime()
{
    const ToolRun run = RunDdd({m_gen1});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(QStringLiteral("Horvat Ivan, kartica H100000012345601 (HR), rođen 17.05.1980.\n")), qPrintable(run.out));
    QVERIFY(run.out.contains(QStringLiteral("potpis nije provjeren (nije zadan europski javni ključ)\n")));
    QVERIFY(run.out.contains(QStringLiteral("-- 2025-07-10\t321 km\tZG 1234-AB\n"
                                            "Aktivnost\tOd\tDo\tTrajanje\tOpis\tNapomena\n"
                                            "0\t00:00\t07:00\t07:00\tOdmor\t\t\n"
                                            "3\t07:00\t11:00\t04:00\tVožnja\tposada, ZG 1234-AB\t\n"
                                            "1\t11:00\t12:00\t01:00\tSpremnost\tsuvozač, ZG 1234-AB\t\n"
                                            "0\t12:00\t24:00\t12:00\tOdmor\t\t\n")));
}

void TestVeltraDdd::jsonOfBothGenerations()
{
    const ToolRun run = RunDdd({QStringLiteral("--json"), m_gen1, m_gen2});
    QCOMPARE(run.exitCode, 0);
    const QJsonArray files = QJsonDocument::fromJson(run.out.toUtf8()).array();
    QCOMPARE(files.size(), 2);
    for (const QJsonValue& value : files) {
        const QJsonObject file = value.toObject();
        QCOMPARE(file[QStringLiteral("card")].toString(), QStringLiteral("H100000012345601"));
        QCOMPARE(file[QStringLiteral("holder")].toString(), QStringLiteral("Horvat Ivan"));
        const QJsonArray days = file[QStringLiteral("days")].toArray();
        const auto day = std::find_if(days.begin(), days.end(), [](const QJsonValue& d) {
            return d.toObject()[QStringLiteral("date")].toString() == QStringLiteral("2025-07-10");
        });
        QVERIFY(day != days.end());
        QCOMPARE(day->toObject()[QStringLiteral("km")].toInt(), 321);
        const QJsonArray intervals = day->toObject()[QStringLiteral("intervals")].toArray();
        QCOMPARE(intervals.size(), 4);
        const QJsonObject driving = intervals[1].toObject();
        QCOMPARE(driving[QStringLiteral("start")].toString(), QStringLiteral("07:00"));
        QCOMPARE(driving[QStringLiteral("end")].toString(), QStringLiteral("11:00"));
        QCOMPARE(driving[QStringLiteral("activity")].toInt(), 3);
        QCOMPARE(driving[QStringLiteral("crew")].toBool(), true);
        QCOMPARE(driving[QStringLiteral("slot")].toString(), QStringLiteral("driver"));
        QCOMPARE(intervals[2].toObject()[QStringLiteral("slot")].toString(), QStringLiteral("co-driver"));
        QCOMPARE(intervals[3].toObject()[QStringLiteral("end")].toString(), QStringLiteral("24:00"));
    }
    QCOMPARE(files[1].toObject()[QStringLiteral("generation")].toInt(), 2);
}

void TestVeltraDdd::damagedFileIsReportedAndTheOthersRead()
{
    const QString cut = m_folder.filePath(QStringLiteral("prekinuta.ddd"));
    QVERIFY(WriteBytes(cut, WriteTestCard(SummerCard(CardGeneration::First)).bytes.left(2000)));
    const ToolRun run = RunDdd({cut, m_gen1});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith(QStringLiteral("prekinuta.ddd: ")), qPrintable(run.err));
    QVERIFY(run.out.contains(QStringLiteral("== ") + m_gen1));
}

void TestVeltraDdd::importsOnceAndReportsConflictsAfterwards()
{
    TempDatabase db;
    const ToolRun first = RunDdd({QStringLiteral("--import"), db.path(), m_gen1});
    QVERIFY2(first.exitCode == 0, qPrintable(first.err + first.out));
    QVERIFY2(first.out.contains(QStringLiteral("horvat.ddd: Horvat Ivan (H100000012345601), 2 dana: uvezeno 2, novi vozač, "
                                               "novih vozila 1; potpis nije provjeren")),
             qPrintable(first.out));

    const ToolRun again = RunDdd({QStringLiteral("--import"), db.path(), m_gen1});
    QCOMPARE(again.exitCode, 0);
    QVERIFY2(again.out.contains(QStringLiteral("2 dana: uvezeno 0, već uvezeno 2;")), qPrintable(again.out));

    // The same days from another download with a different 10th: a conflict, printed and kept.
    TestCard other = SummerCard(CardGeneration::Second);
    other.days[1].changes[2].minute = 9 * H + 30;
    const QString otherPath = m_folder.filePath(QStringLiteral("druga.ddd"));
    QVERIFY(WriteBytes(otherPath, WriteTestCard(other).bytes));
    const ToolRun conflict = RunDdd({QStringLiteral("--import"), db.path(), otherPath});
    QCOMPARE(conflict.exitCode, 0);
    QVERIFY2(conflict.out.contains(QStringLiteral("Sukob 10.07.2025: kartica odmor 19:00, spremnost 00:30, rad 00:00, vožnja 04:30, 321 km\n"
                                                  "    postoji Digitalna kartica: odmor 19:00, spremnost 01:00, rad 00:00, vožnja 04:00, 321,00 km\n")),
             qPrintable(conflict.out));
    QVERIFY(conflict.out.contains(QStringLiteral("uvezeno 0, već uvezeno 1, sukoba zadržano 1;")));
}

void TestVeltraDdd::signatureCheckedWithTheGivenRootKey()
{
    const TestSigning signing = MakeTestSigning();
    TestCard card = SummerCard(CardGeneration::First);
    card.signing = &signing;
    const QString signedPath = m_folder.filePath(QStringLiteral("potpisana.ddd"));
    const QString keyPath = m_folder.filePath(QStringLiteral("EUR.PK"));
    QVERIFY(WriteBytes(signedPath, WriteTestCard(card).bytes));
    QVERIFY(WriteBytes(keyPath, EuropeanKeyFile(signing.root)));

    QVERIFY(RunDdd({QStringLiteral("--key"), keyPath, signedPath}).out.contains(QStringLiteral("\npotpis provjeren\n")));
    // The unsigned files, another root key, a changed byte: never called verified.
    QVERIFY(RunDdd({QStringLiteral("--key"), keyPath, m_gen1}).out.contains(QStringLiteral("\npotpis NIJE ispravan: certifikat države članice")));
    QVERIFY(RunDdd({QStringLiteral("--key"), keyPath, m_gen2}).out.contains(QStringLiteral("\npotpis nije provjeren (provjera potpisa kartica 2. generacije")));
    const QString otherKey = m_folder.filePath(QStringLiteral("drugi.PK"));
    QVERIFY(WriteBytes(otherKey, EuropeanKeyFile(MakeTestRsaKey(signing.root.keyId))));
    QVERIFY(RunDdd({QStringLiteral("--key"), otherKey, signedPath}).out.contains(QStringLiteral("\npotpis NIJE ispravan: certifikat države članice")));
    TestCardFile changed = WriteTestCard(card);
    changed.bytes[changed.activityHeader + 5 + 4 + 10] = char(0x7F); // the first day's distance
    const QString changedPath = m_folder.filePath(QStringLiteral("promijenjena.ddd"));
    QVERIFY(WriteBytes(changedPath, changed.bytes));
    QVERIFY(RunDdd({QStringLiteral("--key"), keyPath, changedPath}).out.contains(QStringLiteral("\npotpis NIJE ispravan: potpis EF 0504 ne odgovara sadržaju\n")));
}

void TestVeltraDdd::usage()
{
    const ToolRun none = RunDdd({});
    QCOMPARE(none.exitCode, 2);
    QVERIFY(none.err.contains(QStringLiteral("Upotreba: veltra-ddd")));
    QCOMPARE(RunDdd({QStringLiteral("--vrsta"), m_gen1}).exitCode, 2);
}

QTEST_GUILESS_MAIN(TestVeltraDdd)
#include "tst_veltra_ddd.moc"
