#include "temp_database.h"
#include "window_driving.h"

#include "app/main_window.h"
#include "ui/fonts.h"
#include "session/session.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>


class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void captionsPositionsAndHints_data();
    void captionsPositionsAndHints();
    void menuWithAccessLettersAndShortcuts();
    void firstShowingUpgradesTheDatabase();
    void missingDatabaseReportsOnceAndStaysUsable();
    void closingAsksForConfirmation();
    void instructionsWithoutFileDoNothing();
    void sizeFontsAndLogoStrip();
    void scannedChartCommandAsksForTheScan();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<Session> m_session;
};

void TestMainWindow::initTestCase()
{
    RegisterApplicationFonts();
}

void TestMainWindow::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(m_folder->path());  // no VTDB.DAT here
    m_session = std::make_unique<Session>(m_folder->filePath("postavke.dat"));
    m_session->settings().load({});
}

void TestMainWindow::cleanup()
{
    m_session.reset();
}

void TestMainWindow::captionsPositionsAndHints_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("position");
    QTest::addColumn<QString>("hint");
    QTest::newRow("RSButton") << "RSButton" << "Obrada listića" << QRect(10, 10, 245, 135)
                              << "Analiza i obrada podataka sa skeniranih tahografskih listića";
    QTest::newRow("BitBtn1") << "BitBtn1" << "Ručni unos aktivnosti" << QRect(10, 144, 245, 45)
                             << "Ručni unos radnih aktivnosti";
    QTest::newRow("AETRButton") << "AETRButton" << "Izrada AETR potvrde" << QRect(261, 10, 245, 179) << "";
    QTest::newRow("RVButton") << "RVButton" << "Evidencija radnog vremena" << QRect(10, 195, 496, 120) << "";
    QTest::newRow("EvRSButton") << "EvRSButton" << "Pregled evidentiranih radnih sati" << QRect(10, 321, 496, 62)
                                << "";
    QTest::newRow("EvAETRButton") << "EvAETRButton" << "Pregled evidentiranih AETR potvrda"
                                  << QRect(10, 387, 496, 62) << "";
}

void TestMainWindow::captionsPositionsAndHints()
{
    QFETCH(QString, name);
    MainWindow window(*m_session);
    QCOMPARE(window.windowTitle(), QStringLiteral("VELTRA - Evidencija radnih sati za mobilne radnike"));
    auto* button = window.findChild<QToolButton*>(name);
    QVERIFY(button);
    QTEST(button->text(), "caption");
    QTEST(button->geometry(), "position");
    QTEST(button->toolTip(), "hint");
}

void TestMainWindow::menuWithAccessLettersAndShortcuts()
{
    MainWindow window(*m_session);
    QStringList titles;
    for (QAction* menu : window.menuBar()->actions())
        titles << menu->text();
    QCOMPARE(titles, (QStringList{"&Podaci", "&Evidencija", "&O programu"}));
    QCOMPARE(window.action("ManualEntryAction")->shortcut(), QKeySequence("Ctrl+N"));
    QCOMPARE(window.action("ScannedChartAction")->shortcut(), QKeySequence("Ctrl+M"));
    QCOMPARE(window.action("ScannedChartAction")->text(), QStringLiteral("U&nos skeniranog listića"));
    // Only while the main window is the active window.
    QCOMPARE(window.action("ManualEntryAction")->shortcutContext(), Qt::WindowShortcut);
    QCOMPARE(window.action("WorkTimeRecordAction")->text(), QStringLiteral("&Izvješće - ev. radnog vremena"));
}

void TestMainWindow::firstShowingUpgradesTheDatabase()
{
    TempDatabase db(TempDatabase::Schema::Base);
    MainWindow window(*m_session);
    window.setProgramFolder(db.folder());
    QSignalSpy ready(&window, &MainWindow::databaseReady);
    MessageAnswerer answerer;
    window.show();
    QVERIFY(ready.wait(10000));
    QCOMPARE(ready.first().first().toBool(), true);
    QCOMPARE(answerer.texts, QStringList());
    QCOMPARE(m_session->connection().databaseName(), db.path());
    TestTransactions data(m_session->connection());
    QCOMPARE(QueryNumber(data, "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'SKENLOG'"), 1);
}

void TestMainWindow::missingDatabaseReportsOnceAndStaysUsable()
{
    MainWindow window(*m_session);
    window.setProgramFolder(m_folder->path());
    QSignalSpy ready(&window, &MainWindow::databaseReady);
    MessageAnswerer answerer;
    window.show();
    QVERIFY(ready.wait(10000));
    QCOMPARE(ready.first().first().toBool(), false);
    QCOMPARE(answerer.texts, QStringList{"Pogreška kod nadogradnje baze!"});
    QVERIFY(window.isVisible());
    QVERIFY(window.isEnabled() && window.action("AboutAction")->isEnabled());
}

void TestMainWindow::closingAsksForConfirmation()
{
    TempDatabase db;
    MainWindow window(*m_session);
    window.setProgramFolder(db.folder());
    QSignalSpy ready(&window, &MainWindow::databaseReady);
    window.show();
    QVERIFY(ready.wait(10000));
    {
        MessageAnswerer no(QMessageBox::No);
        window.action("ExitAction")->trigger();
        QCOMPARE(no.texts, QStringList{"Jeste li sigurni da želite izaći iz programa?"});
        QVERIFY(window.isVisible());
    }
    MessageAnswerer yes(QMessageBox::Yes);
    window.close();
    QCOMPARE(yes.texts, QStringList{"Jeste li sigurni da želite izaći iz programa?"});
    QVERIFY(!window.isVisible());
}

void TestMainWindow::instructionsWithoutFileDoNothing()
{
    MainWindow window(*m_session);
    window.setProgramFolder(m_folder->path());
    MessageAnswerer answerer;
    window.openInstructions();
    QTest::qWait(100);
    QCOMPARE(answerer.texts, QStringList());
}

void TestMainWindow::sizeFontsAndLogoStrip()
{
    MainWindow window(*m_session);
    window.setProgramFolder(m_folder->path());
    QCOMPARE(window.size(), QSize(524, 543));  // the menu bar included
    QCOMPARE(window.menuBar()->height(), 26);
    // Style sheets set the fonts when the widgets are polished for showing.
    window.menuBar()->ensurePolished();
    for (QToolButton* button : window.findChildren<QToolButton*>())
        button->ensurePolished();
    // The windows are drawn in the metric-compatible Tahoma of Debian's Wine fonts.
    QCOMPARE(QFontInfo(window.menuBar()->font()).family(), QStringLiteral("Tahoma"));
    QVERIFY(window.menuBar()->font().bold());
    for (const char* name : {"RSButton", "BitBtn1", "AETRButton", "RVButton", "EvRSButton", "EvAETRButton"}) {
        auto* button = window.findChild<QToolButton*>(name);
        QVERIFY2(button->font().bold() && button->font().pixelSize() == 19, qPrintable(button->objectName()));
        QCOMPARE(QFontInfo(button->font()).family(), QStringLiteral("Tahoma"));
    }
    auto* logo = window.findChild<QLabel*>("LogoStrip");
    QVERIFY(logo);
    QCOMPARE(logo->height(), 51);
    window.layout()->activate();
    QCOMPARE(logo->mapTo(&window, QPoint(0, logo->height())).y(), 543 - 4);
}

void TestMainWindow::scannedChartCommandAsksForTheScan()
{
    MainWindow window(*m_session);
    window.setProgramFolder(m_folder->path());
    MessageAnswerer answerer;
    bool chooserShown = false;
    QTimer cancel;
    connect(&cancel, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == QStringLiteral("izborSken")) {
            chooserShown = true;
            modal->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click();
        }
    });
    cancel.start(10);
    window.action("ScannedChartAction")->trigger();
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Novo u VELTRA - od 13.5.2011.! Očitavanje skeniranih listića!")});
    QVERIFY(chooserShown);
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
