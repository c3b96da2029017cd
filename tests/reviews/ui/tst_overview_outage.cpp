// The overview's lists, read off the window's thread, while the network to the database server
// is cut: run against the server that scripts/test.sh starts (tests/support/on_server.sh),
// through a relay this test puts in front of it; skipped without a server.

#include "tcp_relay.h"
#include "window_driving.h"

#include "entries/entry_store.h"
#include "reviews/ui/overview_window.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

class TestOverviewOutage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void listsReadAgainOnceTheServerIsBack();
};

void TestOverviewOutage::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("VELTRA_TEST_SERVER"))
        QSKIP("No Firebird server (scripts/test.sh starts one)");
}

// "Obnovi" while the server is away shows the lists as not read, not as lists without entries;
// "Obnovi" once it is back shows the entry.
void TestOverviewOutage::listsReadAgainOnceTheServerIsBack()
{
    TempDatabase db;
    {
        TestConnection data;
        QCOMPARE(ConnectUpgraded(data, db.path()), QStringList());
        data.script.execute(QStringLiteral(
            "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, MBR) VALUES (1, 'Horvat Ivan', 1, 1);"
            "INSERT INTO VOZILO (IDVOZ, MARKAITIP, OZNAKA, VRSTA, AKTIVNOALL, MASA) VALUES (1, 'MAN', 'ZG-1', 0, 1, 7.5);"));
        data.write.commit();
        ManualEntry entry;
        entry.driverId = 1;
        entry.vehicleId = 1;
        entry.date = QDate::currentDate().addDays(-1);
        const std::vector<IntervalRow> rows{{ActivityKind::Driving, ClockText(6 * 60), ClockText(10 * 60), "", ""}};
        entry.intervals = IntervalsFromRows(rows);
        const WriteResult stored = StoreManualEntry(data.write, entry);
        QVERIFY2(stored.done, qPrintable(stored.message));
    }
    TcpRelay relay(3050);
    Session session(QDir(db.folder()).filePath(QStringLiteral("postavke.dat")));
    QCOMPARE(ConnectUpgraded(session.connection(), ThroughRelay(db.path(), relay)), QStringList());

    OverviewWindow window(session);
    QVERIFY(ShowActive(window));
    auto* entries = Child<QTableView>(window, "UnosiGrid");
    auto* notice = Child<QLabel>(window, "PopisNijeProcitan");
    auto* refresh = Child<QPushButton>(window, "Obnovi");
    QTRY_COMPARE(entries->model()->rowCount(), 1);
    QVERIFY(!notice->isVisible());

    relay.cut();
    {
        MessageAnswerer answerer;
        refresh->click();
        QTRY_VERIFY(notice->isVisible());
        QVERIFY2(notice->text().startsWith(QStringLiteral("Popis nije pročitan: ")), qPrintable(notice->text()));
        QVERIFY(!Child<QTabWidget>(window, "Stranice")->isEnabled());
        QTRY_VERIFY(!answerer.texts.isEmpty());
        QVERIFY2(answerer.texts.first().contains(QStringLiteral("localhost")), qPrintable(answerer.texts.first()));
        // Every list has given up before the server comes back.
        QTest::qWait(500);
    }

    relay.restore();
    refresh->click();
    QTRY_COMPARE(entries->model()->rowCount(), 1);
    QVERIFY(!notice->isVisible());
    QVERIFY(Child<QTabWidget>(window, "Stranice")->isEnabled());
}

QTEST_MAIN(TestOverviewOutage)
#include "tst_overview_outage.moc"
