#include "common/conversion_error.h"
#include "entries/activity_grid_rules.h"
#include "entries/totals_texts.h"

#include <QTest>

// The rules by which the manual entry window rewrites what is typed into its grids, and the
// texts of its totals.
class TestManualEntryFormRules : public QObject {
    Q_OBJECT

private slots:
    void typedTimes_data();
    void typedTimes();
    void wholeDayRow();
    void checkedEnd_data();
    void checkedEnd();
    void chaining_data();
    void chaining();
    void quickKeyRowStartsWhereTheSelectedRowEnds();
    void emptyRowIsCleared();
    void kilometresAndLitres_data();
    void kilometresAndLitres();
    void totalTexts();
};

void TestManualEntryFormRules::typedTimes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::newRow("hour") << "7" << "07:00" << "07:00";
    QTest::newRow("digits") << "830" << "08:30" << "08:30";
    QTest::newRow("blank") << "" << "00:00" << "00:00";
    // The parser never gives 24:00; as an end it is the midnight that ends the day.
    QTest::newRow("end of day") << "24:00" << "23:00" << "00:00";
}

void TestManualEntryFormRules::typedTimes()
{
    QFETCH(QString, typed);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QCOMPARE(StartCellText(typed), start);
    QCOMPARE(EndCellText(typed, QStringLiteral("08:00")), end);
    QVERIFY_THROWS_EXCEPTION(ConversionError, StartCellText(QStringLiteral("abc")));
}

void TestManualEntryFormRules::wholeDayRow()
{
    // After 00:00 the end of the day stays 24:00: 00:00 to 00:00 would be an empty row.
    QCOMPARE(EndCellText(QStringLiteral("24:00"), QStringLiteral("00:00")), QStringLiteral("24:00"));
    IntervalRow row{ActivityKind::Rest, QStringLiteral("00:00"), QStringLiteral("24:00"), {}, {}};
    ClearIfEmpty(row);
    QCOMPARE(row.to, QStringLiteral("24:00"));
    QCOMPARE(DurationText(row), QStringLiteral("24:00"));
    const std::vector<IntervalRow> rows{row};
    const std::vector<ActivityInterval> intervals = IntervalsFromRows(rows);
    QCOMPARE(intervals.size(), size_t(1));
    QCOMPARE(intervals[0].end, 1440);
    // A stored whole day shows as such, and reads back the same.
    const IntervalRow shown = RowFromInterval(ActivityInterval{ActivityKind::Rest, 0, 1440, {}, {}});
    QCOMPARE(shown.to, QStringLiteral("24:00"));
    QCOMPARE(RowFromInterval(ActivityInterval{ActivityKind::Rest, 600, 1440, {}, {}}).to, QStringLiteral("00:00"));
    // The check of typed ends and the chaining leave it as it is.
    QCOMPARE(CheckedEndText(QStringLiteral("00:00"), QStringLiteral("24:00")), QStringLiteral("24:00"));
    // A row running to midnight keeps running to it when its start moves to or from 00:00.
    IntervalRow evening{ActivityKind::Rest, QStringLiteral("22:00"), QStringLiteral("00:00"), {}, {}};
    SetRowStart(evening, QStringLiteral("00:00"));
    QCOMPARE(evening.to, QStringLiteral("24:00"));
    SetRowStart(evening, QStringLiteral("10:00"));
    QCOMPARE(evening.to, QStringLiteral("00:00"));
    IntervalRow empty{ActivityKind::Rest, QString(), QString(), {}, {}};
    SetRowStart(empty, QStringLiteral("00:00"));
    QCOMPARE(empty.to, QString());
    std::vector<IntervalRow> chained{row, NewIntervalRow()};
    ChainRow(chained, 0);
    QCOMPARE(chained[1].from, QStringLiteral("00:00"));
}

void TestManualEntryFormRules::checkedEnd_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("typedEnd");
    QTest::addColumn<QString>("end");
    QTest::newRow("short end is a duration") << "08:00" << "02:30" << "10:30";
    QTest::newRow("longer end mirrored past the start") << "10:00" << "08:00" << "12:00";
    QTest::newRow("past midnight") << "22:00" << "03:00" << "00:00";
    QTest::newRow("exactly to midnight") << "20:00" << "04:00" << "00:00";
    QTest::newRow("end after start unchanged") << "08:00" << "10:00" << "10:00";
    QTest::newRow("midnight unchanged") << "08:00" << "00:00" << "00:00";
}

void TestManualEntryFormRules::checkedEnd()
{
    QFETCH(QString, start);
    QFETCH(QString, typedEnd);
    QFETCH(QString, end);
    QCOMPARE(CheckedEndText(start, typedEnd), end);
}

void TestManualEntryFormRules::chaining_data()
{
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("nextFrom");
    QTest::addColumn<QString>("nextTo");
    QTest::addColumn<QString>("chainedFrom");
    QTest::addColumn<QString>("chainedTo");
    QTest::newRow("start follows") << "11:00" << "10:00" << "14:00" << "11:00" << "14:00";
    QTest::newRow("empty start") << "11:00" << "" << "14:00" << "11:00" << "14:00";
    QTest::newRow("end before the new start runs to midnight") << "15:00" << "10:00" << "14:00" << "15:00" << "00:00";
    QTest::newRow("end at midnight stays") << "15:00" << "10:00" << "00:00" << "15:00" << "00:00";
    QTest::newRow("row ending at midnight chains nothing") << "00:00" << "10:00" << "14:00" << "10:00" << "14:00";
}

void TestManualEntryFormRules::chaining()
{
    QFETCH(QString, end);
    QFETCH(QString, nextFrom);
    QFETCH(QString, nextTo);
    std::vector<IntervalRow> rows{{ActivityKind::Driving, "06:00", end, "", ""},
                                  {ActivityKind::Rest, nextFrom, nextTo, "", ""}};
    ChainRow(rows, 0);
    QTEST(rows[1].from, "chainedFrom");
    QTEST(rows[1].to, "chainedTo");
    ChainRow(rows, 1); // the last row has nothing to chain into
    QCOMPARE(rows.size(), size_t(2));
}

void TestManualEntryFormRules::quickKeyRowStartsWhereTheSelectedRowEnds()
{
    std::vector<IntervalRow> rows{{ActivityKind::Driving, "06:00", "10:00", "", ""}};
    QCOMPARE(AppendRow(rows, ActivityKind::Rest, 0), size_t(1));
    QCOMPARE(rows[1].kind, ActivityKind::Rest);
    QCOMPARE(rows[1].from, QStringLiteral("10:00"));
    QCOMPARE(rows[1].to, QStringLiteral("00:00"));
    QCOMPARE(DurationText(rows[1]), QStringLiteral("14:00"));

    // With no row selected the new row keeps the new-row times.
    QCOMPARE(AppendRow(rows, ActivityKind::OtherWork, 5), size_t(2));
    QCOMPARE(rows[2].from, QStringLiteral("00:00"));
    QCOMPARE(rows[2].to, QStringLiteral("04:00"));
}

void TestManualEntryFormRules::emptyRowIsCleared()
{
    IntervalRow row{ActivityKind::Rest, "00:00", "00:00", "", ""};
    ClearIfEmpty(row);
    QCOMPARE(row.from, QString());
    QCOMPARE(row.to, QString());
    QCOMPARE(DurationText(row), QString());

    IntervalRow equal{ActivityKind::Rest, "08:00", "08:00", "", ""};
    ClearIfEmpty(equal);
    QCOMPARE(equal.from, QStringLiteral("08:00"));
    QCOMPARE(DurationText(equal), QStringLiteral("00:00"));
}

void TestManualEntryFormRules::kilometresAndLitres_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kilometres");
    QTest::addColumn<QString>("litres");
    QTest::newRow("whole") << "450" << "450" << "450,00";
    QTest::newRow("fraction") << "12,5" << "0" << "12,50";
    QTest::newRow("as loaded") << "100,00" << "100" << "100,00";
    QTest::newRow("empty") << "" << "0" << "";
    QTest::newRow("text") << "abc" << "0" << "";
}

void TestManualEntryFormRules::kilometresAndLitres()
{
    QFETCH(QString, typed);
    QTEST(KilometresCellText(typed), "kilometres");
    QTEST(LitresCellText(typed), "litres");
}

void TestManualEntryFormRules::totalTexts()
{
    // A day's total: exactly a day is "24:00", above it the hours are taken modulo 24.
    const QList<std::pair<int, const char*>> dayTotals{
        {0, "00:00"}, {240, "04:00"}, {1439, "23:59"}, {1440, "24:00"}, {1500, "01:00"}, {1711, "04:31"}, {2880, "00:00"}};
    for (const auto& [minutes, text] : dayTotals)
        QCOMPARE(DayTotalText(minutes), QLatin1String(text));

    QCOMPARE(SummaryRowTotalText(1439), QStringLiteral("23:59"));
    QCOMPARE(SummaryRowTotalText(1440), QStringLiteral("24:00"));
    QCOMPARE(SummaryRowTotalText(1530), QStringLiteral("01 01:30"));

    QCOMPARE(SummaryTotalText(1440), QStringLiteral("24:00"));
    QCOMPARE(SummaryTotalText(1470), QStringLiteral("24:00+"));

    QCOMPARE(SummaryKilometresText(Decimal3::fromText("450")), QStringLiteral("450,00"));
    QCOMPARE(SummaryKilometresText(Decimal3{}), QStringLiteral("N/A"));
}

QTEST_GUILESS_MAIN(TestManualEntryFormRules)
#include "tst_manual_entry_form_rules.moc"
