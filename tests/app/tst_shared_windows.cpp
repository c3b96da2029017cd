#include "temp_database.h"
#include "window_driving.h"

#include "app/main_window.h"
#include "compliance/ui/compliance_window.h"
#include "compliance/ui/record_gaps_window.h"
#include "entries/ui/manual_entry_window.h"
#include "masterdata/ui/driver_window.h"
#include "reviews/ui/overview_window.h"
#include "session/session.h"
#include "ui/window_lookup.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

class TestSharedWindows : public QObject {
    Q_OBJECT
private slots:
    void ctrlNOpensOneMoreEntryWindowOnlyFromTheMainWindow();
    void commandsShowTheirWindowsModally_data();
    void commandsShowTheirWindowsModally();
    void overviewIsOneWindowBroughtToTheFront();
    void complianceCheckOpensAWindowEachTime();
    void gapFinderFromTheMenuAndFromTheRegister();
};

void TestSharedWindows::ctrlNOpensOneMoreEntryWindowOnlyFromTheMainWindow()
{
    TempDatabase db;
    Session session(QDir(db.folder()).filePath("postavke.dat"));
    MainWindow main(session);
    main.setProgramFolder(db.folder());  // its first showing opens the test database
    QSignalSpy ready(&main, &MainWindow::databaseReady);
    main.show();
    QVERIFY(ready.wait(10000));
    QCOMPARE(ready.first().first().toBool(), true);
    const auto entryWindows = [] {
        const QWidgetList all = QApplication::topLevelWidgets();
        return std::count_if(all.begin(), all.end(),
                             [](QWidget* w) { return qobject_cast<ManualEntryWindow*>(w) && w->isVisible(); });
    };
    for (int i = 0; i < 3; ++i) {
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTest::keyClick(&main, Qt::Key_N, Qt::ControlModifier);
    }
    QCOMPARE(entryWindows(), 3);

    // While the vehicle list is the active window, Ctrl+N opens nothing.
    QTimer::singleShot(200, [&] {
        QWidget* list = QApplication::activeModalWidget();
        QVERIFY(list);
        QTest::keyClick(list, Qt::Key_N, Qt::ControlModifier);
        list->close();
    });
    main.action("VehiclesAction")->trigger();
    QCOMPARE(entryWindows(), 3);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<ManualEntryWindow*>(w))
            w->close();
    }
}

void TestSharedWindows::commandsShowTheirWindowsModally_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("windowClass");
    QTest::addColumn<QString>("caption");
    QTest::newRow("new driver") << "NewDriverAction" << "DriverWindow" << "Podaci o vozaču";
    QTest::newRow("driver list") << "DriverListAction" << "DriverListWindow" << "Vozači/djelatnici - unos i pregled";
    QTest::newRow("vehicles") << "VehiclesAction" << "VehicleListWindow" << "Pregled vozila - unos i pregled ";
    QTest::newRow("settings") << "SettingsAction" << "OptionsWindow" << "Postavke";
    QTest::newRow("about") << "AboutAction" << "AboutWindow" << "O programu";
    QTest::newRow("attestation register") << "AttestationRegisterAction" << "AttestationRegisterWindow"
                                          << "Pregled evidencije AETR potvrda";
    QTest::newRow("working-time record") << "WorkTimeRecordAction" << "WorkTimeWindow" << "Evidencija radnog vremena";
}

void TestSharedWindows::commandsShowTheirWindowsModally()
{
    QFETCH(QString, action);
    TempDatabase db;
    Session session(QDir(db.folder()).filePath("postavke.dat"));
    MainWindow main(session);
    ConnectUpgraded(session.connection(), db.path());
    QString shownClass, shownCaption;
    int shownId = 0;
    QTimer::singleShot(100, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        shownClass = QString::fromLatin1(modal->metaObject()->className());
        shownCaption = modal->windowTitle();
        if (auto* driver = qobject_cast<DriverWindow*>(modal))
            shownId = driver->recordId;
        modal->close();
    });
    main.action(action)->trigger();
    QTEST(shownClass, "windowClass");
    QTEST(shownCaption, "caption");
    if (action == "NewDriverAction")
        QCOMPARE(shownId, -1);
}

void TestSharedWindows::overviewIsOneWindowBroughtToTheFront()
{
    TempDatabase db;
    Session session(QDir(db.folder()).filePath("postavke.dat"));
    MainWindow main(session);
    ConnectUpgraded(session.connection(), db.path());
    const auto overviews = [] {
        const QWidgetList all = QApplication::topLevelWidgets();
        return std::count_if(all.begin(), all.end(),
                             [](QWidget* w) { return qobject_cast<OverviewWindow*>(w) && w->isVisible(); });
    };
    main.action("EntryOverviewAction")->trigger();
    QVERIFY(QTest::qWaitForWindowActive(FindWindow<OverviewWindow>()));
    QWidget other;
    QVERIFY(ShowActive(other));
    main.action("EntryOverviewAction")->trigger();
    QCOMPARE(overviews(), 1);
    QVERIFY(QTest::qWaitForWindowActive(FindWindow<OverviewWindow>()));
}

void TestSharedWindows::complianceCheckOpensAWindowEachTime()
{
    TempDatabase db;
    Session session(QDir(db.folder()).filePath("postavke.dat"));
    MainWindow main(session);
    ConnectUpgraded(session.connection(), db.path());
    const auto shown = [] {
        QList<ComplianceWindow*> found;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<ComplianceWindow*>(widget); window && window->isVisible())
                found << window;
        }
        return found;
    };
    QCOMPARE(main.action("ComplianceAction")->text(), QStringLiteral("&Kontrola propisa"));
    main.action("ComplianceAction")->trigger();
    main.action("ComplianceAction")->trigger();
    QCOMPARE(shown().size(), 2);
    QCOMPARE(shown()[0]->windowTitle(), QStringLiteral("Kontrola propisa"));
    for (ComplianceWindow* window : shown())
        window->close();
}

void TestSharedWindows::gapFinderFromTheMenuAndFromTheRegister()
{
    TempDatabase db;
    Session session(QDir(db.folder()).filePath("postavke.dat"));
    MainWindow main(session);
    ConnectUpgraded(session.connection(), db.path());
    QCOMPARE(main.action("RecordGapsAction")->text(), QStringLiteral("&Praznine u evidenciji"));
    main.action("RecordGapsAction")->trigger();
    auto* fromMenu = FindWindow<RecordGapsWindow>();
    QVERIFY(fromMenu && fromMenu->isVisible());
    QCOMPARE(fromMenu->windowTitle(), QStringLiteral("Praznine u evidenciji"));
    fromMenu->close();
    QVERIFY(QTest::qWaitFor([] { return !FindWindow<RecordGapsWindow>(); }));

    // From the register, which is modal: the window belongs to it and takes input beside it.
    bool closedByClick = false;
    QTimer::singleShot(100, [&] {
        QWidget* attestations = QApplication::activeModalWidget();
        QVERIFY(attestations);
        ClickThroughWindow(Child<QPushButton>(*attestations, "Praznine"));
        QPointer<RecordGapsWindow> gaps = FindWindow<RecordGapsWindow>();
        QVERIFY(gaps && gaps->parentWidget() == attestations);
        QVERIFY(QTest::qWaitForWindowActive(gaps));
        ClickThroughWindow(Child<QPushButton>(*gaps, "Zatvori"));
        closedByClick = QTest::qWaitFor([&] { return gaps.isNull(); });
        attestations->close();
    });
    main.action("AttestationRegisterAction")->trigger();
    QVERIFY(closedByClick);
}

QTEST_MAIN(TestSharedWindows)
#include "tst_shared_windows.moc"
