#include "temp_database.h"

#include "app/index_upkeep.h"
#include "temp_database.h"
#include "settings/settings_values.h"

#include <QtTest>

// The indexes are measured again a week after the last measuring, off the window's thread,
// and the day is kept in the settings file.
class TestIndexUpkeep : public QObject {
    Q_OBJECT
private slots:
    void dueAWeekAfter_data();
    void dueAWeekAfter();
    void measuresAndKeepsTheDay();
};

void TestIndexUpkeep::dueAWeekAfter_data()
{
    QTest::addColumn<std::optional<QDate>>("last");
    QTest::addColumn<bool>("due");
    const QDate today(2026, 3, 10);
    QTest::newRow("never") << std::optional<QDate>() << true;
    QTest::newRow("today") << std::optional(today) << false;
    QTest::newRow("six days ago") << std::optional(today.addDays(-6)) << false;
    QTest::newRow("a week ago") << std::optional(today.addDays(-7)) << true;
    QTest::newRow("a day ahead of the clock") << std::optional(today.addDays(1)) << true;
}

void TestIndexUpkeep::dueAWeekAfter()
{
    QFETCH(std::optional<QDate>, last);
    QFETCH(bool, due);
    QCOMPARE(IndexStatisticsDue(last, QDate(2026, 3, 10)), due);
}

void TestIndexUpkeep::measuresAndKeepsTheDay()
{
    TempDatabase db;
    TestConnection data;
    QCOMPARE(ConnectUpgraded(data, db.path()), QStringList());
    data.write.startIfNotActive();
    data.script.execute("INSERT INTO UNOS (IDUNOS, IDVOZAC, DV, TIP) VALUES (1, 7, '2025-01-01 10:00:00', 0);"
                           "INSERT INTO UNOS (IDUNOS, IDVOZAC, DV, TIP) VALUES (2, 8, '2025-01-02 10:00:00', 0);");
    data.write.commit();
    const QString selectivity =
        "SELECT CAST(RDB$STATISTICS * 10 AS INTEGER) FROM RDB$INDICES WHERE RDB$INDEX_NAME = 'UN_IDX1'";
    QCOMPARE(QueryNumber(data, selectivity), 0);

    QTemporaryDir folder;
    const QString settings = folder.filePath("postavke.dat");
    QVERIFY(WriteIndexStatisticsDay(settings, QDate::currentDate().addDays(-8)));
    IndexUpkeep upkeep(data.connection, settings);
    upkeep.check();
    QTRY_COMPARE(ReadIndexStatisticsDay(settings), std::optional(QDate::currentDate()));
    QCOMPARE(QueryNumber(data, selectivity), 5);  // two drivers
}

QTEST_GUILESS_MAIN(TestIndexUpkeep)
#include "tst_index_upkeep.moc"
