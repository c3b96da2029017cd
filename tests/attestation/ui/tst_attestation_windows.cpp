#include "pdf_text.h"
#include "temp_database.h"
#include "window_driving.h"

#include "attestation/attestation_printout.h"
#include "attestation/ui/attestation_window.h"
#include "attestation/ui/register_window.h"
#include "print/pdf_output.h"
#include "print/printout.h"
#include "print/ui/printer_output.h"
#include "print/ui/print_preview.h"
#include "settings/settings.h"
#include "ui/date_field.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

class TestAttestationWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void newAttestationTakesDefaultsAndTheLatestFiller();
    void savingNeedsAnActivityAndStoresTheFields();
    void printingNeedsAPrinterAndMakesTwoCopies();
    void autoPrintsAfterSaving();
    void registerListsOpensAndDeletes();
    void activityFilterOnScreenAndOnPaper();
    void attestationFromTheRegisterWorksBesideIt();
    void driverPickedFromTheRecord();

private:
    AttestationWindow* open(int id = -1);
    qint64 number(const QString& sql) { return QueryNumber(m_db->data(), sql); }
    void setSettings(const std::function<void(SettingsValues&)>& change);

    std::unique_ptr<ConnectedDatabase> m_db;
    std::unique_ptr<QWidget> m_owner;
    QList<int> m_copies;
};

void TestAttestationWindows::initTestCase()
{
    m_db = std::make_unique<ConnectedDatabase>();
}

void TestAttestationWindows::init()
{
    m_db->run("DELETE FROM AKTPOTVRDA");
    m_owner = std::make_unique<QWidget>();
    m_copies.clear();
    m_db->session().printing().setPrinter([this](const Printout& printout, const QString&, QString*) {
        m_copies << printout.copies();
        return true;
    });
    setSettings([](SettingsValues& values) {
        values.attestationPrinter = QStringLiteral("Pisač potvrda");
        values.attestationPreview = false;
        values.printAfterStore = false;
        values.companySeat = QStringLiteral("Zagreb");
        values.companyName = QStringLiteral("Prijevoznik d.o.o.");
        values.companyAddress = QStringLiteral("Glavna ulica 1");
        values.postCode = QStringLiteral("10000");
        values.signingPlace = QStringLiteral("Karlovac");
    });
}

void TestAttestationWindows::cleanup()
{
    m_owner.reset();
    m_db->session().printing().setPrinter(nullptr);
}

void TestAttestationWindows::setSettings(const std::function<void(SettingsValues&)>& change)
{
    SettingsValues values = m_db->session().settings().values();
    change(values);
    m_db->session().settings().commit(values);
}

AttestationWindow* TestAttestationWindows::open(int id)
{
    AttestationWindow* window = OpenAttestationWindow(m_db->session(), id, m_owner.get());
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qWarning("The attestation window did not become active");
    return window;
}

void TestAttestationWindows::newAttestationTakesDefaultsAndTheLatestFiller()
{
    AttestationWindow* first = open();
    QCOMPARE(first->windowTitle(), QStringLiteral("Potvrda o aktivnosti"));
    QCOMPARE(Child<QPushButton>(*first, "BitBtn1")->text(), QStringLiteral("Dodaj"));
    QCOMPARE(Child<QLineEdit>(*first, "MjestoPotvrde")->text(), QStringLiteral("Zagreb"));
    QCOMPARE(Child<QLineEdit>(*first, "UlicaTvrtke")->text(), QStringLiteral("Glavna ulica 1,10000 Zagreb"));
    QCOMPARE(Child<QLineEdit>(*first, "MPotpisa")->text(), QStringLiteral("Karlovac"));
    QCOMPARE(Child<DateField>(*first, "RazdobljeDo")->date(), QDate::currentDate().addDays(1));
    QVERIFY(Child<QCheckBox>(*first, "PotpisCheck")->isChecked());
    QVERIFY(!Child<QCheckBox>(*first, "DoCheck")->isChecked());
    QCOMPARE(Child<QLineEdit>(*first, "ImePopunio")->text(), QString());
    ReplaceAndLeave(Child<QLineEdit>(*first, "ImePopunio"), QStringLiteral("Babić Đurđa"));
    ReplaceAndLeave(Child<QLineEdit>(*first, "FunkcijaPopunio"), QStringLiteral("referentica"));
    Child<QListWidget>(*first, "AktivnostLista")->setCurrentRow(2);
    QPointer<AttestationWindow> guard(first);
    QTest::mouseClick(Child<QPushButton>(*first, "BitBtn1"), Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return guard.isNull(); }));

    // Several windows at once, each for a new attestation, both taking the latest filler.
    AttestationWindow* second = open();
    AttestationWindow* third = open();
    for (AttestationWindow* window : {second, third}) {
        QCOMPARE(Child<QLineEdit>(*window, "ImePopunio")->text(), QStringLiteral("Babić Đurđa"));
        QCOMPARE(Child<QLineEdit>(*window, "FunkcijaPopunio")->text(), QStringLiteral("referentica"));
    }
}

void TestAttestationWindows::savingNeedsAnActivityAndStoresTheFields()
{
    AttestationWindow* window = open();
    {
        // The list taking the focus makes its first row current, which chooses no activity.
        Child<QListWidget>(*window, "AktivnostLista")->setFocus();
        MessageAnswerer answerer;
        QTest::mouseClick(Child<QPushButton>(*window, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(answerer.texts, QStringList{QStringLiteral("Niste definirali aktivnost!")});
    }
    QCOMPARE(number("SELECT COUNT(*) FROM AKTPOTVRDA"), 0);
    QVERIFY(ShowActive(*window));
    ReplaceAndLeave(Child<QLineEdit>(*window, "ImeVozac"), QStringLiteral("Žužić Ivo"));
    ReplaceAndLeave(Child<DateField>(*window, "RazdobljeOd"), QStringLiteral("1.3.2030"));
    ReplaceAndLeave(Child<QLineEdit>(*window, "SatOd"), QStringLiteral("8"));
    QCOMPARE(Child<QLineEdit>(*window, "SatOd")->text(), QStringLiteral("08:00"));
    Child<DateField>(*window, "DatZaposlen")->setDate(DayZero());
    Child<QListWidget>(*window, "AktivnostLista")->setCurrentRow(0);
    QPointer<AttestationWindow> guard(window);
    QTest::keyClick(Child<QLineEdit>(*window, "ImeVozac"), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QTest::qWaitFor([&] { return guard.isNull(); }));
    QCOMPARE(number("SELECT COUNT(*) FROM AKTPOTVRDA WHERE IME2='Žužić Ivo' AND RAZOD='2030-03-01 08:00' AND RAZDO IS NULL "
                    "AND DZAP IS NULL AND PISP=1 AND TIP=0 AND IDVOZ=-1"),
             1);
    // Reopened: "Promijeni", and the start in the "Do:" fields without an end.
    const int id = int(number("SELECT MAX(IDP) FROM AKTPOTVRDA"));
    AttestationWindow* again = open(id);
    QCOMPARE(Child<QPushButton>(*again, "BitBtn1")->text(), QStringLiteral("Promijeni"));
    QCOMPARE(Child<DateField>(*again, "RazdobljeDo")->date(), QDate(2030, 3, 1));
    QCOMPARE(Child<QLineEdit>(*again, "SatDO")->text(), QStringLiteral("08:00"));
    QCOMPARE(Child<DateField>(*again, "DatZaposlen")->date(), DayZero());
}

void TestAttestationWindows::printingNeedsAPrinterAndMakesTwoCopies()
{
    AttestationWindow* window = open();
    setSettings([](SettingsValues& values) { values.attestationPrinter.clear(); });
    {
        MessageAnswerer answerer;
        QTest::mouseClick(Child<QPushButton>(*window, "BitBtn7"), Qt::LeftButton);
        QCOMPARE(answerer.texts, QStringList{QStringLiteral("Nedefiniran printer (Podaci-Postavke)!")});
    }
    QVERIFY(m_copies.isEmpty());
    setSettings([](SettingsValues& values) { values.attestationPrinter = QStringLiteral("Pisač potvrda"); });
    QTest::mouseClick(Child<QPushButton>(*window, "BitBtn7"), Qt::LeftButton);
    QCOMPARE(m_copies, QList<int>{2});
    // With the preview on, the form shows first.
    setSettings([](SettingsValues& values) { values.attestationPreview = true; });
    PrintPreview preview(m_db->session().printing());
    QTest::mouseClick(Child<QPushButton>(*window, "BitBtn7"), Qt::LeftButton);
    QVERIFY(preview.isVisible());
    QCOMPARE(m_copies.size(), 1);
    QVERIFY(dynamic_cast<const AttestationPrintout*>(preview.document()));
}

void TestAttestationWindows::autoPrintsAfterSaving()
{
    setSettings([](SettingsValues& values) { values.printAfterStore = true; });
    AttestationWindow* window = open();
    Child<QListWidget>(*window, "AktivnostLista")->setCurrentRow(5);
    QTest::mouseClick(Child<QPushButton>(*window, "BitBtn1"), Qt::LeftButton);
    QCOMPARE(m_copies, QList<int>{2});
    QCOMPARE(number("SELECT COUNT(*) FROM AKTPOTVRDA WHERE TIP=5"), 1);
}

void TestAttestationWindows::registerListsOpensAndDeletes()
{
    m_db->run("INSERT INTO AKTPOTVRDA (IDVOZ, TIP, IME2, IME1, RAZOD, RAZDO, DATUM) VALUES "
              "(1, 0, 'Anić Ana', 'Babić Đurđa', '2030-03-01 08:00', '2030-03-31 00:00', '2030-03-01')");
    m_db->run("INSERT INTO AKTPOTVRDA (IDVOZ, TIP, IME2, IME1, RAZOD, DATUM) VALUES "
              "(2, 3, 'ANIĆ ANA', 'Babić Đurđa', '2030-03-15 00:00', '2030-03-15')");
    AttestationRegisterWindow window(m_db->session());
    QVERIFY(ShowActive(window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Pregled evidencije AETR potvrda"));
    QCOMPARE(Child<DateField>(window, "Dat1")->date(), QDate(2030, 2, 28));
    QCOMPARE(Child<DateField>(window, "Dat2")->date(), QDate(2030, 4, 1));
    auto* grid = Child<QTableWidget>(window, "ThemeDBGrid1");
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(Child<QLabel>(window, "BrojPotvrda")->text(), QStringLiteral("2"));
    QCOMPARE(Child<QLabel>(window, "BrojDjelatnika")->text(), QStringLiteral("2"));  // two drivers by id
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("15.03.2030 00:00"));
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("01.03.2030 08:00 - 31.03.2030 00:00"));

    // The separator of the activity list stands for all activities.
    auto* activities = Child<QComboBox>(window, "vrstaTip");
    activities->setCurrentIndex(2 + 3);
    emit activities->activated(2 + 3);
    QCOMPARE(grid->rowCount(), 1);
    activities->setCurrentIndex(1);
    emit activities->activated(1);
    QCOMPARE(activities->currentIndex(), 0);
    QCOMPARE(grid->rowCount(), 2);

    QApplication::clipboard()->clear();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text().count("\r\n"), 2);

    // Opening from the list; deleting asks first.
    grid->selectRow(0);
    emit grid->cellDoubleClicked(0, 0);
    QCOMPARE(window.findChildren<AttestationWindow*>().size(), 1);
    {
        MessageAnswerer no(QMessageBox::No);
        Child<QAction>(*grid, "ObrisiPotvrdu")->trigger();
        QCOMPARE(no.texts, QStringList{QStringLiteral("Jeste li sigurni da želite obrisati označenu potvrdu?")});
    }
    QCOMPARE(grid->rowCount(), 2);
    MessageAnswerer yes(QMessageBox::Yes);
    Child<QAction>(*grid, "ObrisiPotvrdu")->trigger();
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(number("SELECT COUNT(*) FROM AKTPOTVRDA"), 1);

    // The range and the order survive closing; the driver and activity are all again.
    auto* order = Child<QComboBox>(window, "ComboBox1");
    order->setCurrentIndex(3);
    Child<DateField>(window, "Dat1")->setDate(QDate(2030, 3, 10));
    window.close();
    window.show();
    QCOMPARE(order->currentIndex(), 3);
    QCOMPARE(Child<DateField>(window, "Dat1")->date(), QDate(2030, 3, 10));
    QCOMPARE(Child<QComboBox>(window, "DjPopis")->currentIndex(), 0);
}

void TestAttestationWindows::activityFilterOnScreenAndOnPaper()
{
    // One attestation of each activity, two of annual leave.
    for (int activity : {0, 1, 1, 2, 3, 4, 5}) {
        m_db->run(QStringLiteral("INSERT INTO AKTPOTVRDA (IDVOZ, TIP, IME2, RAZOD, DATUM) VALUES "
                                 "(1, %1, 'Anić Ana', '2030-03-01 08:00', '2030-03-01')")
                      .arg(activity));
    }
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("popis.pdf"));
    m_db->session().printing().setPrinter([&](const Printout& printout, const QString&, QString* error) { return WritePdf(printout, pdf, error); });
    AttestationRegisterWindow window(m_db->session());
    QVERIFY(ShowActive(window));
    auto* activities = Child<QComboBox>(window, "vrstaTip");
    auto* grid = Child<QTableWidget>(window, "ThemeDBGrid1");
    const QStringList texts = AttestedActivityTexts();
    for (int activity = 0; activity < texts.size(); ++activity) {
        // From "Sve vrste aktivnosti" down the list with the arrow key, past the separator.
        activities->setFocus();
        QTest::keyClick(activities, Qt::Key_Home);
        for (int step = 0; step <= activity; ++step)
            QTest::keyClick(activities, Qt::Key_Down);
        QCOMPARE(activities->currentText(), texts[activity]);
        QCOMPARE(grid->rowCount(), activity == 1 ? 2 : 1);
        for (int row = 0; row < grid->rowCount(); ++row)
            QCOMPARE(grid->item(row, 4)->text(), texts[activity]);

        QTest::mouseClick(Child<QPushButton>(window, "BitBtn7"), Qt::LeftButton);
        const QString printed = PdfPageTexts(pdf).join(QLatin1Char('\n'));
        for (int other = 0; other < texts.size(); ++other)
            QCOMPARE(printed.count(texts[other]), other == activity ? grid->rowCount() : 0);
    }
}

void TestAttestationWindows::attestationFromTheRegisterWorksBesideIt()
{
    m_db->run("INSERT INTO AKTPOTVRDA (IDVOZ, TIP, IME2, IME1, RAZOD, DATUM) VALUES "
              "(1, 1, 'Anić Ana', 'Babić Đurđa', '2030-03-01 08:00', '2030-03-01')");
    setSettings([](SettingsValues& values) { values.attestationPreview = true; });
    PrintPreview preview(m_db->session().printing());
    AttestationRegisterWindow registerWindow(m_db->session());
    auto* grid = Child<QTableWidget>(registerWindow, "ThemeDBGrid1");
    const auto openFirstRow = [&]() -> AttestationWindow* {
        DoubleClickThroughWindow(grid->viewport(), grid->visualRect(grid->model()->index(0, 2)).center());
        AttestationWindow* attestation = nullptr;
        const bool active = QTest::qWaitFor([&] {
            attestation = registerWindow.findChild<AttestationWindow*>();
            return attestation && attestation->isActiveWindow();
        });
        return active ? attestation : nullptr;
    };
    // The register is shown modally, as the main window shows it; all of this happens while it is.
    const auto steps = [&] {
        QVERIFY(QTest::qWaitForWindowActive(&registerWindow));
        QPointer<AttestationWindow> attestation = openFirstRow();
        QVERIFY(attestation && attestation->isActiveWindow());
        auto* driver = Child<QLineEdit>(*attestation, "ImeVozac");
        ClickThroughWindow(driver);
        PressThroughWindow(attestation, Qt::Key_A, Qt::ControlModifier);
        TypeThroughWindow(attestation, QStringLiteral("Kovac Ivo"));
        QCOMPARE(driver->text(), QStringLiteral("Kovac Ivo"));

        // Printed through the preview, which takes clicks too.
        QTimer::singleShot(0, [&] {
            QVERIFY(QTest::qWaitFor([&] { return preview.isActiveWindow(); }));
            ClickThroughWindow(Child<QPushButton>(preview, "Ispisi"));
            preview.close();
        });
        ClickThroughWindow(Child<QPushButton>(*attestation, "BitBtn7"));
        QCOMPARE(m_copies, QList<int>{2});

        // Stored: the window goes, the register stays and shows the change.
        Reactivate(attestation);
        ClickThroughWindow(Child<QPushButton>(*attestation, "BitBtn1"));
        QVERIFY(QTest::qWaitFor([&] { return attestation.isNull(); }));
        QVERIFY(registerWindow.isVisible());
        QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("Kovac Ivo"));

        // Escape closes the attestation, not the register.
        attestation = openFirstRow();
        QVERIFY(attestation);
        PressThroughWindow(attestation, Qt::Key_Escape);
        QVERIFY(QTest::qWaitFor([&] { return attestation.isNull(); }));
        QVERIFY(registerWindow.isVisible());
        ClickThroughWindow(Child<QPushButton>(registerWindow, "Povratak"));
    };
    QTimer::singleShot(0, [&] {
        steps();
        registerWindow.reject();
    });
    registerWindow.showOrExec();
    QVERIFY(!registerWindow.isVisible());
    QCOMPARE(number("SELECT COUNT(*) FROM AKTPOTVRDA WHERE IME2='Kovac Ivo' AND TIP=1"), 1);
}

void TestAttestationWindows::driverPickedFromTheRecord()
{
    m_db->run("DELETE FROM DJELATNICI");
    m_db->run("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, OSOBNA, VOZACKA, PUTOVNICA, DATROD) VALUES "
              "(31, 'Kovač Žarko', 1, '', 'V123', '', '1970-05-06')");
    AttestationWindow* window = open();
    QTimer::singleShot(200, [] {
        QWidget* selector = QApplication::activeModalWidget();
        QVERIFY(selector);
        auto* items = selector->findChild<QComboBox*>("ComboSelect");
        QCOMPARE(items->count(), 2);
        items->setCurrentIndex(1);
        QTest::mouseClick(selector->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    });
    QTest::mouseClick(Child<QToolButton>(*window, "BitBtn4"), Qt::LeftButton);
    QCOMPARE(Child<QLineEdit>(*window, "ImeVozac")->text(), QStringLiteral("Kovač Žarko"));
    QCOMPARE(Child<QLineEdit>(*window, "BrojVozac")->text(), QStringLiteral("/V123"));
    QCOMPARE(Child<DateField>(*window, "DRodenja")->date(), QDate(1970, 5, 6));
    QCOMPARE(Child<DateField>(*window, "DatZaposlen")->date(), DayZero());
    QCOMPARE(window->fromFields().driverId, 31);
}

QTEST_MAIN(TestAttestationWindows)
#include "tst_attestation_windows.moc"
