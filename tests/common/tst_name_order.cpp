#include "common/name_order.h"

#include <QtTest>

class TestNameOrder : public QObject {
    Q_OBJECT
private slots:
    void croatianAlphabet_data();
    void croatianAlphabet();
    void listsAndItems();
};

void TestNameOrder::croatianAlphabet_data()
{
    QTest::addColumn<QString>("earlier");
    QTest::addColumn<QString>("later");
    QTest::newRow("Ć after Z in bytes") << "Ćirić" << "Zorić";
    QTest::newRow("Č before Ž in a first name") << "Babić Čedo" << "Babić Željko";
    QTest::newRow("C Č") << "Cvitan" << "Čolić";
    QTest::newRow("Č Ć") << "Čolić" << "Ćirić";
    QTest::newRow("Ć D") << "Ćirić" << "Dukić";
    QTest::newRow("Dz before Dž") << "Dzeko" << "Džaja";
    QTest::newRow("Dž Đ") << "Džaja" << "Đurić";
    QTest::newRow("Đ E") << "Đurić" << "Eškinja";
    QTest::newRow("Lu before Lj") << "Lukić" << "Ljubić";
    QTest::newRow("Nov before Nj") << "Novak" << "Njegoš";
    QTest::newRow("S Š") << "Sabo" << "Šarić";
    QTest::newRow("Š T") << "Šarić" << "Tomić";
    QTest::newRow("Z Ž") << "Zorić" << "Žužić";
    QTest::newRow("small letters count as capitals") << "babić ana" << "Babić Čedo";
    QTest::newRow("a small z among capitals") << "zec" << "Zorić";
    QTest::newRow("no name first") << "" << "Anić";
}

void TestNameOrder::croatianAlphabet()
{
    QFETCH(QString, earlier);
    QFETCH(QString, later);
    QVERIFY(NameBefore(earlier, later));
    QVERIFY(!NameBefore(later, earlier));
}

void TestNameOrder::listsAndItems()
{
    // Names equal but for letter case keep their order.
    std::vector<std::pair<int, QString>> rows{{1, "Žužić"}, {2, "ANIĆ ANA"}, {3, "Čolić"}, {4, "Anić Ana"}, {5, "Cvitan"}};
    SortByName(rows, [](const std::pair<int, QString>& row) { return row.second; });
    QList<int> ids;
    for (const auto& row : rows)
        ids << row.first;
    QCOMPARE(ids, (QList<int>{2, 4, 5, 3, 1}));

    std::vector<PickItem> items{{7, "Šarić Ivo", "vozač"}, {3, "Sabo Ana", ""}, {9, "Ćosić", "referent"}};
    SortItemsByName(items);
    QVERIFY(items == (std::vector<PickItem>{{9, "Ćosić", "referent"}, {3, "Sabo Ana", ""}, {7, "Šarić Ivo", "vozač"}}));
}

QTEST_MAIN(TestNameOrder)
#include "tst_name_order.moc"
