#include "common/conversion_error.h"
#include "common/day_serial.h"
#include "common/time_text.h"

#include "foreign_locale.h"

#include <QtTest>

class TimeTextTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseForeignLocales(); }

    void formatMinutes_data();
    void formatMinutes();
    void formatDuration_data();
    void formatDuration();
    void parseTimeText_data();
    void parseTimeText();
    void parseTimeTextRejects_data();
    void parseTimeTextRejects();
    void minutesBetween_data();
    void minutesBetween();
    void daySerial_data();
    void daySerial();
};

void TimeTextTest::formatMinutes_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("midnight") << 0 << "00:00";
    QTest::newRow("one digit minutes") << 9 << "00:09";
    QTest::newRow("under an hour") << 59 << "00:59";
    QTest::newRow("last minute of the day") << 1439 << "23:59";
    QTest::newRow("end of the day") << 1440 << "24:00";
    QTest::newRow("no wrap") << 1500 << "25:00";
    QTest::newRow("three digit hours") << 6000 << "100:00";
    QTest::newRow("negative") << -90 << "-01:30";
}

void TimeTextTest::formatMinutes()
{
    QFETCH(int, minutes);
    QFETCH(QString, expected);
    QCOMPARE(FormatMinutes(minutes), expected);
}

void TimeTextTest::formatDuration_data()
{
    QTest::addColumn<double>("days");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0 << "00:00";
    QTest::newRow("day and a half") << 1.5 << "36:00";
    QTest::newRow("100 minutes") << 100.0 / 1440 << "01:40";
    QTest::newRow("3 days 2 h 5 min") << 3 + 125.0 / 1440 << "74:05";
    QTest::newRow("seconds dropped") << 59.0 / 86400 << "00:00";
    QTest::newRow("sum of many minutes") << 7 * (481.0 / 1440) << "56:07";
    // A fraction a hair below a whole day rounds to the millisecond and becomes the next day.
    QTest::newRow("almost a whole day") << 2 - 1e-10 << "48:00";
}

void TimeTextTest::formatDuration()
{
    QFETCH(double, days);
    QFETCH(QString, expected);
    QCOMPARE(FormatDuration(days), expected);
}

void TimeTextTest::parseTimeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("minutes");
    // Numbers below 24 (other than 1) are hours with a fraction.
    QTest::newRow("whole hours") << "8" << 8 * 60;
    QTest::newRow("two is two o'clock") << "2" << 2 * 60;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("half hour") << "7,5" << 7 * 60 + 30;
    QTest::newRow("fraction of an hour, not minutes") << "7,30" << 7 * 60 + 18;
    QTest::newRow("half minute rounds to even (down)") << "0,375" << 22;
    QTest::newRow("half minute rounds to even (up)") << "0,625" << 38;
    QTest::newRow("blanks around a number") << " 9 " << 9 * 60;
    QTest::newRow("last minute by fraction") << "23,99" << 23 * 60 + 59;
    // One, -1, 24 and more, and texts that are no number go by their digits.
    QTest::newRow("one is a minute") << "1" << 1;
    QTest::newRow("minus one") << "-1" << 1;
    QTest::newRow("one with a fraction of zero") << "1,0" << 10;
    QTest::newRow("one and a half is a number") << "1,5" << 90;
    QTest::newRow("24 is minutes") << "24" << 24;
    QTest::newRow("30 is minutes") << "30" << 30;
    QTest::newRow("59 is minutes") << "59" << 59;
    QTest::newRow("two digits from 60: hour and minute") << "75" << 7 * 60 + 5;
    QTest::newRow("99") << "99" << 9 * 60 + 9;
    QTest::newRow("three digits") << "830" << 8 * 60 + 30;
    QTest::newRow("100") << "100" << 60;
    QTest::newRow("four digits") << "1230" << 12 * 60 + 30;
    QTest::newRow("with colon") << "12:30" << 12 * 60 + 30;
    QTest::newRow("with point") << "7.30" << 7 * 60 + 30;
    QTest::newRow("2400") << "2400" << 23 * 60;
    QTest::newRow("24:00 is never the end of the day") << "24:00" << 23 * 60;
    QTest::newRow("hour and minutes both too big") << "2575" << 23 * 60;
    QTest::newRow("minutes above 59 become 0") << "1075" << 10 * 60;
    QTest::newRow("only the last two hour digits count") << "123456" << 23 * 60 + 56;
    QTest::newRow("last two hour digits below 24") << "120830" << 8 * 60 + 30;
    QTest::newRow("letters between digits") << "8h30" << 8 * 60 + 30;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("blanks") << "   " << 0;
}

void TimeTextTest::parseTimeText()
{
    QFETCH(QString, text);
    QFETCH(int, minutes);
    const double clockTime = ParseTimeText(text);
    QVERIFY(clockTime >= 0.0 && clockTime < 1.0);
    QCOMPARE(MinutesBetween(clockTime, 0), minutes);
}

void TimeTextTest::parseTimeTextRejects_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("letters") << "xyz";
    QTest::newRow("punctuation only") << ":";
    QTest::newRow("negative") << "-5";
    QTest::newRow("negative fraction") << "-0,5";
    QTest::newRow("minutes round to 60") << "7,999";
}

void TimeTextTest::parseTimeTextRejects()
{
    QFETCH(QString, text);
    try {
        ParseTimeText(text);
        QFAIL("no conversion error");
    } catch (const ConversionError& error) {
        QCOMPARE(error.text(), QStringLiteral("'%1' nije ispravno vrijeme").arg(text));
    }
}

void TimeTextTest::minutesBetween_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<int>("expected");
    QTest::newRow("end of the day") << 1.0 << 0.0 << 1440;
    QTest::newRow("order does not matter") << 0.25 << 0.5 << 360;
    QTest::newRow("date-time values") << 40081.75 << 40082.25 << 720;
    QTest::newRow("half minute rounds to even (down)") << 0.5 / 1440 << 0.0 << 0;
    QTest::newRow("one and a half minutes round to even (up)") << 1.5 / 1440 << 0.0 << 2;
}

void TimeTextTest::minutesBetween()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(int, expected);
    QCOMPARE(MinutesBetween(a, b), expected);
}

void TimeTextTest::daySerial_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("serial");
    QTest::newRow("day zero") << QDate(1899, 12, 30) << 0;
    QTest::newRow("before day zero") << QDate(1899, 12, 29) << -1;
    QTest::newRow("1.1.1900") << QDate(1900, 1, 1) << 2;
    QTest::newRow("25.9.2009") << QDate(2009, 9, 25) << 40081;
    QTest::newRow("leap day") << QDate(2024, 2, 29) << 45351;
}

void TimeTextTest::daySerial()
{
    QFETCH(QDate, date);
    QFETCH(int, serial);
    QCOMPARE(DaySerial(date), serial);
    QCOMPARE(DateFromSerial(serial), date);
}

QTEST_APPLESS_MAIN(TimeTextTest)
#include "tst_time_text.moc"
