#include "pdf_text.h"
#include "period_search.h"
#include "window_driving.h"

#include "attestation/attestation_batch_printout.h"
#include "attestation/ui/attestation_window.h"
#include "compliance/ui/record_gaps_window.h"
#include "entries/entry_store.h"
#include "print/pdf_output.h"
#include "settings/settings.h"
#include "ui/date_field.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

void Store(TestTransactions& data, int driver, const QDate& date, std::vector<ActivityInterval> intervals)
{
    ManualEntry entry;
    entry.driverId = driver;
    entry.vehicleId = 1;
    entry.date = date;
    entry.intervals = std::move(intervals);
    QVERIFY(StoreManualEntry(data.write, entry).done);
}

ActivityInterval Interval(ActivityKind kind, int from, int to)
{
    return ActivityInterval{kind, from, to, {}, {}};
}

// The attestation window that is showing, once it is the active window.
AttestationWindow* ActiveAttestation()
{
    AttestationWindow* found = nullptr;
    const bool active = QTest::qWaitFor([&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<AttestationWindow*>(widget); window && window->isActiveWindow())
                found = window;
        }
        return found != nullptr;
    });
    return active ? found : nullptr;
}

QStringList RowTexts(const QTableWidget* grid, int row)
{
    QStringList texts;
    for (int column = 0; column < grid->columnCount(); ++column)
        texts << grid->item(row, column)->text();
    return texts;
}

}  // namespace

class TestRecordGapsWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void gapBecomesAFilledAttestationAndLeavesTheList();
    void attestationsOfThePeriodOnePerPage();

private:
    void search(RecordGapsWindow& window, int driverIndex);
    qint64 number(const QString& sql) { return QueryNumber(m_db->data(), sql); }

    std::unique_ptr<ConnectedDatabase> m_db;
};

void TestRecordGapsWindow::initTestCase()
{
    m_db = std::make_unique<ConnectedDatabase>();
    m_db->run("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, OSOBNA, VOZACKA, DATROD, ZAPOD) VALUES "
              "(5, 'Babić Ana', 1, 'O1', 'V2', '1980-01-02', '2015-04-01')");
    m_db->run("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC) VALUES (6, 'Anić Ivo', 1)");
    // Anić's leave; the latest attestation so far, filled in by Horvat Iva, is over Babić's driving.
    m_db->run("INSERT INTO AKTPOTVRDA (IDP, IDDJ, IDVOZ, TIP, IME1, FUNKCIJA, IME2, RAZOD, RAZDO, DATUM) VALUES "
              "(101, 8, 6, 0, 'Kos Pero', 'voditelj', 'Anić Ivo', '2026-03-04 00:00', '2026-03-05 00:00', '2026-03-05')");
    m_db->run("INSERT INTO AKTPOTVRDA (IDP, IDDJ, IDVOZ, TIP, IME1, FUNKCIJA, IME2, RAZOD, RAZDO, DATUM) VALUES "
              "(102, 9, 5, 4, 'Horvat Iva', 'referentica', 'Babić Ana', '2026-03-06 08:00', '2026-03-06 12:00', "
              "'2026-03-06')");
    // Babić from 00:00 of the 2nd to 18:00, then from 06:00 of the 6th to its end.
    Store(m_db->data(), 5, QDate(2026, 3, 2),
          {Interval(ActivityKind::Rest, 0, 360), Interval(ActivityKind::Driving, 360, 1080)});
    Store(m_db->data(), 5, QDate(2026, 3, 6),
          {Interval(ActivityKind::Driving, 360, 600), Interval(ActivityKind::Rest, 600, 1440)});
    SettingsValues values = m_db->session().settings().values();
    values.attestationPreview = false;
    values.attestationPrinter = QStringLiteral("Pisač potvrda");
    m_db->session().settings().commit(values);
}

void TestRecordGapsWindow::search(RecordGapsWindow& window, int driverIndex)
{
    SearchPeriod(window, QStringLiteral("2.3.2026"), QStringLiteral("6.3.2026"), driverIndex, "Trazi");
}

void TestRecordGapsWindow::gapBecomesAFilledAttestationAndLeavesTheList()
{
    RecordGapsWindow window(m_db->session());
    QVERIFY(ShowActive(window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Praznine u evidenciji"));
    QCOMPARE(Child<DateField>(window, "OdDatum")->date(), QDate::currentDate().addDays(-28));
    auto* drivers = Child<QComboBox>(window, "Vozac");
    QCOMPARE(drivers->itemText(0), QStringLiteral("Svi aktivni vozači"));
    QCOMPARE(drivers->itemText(1), QStringLiteral("Anić Ivo"));
    search(window, 2);
    QCOMPARE(drivers->currentText(), QStringLiteral("Babić Ana"));
    auto* gaps = Child<QTableWidget>(window, "Praznine");
    QCOMPARE(gaps->rowCount(), 1);
    QCOMPARE(RowTexts(gaps, 0), (QStringList{"Babić Ana", "02.03.2026 18:00", "06.03.2026 06:00", "84:00",
                                             "Vožnja do 02.03.2026 18:00", "Vožnja od 06.03.2026 06:00"}));
    auto* conflicts = Child<QTableWidget>(window, "Sukobi");
    QCOMPARE(conflicts->rowCount(), 1);
    QCOMPARE(RowTexts(conflicts, 0), (QStringList{"Babić Ana", "Potvrda preko zabilježene vožnje ili rada",
                                                  "06.03.2026 08:00", "06.03.2026 10:00", "br. 102"}));

    // Enter on the gap: a new attestation for the driver from the end of one record to the
    // start of the next, filled in by whoever filled in the latest one; no activity known.
    gaps->setFocus();
    gaps->setCurrentCell(0, 0);
    Press(Qt::Key_Return);
    QPointer<AttestationWindow> attestation = ActiveAttestation();
    QVERIFY(attestation);
    QCOMPARE(Child<QPushButton>(*attestation, "BitBtn1")->text(), QStringLiteral("Dodaj"));
    QCOMPARE(Child<QLineEdit>(*attestation, "ImeVozac")->text(), QStringLiteral("Babić Ana"));
    QCOMPARE(Child<QLineEdit>(*attestation, "BrojVozac")->text(), QStringLiteral("O1/V2"));
    QCOMPARE(Child<DateField>(*attestation, "DRodenja")->date(), QDate(1980, 1, 2));
    QCOMPARE(Child<DateField>(*attestation, "DatZaposlen")->date(), QDate(2015, 4, 1));
    QCOMPARE(Child<QLineEdit>(*attestation, "ImePopunio")->text(), QStringLiteral("Horvat Iva"));
    QCOMPARE(Child<QLineEdit>(*attestation, "FunkcijaPopunio")->text(), QStringLiteral("referentica"));
    QCOMPARE(Child<DateField>(*attestation, "RazdobljeOd")->date(), QDate(2026, 3, 2));
    QCOMPARE(Child<QLineEdit>(*attestation, "SatOd")->text(), QStringLiteral("18:00"));
    QVERIFY(Child<QCheckBox>(*attestation, "DoCheck")->isChecked());
    QCOMPARE(Child<DateField>(*attestation, "RazdobljeDo")->date(), QDate(2026, 3, 6));
    QCOMPARE(Child<QLineEdit>(*attestation, "SatDO")->text(), QStringLiteral("06:00"));
    auto* activities = Child<QListWidget>(*attestation, "AktivnostLista");
    QCOMPARE(attestation->fromFields().activity, -1);

    // The clerk chooses annual leave and stores: the gap is gone.
    // The list taking the focus chooses nothing yet.
    activities->setFocus();
    QCOMPARE(attestation->fromFields().activity, -1);
    Press(Qt::Key_Down);
    QCOMPARE(attestation->fromFields().activity, 1);
    Press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QTest::qWaitFor([&] { return attestation.isNull(); }));
    QCOMPARE(number("SELECT COUNT(*) FROM AKTPOTVRDA WHERE IDVOZ=5 AND IDDJ=9 AND TIP=1 AND IME2='Babić Ana' AND "
                    "BROJEVI='O1/V2' AND DROD='1980-01-02' AND RAZOD='2026-03-02 18:00' AND RAZDO='2026-03-06 06:00'"),
             1);
    QCOMPARE(gaps->rowCount(), 0);
    QVERIFY(Child<QLabel>(window, "Sazetak")->text().startsWith(QStringLiteral("Praznina: 0,")));

    // Enter on a conflict opens its attestation.
    QVERIFY(ShowActive(window));
    conflicts->setFocus();
    conflicts->setCurrentCell(0, 0);
    Press(Qt::Key_Return);
    attestation = ActiveAttestation();
    QVERIFY(attestation);
    QCOMPARE(attestation->id(), 102);
    QCOMPARE(Child<QPushButton>(*attestation, "BitBtn1")->text(), QStringLiteral("Promijeni"));
    attestation->close();
}

void TestRecordGapsWindow::attestationsOfThePeriodOnePerPage()
{
    m_db->run("DELETE FROM AKTPOTVRDA WHERE IDP NOT IN (101, 102)");
    m_db->run("INSERT INTO AKTPOTVRDA (IDP, IDVOZ, TIP, IME2, RAZOD, RAZDO, DATUM) VALUES "
              "(103, 5, 1, 'Babić Ana', '2026-03-02 18:00', '2026-03-06 06:00', '2026-03-07')");
    // Outside the period.
    m_db->run("INSERT INTO AKTPOTVRDA (IDP, IDVOZ, TIP, IME2, RAZOD, DATUM) VALUES "
              "(104, 5, 1, 'Babić Ana', '2026-03-07 00:00', '2026-03-07')");
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("potvrde.pdf"));
    QList<int> copies;
    m_db->session().printing().setPrinter([&](const Printout& printout, const QString&, QString* error) {
        copies << printout.copies();
        return WritePdf(printout, pdf, error);
    });
    RecordGapsWindow window(m_db->session());
    QVERIFY(ShowActive(window));
    search(window, 0);
    Child<QPushButton>(window, "IspisiPotvrde")->setFocus();
    Press(Qt::Key_Space);
    m_db->session().printing().setPrinter(nullptr);
    QCOMPARE(copies, QList<int>{1});

    // By driver, then by start; the period printed as the form prints it.
    const QStringList pages = PdfPageTexts(pdf);
    QCOMPARE(pages.size(), 3);
    QVERIFY(pages[0].contains(QStringLiteral("Anić Ivo")));
    QVERIFY(pages[1].contains(QStringLiteral("Babić Ana")));
    QVERIFY(pages[1].contains(QStringLiteral("18:00/02/03/2026")));
    QVERIFY(pages[1].contains(QStringLiteral("06:00/06/03/2026")));
    QVERIFY(pages[2].contains(QStringLiteral("08:00/06/03/2026")));
    for (const QString& page : pages)
        QVERIFY(page.contains(QStringLiteral("POTVRDA O AKTIVNOSTIMA")));

    // The same as one PDF file of the driver's attestations; none in a period without any.
    search(window, 2);
    const QString saved = folder.filePath(QStringLiteral("babic.pdf"));
    QVERIFY(window.saveAttestationsPdf(saved));
    QCOMPARE(PdfPageTexts(saved).size(), 2);
    ReplaceAndLeave(Child<DateField>(window, "OdDatum"), QStringLiteral("1.1.2026"));
    ReplaceAndLeave(Child<DateField>(window, "DoDatum"), QStringLiteral("31.1.2026"));
    MessageAnswerer answerer;
    QVERIFY(!window.saveAttestationsPdf(folder.filePath(QStringLiteral("prazno.pdf"))));
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Za razdoblje nema izrađenih potvrda.")});
}

QTEST_MAIN(TestRecordGapsWindow)
#include "tst_record_gaps_window.moc"
