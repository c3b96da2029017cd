#include "temp_database.h"
#include "window_driving.h"

#include "temp_database.h"
#include "entries/entry_store.h"
#include "reviews/ui/day_chart_strip.h"
#include "reviews/ui/day_graph_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QTableWidget>
#include <QtTest>

namespace {

const QDate kDay(2024, 5, 6);

}  // namespace

class TestDayGraphWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void headerGridAndTotals();
    void readoutFollowsTheMouse();
    void selectedRowIsHighlighted();
    void otherDatesInTheSameOrANewWindow();
    void dayWithoutIntervals();

private:
    DayGraphWindow* open(const QDate& date);

    std::unique_ptr<ConnectedDatabase> m_db;
    std::unique_ptr<QWidget> m_owner;
};

void TestDayGraphWindow::initTestCase()
{
    m_db = std::make_unique<ConnectedDatabase>();
    m_db->run("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC) VALUES (4, 'Žužić Đuro', 1)");
    ManualEntry driving;
    driving.driverId = 4;
    driving.vehicleId = 1;
    driving.date = kDay;
    driving.intervals = {ActivityInterval{ActivityKind::Rest, 0, 360, {}, {}},
                         ActivityInterval{ActivityKind::Driving, 360, 600, Decimal3::fromWhole(320), {}}};
    driving.distance = Decimal3::fromWhole(330);
    ManualEntry other = driving;
    other.date = kDay.addDays(-2);
    for (ManualEntry* entry : {&driving, &other})
        QVERIFY(StoreManualEntry(m_db->data().write, *entry).done);
}

void TestDayGraphWindow::cleanup()
{
    m_owner.reset();
}

DayGraphWindow* TestDayGraphWindow::open(const QDate& date)
{
    if (!m_owner)
        m_owner = std::make_unique<QWidget>();
    DayGraphWindow* window = OpenDayWindow(m_db->session(), 4, date, m_owner.get());
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qWarning("The day window did not become active");
    return window;
}

void TestDayGraphWindow::headerGridAndTotals()
{
    DayGraphWindow* window = open(kDay);
    QCOMPARE(window->windowTitle(), QStringLiteral("Pregled aktivnosti na dan"));
    QCOMPARE(Child<QLabel>(*window, "ImePrezime")->text(), QStringLiteral("Žužić Đuro"));
    QCOMPARE(Child<QLabel>(*window, "Datum")->text(), QStringLiteral("06.05.2024."));
    QCOMPARE(Child<QLabel>(*window, "PredenoKm")->text(), QStringLiteral("330,00"));
    auto* grid = Child<QTableWidget>(*window, "AGrid");
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("Vožnja"));
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("06:00"));
    QCOMPARE(grid->item(1, 2)->text(), QStringLiteral("10:00"));
    QCOMPARE(grid->item(1, 3)->text(), QStringLiteral("04:00"));
    QCOMPARE(grid->item(1, 4)->text(), QStringLiteral("320,00"));
    QCOMPARE(grid->item(1, 5)->text(), QStringLiteral("1"));
    QVERIFY(grid->isColumnHidden(6) && grid->isColumnHidden(7) && grid->isColumnHidden(8));
    auto* totals = Child<QTableWidget>(*window, "TotalsGrid");
    QCOMPARE(totals->item(3, 0)->text(), QStringLiteral("Vožnja"));
    QCOMPARE(totals->item(3, 1)->text(), QStringLiteral("04:00"));
    QCOMPARE(totals->item(3, 2)->text(), QStringLiteral("240"));
    QCOMPARE(Child<QLabel>(*window, "Ukupno")->text(), QStringLiteral("10:00"));
    QVERIFY(!Child<QLabel>(*window, "UkupnoMarker")->isVisible());
    QCOMPARE(Child<QLabel>(*window, "Kilometara")->text(), QStringLiteral("320"));
    QCOMPARE(Child<QLabel>(*window, "Prosjek")->text(), QStringLiteral("80,00"));
}

void TestDayGraphWindow::readoutFollowsTheMouse()
{
    DayGraphWindow* window = open(kDay);
    auto* chart = Child<DayChartStrip>(*window, "Graf");
    auto* readout = Child<QLabel>(*window, "Ocitanje");
    const DayChartScale& scale = chart->scale();
    QTest::mouseMove(chart, QPoint(scale.x0, chart->height() / 2));
    QCOMPARE(readout->text(), QStringLiteral("00:00"));
    const int right = scale.x0 + int(1440 * scale.pixelsPerMinute);
    QTest::mouseMove(chart, QPoint(right, chart->height() / 2));
    QCOMPARE(readout->text(), QStringLiteral("24:00"));
    QTest::mouseMove(chart, QPoint(2, 10));
    QCOMPARE(readout->text(), QString());
}

void TestDayGraphWindow::selectedRowIsHighlighted()
{
    DayGraphWindow* window = open(kDay);
    auto* chart = Child<DayChartStrip>(*window, "Graf");
    auto* grid = Child<QTableWidget>(*window, "AGrid");
    const auto topPixel = [&] {
        const QImage image = chart->grab().toImage();
        return image.pixel(chart->scale().x0 + int(480 * chart->scale().pixelsPerMinute), 1);
    };
    QCOMPARE(topPixel(), qRgb(255, 255, 255));
    grid->selectRow(1);
    QVERIFY(topPixel() != qRgb(255, 255, 255));
    grid->clearSelection();
    QCOMPARE(topPixel(), qRgb(255, 255, 255));
}

void TestDayGraphWindow::otherDatesInTheSameOrANewWindow()
{
    DayGraphWindow* window = open(kDay);
    auto* menu = Child<QMenu>(*window, "OstaliDatumi");
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().first()->text(), QStringLiteral("04.05.2024."));
    QCOMPARE(Child<QCheckBox>(*window, "IstiProzor")->toolTip(), QStringLiteral("Prikaži odabrani datum u istom prozoru"));

    // Unticked: a new window for the other date.
    menu->actions().first()->trigger();
    QList<DayGraphWindow*> windows = m_owner->findChildren<DayGraphWindow*>();
    QCOMPARE(windows.size(), 2);
    QCOMPARE(window->date(), kDay);

    // Ticked: this window shows the date.
    Child<QCheckBox>(*window, "IstiProzor")->setChecked(true);
    Child<QMenu>(*window, "OstaliDatumi")->actions().first()->trigger();
    QCOMPARE(window->date(), kDay.addDays(-2));
    QCOMPARE(Child<QLabel>(*window, "Datum")->text(), QStringLiteral("04.05.2024."));
    QCOMPARE(m_owner->findChildren<DayGraphWindow*>().size(), 2);
    QCOMPARE(Child<QMenu>(*window, "OstaliDatumi")->actions().first()->text(), QStringLiteral("06.05.2024."));
}

void TestDayGraphWindow::dayWithoutIntervals()
{
    DayGraphWindow* window = open(kDay.addDays(10));
    QCOMPARE(Child<QTableWidget>(*window, "AGrid")->rowCount(), 0);
    QCOMPARE(Child<QLabel>(*window, "Ukupno")->text(), QStringLiteral("00:00"));
    QCOMPARE(Child<QLabel>(*window, "PredenoKm")->text(), QString());
    QCOMPARE(Child<QLabel>(*window, "Prosjek")->text(), QStringLiteral("N/A"));
}

QTEST_MAIN(TestDayGraphWindow)
#include "tst_day_graph_window.moc"
