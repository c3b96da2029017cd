#include "window_driving.h"

#include "ui/window_lookup.h"

#include "settings/settings_values.h"
#include "common/profile_file.h"
#include "masterdata/ui/vehicle_window.h"
#include "masterdata/ui/vehicle_list_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <functional>

class TestVehicleList : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void filterAndCounters_data();
    void filterAndCounters();
    void gridNumbersRowsAndShowsKindsAndNotes();
    void copyTableToClipboard();
    void changeThroughRecordKeepsPosition();
    void addThroughRecordRefreshesList();
    void deleteAsksFirst();
    void refusedDeleteIsReported();
    void placementIsKept();

private:
    void insertVehicle(const QString& make, const QString& plate, int kind, const QString& active,
                       const QString& remark = QStringLiteral("NULL"));
    void openList();
    QTableView* grid() { return Child<QTableView>(*m_list, "DBGrid1"); }
    QString counter(const char* name) { return Child<QLabel>(*m_list, name)->text(); }
    QString cell(int row, int column) { return grid()->model()->index(row, column).data().toString(); }
    qint64 number(const QString& sql) { return QueryNumber(m_db->data(), sql); }
    // Works the record window once it is shown by the next command.
    void whenRecordShown(const std::function<void(VehicleWindow&)>& work);

    std::unique_ptr<ConnectedDatabase> m_db;
    std::unique_ptr<VehicleListWindow> m_list;
};

void TestVehicleList::initTestCase()
{
    m_db = std::make_unique<ConnectedDatabase>();
}

void TestVehicleList::init()
{
    m_db->run(QStringLiteral("DELETE FROM VOZILO"));
    insertVehicle(QStringLiteral("MAN"), QStringLiteral("ZG-1"), 0, QStringLiteral("1"), QStringLiteral("'prvi'"));
    insertVehicle(QStringLiteral("DAF"), QStringLiteral("ZG-2"), 0, QStringLiteral("NULL"));
    insertVehicle(QStringLiteral("Volvo"), QStringLiteral("ZG-3"), 0, QStringLiteral("0"));
    insertVehicle(QStringLiteral("Krone"), QStringLiteral("ZG-4"), 1, QStringLiteral("1"), QStringLiteral("'prikolica'"));
    m_list = std::make_unique<VehicleListWindow>(m_db->session());
}

void TestVehicleList::cleanup()
{
    m_list.reset();
}

void TestVehicleList::insertVehicle(const QString& make, const QString& plate, int kind, const QString& active,
                                    const QString& remark)
{
    m_db->run(QStringLiteral("INSERT INTO VOZILO (MARKAITIP,OZNAKA,VRSTA,AKTIVNOALL,NAPOMENA,MASA) "
                             "VALUES ('%1','%2',%3,%4,%5,7.5)")
                  .arg(make, plate)
                  .arg(kind)
                  .arg(active, remark));
}

void TestVehicleList::openList()
{
    QVERIFY(ShowActive(*m_list));
}

void TestVehicleList::whenRecordShown(const std::function<void(VehicleWindow&)>& work)
{
    QTimer::singleShot(0, this, [work] {
        QVERIFY(QTest::qWaitFor([] { return qobject_cast<VehicleWindow*>(QApplication::activeModalWidget()); }));
        auto* record = qobject_cast<VehicleWindow*>(QApplication::activeModalWidget());
        QVERIFY(QTest::qWaitForWindowActive(record));
        work(*record);
    });
}

void TestVehicleList::filterAndCounters_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<bool>("onlyActive");
    QTest::addColumn<QStringList>("plates");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("shownActive");
    QTest::newRow("all") << 5 << false << QStringList{"ZG-2", "ZG-4", "ZG-1", "ZG-3"} << "4" << "3";
    QTest::newRow("all, only active") << 5 << true << QStringList{"ZG-2", "ZG-4", "ZG-1"} << "4" << "3";
    QTest::newRow("lorries") << 0 << false << QStringList{"ZG-2", "ZG-1", "ZG-3"} << "3" << "2";
    QTest::newRow("lorries, only active") << 0 << true << QStringList{"ZG-2", "ZG-1"} << "3" << "2";
    QTest::newRow("trailers") << 1 << false << QStringList{"ZG-4"} << "1" << "1";
    QTest::newRow("kind nobody has") << 4 << false << QStringList{} << "0" << "0";
}

void TestVehicleList::filterAndCounters()
{
    QFETCH(int, filter);
    QFETCH(bool, onlyActive);
    QFETCH(QStringList, plates);
    QFETCH(QString, shown);
    QFETCH(QString, shownActive);
    openList();
    QCOMPARE(m_list->windowTitle(), QStringLiteral("Pregled vozila - unos i pregled "));
    // No header is cut.
    const QHeaderView* header = grid()->horizontalHeader();
    for (int column = 0; column < grid()->model()->columnCount(); ++column) {
        const QString title = grid()->model()->headerData(column, Qt::Horizontal).toString();
        QVERIFY2(header->fontMetrics().horizontalAdvance(title) < header->sectionSize(column), qPrintable(title));
    }
    auto* kinds = Child<QComboBox>(*m_list, "Uvjet");
    QCOMPARE(kinds->currentText(), QStringLiteral("Sva vozila"));
    kinds->setCurrentIndex(filter);
    if (onlyActive)
        ClickBox(Child<QCheckBox>(*m_list, "SamoAktivna"));

    QStringList listed;
    for (int row = 0; row < grid()->model()->rowCount(); ++row)
        listed << cell(row, 3);
    QCOMPARE(listed, plates);
    QCOMPARE(counter("UkupnoVozila"), QStringLiteral("4"));
    QCOMPARE(counter("AktivnoVozila"), QStringLiteral("3"));
    QCOMPARE(counter("PrikazanoVozila"), shown);
    QCOMPARE(counter("OdTogaAktivno"), shownActive);
    QCOMPARE(Child<QGroupBox>(*m_list, "NapomenaBox")->isVisible(), !plates.isEmpty());
}

void TestVehicleList::gridNumbersRowsAndShowsKindsAndNotes()
{
    openList();
    QCOMPARE(grid()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("#"));
    QCOMPARE(cell(0, 0), QStringLiteral("1"));
    QCOMPARE(cell(3, 0), QStringLiteral("4"));
    QCOMPARE(cell(1, 2), QStringLiteral("Krone"));
    QCOMPARE(cell(1, 7), QStringLiteral("Priključna vozila"));
    QCOMPARE(cell(2, 7), QStringLiteral("Kamioni"));
    QCOMPARE(cell(2, 4), QStringLiteral("7,5"));

    auto* note = Child<QPlainTextEdit>(*m_list, "Napomena");
    QCOMPARE(grid()->currentIndex().row(), 0);
    QCOMPARE(note->toPlainText(), QString());
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Down);
    QCOMPARE(note->toPlainText(), QStringLiteral("prikolica"));
}

void TestVehicleList::copyTableToClipboard()
{
    openList();
    QApplication::clipboard()->clear();
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], QStringLiteral("##\t#\tGaražni broj\tMarka i tip vozila\tOznaka\tMasa (kg)\tNosivost (kg)\t"
                                      "Uk.masa (kg)\tVrsta"));
    // The row's number once, then the "#" column's field: the key, not the position again.
    const qint64 krone = number(QStringLiteral("SELECT IDVOZ FROM VOZILO WHERE OZNAKA='ZG-4'"));
    QCOMPARE(lines[2], QStringLiteral("2\t%1\t\tKrone\tZG-4\t7,5\t\t\tPriključna vozila").arg(krone));
}

void TestVehicleList::changeThroughRecordKeepsPosition()
{
    openList();
    whenRecordShown([](VehicleWindow& record) {
        QCOMPARE(record.findChild<QLineEdit*>(QStringLiteral("Oznaka"))->text(), QStringLiteral("ZG-1"));
        ReplaceAndLeave(record.findChild<QLineEdit*>(QStringLiteral("Oznaka")), QStringLiteral("ZG-111"));
        QTest::mouseClick(record.findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    });
    const QRect cellRect = grid()->visualRect(grid()->model()->index(2, 3));
    // An item view takes a double click as the second press on the same cell.
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, cellRect.center());
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, cellRect.center());
    QVERIFY(!FindWindow<VehicleWindow>());
    QCOMPARE(cell(2, 3), QStringLiteral("ZG-111"));
    QCOMPARE(grid()->currentIndex().row(), 2);
    QCOMPARE(Child<QPlainTextEdit>(*m_list, "Napomena")->toPlainText(), QStringLiteral("prvi"));
}

void TestVehicleList::addThroughRecordRefreshesList()
{
    openList();
    whenRecordShown([](VehicleWindow& record) {
        ReplaceAndLeave(record.findChild<QLineEdit*>(QStringLiteral("Tip")), QStringLiteral("Setra"));
        ReplaceAndLeave(record.findChild<QLineEdit*>(QStringLiteral("Oznaka")), QStringLiteral("BUS-1"));
        QTest::mouseClick(record.findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    });
    QTest::mouseClick(Child<QToolButton>(*m_list, "DodajNovo"), Qt::LeftButton);
    QCOMPARE(grid()->model()->rowCount(), 5);
    QCOMPARE(cell(3, 2), QStringLiteral("Setra"));
    QCOMPARE(counter("UkupnoVozila"), QStringLiteral("5"));
    QCOMPARE(counter("AktivnoVozila"), QStringLiteral("4"));
}

void TestVehicleList::deleteAsksFirst()
{
    openList();
    grid()->selectRow(1);
    {
        MessageAnswerer no(QMessageBox::No);
        QTest::mouseClick(Child<QToolButton>(*m_list, "Obrisi"), Qt::LeftButton);
        QCOMPARE(no.texts, QStringList{QStringLiteral("Jeste li sigurno da želite obrisati označeno vozilo iz baze?")});
    }
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM VOZILO")), 4);
    {
        MessageAnswerer yes(QMessageBox::Yes);
        QTest::mouseClick(Child<QToolButton>(*m_list, "Obrisi"), Qt::LeftButton);
    }
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM VOZILO WHERE OZNAKA='ZG-4'")), 0);
    QCOMPARE(grid()->model()->rowCount(), 3);
    QCOMPARE(grid()->currentIndex().row(), 1);
    QCOMPARE(counter("UkupnoVozila"), QStringLiteral("3"));
}

void TestVehicleList::refusedDeleteIsReported()
{
    m_db->refuseWrites(QStringLiteral("VOZILO"), QStringLiteral("DELETE"));
    openList();
    MessageAnswerer yes(QMessageBox::Yes);
    QTest::mouseClick(Child<QToolButton>(*m_list, "Obrisi"), Qt::LeftButton);
    m_db->allowWrites(QStringLiteral("VOZILO"), QStringLiteral("DELETE"));
    QCOMPARE(yes.texts.size(), 2);
    QVERIFY(yes.texts[1].contains(QStringLiteral("Upis odbijen")));
    QVERIFY(m_list->isVisible());
    QVERIFY(!m_db->data().write.isActive());
    QCOMPARE(grid()->model()->rowCount(), 4);
}

void TestVehicleList::placementIsKept()
{
    openList();
    m_list->resize(800, 520);
    QTest::mouseClick(Child<QPushButton>(*m_list, "Povratak"), Qt::LeftButton);
    QVERIFY(!m_list->isVisible());
    m_list.reset();
    const ProfileFile file(m_db->settingsPath());
    QCOMPARE(file.readInteger(QStringLiteral("VozilaForm"), QStringLiteral("Width"), 0), 800);
    m_list = std::make_unique<VehicleListWindow>(m_db->session());
    QCOMPARE(m_list->width(), 800);
}

QTEST_MAIN(TestVehicleList)
#include "tst_vehicle_list.moc"
