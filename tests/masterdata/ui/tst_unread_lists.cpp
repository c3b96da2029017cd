// Lists read from a database server while the network to it is cut: run against the server that
// scripts/test.sh starts (tests/support/on_server.sh), through a relay this test puts in front of
// it; skipped without a server.

#include "tcp_relay.h"
#include "window_driving.h"

#include "masterdata/ui/driver_list_window.h"
#include "masterdata/ui/vehicle_list_window.h"
#include "ui/pick_list_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

constexpr int kFirebirdPort = 3050;
const QString kNotRead = QStringLiteral("Popis nije pročitan: ");

// The line that tells the list was not read: shown with the reason, or hidden.
void CheckNotice(QWidget& window, bool notRead)
{
    auto* notice = window.findChild<QLabel*>(QStringLiteral("PopisNijeProcitan"));
    QVERIFY(notice != nullptr);
    QCOMPARE(notice->isVisible(), notRead);
    if (notRead) {
        QVERIFY2(notice->text().startsWith(kNotRead), qPrintable(notice->text()));
        QVERIFY2(notice->text().contains(QStringLiteral("localhost")), qPrintable(notice->text()));
    }
}

// The operator was told once, naming the server.
void CheckToldOnce(const MessageAnswerer& answerer)
{
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY2(answerer.texts.first().contains(QStringLiteral("localhost")), qPrintable(answerer.texts.first()));
}

}  // namespace

class TestUnreadLists : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void driverList();
    void vehicleListAndItsCounters();
    void pickList();

private:
    std::unique_ptr<TempDatabase> m_db;
    std::unique_ptr<TcpRelay> m_relay;
    std::unique_ptr<Session> m_session;
};

void TestUnreadLists::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("VELTRA_TEST_SERVER"))
        QSKIP("No Firebird server (scripts/test.sh starts one)");
}

void TestUnreadLists::init()
{
    m_db = std::make_unique<TempDatabase>();
    {
        TestConnection data;
        QCOMPARE(ConnectUpgraded(data, m_db->path()), QStringList());
        data.script.execute(QStringLiteral(
            "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, MBR) VALUES (1, 'Horvat Ivan', 1, 1);"
            "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, MBR) VALUES (2, 'Kovač Ana', 1, 2);"
            "INSERT INTO VOZILO (MARKAITIP, OZNAKA, VRSTA, AKTIVNOALL, MASA) VALUES ('MAN', 'ZG-1', 0, 1, 7.5);"));
        data.write.commit();
    }
    m_relay = std::make_unique<TcpRelay>(kFirebirdPort);
    m_session = std::make_unique<Session>(QDir(m_db->folder()).filePath(QStringLiteral("postavke.dat")));
    QCOMPARE(ConnectUpgraded(m_session->connection(), ThroughRelay(m_db->path(), *m_relay)), QStringList());
}

void TestUnreadLists::cleanup()
{
    m_session.reset();
    m_relay.reset();
    m_db.reset();
}

// Reading again after the cut shows the list as not read, never as empty; reopening the window
// once the server is back shows the employees.
void TestUnreadLists::driverList()
{
    DriverListWindow window(*m_session);
    QVERIFY(ShowActive(window));
    auto* grid = Child<QTableView>(window, "DBGrid1");
    QCOMPARE(grid->model()->rowCount(), 2);
    CheckNotice(window, false);

    m_relay->cut();
    {
        MessageAnswerer answerer;
        window.refresh();
        CheckToldOnce(answerer);
    }
    CheckNotice(window, true);
    QVERIFY(!grid->isEnabled());
    {
        // Nothing that was not read is printed as an empty roster.
        MessageAnswerer answerer;
        window.printRoster();
        QCOMPARE(answerer.texts.size(), 1);
        QVERIFY(answerer.texts.first().startsWith(kNotRead));
    }

    m_relay->restore();
    window.hide();
    QVERIFY(ShowActive(window));
    CheckNotice(window, false);
    QVERIFY(grid->isEnabled());
    QCOMPARE(grid->model()->rowCount(), 2);
}

// The counters of a list that was not read show no number at all.
void TestUnreadLists::vehicleListAndItsCounters()
{
    VehicleListWindow window(*m_session);
    QVERIFY(ShowActive(window));
    const auto counter = [&](const char* name) { return Child<QLabel>(window, name)->text(); };
    QCOMPARE(counter("UkupnoVozila"), QStringLiteral("1"));

    m_relay->cut();
    {
        MessageAnswerer answerer;
        window.refresh();
        CheckToldOnce(answerer);
    }
    CheckNotice(window, true);
    for (const char* name : {"UkupnoVozila", "AktivnoVozila", "PrikazanoVozila", "OdTogaAktivno"})
        QVERIFY2(counter(name).isEmpty(), name);

    m_relay->restore();
    window.refresh();
    CheckNotice(window, false);
    QCOMPARE(Child<QTableView>(window, "DBGrid1")->model()->rowCount(), 1);
    QCOMPARE(counter("UkupnoVozila"), QStringLiteral("1"));
}

// A pick list that could not be read offers nothing to choose ("Odaberi" would take
// "Zanemari" for a choice); shown again once the server is back, it holds the employees.
void TestUnreadLists::pickList()
{
    PickListDialog dialog(*m_session);
    dialog.query = QStringLiteral("SELECT IMEPREZIME, IDDJ FROM DJELATNICI");
    auto* items = Child<QComboBox>(dialog, "ComboSelect");
    auto* choose = Child<QPushButton>(dialog, "BitBtn1");

    m_relay->cut();
    {
        MessageAnswerer answerer;
        QVERIFY(ShowActive(dialog));
        CheckToldOnce(answerer);
    }
    CheckNotice(dialog, true);
    QVERIFY(!choose->isEnabled());
    QVERIFY(!items->isEnabled());
    dialog.hide();

    m_relay->restore();
    QVERIFY(ShowActive(dialog));
    CheckNotice(dialog, false);
    QVERIFY(choose->isEnabled());
    QCOMPARE(items->count(), 3);  // "Zanemari" and the two employees
}

QTEST_MAIN(TestUnreadLists)
#include "tst_unread_lists.moc"
