#include "common/decimal_text.h"

#include "foreign_locale.h"

#include <QtTest>

class DecimalTextTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseForeignLocales(); }

    void parseDecimal_data();
    void parseDecimal();
    void formatDecimal_data();
    void formatDecimal();
    void formatNumberValue_data();
    void formatNumberValue();
};

void DecimalTextTest::parseDecimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("comma") << "12,5" << 12.5;
    QTest::newRow("point") << "12.5" << 12.5;
    QTest::newRow("whole") << "350" << 350.0;
    QTest::newRow("point groups, comma decimal") << "1.234,5" << 1234.5;
    QTest::newRow("comma groups, point decimal") << "1,234.5" << 1234.5;
    QTest::newRow("second point remains") << "1.234.567,8" << 0.0;
    QTest::newRow("two commas") << "1,2,3" << 0.0;
    QTest::newRow("negative") << "-12,5" << -12.5;
    QTest::newRow("blanks around") << " 7,25 " << 7.25;
    QTest::newRow("no digit") << "abc" << 0.0;
    QTest::newRow("only separators") << ",." << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("digits and letters") << "12 km" << 0.0;
    QTest::newRow("blank inside") << "1 234" << 0.0;
    QTest::newRow("exponent") << "1,5E3" << 1500.0;
    QTest::newRow("leading separator") << ",5" << 0.5;
    QTest::newRow("out of range") << "1e999" << 0.0;
}

void DecimalTextTest::parseDecimal()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(ParseDecimal(text), expected);
}

void DecimalTextTest::formatDecimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("grouped");  // FormatDecimal
    QTest::addColumn<QString>("plain");    // FormatDecimalZero
    QTest::newRow("zero") << "0" << "" << "0,00";
    QTest::newRow("zero with decimals") << "0,00" << "" << "0,00";
    QTest::newRow("empty") << "" << "" << "0,00";
    QTest::newRow("unreadable") << "abc" << "" << "0,00";
    QTest::newRow("thousands") << "1234,5" << "1.234,50" << "1234,50";
    QTest::newRow("point decimal") << "1234.5" << "1.234,50" << "1234,50";
    QTest::newRow("seven significant digits") << "123456,789" << "123.456,80" << "123456,80";
    QTest::newRow("grouping in the text dropped") << "1.234.567,8" << "1.234.568,00" << "1234568,00";
    QTest::newRow("comma grouping dropped") << "1,234,567.8" << "1.234.568,00" << "1234568,00";
    QTest::newRow("negative") << "-12,5" << "-12,50" << "-12,50";
    QTest::newRow("negative thousands") << "-1234567" << "-1.234.567,00" << "-1234567,00";
    QTest::newRow("under a thousand") << "999,99" << "999,99" << "999,99";
    QTest::newRow("exact thousand") << "1000" << "1.000,00" << "1000,00";
    QTest::newRow("typed half cent rounds up") << "1,005" << "1,01" << "1,01";
    QTest::newRow("rounds to a new digit") << "999,996" << "1.000,00" << "1000,00";
    QTest::newRow("small") << "0,05" << "0,05" << "0,05";
    QTest::newRow("half of the last decimal") << "0,005" << "0,01" << "0,01";
    QTest::newRow("rounds to zero") << "0,004" << "0,00" << "0,00";
    QTest::newRow("negative rounds to zero without sign") << "-0,004" << "0,00" << "0,00";
    QTest::newRow("largest fixed") << "9999999" << "9.999.999,00" << "9999999,00";
    QTest::newRow("exponent from ten million") << "10000000" << "1E+07" << "1E+07";
    QTest::newRow("exponent with seven digits") << "12345678,9" << "1,234568E+07" << "1,234568E+07";
    QTest::newRow("rounding reaches ten million") << "9999999,6" << "1E+07" << "1E+07";
    QTest::newRow("negative exponent form") << "-123456789" << "-1,234568E+08" << "-1,234568E+08";
}

void DecimalTextTest::formatDecimal()
{
    QFETCH(QString, text);
    QFETCH(QString, grouped);
    QFETCH(QString, plain);
    QCOMPARE(FormatDecimal(text), grouped);
    QCOMPARE(FormatDecimalZero(text), plain);
}

void DecimalTextTest::formatNumberValue_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("grouped");
    QTest::addColumn<QString>("plain");
    QTest::newRow("zero") << 0.0 << "" << "0,00";
    QTest::newRow("fraction") << 1234.5 << "1.234,50" << "1234,50";
    QTest::newRow("binary fraction") << 0.1 + 0.2 << "0,30" << "0,30";
    QTest::newRow("tiny") << 1e-300 << "0,00" << "0,00";
    QTest::newRow("huge") << 1e300 << "1E+300" << "1E+300";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "" << "0,00";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "" << "0,00";
}

void DecimalTextTest::formatNumberValue()
{
    QFETCH(double, value);
    QFETCH(QString, grouped);
    QFETCH(QString, plain);
    QCOMPARE(FormatDecimal(value), grouped);
    QCOMPARE(FormatDecimalZero(value), plain);
}

QTEST_APPLESS_MAIN(DecimalTextTest)
#include "tst_decimal_text.moc"
