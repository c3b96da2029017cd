#include "charts/chart_text_export.h"

#include <QTest>

namespace {

const QDateTime kNow(QDate(2011, 5, 13), QTime(7, 5, 9));

// The night chart: 00:00-03:00 driving and 03:00-18:00 rest belong to the second day.
std::vector<DayInterval> NightChart()
{
    return SplitDays({{0, 180, 3}, {180, 1080, 0}, {1080, 1440, 2}}, 1080).all;
}

} // namespace

class TestChartTextExport : public QObject {
    Q_OBJECT

private slots:
    void exportsTheWholeChart();
    void exportsOneDay();
    void joinsWithCrLf();
};

void TestChartTextExport::exportsTheWholeChart()
{
    const QStringList expected{
        QStringLiteral("MIRELTOSA||KTS2||13.05.2011 07:05:09"),
        QString(),
        QStringLiteral("Aktivnost\tOd\tDo\tTrajanje\tDan\tOpis"),
        QStringLiteral("3\t00:00\t03:00\t03:00\t2\tVožnja\t"),
        QStringLiteral("0\t03:00\t18:00\t15:00\t2\tOdmor\t"),
        QStringLiteral("2\t18:00\t24:00\t06:00\t1\tOstali rad\t"),
    };
    QCOMPARE(ChartExportLines(NightChart(), ChartExportKind::WholeChart, kNow), expected);
}

void TestChartTextExport::exportsOneDay()
{
    const QStringList day2{
        QStringLiteral("MIRELTOSA||KTS||13.05.2011 07:05:09"),
        QString(),
        QStringLiteral("Aktivnost\tOd\tDo\tTrajanje\tOpis"),
        QStringLiteral("3\t00:00\t03:00\t03:00\tVožnja\t"),
        QStringLiteral("0\t03:00\t18:00\t15:00\tOdmor\t"),
    };
    QCOMPARE(ChartExportLines(NightChart(), ChartExportKind::Day2, kNow), day2);
    QCOMPARE(ChartExportLines(NightChart(), ChartExportKind::Day1, kNow).mid(3),
             QStringList{QStringLiteral("2\t18:00\t24:00\t06:00\tOstali rad\t")});

    // Day 2 of a one-day chart: the three header lines only.
    const std::vector<DayInterval> oneDay = SplitDays({{0, 310, 0}, {310, 1440, 1}}, 0).all;
    QCOMPARE(ChartExportLines(oneDay, ChartExportKind::Day2, kNow).size(), 3);
    QCOMPARE(ChartExportLines(oneDay, ChartExportKind::Day1, kNow).last(),
             QStringLiteral("1\t05:10\t24:00\t18:50\tSpremnost\t"));
}

void TestChartTextExport::joinsWithCrLf()
{
    QCOMPARE(JoinExportLines({QStringLiteral("a"), QString(), QStringLiteral("b\t")}), QStringLiteral("a\r\n\r\nb\t\r\n"));
}

QTEST_APPLESS_MAIN(TestChartTextExport)
#include "tst_chart_text_export.moc"
