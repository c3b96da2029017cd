#include "pdf_text.h"
#include "temp_database.h"
#include "window_driving.h"

#include "temp_database.h"
#include "entries/entry_store.h"
#include "print/printout.h"
#include "print/ui/print_preview.h"
#include "reviews/ui/day_graph_window.h"
#include "reviews/ui/period_graph_window.h"
#include "settings/settings.h"
#include "ui/date_field.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

namespace {

const QDate kLastDay(2025, 3, 31);

struct PrintedJob {
    QString printer;
    int pages = 0;
};

}  // namespace

class TestPeriodGraphWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void opensOnTheLastFourWeeks();
    void onlyDaysWithActivities();
    void wrongDatesAreRefused();
    void rangeLabelSetsTheWholeRecord();
    void printsAtOnceWithoutPreview();
    void previewPrintsTwiceAndSavesPdf();
    void noPrinterGivesAMessage();
    void withoutPreviewNoPrinterOffersPdf();
    void dayGraphOpensIt();

private:
    void setPreview(bool preview, const QString& graphPrinter = QString());

    std::unique_ptr<ConnectedDatabase> m_db;
    std::unique_ptr<PrintPreview> m_preview;
    std::unique_ptr<PeriodGraphWindow> m_window;
    QList<PrintedJob> m_printed;
};

void TestPeriodGraphWindow::initTestCase()
{
    m_db = std::make_unique<ConnectedDatabase>();
    m_db->run("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC) VALUES (5, 'Šarić Ana', 1)");
    // Every other day from 1.2. to 31.3., a day of driving and rest.
    for (QDate date(2025, 2, 1); date <= kLastDay; date = date.addDays(date < kLastDay.addDays(-1) ? 2 : 1)) {
        ManualEntry entry;
        entry.driverId = 5;
        entry.vehicleId = 1;
        entry.date = date;
        entry.intervals = {ActivityInterval{ActivityKind::Rest, 0, 360, {}, {}},
                           ActivityInterval{ActivityKind::Driving, 360, 1440, {}, {}}};
        QVERIFY(StoreManualEntry(m_db->data().write, entry).done);
    }
}

void TestPeriodGraphWindow::init()
{
    m_printed.clear();
    m_db->session().printing().setPrinter([this](const Printout& printout, const QString& printer, QString*) {
        m_printed << PrintedJob{printer, printout.pageCount()};
        return true;
    });
    m_preview = std::make_unique<PrintPreview>(m_db->session().printing());
    m_window = std::make_unique<PeriodGraphWindow>(m_db->session());
    m_window->openFor(5);
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestPeriodGraphWindow::cleanup()
{
    m_window.reset();
    m_preview.reset();
    m_db->session().printing().setPrinter(nullptr);
}

void TestPeriodGraphWindow::setPreview(bool preview, const QString& graphPrinter)
{
    SettingsValues values = m_db->session().settings().values();
    values.graphPreview = preview;
    values.graphPrinter = graphPrinter;
    m_db->session().settings().commit(values);
}

void TestPeriodGraphWindow::opensOnTheLastFourWeeks()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Grafički pregled aktivnosti za razdoblje"));
    QCOMPARE(Child<QLabel>(*m_window, "ImePrezime")->text(), QStringLiteral("Šarić Ana"));
    QCOMPARE(Child<DateField>(*m_window, "Od")->date(), QDate(2025, 3, 3));
    QCOMPARE(Child<DateField>(*m_window, "Do")->date(), kLastDay);
    auto* list = Child<QListWidget>(*m_window, "Dani");
    QCOMPARE(list->count(), 29);
    QCOMPARE(list->visualItemRect(list->item(0)).height(), 80);
    QCOMPARE(m_window->days().front().date, QDate(2025, 3, 3));
    // Already at the first opening the lines take the list's width less its vertical scroll
    // bar: nothing scrolls sideways, and each line's totals stand whole at its right.
    QTRY_VERIFY(list->verticalScrollBar()->isVisible());
    QVERIFY(!list->horizontalScrollBar()->isVisible());
    const QRect line = list->visualItemRect(list->item(0));
    QCOMPARE(line.width(), list->viewport()->width());
    // The date at the start of the line stands whole before the chart's area (70 pixels in),
    // not partly under it: its last pixel of ink lies clear of that edge.
    const QImage image = list->viewport()->grab().toImage();
    const int background = qGray(image.pixel(line.left() + 1, line.top() + 1));
    int inkRight = -1;
    for (int y = line.top() + 15; y < line.top() + 33; ++y) {
        for (int x = line.left(); x < line.left() + 80; ++x) {
            if (std::abs(qGray(image.pixel(x, y)) - background) > 60)
                inkRight = std::max(inkRight, x);
        }
    }
    QVERIFY2(inkRight > line.left() + 40 && inkRight < line.left() + 68, qPrintable(QString::number(inkRight)));
}

void TestPeriodGraphWindow::onlyDaysWithActivities()
{
    ClickBox(Child<QCheckBox>(*m_window, "SamoAktivni"));
    // 3.3. to 31.3.: the odd days.
    QCOMPARE(Child<QListWidget>(*m_window, "Dani")->count(), 15);
    for (const PeriodDay& day : m_window->days())
        QVERIFY(!day.intervals.empty());
    ClickBox(Child<QCheckBox>(*m_window, "SamoAktivni"));
    QCOMPARE(Child<QListWidget>(*m_window, "Dani")->count(), 29);
}

void TestPeriodGraphWindow::wrongDatesAreRefused()
{
    ReplaceAndLeave(Child<DateField>(*m_window, "Do"), QStringLiteral("1.3.2025"));
    MessageAnswerer answerer;
    QTest::mouseClick(Child<QPushButton>(*m_window, "Obnovi"), Qt::LeftButton);
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Pogrešno definirani datumi!")});
    QCOMPARE(Child<QListWidget>(*m_window, "Dani")->count(), 29);
}

void TestPeriodGraphWindow::rangeLabelSetsTheWholeRecord()
{
    auto* label = Child<QLabel>(*m_window, "DatumiOdDo");
    QCOMPARE(label->toolTip(), QStringLiteral("Postavi početni i završni datum prema cjelokupnoj evidenciji"));
    QTest::mouseDClick(label, Qt::LeftButton);
    QCOMPARE(Child<DateField>(*m_window, "Od")->date(), QDate(2025, 2, 1));
    QCOMPARE(Child<DateField>(*m_window, "Do")->date(), kLastDay);
    QCOMPARE(Child<QListWidget>(*m_window, "Dani")->count(), 29);  // not refreshed
}

void TestPeriodGraphWindow::printsAtOnceWithoutPreview()
{
    setPreview(false, QStringLiteral("Grafički pisač"));
    ReplaceAndLeave(Child<DateField>(*m_window, "Od"), QStringLiteral("2.3.2025"));
    QTest::mouseClick(Child<QPushButton>(*m_window, "Obnovi"), Qt::LeftButton);
    QCOMPARE(m_window->days().size(), size_t(30));
    QTest::mouseClick(Child<QPushButton>(*m_window, "Ispisi"), Qt::LeftButton);
    QVERIFY(!m_preview->isVisible());
    QCOMPARE(m_printed.size(), 1);
    QCOMPARE(m_printed[0].printer, QStringLiteral("Grafički pisač"));
    QCOMPARE(m_printed[0].pages, 4);
}

void TestPeriodGraphWindow::previewPrintsTwiceAndSavesPdf()
{
    setPreview(true);
    QTest::mouseClick(Child<QPushButton>(*m_window, "Ispisi"), Qt::LeftButton);
    QVERIFY(m_preview->isVisible());
    QVERIFY(m_printed.isEmpty());
    QCOMPARE(m_preview->windowTitle(), QStringLiteral("Pregled ispisa"));
    // One column of page thumbnails, 137 pixels wide, each page whole and under the one before.
    auto* thumbnails = Child<QListWidget>(*m_preview, "Stranice");
    QCOMPARE(thumbnails->count(), 4);
    QCOMPARE(thumbnails->width(), 137);
    QTRY_VERIFY(thumbnails->verticalScrollBar()->isVisible());
    QVERIFY(!thumbnails->horizontalScrollBar()->isVisible());
    for (int page = 0; page < thumbnails->count(); ++page) {
        const QRect item = thumbnails->visualItemRect(thumbnails->item(page));
        QVERIFY2(item.left() >= 0 && item.right() < thumbnails->viewport()->width(), qPrintable(QString::number(page)));
        if (page > 0)
            QVERIFY(item.top() >= thumbnails->visualItemRect(thumbnails->item(page - 1)).bottom());
    }
    // No graph printer chosen: the system's default.
    QTest::mouseClick(Child<QPushButton>(*m_preview, "Ispisi"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(*m_preview, "Ispisi"), Qt::LeftButton);
    QCOMPARE(m_printed.size(), 2);
    QCOMPARE(m_printed[1].printer, QString());
    QCOMPARE(m_preview->document()->fileName(),
             QStringLiteral("Grafički pregled aktivnosti - Šarić Ana - 03.03.2025-31.03.2025"));
    QTemporaryDir folder;
    const QString path = folder.filePath("razdoblje.pdf");
    QVERIFY(m_preview->saveAsPdf(path));
    const QStringList pages = PdfPageTexts(path);
    QCOMPARE(pages.size(), 4);
    QVERIFY(pages[0].contains(QStringLiteral("Vozač: Šarić Ana")));
    QVERIFY(pages[3].contains(QStringLiteral("31.03.2025.")));
}

void TestPeriodGraphWindow::noPrinterGivesAMessage()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("This computer has a printer.");
    m_db->session().printing().setPrinter(nullptr);
    setPreview(true);
    QTest::mouseClick(Child<QPushButton>(*m_window, "Ispisi"), Qt::LeftButton);
    MessageAnswerer answerer;
    QVERIFY(!m_preview->PrintPages());
    QCOMPARE(answerer.texts, QStringList{kNoPrinterMessage + kPdfButtonHint});
    // The PDF is always there.
    QTemporaryDir folder;
    QVERIFY(m_preview->saveAsPdf(folder.filePath("x.pdf")));
}

void TestPeriodGraphWindow::withoutPreviewNoPrinterOffersPdf()
{
    // Printed at once, without the preview and its "Spremi kao PDF": the operator is asked,
    // answers "Da" and names the file in the save dialog.
    setPreview(false);
    m_db->session().printing().setPrinter([](const Printout&, const QString&, QString* error) {
        *error = kNoPrinterMessage;
        return false;
    });
    QTemporaryDir folder;
    const QString path = folder.filePath("razdoblje.pdf");
    MessageAnswerer answerer(QMessageBox::Yes);
    QTimer saveDialog;
    saveDialog.setInterval(20);
    connect(&saveDialog, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        saveDialog.stop();
        // The name is put in whole (typed key by key it would open the dialog's completer).
        auto* name = Child<QLineEdit>(*dialog, "fileNameEdit");
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
    });
    saveDialog.start();
    QTest::mouseClick(Child<QPushButton>(*m_window, "Ispisi"), Qt::LeftButton);
    QCOMPARE(answerer.texts, QStringList{kNoPrinterMessage + QStringLiteral("\n\n") + kSavePdfQuestion});
    QVERIFY(!m_preview->isVisible());
    const QStringList pages = PdfPageTexts(path);
    QCOMPARE(pages.size(), 4);
    QVERIFY(pages[0].contains(QStringLiteral("Vozač: Šarić Ana")));
}

void TestPeriodGraphWindow::dayGraphOpensIt()
{
    m_window->hide();
    auto* day = new DayGraphWindow(m_db->session(), 5, kLastDay);
    day->show();
    QTest::mouseClick(Child<QPushButton>(*day, "Razdoblje"), Qt::LeftButton);
    QVERIFY(m_window->isVisible());
    QCOMPARE(Child<QLabel>(*m_window, "ImePrezime")->text(), QStringLiteral("Šarić Ana"));
    delete day;
}

QTEST_MAIN(TestPeriodGraphWindow)
#include "tst_period_graph_window.moc"
