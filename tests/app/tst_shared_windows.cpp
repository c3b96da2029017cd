#include "temp_database.h"
#include "window_driving.h"

#include "settings/settings_values.h"
#include "app/shared_windows.h"
#include "compliance/ui/compliance_window.h"
#include "entries/ui/manual_entry_form.h"

#include <QApplication>
#include <QtTest>

class TestSharedWindows : public QObject {
    Q_OBJECT
private slots:
    void ctrlNOpensOneMoreEntryWindowOnlyFromTheMainWindow();
    void commandsShowTheirWindowsModally_data();
    void commandsShowTheirWindowsModally();
    void overviewIsOneWindowBroughtToTheFront();
    void complianceCheckOpensAWindowEachTime();
};

void TestSharedWindows::ctrlNOpensOneMoreEntryWindowOnlyFromTheMainWindow()
{
    TempDatabase db;
    SetSettingsFilePath(QDir(db.folder()).filePath("postavke.dat"));
    SharedWindows windows;
    TForm1& main = *windows.mainWindow;
    main.setProgramFolder(db.folder());  // its first showing opens the test database
    QSignalSpy ready(&main, &TForm1::databaseReady);
    main.show();
    QVERIFY(ready.wait(10000));
    QCOMPARE(ready.first().first().toBool(), true);
    const auto entryWindows = [] {
        const QWidgetList all = QApplication::topLevelWidgets();
        return std::count_if(all.begin(), all.end(),
                             [](QWidget* w) { return qobject_cast<TfrmRucniUnos*>(w) && w->isVisible(); });
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
        if (qobject_cast<TfrmRucniUnos*>(w))
            w->close();
    }
}

void TestSharedWindows::commandsShowTheirWindowsModally_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("windowClass");
    QTest::addColumn<QString>("caption");
    QTest::newRow("new driver") << "NewDriverAction" << "TDjelatnikForm" << "Podaci o vozaču";
    QTest::newRow("driver list") << "DriverListAction" << "TDjelatniciForm" << "Vozači/djelatnici - unos i pregled";
    QTest::newRow("vehicles") << "VehiclesAction" << "TVozilaForm" << "Pregled vozila - unos i pregled ";
    QTest::newRow("settings") << "SettingsAction" << "TopcijeForm" << "Postavke";
    QTest::newRow("about") << "AboutAction" << "TAboutForm" << "O programu";
    QTest::newRow("attestation register") << "AttestationRegisterAction" << "TfrmAETROverview"
                                          << "Pregled evidencije AETR potvrda";
    QTest::newRow("working-time record") << "WorkTimeRecordAction" << "TERSatiForma2" << "Evidencija radnog vremena";
}

void TestSharedWindows::commandsShowTheirWindowsModally()
{
    QFETCH(QString, action);
    TempDatabase db;
    SetSettingsFilePath(QDir(db.folder()).filePath("postavke.dat"));
    SharedWindows windows;
    ConnectUpgraded(*windows.data, db.path());
    QString shownClass, shownCaption;
    QTimer::singleShot(100, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        shownClass = QString::fromLatin1(modal->metaObject()->className());
        shownCaption = modal->windowTitle();
        modal->close();
    });
    windows.mainWindow->action(action)->trigger();
    QTEST(shownClass, "windowClass");
    QTEST(shownCaption, "caption");
    if (action == "NewDriverAction")
        QCOMPARE(windows.driver->ID, -1);
}

void TestSharedWindows::overviewIsOneWindowBroughtToTheFront()
{
    TempDatabase db;
    SetSettingsFilePath(QDir(db.folder()).filePath("postavke.dat"));
    SharedWindows windows;
    ConnectUpgraded(*windows.data, db.path());
    const auto overviews = [] {
        const QWidgetList all = QApplication::topLevelWidgets();
        return std::count_if(all.begin(), all.end(),
                             [](QWidget* w) { return qobject_cast<TfrmOverview*>(w) && w->isVisible(); });
    };
    windows.mainWindow->action("EntryOverviewAction")->trigger();
    QVERIFY(QTest::qWaitForWindowActive(windows.overview.get()));
    QWidget other;
    QVERIFY(ShowActive(other));
    windows.mainWindow->action("EntryOverviewAction")->trigger();
    QCOMPARE(overviews(), 1);
    QVERIFY(QTest::qWaitForWindowActive(windows.overview.get()));
}

QTEST_MAIN(TestSharedWindows)
void TestSharedWindows::complianceCheckOpensAWindowEachTime()
{
    TempDatabase db;
    SetSettingsFilePath(QDir(db.folder()).filePath("postavke.dat"));
    SharedWindows windows;
    ConnectUpgraded(*windows.data, db.path());
    const auto shown = [] {
        QList<ComplianceWindow*> found;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<ComplianceWindow*>(widget); window && window->isVisible())
                found << window;
        }
        return found;
    };
    QCOMPARE(windows.mainWindow->action("ComplianceAction")->text(), QStringLiteral("&Kontrola propisa"));
    windows.mainWindow->action("ComplianceAction")->trigger();
    windows.mainWindow->action("ComplianceAction")->trigger();
    QCOMPARE(shown().size(), 2);
    QCOMPARE(shown()[0]->windowTitle(), QStringLiteral("Kontrola propisa"));
    for (ComplianceWindow* window : shown())
        window->close();
}

#include "tst_shared_windows.moc"
