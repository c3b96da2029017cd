#include "temp_database.h"
#include "window_driving.h"

#include "masterdata/ui/driver_window.h"
#include "masterdata/ui/driver_list_window.h"
#include "print/printout.h"
#include "print/ui/print_preview.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

class TestDriverListWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void listNumbersRowsAndCopiesKeys();
    void deleteAsksOnceWithoutOrders();
    void deleteWithOrdersAsksTwice_data();
    void deleteWithOrdersAsksTwice();
    void rosterShowsInThePreview();

private:
    QTableView* grid() { return Child<QTableView>(*m_window, "DBGrid1"); }
    void selectDriver(const QString& name);
    qint64 number(const QString& sql) { return QueryNumber(m_db->data(), sql); }

    std::unique_ptr<ConnectedDatabase> m_db;
    std::unique_ptr<PrintPreview> m_preview;
    std::unique_ptr<DriverListWindow> m_window;
};

void TestDriverListWindow::initTestCase()
{
    m_db = std::make_unique<ConnectedDatabase>();
}

void TestDriverListWindow::init()
{
    m_db->run("DELETE FROM DJELATNICI");
    m_db->run("DELETE FROM VOZACI");
    m_db->run("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, MBR, KARTICA) VALUES (7, 'Horvat Ivan', 1, 0, 'K7')");
    m_db->run("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, MBR) VALUES (3, 'Kovač Ana', 1, 55)");
    m_db->run("INSERT INTO VOZACI (IDNALOGA, VOZACID) VALUES (1, 3)");
    m_preview = std::make_unique<PrintPreview>(m_db->session().printing());
    m_window = std::make_unique<DriverListWindow>(m_db->session());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestDriverListWindow::cleanup()
{
    m_window.reset();
    m_preview.reset();
}

void TestDriverListWindow::selectDriver(const QString& name)
{
    for (int row = 0; row < grid()->model()->rowCount(); ++row) {
        if (grid()->model()->index(row, 2).data().toString() == name)
            grid()->selectRow(row);
    }
}

void TestDriverListWindow::listNumbersRowsAndCopiesKeys()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Vozači/djelatnici - unos i pregled"));
    QCOMPARE(Child<QComboBox>(*m_window, "Uvjet")->currentText(), QStringLiteral("Svi djelatnici"));
    QCOMPARE(grid()->model()->rowCount(), 2);
    QCOMPARE(grid()->model()->index(0, 0).data().toString(), QStringLiteral("1"));
    QCOMPARE(grid()->model()->index(0, 1).data().toString(), QString());  // MBR 0 shows empty
    QVERIFY(grid()->isColumnHidden(4) && grid()->isColumnHidden(6));
    QApplication::clipboard()->clear();
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split("\r\n");
    QCOMPARE(lines[0], QStringLiteral("##\t#\tMBR\tPrezime i ime\tOIB\tVozač\tKontakt\tID\tKartica"));
    // The row number, then the "#" column's field (the key), the hidden columns too.
    QCOMPARE(lines[1], QStringLiteral("1\t7\t0\tHorvat Ivan\t\t1\t\t7\tK7"));
}

void TestDriverListWindow::deleteAsksOnceWithoutOrders()
{
    selectDriver("Horvat Ivan");
    MessageAnswerer yes(QMessageBox::Yes);
    QTest::mouseClick(Child<QToolButton>(*m_window, "Obrisi"), Qt::LeftButton);
    QCOMPARE(yes.texts, QStringList{QStringLiteral("Jeste li sigurno da želite obrisati označenog djelatnika?")});
    QCOMPARE(number("SELECT COUNT(*) FROM DJELATNICI WHERE IDDJ=7"), 0);
    QCOMPARE(grid()->model()->rowCount(), 1);
}

void TestDriverListWindow::deleteWithOrdersAsksTwice_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("Da") << true;
    QTest::newRow("Ne") << false;
}

void TestDriverListWindow::deleteWithOrdersAsksTwice()
{
    QFETCH(bool, confirm);
    selectDriver("Kovač Ana");
    QStringList asked;
    int answers = 0;
    QTimer timer;
    timer.setInterval(20);
    connect(&timer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        asked << box->text();
        ++answers;
        box->button(answers == 1 || confirm ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    timer.start();
    QTest::mouseClick(Child<QToolButton>(*m_window, "Obrisi"), Qt::LeftButton);
    timer.stop();
    QCOMPARE(asked.size(), 2);
    QVERIFY(asked[1].startsWith(QStringLiteral("Djelatnik kojeg želite obrisati ima pridružene naloge!\n")));
    QVERIFY(asked[1].endsWith(QStringLiteral("\n\nJeste li sigurni da želite obrisati djelatnika?!")));
    QCOMPARE(number("SELECT COUNT(*) FROM DJELATNICI WHERE IDDJ=3"), confirm ? 0 : 1);
    QCOMPARE(number("SELECT COUNT(*) FROM VOZACI WHERE VOZACID=3"), 1);  // the order stays
}

void TestDriverListWindow::rosterShowsInThePreview()
{
    Child<QComboBox>(*m_window, "Uvjet")->setCurrentIndex(0);
    QTimer::singleShot(100, [this] {
        QCOMPARE(m_preview->document()->pageCount(), 1);
        QCOMPARE(Child<QListWidget>(*m_preview, "Stranice")->count(), 1);
        QCOMPARE(m_preview->document()->fileName(),
                 QStringLiteral("Popis djelatnika - ") + QDate::currentDate().toString("dd.MM.yyyy"));
        m_preview->close();
    });
    QTest::mouseClick(Child<QPushButton>(*m_window, "Izvjestaj"), Qt::LeftButton);
    QVERIFY(!m_preview->isVisible());
    QVERIFY(m_window->isVisible());
}

QTEST_MAIN(TestDriverListWindow)
#include "tst_driver_list_window.moc"
