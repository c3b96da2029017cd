#include "temp_database.h"

#include "db/db_error.h"
#include "db/pick_item_query.h"

#include <QtTest>

class TestPickItemQuery : public QObject {
    Q_OBJECT
private slots:
    void rowsBecomeItems();
    void otherColumnsAreRefused_data();
    void otherColumnsAreRefused();
    void errorKeepsRowsReadBefore();
};

void TestPickItemQuery::rowsBecomeItems()
{
    TempDatabase db;
    TestConnection data;
    ConnectUpgraded(data, db.path());
    // Names are taken whole, whatever they hold: bars once split a name into fields.
    data.script.execute(
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, RADNOMJESTO, VOZAC) VALUES (1, 'Horvat Đuro', 'Vozač', 1);"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC) VALUES (2, NULL, 1);"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, RADNOMJESTO, VOZAC) VALUES (3, 'Kovač||Ivić|Ana', '', 0);"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, RADNOMJESTO, VOZAC) VALUES (4, '', 'a||b', 0);"
        "INSERT INTO VOZILO (IDVOZ, MARKAITIP, OZNAKA, MASA) VALUES (7, 'MAN', 'ZG-1', 7.5);");
    data.write.commit();

    std::vector<PickItem> items{PickItem{9, "stale", ""}};
    QueryPickItems(data.connection, "SELECT IMEPREZIME, IDDJ, RADNOMJESTO FROM DJELATNICI ORDER BY IDDJ", items);
    const std::vector<PickItem> employees{
        {1, QStringLiteral("Horvat Đuro"), QStringLiteral("Vozač")},
        {2, "", ""},
        {3, QStringLiteral("Kovač||Ivić|Ana"), ""},
        {4, "", "a||b"},
    };
    QVERIFY(items == employees);
    QVERIFY(!data.write.isActive());

    // Without a third column there is no detail.
    QueryPickItems(data.connection, "SELECT OZNAKA, IDVOZ FROM VOZILO", items);
    QVERIFY(items == (std::vector<PickItem>{PickItem{7, "ZG-1", ""}}));
}

void TestPickItemQuery::otherColumnsAreRefused_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("name alone") << "SELECT IMEPREZIME FROM DJELATNICI";
    QTest::newRow("a fourth column") << "SELECT IMEPREZIME, IDDJ, RADNOMJESTO, OIB FROM DJELATNICI";
}

void TestPickItemQuery::otherColumnsAreRefused()
{
    QFETCH(QString, sql);
    TempDatabase db;
    TestConnection data;
    ConnectUpgraded(data, db.path());
    data.script.execute("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME) VALUES (1, 'Horvat Ivan');");
    data.write.commit();
    std::vector<PickItem> items{PickItem{9, "stale", ""}};
    QVERIFY_THROWS_EXCEPTION(DbError, QueryPickItems(data.connection, sql, items));
    QVERIFY(items.empty());
}

void TestPickItemQuery::errorKeepsRowsReadBefore()
{
    TempDatabase db;
    TestConnection data;
    ConnectUpgraded(data, db.path());
    data.script.execute("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME) VALUES (1, '10');"
                        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME) VALUES (2, 'x');");
    data.write.commit();
    std::vector<PickItem> items;
    QVERIFY_THROWS_EXCEPTION(
        DbError, QueryPickItems(data.connection, "SELECT CAST(IMEPREZIME AS INTEGER), IDDJ FROM DJELATNICI ORDER BY IDDJ", items));
    QVERIFY(items == (std::vector<PickItem>{PickItem{1, "10", ""}}));
}

QTEST_GUILESS_MAIN(TestPickItemQuery)
#include "tst_pick_item_query.moc"
