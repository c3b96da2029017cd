#include "temp_database.h"
#include "window_driving.h"

#include "entries/entry_store.h"
#include "print/printout.h"
#include "print/ui/print_preview.h"
#include "settings/settings.h"
#include "ui/date_field.h"
#include "worktime/ui/worktime_window.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

class TestWorkTimeForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void recordOfTheFirstDriverOnShowing();
    void periodSurvivesClosing();
    void printingAtOnceOrThroughThePreview();

private:
    std::unique_ptr<ConnectedDatabase> m_db;
};

void TestWorkTimeForm::initTestCase()
{
    m_db = std::make_unique<ConnectedDatabase>();
    m_db->run("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, OIB) VALUES (2, 'Anić Ana', '11111111111')");
    m_db->run("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, OIB) VALUES (3, 'Babić Bruno', '22222222222')");
    ManualEntry entry;
    entry.driverId = 2;
    entry.vehicleId = 1;
    entry.date = QDate(2025, 9, 4);
    entry.remark = QStringLiteral("Zadar");
    entry.intervals = {ActivityInterval{ActivityKind::Driving, 360, 900, {}, {}}};
    QVERIFY(StoreManualEntry(m_db->data().write, entry).done);
}

void TestWorkTimeForm::recordOfTheFirstDriverOnShowing()
{
    WorkTimeWindow window(m_db->session());
    QVERIFY(ShowActive(window));
    // Changing the dates builds nothing until "Obnovi".
    ReplaceAndLeave(Child<DateField>(window, "Dat1"), QStringLiteral("3.9.2025"));
    ReplaceAndLeave(Child<DateField>(window, "Dat2"), QStringLiteral("9.9.2025"));
    QVERIFY(Child<QTableView>(window, "VT")->model()->index(0, 0).data().toString() != QStringLiteral("01.09.2025"));
    QTest::mouseClick(Child<QPushButton>(window, "BitBtn4"), Qt::LeftButton);
    QCOMPARE(window.windowTitle(), QStringLiteral("Evidencija radnog vremena"));
    QCOMPARE(Child<QComboBox>(window, "DjPopis")->currentText(), QStringLiteral("Anić Ana"));
    auto* grid = Child<QTableView>(window, "VT");
    QCOMPARE(grid->model()->rowCount(), 17);  // the last the average of the reference period
    QCOMPARE(Child<QLabel>(window, "BrojStavki")->text(), QStringLiteral("14"));
    QCOMPARE(grid->model()->index(3, 0).data().toString(), QStringLiteral("04.09.2025"));
    QCOMPARE(grid->model()->index(3, 0).data(Qt::UserRole).toString(), QStringLiteral("čet"));
    QCOMPARE(grid->model()->index(3, 1).data().toString(), QStringLiteral("09:00"));
    QCOMPARE(grid->model()->index(3, 4).data().toString(), QStringLiteral("Zadar"));
    QCOMPARE(grid->model()->index(7, 0).data().toString(), QStringLiteral("Tjedan ukupno"));
    QCOMPARE(grid->model()->index(7, 4).data().toString(), QStringLiteral("manje od 48 sati tjedno"));
    QCOMPARE(grid->model()->headerData(3, Qt::Horizontal, Qt::ToolTipRole).toString(),
             QStringLiteral("Ukupno radno vrijeme (dnevno radno vrijeme + noćni rad)"));
    QCOMPARE(grid->model()->index(16, 0).data().toString(), QStringLiteral("Prosjek"));
    // The night column is captioned with the night window of the settings.
    QCOMPARE(grid->model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Noćni rad (22-06)"));
    SettingsValues values = m_db->session().settings().values();
    values.night.from = 21 * kMinutesPerHour;
    m_db->session().settings().commit(values);
    QCOMPARE(grid->model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Noćni rad (21-06)"));
    values.night.from = 22 * kMinutesPerHour;
    m_db->session().settings().commit(values);
    // Choosing the other driver builds his record.
    auto* drivers = Child<QComboBox>(window, "DjPopis");
    drivers->setCurrentIndex(1);
    emit drivers->activated(1);
    QCOMPARE(grid->model()->index(3, 1).data().toString(), QStringLiteral("00:00"));
}

void TestWorkTimeForm::periodSurvivesClosing()
{
    WorkTimeWindow window(m_db->session());
    QVERIFY(ShowActive(window));
    ReplaceAndLeave(Child<DateField>(window, "Dat1"), QStringLiteral("1.8.2025"));
    QTest::mouseClick(Child<QPushButton>(window, "Povratak"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    window.show();
    QCOMPARE(Child<DateField>(window, "Dat1")->date(), QDate(2025, 8, 1));
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
}

void TestWorkTimeForm::printingAtOnceOrThroughThePreview()
{
    int printed = 0;
    int pages = 0;
    m_db->session().printing().setPrinter([&](const Printout& printout, const QString&, QString*) {
        ++printed;
        pages = printout.pageCount();
        return true;
    });
    PrintPreview preview(m_db->session().printing());
    WorkTimeWindow window(m_db->session());
    QVERIFY(ShowActive(window));
    ReplaceAndLeave(Child<DateField>(window, "Dat1"), QStringLiteral("1.9.2025"));
    ReplaceAndLeave(Child<DateField>(window, "Dat2"), QStringLiteral("30.11.2025"));
    QTest::mouseClick(Child<QPushButton>(window, "BitBtn4"), Qt::LeftButton);
    SettingsValues values = m_db->session().settings().values();
    values.reportPreview = false;
    m_db->session().settings().commit(values);
    QTest::mouseClick(Child<QPushButton>(window, "BitBtn7"), Qt::LeftButton);
    QCOMPARE(printed, 1);
    QCOMPARE(pages, 3);
    QVERIFY(!preview.isVisible());

    values.reportPreview = true;
    m_db->session().settings().commit(values);
    QTimer::singleShot(100, [&] {
        QVERIFY(preview.isVisible());
        QCOMPARE(preview.document()->fileName(),
                 QStringLiteral("Evidencija radnog vremena - Anić Ana - 01.09.2025-30.11.2025"));
        preview.close();
    });
    QTest::mouseClick(Child<QPushButton>(window, "BitBtn7"), Qt::LeftButton);
    QCOMPARE(printed, 1);
    m_db->session().printing().setPrinter(nullptr);
}

QTEST_MAIN(TestWorkTimeForm)
#include "tst_worktime_window.moc"
