#include "common/date_text.h"

#include <QTest>

class TestDateText : public QObject {
    Q_OBJECT
private slots:
    void typedDates_data();
    void typedDates();
};

void TestDateText::typedDates_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");  // invalid: refused
    const QDate march15(2025, 3, 15);
    QTest::newRow("dots") << "15.03.2025" << march15;
    QTest::newRow("month without zero") << "15.3.2025" << march15;
    QTest::newRow("day and month without zero") << "1.3.2025" << QDate(2025, 3, 1);
    QTest::newRow("digits only") << "15032025" << march15;
    QTest::newRow("closing dot") << "15.03.2025." << march15;
    QTest::newRow("blanks around") << "  15.3.2025 " << march15;
    QTest::newRow("slashes") << "15/3/2025" << march15;
    QTest::newRow("two-digit year, this century") << "15.3.25" << march15;
    QTest::newRow("two-digit year, last century") << "15.03.85" << QDate(1985, 3, 15);
    QTest::newRow("six digits") << "150385" << QDate(1985, 3, 15);
    QTest::newRow("no year") << "15.3." << QDate(2026, 3, 15);
    QTest::newRow("leap day") << "29.2.2024" << QDate(2024, 2, 29);
    QTest::newRow("no leap day") << "29.2.2025" << QDate();
    QTest::newRow("month 13") << "15.13.2025" << QDate();
    QTest::newRow("day 0") << "0.3.2025" << QDate();
    QTest::newRow("three-digit year") << "15.3.202" << QDate();
    QTest::newRow("letters") << "15.ožu.2025" << QDate();
    QTest::newRow("empty") << "" << QDate();
    QTest::newRow("seven digits") << "1532025" << QDate();
}

void TestDateText::typedDates()
{
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    const std::optional<QDate> parsed = ParseDateText(typed, QDate(2026, 12, 10));
    QCOMPARE(parsed.value_or(QDate()), date);
}

QTEST_APPLESS_MAIN(TestDateText)
#include "tst_date_text.moc"
