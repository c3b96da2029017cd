#include "pdf_text.h"
#include "period_search.h"
#include "window_driving.h"

#include "compliance/ui/compliance_window.h"
#include "entries/entry_store.h"
#include "print/printout.h"
#include "print/ui/print_preview.h"
#include "reviews/ui/day_graph_window.h"
#include "settings/settings.h"
#include "ui/date_field.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
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

QList<DayGraphWindow*> DayWindows()
{
    QList<DayGraphWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<DayGraphWindow*>(widget); window && window->isVisible())
            windows << window;
    }
    return windows;
}

}  // namespace

class TestComplianceWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void checkListTotalsAndDayGraph();
    void printedAndSaved();

private:
    void checkMarch(ComplianceWindow& window, int driverIndex);

    std::unique_ptr<ConnectedDatabase> m_db;
    std::unique_ptr<PrintPreview> m_preview;
};

void TestComplianceWindow::initTestCase()
{
    m_db = std::make_unique<ConnectedDatabase>();
    m_db->run("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC) VALUES (5, 'Babić Ana', 1)");
    m_db->run("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC) VALUES (6, 'Šarić Ivo', 1)");
    // Babić: 10 h 01 of driving on Wednesday 4 March 2026; Šarić: 4 h 31 without a break on Thursday.
    Store(m_db->data(), 5, QDate(2026, 3, 4),
          {Interval(ActivityKind::Driving, 360, 630), Interval(ActivityKind::Rest, 630, 675),
           Interval(ActivityKind::Driving, 675, 945), Interval(ActivityKind::Rest, 945, 990),
           Interval(ActivityKind::Driving, 990, 1051)});
    Store(m_db->data(), 6, QDate(2026, 3, 5),
          {Interval(ActivityKind::Driving, 360, 631), Interval(ActivityKind::Rest, 631, 676),
           Interval(ActivityKind::Driving, 676, 736)});
    m_preview = std::make_unique<PrintPreview>(m_db->session().printing());
}

void TestComplianceWindow::checkMarch(ComplianceWindow& window, int driverIndex)
{
    SearchPeriod(window, QStringLiteral("2.3.2026"), QStringLiteral("8.3.2026"), driverIndex, "Provjeri");
}

void TestComplianceWindow::checkListTotalsAndDayGraph()
{
    ComplianceWindow window(m_db->session());
    QVERIFY(ShowActive(window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Kontrola propisa"));
    QCOMPARE(Child<QComboBox>(window, "Vozac")->itemText(0), QStringLiteral("Svi vozači"));
    checkMarch(window, 0);
    auto* list = Child<QTableWidget>(window, "Prekrsaji");
    QCOMPARE(list->rowCount(), 2);
    QCOMPARE(list->item(0, 0)->text(), QStringLiteral("Babić Ana"));
    QCOMPARE(list->item(0, 1)->text(), QStringLiteral("561/6.1"));
    QCOMPARE(list->item(0, 2)->text(), QStringLiteral("04.03.2026 06:00"));
    QCOMPARE(list->item(0, 3)->text(), QStringLiteral("04.03.2026 17:31"));
    QCOMPARE(list->item(0, 4)->text(), QStringLiteral("10:01"));
    QCOMPARE(list->item(0, 5)->text(), QStringLiteral("10:00"));
    QCOMPARE(list->item(0, 6)->text(), QString());
    QCOMPARE(list->item(0, 7)->text(), QStringLiteral("Vožnja između dva dnevna odmora trajala je 10:01, a dopušteno je 10:00."));
    QCOMPARE(list->item(1, 1)->text(), QStringLiteral("561/7"));
    auto* totals = Child<QTableWidget>(window, "PoPropisu");
    QCOMPARE(totals->item(0, 0)->text(), QStringLiteral("561/6.1"));
    QCOMPARE(totals->item(0, 2)->text(), QStringLiteral("1"));
    QCOMPARE(totals->item(3, 2)->text(), QStringLiteral("1"));
    QCOMPARE(totals->item(4, 2)->text(), QStringLiteral("0"));
    QVERIFY(Child<QLabel>(window, "Praznine")->text().contains(QStringLiteral("računa se kao odmor")));

    // One driver only.
    checkMarch(window, 2);
    QCOMPARE(Child<QComboBox>(window, "Vozac")->currentText(), QStringLiteral("Šarić Ivo"));
    QCOMPARE(list->rowCount(), 1);
    QCOMPARE(list->item(0, 1)->text(), QStringLiteral("561/7"));

    // Enter (or a double click) on an infringement opens the day graph of its day.
    checkMarch(window, 0);
    list->setFocus();
    list->setCurrentCell(0, 0);
    Press(Qt::Key_Return);
    const QList<DayGraphWindow*> days = DayWindows();
    QCOMPARE(days.size(), 1);
    QCOMPARE(days[0]->driverId(), 5);
    QCOMPARE(days[0]->date(), QDate(2026, 3, 4));
    days[0]->close();
}

void TestComplianceWindow::printedAndSaved()
{
    SettingsValues values = m_db->session().settings().values();
    values.reportPreview = true;
    values.companyName = QStringLiteral("Prijevoz Horvat d.o.o.");
    m_db->session().settings().commit(values);
    ComplianceWindow window(m_db->session());
    QVERIFY(ShowActive(window));
    checkMarch(window, 0);
    Child<QPushButton>(window, "Ispisi")->setFocus();
    Press(Qt::Key_Space);
    QVERIFY(m_preview->isVisible());
    QCOMPARE(m_preview->document()->fileName(), QStringLiteral("Kontrola propisa - Svi vozači - 02.03.2026-08.03.2026"));
    QTemporaryDir folder;
    const QString pdf = folder.filePath("kontrola.pdf");
    QVERIFY(m_preview->saveAsPdf(pdf));
    m_preview->close();
    const QStringList pages = PdfPageTexts(pdf);
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].contains(QStringLiteral("Prijevoz Horvat d.o.o.")));
    QVERIFY(pages[0].contains(QStringLiteral("Razdoblje: 02.03.2026 - 08.03.2026")));
    QVERIFY(pages[0].contains(QStringLiteral("Babić Ana")) && pages[0].contains(QStringLiteral("Šarić Ivo")));
    QVERIFY(pages[0].contains(QStringLiteral("04.03.2026 06:00 - 04.03.2026 17:31")));
    QVERIFY(pages[0].contains(QStringLiteral("10:01 / 10:00")));
    QVERIFY(pages[0].contains(QStringLiteral("Vožnja između dva dnevna odmora trajala je 10:01")));
    const QString totalLine = pages[0].split('\n').filter(QStringLiteral("Dnevno vrijeme vožnje")).value(0).simplified();
    QCOMPARE(totalLine, QStringLiteral("561/6.1 Dnevno vrijeme vožnje 1"));
    QVERIFY(pages[0].contains(QStringLiteral("Str. 1 od 1")));

    const QString csv = folder.filePath("kontrola.csv");
    QVERIFY(window.saveCsv(csv));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], QStringLiteral("Vozač;Propis;Od;Do;Vrijednost;Granica;Težina;Opis"));
    QCOMPARE(lines[1], QStringLiteral("Babić Ana;561/6.1;04.03.2026 06:00;04.03.2026 17:31;10:01;10:00;;"
                                      "Vožnja između dva dnevna odmora trajala je 10:01, a dopušteno je 10:00."));
    QVERIFY(lines[2].startsWith(QStringLiteral("Šarić Ivo;561/7;05.03.2026 06:00;05.03.2026 10:31;04:31;04:30;;")));

    Child<QPushButton>(window, "Kopiraj")->setFocus();
    Press(Qt::Key_Space);
    QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8(bytes.mid(3)));
}

QTEST_MAIN(TestComplianceWindow)
#include "tst_compliance_window.moc"
