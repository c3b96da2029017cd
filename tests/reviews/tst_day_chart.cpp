#include "temp_database.h"

#include "temp_database.h"
#include "entries/entry_store.h"
#include "reviews/day_chart.h"
#include "reviews/day_record.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <cmath>

namespace {

const ActivityColours kColours{QColor(128, 128, 128), QColor(255, 255, 0), QColor(0, 255, 255), QColor(255, 0, 0)};

// The chart's geometry worked out independently of the drawing: the day graph's strip with
// margins of 10.
struct Expected {
    int left = 10;
    int top = 10;
    double scale = 0;
    int band = 0;
    int x(int minute) const { return left + int(std::trunc(minute * scale)); }
    int bottom() const { return top + 6 * band; }
    int baseline() const { return bottom() - band; }
};

Expected ExpectedFor(const QImage& image, const QRect& area)
{
    QFont font;
    font.setPointSize(8);
    const QFontMetrics metrics(font, &image);
    Expected e;
    e.scale = (area.width() - 20) / 1440.0;
    e.band = (area.height() - 20 - metrics.height()) / 6;
    return e;
}

QImage Draw(const std::vector<ChartInterval>& intervals, std::optional<std::pair<int, int>> selection = {},
            DayChartScale* scale = nullptr)
{
    QImage image(643, 91, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    DayChartStyle style;
    style.colours = kColours;
    const DayChartScale drawn = DrawDayChart(painter, image.rect(), selection, style, intervals);
    if (scale)
        *scale = drawn;
    return image;
}

}  // namespace

class TestDayChart : public QObject {
    Q_OBJECT
private slots:
    void drivingBarIsFourLevelsHigh();
    void wholeDayReachesTheRightEdge();
    void crewAndCoDriverBarsAndSelection();
    void readoutMinutes();
    void legendBoxesFillByQuarters();
    void dayRecordCountsEachEntryWithItsNight();
};

void TestDayChart::drivingBarIsFourLevelsHigh()
{
    DayChartScale scale;
    const QImage image = Draw({ChartInterval{360, 600, 3, 1}}, {}, &scale);
    const Expected e = ExpectedFor(image, image.rect());
    QCOMPARE(scale.x0, 10);
    QCOMPARE(scale.pixelsPerMinute, e.scale);
    const QRgb red = qRgb(255, 0, 0);
    // The bar's four corners are red, and the pixels just outside it are not.
    QCOMPARE(image.pixel(e.x(360), e.baseline() - 1), red);
    QCOMPARE(image.pixel(e.x(600) - 1, e.baseline() - 1), red);
    QCOMPARE(image.pixel(e.x(360), e.baseline() - 4 * e.band), red);
    QCOMPARE(image.pixel(e.x(600) - 1, e.baseline() - 4 * e.band), red);
    QVERIFY(image.pixel(e.x(600), e.baseline() - 1) != red);
    QVERIFY(image.pixel(e.x(360) - 1, e.baseline() - 1) != red);
    QVERIFY(image.pixel(e.x(480), e.baseline() - 4 * e.band - 1) != red);
    QVERIFY(image.pixel(e.x(480), e.baseline()) != red);
    // The background of the area and the chart's white inside.
    QCOMPARE(image.pixel(2, 2), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(e.x(100), e.baseline() - 2), qRgb(255, 255, 255));
}

void TestDayChart::wholeDayReachesTheRightEdge()
{
    const QImage image = Draw({ChartInterval{0, 1440, 0, 1}});
    const Expected e = ExpectedFor(image, image.rect());
    const QRgb grey = qRgb(128, 128, 128);
    QCOMPARE(image.pixel(e.x(0), e.baseline() - 1), grey);
    QCOMPARE(image.pixel(e.x(1440) - 1, e.baseline() - 1), grey);
    QCOMPARE(image.pixel(e.x(1440) - 1, e.baseline() - e.band), grey);
    QVERIFY(image.pixel(e.x(1440) - 1, e.baseline() - e.band - 1) != grey);
}

void TestDayChart::crewAndCoDriverBarsAndSelection()
{
    const QImage image = Draw({ChartInterval{600, 720, 2, 1 | 2 | 4}, ChartInterval{std::nullopt, 800, 3, 1}});
    const Expected e = ExpectedFor(image, image.rect());
    QCOMPARE(image.pixel(e.x(660), e.bottom() - e.band / 2), qRgb(0, 0, 128));
    QCOMPARE(image.pixel(e.x(660), e.top + e.band / 2 - 1), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(e.x(660), e.baseline() - 1), qRgb(0, 255, 255));
    // An interval without a start draws nothing.
    QVERIFY(image.pixel(e.x(700), e.baseline() - 1) != qRgb(255, 0, 0));

    // A selection is drawn in the light 3-D colour (227) in not-xor mode over the whole height
    // of the strip, before the ticks and bars: each channel becomes not (227 xor what lies
    // under it), and the bars are drawn over it.
    const QImage selected = Draw({ChartInterval{600, 720, 2, 1}}, std::pair{600, 720});
    QCOMPARE(selected.pixel(e.x(660), 1), qRgb(227, 227, 227));                       // over white
    QCOMPARE(selected.pixel(e.x(660), e.top + e.band + 1), qRgb(227, 227, 227));      // inside the chart
    QCOMPARE(selected.pixel(e.x(660), e.baseline() - 1), qRgb(0, 255, 255));          // the bar
    QCOMPARE(selected.pixel(e.x(500), 1), qRgb(255, 255, 255));             // outside it
}

void TestDayChart::readoutMinutes()
{
    DayChartScale scale;
    const QImage image = Draw({}, {}, &scale);
    const Expected e = ExpectedFor(image, image.rect());
    QCOMPARE(scale.minuteAt(e.x(0)), 0);
    QCOMPARE(scale.minuteAt(e.x(1440)), 1440);
    QCOMPARE(scale.minuteAt(e.x(0) - 1), std::nullopt);
    QCOMPARE(scale.minuteAt(e.x(1440) + 3), std::nullopt);
}

void TestDayChart::legendBoxesFillByQuarters()
{
    QImage image(643, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        DrawActivityLegend(painter, QRect(20, 5, 623, 35), 1, 20, 20, QColor(192, 192, 192), kColours,
                           ActivityLegendLabels());
    }
    // The first box (rest) stands at 40 and is filled a quarter: 5 of its 20 pixels.
    QCOMPARE(image.pixel(45, 5 + 20 - 2), qRgb(128, 128, 128));
    QCOMPARE(image.pixel(45, 5 + 20 - 6), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(40, 5), qRgb(192, 192, 192));  // its frame
    QCOMPARE(ActivityLegendLabels(), (QStringList{"Odmor", "Spremnost za rad", "Ostali rad", "Vožnja"}));
}

void TestDayChart::dayRecordCountsEachEntryWithItsNight()
{
    TempDatabase db;
    TestConnection data;
    ConnectUpgraded(data, db.path());
    data.write.startIfNotActive();
    data.script.execute("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC) VALUES (4, 'Žužić Đuro', 1);");
    data.write.commit();
    const QDate day(2024, 5, 6);
    ManualEntry early;
    early.driverId = 4;
    early.vehicleId = 1;
    early.date = day;
    early.night = NightWindow{22 * 60, 6 * 60};
    early.intervals = {ActivityInterval{ActivityKind::Driving, 240, 480, Decimal3::fromWhole(200), {}}};
    early.distance = Decimal3::fromWhole(200);
    ManualEntry late = early;
    late.night = NightWindow{0, 7 * 60};  // another stored night: midnight to 07:00
    late.intervals = {ActivityInterval{ActivityKind::OtherWork, 360, 420, {}, {}}};
    late.distance = Decimal3::fromWhole(50);
    ManualEntry otherDay = early;
    otherDay.date = day.addDays(-3);
    for (ManualEntry* entry : {&early, &late, &otherDay})
        QVERIFY(StoreManualEntry(data.write, *entry).done);

    const DayRecord record = LoadDayRecord(data.read, 4, day);
    QCOMPARE(record.driverName, QStringLiteral("Žužić Đuro"));
    QCOMPARE(record.intervals.size(), size_t(2));
    QCOMPARE(record.intervals[0].chart.start, 240);
    QCOMPARE(record.distance, Decimal3::fromWhole(250));
    QCOMPARE(record.otherDates, std::vector<QDate>{day.addDays(-3)});
    const DayTotals totals = DayRecordTotals(record.intervals);
    QCOMPARE(totals.minutes(ActivityKind::Driving), 240);
    // Driving 04:00-08:00 has 120 night minutes under 22-06; other work 06:00-07:00 has 60 under 00-07.
    QCOMPARE(totals.nightDriving, 120);
    QCOMPARE(totals.nightOtherWork, 60);
}

QTEST_MAIN(TestDayChart)
#include "tst_day_chart.moc"
