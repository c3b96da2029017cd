#include "common/decimal3.h"

#include <QTest>

class TestDecimal3 : public QObject {
    Q_OBJECT

private slots:
    void fromText_data();
    void fromText();
    void toText_data();
    void toText();
};

void TestDecimal3::fromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("thousandths");

    QTest::newRow("comma") << "12,5" << qint64(12500);
    QTest::newRow("point") << "12.5" << qint64(12500);
    QTest::newRow("grouped") << "1.234,5" << qint64(1234500);
    QTest::newRow("three decimals stay exact") << "0,001" << qint64(1);
    QTest::newRow("a tenth stays exact") << "0,1" << qint64(100);
    QTest::newRow("a large odometer reading") << "987654321,123" << qint64(987654321123);
    QTest::newRow("beyond thousandths rounds") << "1,0006" << qint64(1001);
    QTest::newRow("negative") << "-2,25" << qint64(-2250);
    QTest::newRow("empty") << "" << qint64(0);
    QTest::newRow("unreadable") << "abc" << qint64(0);
}

void TestDecimal3::fromText()
{
    QFETCH(QString, text);
    QFETCH(qint64, thousandths);
    QCOMPARE(Decimal3::fromText(text).thousandths, thousandths);
}

void TestDecimal3::toText_data()
{
    QTest::addColumn<qint64>("thousandths");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << qint64(0) << "0";
    QTest::newRow("whole") << qint64(450000) << "450";
    QTest::newRow("trailing zeros dropped") << qint64(1234500) << "1234,5";
    QTest::newRow("leading fraction zeros kept") << qint64(1005) << "1,005";
    QTest::newRow("negative fraction") << qint64(-250) << "-0,25";
}

void TestDecimal3::toText()
{
    QFETCH(qint64, thousandths);
    QFETCH(QString, text);
    const Decimal3 value{thousandths};
    QCOMPARE(value.toText(), text);
    QCOMPARE(Decimal3::fromText(value.toText()).thousandths, thousandths);
}

QTEST_APPLESS_MAIN(TestDecimal3)
#include "tst_decimal3.moc"
