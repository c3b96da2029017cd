#include "temp_database.h"

#include "temp_database.h"
#include "db/db_error.h"
#include "db/query_to_list.h"

#include <QtTest>

class TestQueryToList : public QObject {
    Q_OBJECT
private slots:
    void scaledNumberText_data();
    void scaledNumberText();
    void rowsBecomeItems();
    void errorKeepsRowsReadBefore();
};

void TestQueryToList::scaledNumberText_data()
{
    QTest::addColumn<qint64>("units");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QString>("text");
    QTest::newRow("trailing zeros") << qint64(1234500) << 3 << "1234,5";
    QTest::newRow("whole") << qint64(12000) << 3 << "12";
    QTest::newRow("zero") << qint64(0) << 3 << "0";
    QTest::newRow("below one, negative") << qint64(-250) << 3 << "-0,25";
    QTest::newRow("integer") << qint64(42) << 0 << "42";
}

void TestQueryToList::scaledNumberText()
{
    QFETCH(qint64, units);
    QFETCH(int, scale);
    QTEST(ScaledNumberText(units, scale), "text");
}

void TestQueryToList::rowsBecomeItems()
{
    TempDatabase db;
    TestConnection data;
    ConnectUpgraded(data, db.path());
    data.script.execute(
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, DATROD, ZAPOD) VALUES (1, 'Horvat Đuro', 1, '2009-09-25', NULL);"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC) VALUES (2, NULL, 1);"
        "INSERT INTO VOZILO (IDVOZ, MARKAITIP, OZNAKA, MASA) VALUES (1, 'MAN', 'ZG-1', 7.5);");
    data.write.commit();

    QStringList items{"stale"};
    QueryToList(data.connection, "SELECT IMEPREZIME, IDDJ, DATROD, ZAPOD FROM DJELATNICI ORDER BY IDDJ", "||", items);
    QCOMPARE(items, (QStringList{"Horvat Đuro||1||40081||", "||2||||"}));
    QVERIFY(!data.write.isActive());

    QueryToList(data.connection, "SELECT OZNAKA, MASA FROM VOZILO", "||", items);
    QCOMPARE(items, QStringList{"ZG-1||7,5"});
}

void TestQueryToList::errorKeepsRowsReadBefore()
{
    TempDatabase db;
    TestConnection data;
    ConnectUpgraded(data, db.path());
    data.script.execute("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME) VALUES (1, '10');"
                           "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME) VALUES (2, 'x');");
    data.write.commit();
    QStringList items;
    QVERIFY_THROWS_EXCEPTION(DbError, QueryToList(data.connection, "SELECT CAST(IMEPREZIME AS INTEGER) FROM DJELATNICI ORDER BY IDDJ",
                                                  "||", items));
    QCOMPARE(items, QStringList{"10"});
}

QTEST_GUILESS_MAIN(TestQueryToList)
#include "tst_query_to_list.moc"
