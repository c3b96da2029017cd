#include "pdf_text.h"
#include "temp_database.h"

#include "temp_database.h"
#include "entries/entry_store.h"
#include "print/pdf_output.h"
#include "reviews/period_printout.h"
#include "ui/fonts.h"

#include <QtTest>

namespace {

const ActivityColours kColours{QColor(128, 128, 128), QColor(255, 255, 0), QColor(0, 255, 255), QColor(255, 0, 0)};

PeriodPrintoutData ThirtyDays()
{
    PeriodPrintoutData data;
    data.driverName = QStringLiteral("Žužić Đuro");
    data.from = QDate(2025, 3, 1);
    data.to = QDate(2025, 3, 30);
    for (QDate date = data.from; date <= data.to; date = date.addDays(1))
        data.days.push_back(PeriodDay{date, {ChartInterval{0, 1440, 0, 1}}});
    data.colours = kColours;
    return data;
}

}  // namespace

class TestPeriodPrintout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void thirtyDaysOnFourPages();
    void pdfReadsBackPageByPage();
    void everyTextInTahoma();
    void periodDaysAndRange();
};

void TestPeriodPrintout::initTestCase()
{
    RegisterApplicationFonts();
}

void TestPeriodPrintout::thirtyDaysOnFourPages()
{
    const PeriodPrintout printout(ThirtyDays());
    QCOMPARE(printout.pageCount(), 4);
    std::vector<size_t> rows;
    for (const auto& page : printout.pages())
        rows.push_back(page.size());
    QCOMPARE(rows, (std::vector<size_t>{7, 8, 8, 7}));
    QCOMPARE(printout.pages()[0].front().top, 32.0);
    QCOMPARE(printout.pages()[0][1].top, 65.0);
    QCOMPARE(printout.pages()[1].front().top, 18.0);
    // No row reaches into the last 16 mm of a page.
    for (const auto& page : printout.pages())
        QVERIFY(page.back().top + 25 <= 297 - 16);
    QCOMPARE(printout.fileName(), QStringLiteral("Grafički pregled aktivnosti - Žužić Đuro - 01.03.2025-30.03.2025"));
}

void TestPeriodPrintout::pdfReadsBackPageByPage()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("razdoblje.pdf");
    QString error;
    QVERIFY2(WritePdf(PeriodPrintout(ThirtyDays()), path, &error), qPrintable(error));
    const QStringList pages = PdfPageTexts(path);
    QCOMPARE(pages.size(), 4);
    QVERIFY2(pages[0].contains(QStringLiteral("Grafički pregled aktivnosti vozača")), qPrintable(pages[0]));
    QVERIFY(pages[0].contains(QStringLiteral("Razdoblje: 01.03.2025 - 30.03.2025")));
    QVERIFY(pages[0].contains(QStringLiteral("Vozač: Žužić Đuro")));
    QVERIFY(!pages[1].contains(QStringLiteral("Grafički pregled")));
    // Dates in order, each on its page, and the legend under each page's last row.
    const QList<QPair<int, int>> firstAndLast{{1, 7}, {8, 15}, {16, 23}, {24, 30}};
    for (int page = 0; page < 4; ++page) {
        const QString first = QDate(2025, 3, firstAndLast[page].first).toString("dd.MM.yyyy.");
        const QString last = QDate(2025, 3, firstAndLast[page].second).toString("dd.MM.yyyy.");
        QVERIFY2(pages[page].contains(first) && pages[page].contains(last), qPrintable(pages[page]));
        QVERIFY(pages[page].indexOf(first) < pages[page].indexOf(last));
        QVERIFY(pages[page].indexOf(QStringLiteral("Spremnost za rad")) > pages[page].indexOf(last));
        QCOMPARE(pages[page].count(QStringLiteral("24:00")), firstAndLast[page].second - firstAndLast[page].first + 1);
    }
    QVERIFY(pages[0].contains(QStringLiteral("sub")));  // 01.03.2025 was a Saturday
    QString refused;
    QVERIFY(!WritePdf(PeriodPrintout(ThirtyDays()), folder.filePath("no/such/folder/x.pdf"), &refused));
    QVERIFY(refused.startsWith(QStringLiteral("Datoteku ")));
}

void TestPeriodPrintout::everyTextInTahoma()
{
    // The hour numbers and the totals beside each chart too, on the first page and on the
    // pages after it (where no title has set the font before the first row).
    QTemporaryDir folder;
    const QString path = folder.filePath("razdoblje.pdf");
    QVERIFY(WritePdf(PeriodPrintout(ThirtyDays()), path, nullptr));
    QStringList fonts = PdfFontNames(path);
    fonts.removeDuplicates();
    QCOMPARE(fonts.size(), 1);
    QVERIFY2(fonts[0].contains(QStringLiteral("Tahoma")), qPrintable(fonts[0]));
}

void TestPeriodPrintout::periodDaysAndRange()
{
    TempDatabase db;
    TestConnection data;
    ConnectUpgraded(data, db.path());
    for (const QDate& date : {QDate(2025, 3, 29), QDate(2025, 3, 31)}) {
        ManualEntry entry;
        entry.driverId = 3;
        entry.vehicleId = 1;
        entry.date = date;
        entry.intervals = {ActivityInterval{ActivityKind::Driving, 360, 600, {}, {}}};
        QVERIFY(StoreManualEntry(data.write, entry).done);
    }
    const PeriodDriver driver = LoadPeriodDriver(data.read, 3);
    QCOMPARE(driver.lastDay, QDate(2025, 3, 31));
    QCOMPARE(InitialPeriod(*driver.lastDay), std::pair(QDate(2025, 3, 3), QDate(2025, 3, 31)));
    const std::vector<PeriodDay> all = LoadPeriodDays(data.read, 3, QDate(2025, 3, 28), QDate(2025, 3, 31), false);
    QCOMPARE(all.size(), size_t(4));
    QVERIFY(all[0].intervals.empty());
    QCOMPARE(all[1].intervals.size(), size_t(1));
    const std::vector<PeriodDay> active = LoadPeriodDays(data.read, 3, QDate(2025, 3, 28), QDate(2025, 3, 31), true);
    QCOMPARE(active.size(), size_t(2));
    QCOMPARE(active[1].date, QDate(2025, 3, 31));
    QCOMPARE(ShortWeekdayName(QDate(2025, 3, 31)), QStringLiteral("pon"));
}

QTEST_MAIN(TestPeriodPrintout)
#include "tst_period_printout.moc"
