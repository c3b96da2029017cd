#include "common/list_fields.h"

#include <QtTest>

class ListFieldsTest : public QObject {
    Q_OBJECT

private slots:
    void listField_data();
    void listField();
    void indexOfField_data();
    void indexOfField();
};

void ListFieldsTest::listField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("expected");
    const QString driver = QStringLiteral("Prvi||12||Vozač");
    QTest::newRow("first") << driver << 1 << "Prvi";
    QTest::newRow("second") << driver << 2 << "12";
    QTest::newRow("third") << driver << 3 << QStringLiteral("Vozač");
    QTest::newRow("past the end gives the last") << driver << 4 << QStringLiteral("Vozač");
    QTest::newRow("zero") << driver << 0 << "";
    QTest::newRow("negative") << driver << -1 << "";
    QTest::newRow("empty middle field") << "a||||b" << 2 << "";
    QTest::newRow("field after an empty one") << "a||||b" << 3 << "b";
    QTest::newRow("no separator, any field") << "Zanemari" << 3 << "Zanemari";
    QTest::newRow("empty last field") << "a||" << 2 << "";
    QTest::newRow("empty first field") << "||b" << 1 << "";
    QTest::newRow("three bars split from the left") << "a|||b" << 2 << "|b";
    QTest::newRow("single bar is no separator") << "a|b||c" << 1 << "a|b";
    QTest::newRow("empty text") << "" << 1 << "";
}

void ListFieldsTest::listField()
{
    QFETCH(QString, text);
    QFETCH(int, k);
    QFETCH(QString, expected);
    QCOMPARE(ListField(text, k), expected);
}

void ListFieldsTest::indexOfField_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("expected");
    QTest::newRow("key of the second item") << "12" << 2 << 1;
    QTest::newRow("first of two equal keys") << "7" << 2 << 0;
    QTest::newRow("display field") << QStringLiteral("Šimić Ana") << 1 << 2;
    QTest::newRow("letter case counts") << QStringLiteral("šimić ana") << 1 << -1;
    QTest::newRow("missing") << "99" << 2 << -1;
    QTest::newRow("field zero matches empty") << "" << 0 << 0;
    QTest::newRow("past the end compares the last field") << "7" << 5 << 0;
}

void ListFieldsTest::indexOfField()
{
    QFETCH(QString, value);
    QFETCH(int, k);
    QFETCH(int, expected);
    const QStringList items = {
        QStringLiteral("Horvat Ivan||7"),
        QStringLiteral("Kovač Marko||12"),
        QStringLiteral("Šimić Ana||7"),
    };
    QCOMPARE(IndexOfField(items, value, k), expected);
}

QTEST_APPLESS_MAIN(ListFieldsTest)
#include "tst_list_fields.moc"
