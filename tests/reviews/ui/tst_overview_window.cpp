#include "temp_database.h"
#include "window_driving.h"

#include "temp_database.h"
#include "session/session.h"
#include "entries/entry_store.h"
#include "entries/ui/manual_entry_window.h"
#include "large_database.h"
#include "reviews/ui/day_graph_window.h"
#include "reviews/ui/overview_window.h"
#include "common/profile_file.h"
#include "settings/settings_values.h"
#include "ui/date_field.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

namespace {

const QDate kLastDay(2025, 3, 31);

ManualEntry Entry(int driver, QDate date, std::vector<ActivityInterval> intervals)
{
    ManualEntry entry;
    entry.driverId = driver;
    entry.vehicleId = 1;
    entry.date = date;
    entry.intervals = std::move(intervals);
    return entry;
}

QStringList LineTexts(const QAbstractItemModel* model, int row)
{
    QStringList texts;
    for (int column = 0; column < model->columnCount(); ++column)
        texts << model->index(row, column).data().toString();
    return texts;
}

// Waits until a list knows its length and has the lines the view asked for.
bool ListRead(const QAbstractItemModel* model)
{
    const auto* list = static_cast<const OverviewListBase*>(model);
    return QTest::qWaitFor([list] { return list->isCounted() && !list->isWaiting(); });
}

// The window's lists as read and known to be long.
bool ListsRead(OverviewWindow& window)
{
    for (const char* name : {"UnosiGrid", "DaniGrid", "UkupnoGrid"}) {
        if (!ListRead(Child<QTableView>(window, name)->model()))
            return false;
    }
    return true;
}

// Every line of a list as the overview reads it, from the top.
template <typename Row>
std::vector<Row> WholeList(TestTransactions& data, const OverviewFilter& filter)
{
    OverviewReader<Row> reader(data.read, filter);
    std::vector<Row> rows;
    while (!reader.atEnd()) {
        const std::vector<Row> more = reader.fetch(1000);
        rows.insert(rows.end(), more.begin(), more.end());
    }
    return rows;
}

// The windows that are open of a kind.
template <typename Window>
QList<Window*> OpenWindows()
{
    QList<Window*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible())
            windows << window;
    }
    return windows;
}

}  // namespace

class TestOverviewWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void pagesShowTheLists();
    void driverFilterWithBothDateFilters();
    void doubleClickRules();
    void deletingLeavesNoRowsOfTheEntry();
    void copyGivesEveryRecord();
    void storeElsewhereRefreshesAndKeepsTheCurrentLine();
    void escapeAndPovratakClose();
    void opensAtItsSizeWithoutSavedPlacement();
    void longListReachesItsEndWithOneKey();

private:
    QTableView* grid(const char* name) { return Child<QTableView>(*m_window, name); }
    qint64 count(const QString& sql) { return QueryNumber(*m_data, sql); }

    QTemporaryDir m_folder;
    QString m_master;
    std::unique_ptr<QTemporaryDir> m_copyFolder;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<TestTransactions> m_data;
    std::unique_ptr<QWidget> m_owner;
    std::unique_ptr<OverviewWindow> m_window;
    ManualEntry m_first;
    ManualEntry m_second;
    ManualEntry m_summary;
};

void TestOverviewWindow::initTestCase()
{
    m_master = m_folder.filePath("VT.FDB");
    CreateLargeDatabase(m_master, LargeDatabaseSize{.drivers = 2, .years = 1, .vehicles = 2, .lastDay = kLastDay});
    TestConnection data;
    QCOMPARE(ConnectUpgraded(data, m_master), QStringList());
    // One driver's two entries of one date, 900 and 700 minutes, and a summary entry.
    const QDate day = kLastDay.addDays(1);
    m_first = Entry(1, day, {{ActivityKind::Driving, 0, 900, Decimal3::fromWhole(600), {}}});
    m_second = Entry(1, day, {{ActivityKind::OtherWork, 100, 800, {}, {}}});
    m_first.distance = Decimal3::fromWhole(450);
    m_second.distance = Decimal3::fromWhole(150);
    m_summary = Entry(2, day, {});
    m_summary.detailed = false;
    m_summary.summary.day[3] = 300;
    m_summary.workStart = 360;
    for (ManualEntry* entry : {&m_first, &m_second, &m_summary})
        QVERIFY(StoreManualEntry(data.write, *entry).done);
}

void TestOverviewWindow::init()
{
    m_copyFolder = std::make_unique<QTemporaryDir>();
    const QString path = m_copyFolder->filePath("VT.FDB");
    QVERIFY(QFile::copy(m_master, path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    m_session = std::make_unique<Session>(m_copyFolder->filePath("postavke.dat"));
    QCOMPARE(ConnectUpgraded(m_session->connection(), path), QStringList());
    m_data = std::make_unique<TestTransactions>(m_session->connection());
    m_owner = std::make_unique<QWidget>();
    m_window = std::make_unique<OverviewWindow>(*m_session, m_owner.get());
    QVERIFY(ShowActive(*m_window));
    QVERIFY(ListsRead(*m_window));
}

void TestOverviewWindow::cleanup()
{
    // The entry and day windows opened from the lists go with their owner.
    m_window.reset();
    m_owner.reset();
    m_data.reset();
    m_session.reset();
    m_copyFolder.reset();
}

void TestOverviewWindow::pagesShowTheLists()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Pregled unosa u evidenciju"));
    auto* pages = Child<QTabWidget>(*m_window, "Stranice");
    QCOMPARE(pages->tabText(0), QStringLiteral("Pregled unosa u evidenciju - popis"));
    // The list knows its length, but has read a batch, not the whole year.
    const QAbstractItemModel* entries = grid("UnosiGrid")->model();
    QCOMPARE(entries->rowCount(), int(count("SELECT COUNT(*) FROM UNOS WHERE DV IS NOT NULL")));
    QVERIFY(!static_cast<const EntriesModel*>(entries)->isLoaded(entries->rowCount() - 1));
    QCOMPARE(entries->headerData(6, Qt::Horizontal).toString(), QStringLiteral("Km"));
    // Newest first: the summary entry, stored last.
    QCOMPARE(entries->index(0, 1).data().toString(), QString::number(m_summary.entryId));
    QCOMPARE(entries->index(0, 0).data().toString(), QStringLiteral("1"));
    QCOMPARE(entries->index(0, 4).data(EntriesModel::kMarkRole).toInt(), int(EntryMark::Summary));
    QCOMPARE(entries->index(0, 5).data().toString(), kLastDay.addDays(1).toString("dd.MM.yyyy"));

    // The summary's day shows its sum icon and its times from T1 and T2.
    const QAbstractItemModel* days = grid("DaniGrid")->model();
    int summaryLine = -1;
    for (int row = 0; row < days->rowCount() && summaryLine < 0; ++row) {
        if (days->index(row, 11).data(EntryDaysModel::kMarkRole).toInt() == int(EntryMark::Summary))
            summaryLine = row;
    }
    QVERIFY(summaryLine >= 0);
    QCOMPARE(days->index(summaryLine, 3).data().toString(), QStringLiteral("06:00"));
    QCOMPARE(days->index(summaryLine, 4).data().toString(), QStringLiteral("11:00"));

    // 900 + 700 minutes of one driver and date: one line, 26:40, "> 24", a red "#" and two records.
    const QAbstractItemModel* totals = grid("UkupnoGrid")->model();
    int over = -1;
    for (int row = 0; row < 3 && over < 0; ++row) {
        if (totals->index(row, 9).data().toString() == QLatin1String("> 24"))
            over = row;
    }
    QVERIFY(over >= 0);
    QCOMPARE(totals->index(over, 8).data().toString(), QStringLiteral("26:40"));
    QCOMPARE(totals->index(over, 10).data().toString(), QStringLiteral("2"));
    QCOMPARE(totals->index(over, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::red));
    QCOMPARE(totals->index(over, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::yellow));
    QCOMPARE(totals->index(over, 3).data().toString(), QStringLiteral("600,00"));
}

void TestOverviewWindow::driverFilterWithBothDateFilters()
{
    auto* driver = Child<QComboBox>(*m_window, "Vozac");
    QCOMPARE(driver->itemText(0), QStringLiteral("Zanemari"));
    QCOMPARE(driver->count(), 3);
    ReplaceAndLeave(Child<DateField>(*m_window, "DaniOd"), QStringLiteral("1.2.2025"));
    ReplaceAndLeave(Child<DateField>(*m_window, "DaniDo"), QStringLiteral("10.2.2025"));
    ClickBox(Child<QCheckBox>(*m_window, "DaniFilter"));
    ReplaceAndLeave(Child<DateField>(*m_window, "UnosOd"), QStringLiteral("1.1.2025"));
    ReplaceAndLeave(Child<DateField>(*m_window, "UnosDo"), QStringLiteral("5.2.2025"));
    ClickBox(Child<QCheckBox>(*m_window, "UnosFilter"));
    driver->setFocus();
    driver->setCurrentIndex(2);
    emit driver->activated(2);
    const int driverId = driver->currentData().toInt();
    QVERIFY(ListsRead(*m_window));

    // Days 1.2 to 4.2 of one driver (entered 2.2 to 5.2; the generator stores a day the next day).
    const QAbstractItemModel* days = grid("DaniGrid")->model();
    const qint64 expected = count(QStringLiteral("SELECT COUNT(*) FROM DUNOS JOIN UNOS ON UNOS.IDUNOS=DUNOS.IDUNOS "
                                                 "WHERE IDVOZAC=%1 AND DATUM BETWEEN '2025-02-01' AND '2025-02-10' "
                                                 "AND DV < '2025-02-06'")
                                      .arg(driverId));
    QVERIFY(expected > 0);
    QCOMPARE(days->rowCount(), int(expected));
    for (int row = 0; row < days->rowCount(); ++row)
        QCOMPARE(days->index(row, 2).data().toString(), driver->currentText());
    const QAbstractItemModel* entries = grid("UnosiGrid")->model();
    for (int row = 0; row < entries->rowCount(); ++row)
        QCOMPARE(entries->index(row, 2).data().toString(), driver->currentText());
    QVERIFY(entries->rowCount() > 0);
}

void TestOverviewWindow::doubleClickRules()
{
    // A scanned chart: the message instead of a window.
    const qint64 chart = count("SELECT FIRST 1 IDUNOS FROM UNOS WHERE PODTIP=1 ORDER BY DV DESC");
    const QAbstractItemModel* entries = grid("UnosiGrid")->model();
    const auto lineOf = [&](qint64 id) {
        int found = -1;
        for (int row = 0; row < entries->rowCount() && found < 0; ++row) {
            if (entries->index(row, 1).data().toString() == QString::number(id))
                found = row;
        }
        return found;
    };
    const int chartLine = lineOf(chart);
    QVERIFY(chartLine >= 0);
    {
        MessageAnswerer answerer;
        emit grid("UnosiGrid")->doubleClicked(entries->index(chartLine, 2));
        QCOMPARE(answerer.texts, QStringList{kTwoDayChartMessage});
        QVERIFY(OpenWindows<ManualEntryWindow>().isEmpty());
    }
    // A manual entry opens for editing, owned by the main window.
    emit grid("UnosiGrid")->doubleClicked(entries->index(lineOf(m_first.entryId), 2));
    QCOMPARE(OpenWindows<ManualEntryWindow>().size(), 1);
    QCOMPARE(OpenWindows<ManualEntryWindow>().first()->entryId(), m_first.entryId);
    QCOMPARE(OpenWindows<ManualEntryWindow>().first()->parentWidget(), m_owner.get());
    // On the days page a chart's day opens too.
    const QAbstractItemModel* days = grid("DaniGrid")->model();
    for (int row = 0; row < days->rowCount(); ++row) {
        if (days->index(row, 11).data(EntryDaysModel::kMarkRole).toInt() == int(EntryMark::ScannedChart)) {
            emit grid("DaniGrid")->doubleClicked(days->index(row, 1));
            break;
        }
    }
    QCOMPARE(OpenWindows<ManualEntryWindow>().size(), 2);
    // "Grafički prikaz dana" opens the day graph of the current line.
    grid("DaniGrid")->selectRow(0);
    Child<QAction>(*grid("DaniGrid"), "GrafDana")->trigger();
    QCOMPARE(OpenWindows<DayGraphWindow>().size(), 1);
    QCOMPARE(OpenWindows<DayGraphWindow>().first()->date(), QDate::fromString(days->index(0, 1).data().toString(), "dd.MM.yyyy"));
}

void TestOverviewWindow::deletingLeavesNoRowsOfTheEntry()
{
    grid("UnosiGrid")->selectRow(0);
    const int id = grid("UnosiGrid")->model()->index(0, 1).data().toInt();
    {
        MessageAnswerer no(QMessageBox::No);
        Child<QAction>(*grid("UnosiGrid"), "ObrisiUnos")->trigger();
        QCOMPARE(no.texts.size(), 1);
    }
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM UNOS WHERE IDUNOS=%1").arg(id)), 1);
    MessageAnswerer yes(QMessageBox::Yes);
    Child<QAction>(*grid("UnosiGrid"), "ObrisiUnos")->trigger();
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM UNOS WHERE IDUNOS=%1").arg(id)), 0);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM DUNOS WHERE IDUNOS=%1").arg(id)), 0);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS WHERE IDDUNOS NOT IN (SELECT IDD FROM DUNOS)")), 0);
    QVERIFY(grid("UnosiGrid")->model()->index(0, 1).data().toInt() != id);
}

void TestOverviewWindow::copyGivesEveryRecord()
{
    QApplication::clipboard()->clear();
    grid("UnosiGrid")->setFocus();
    QTest::keyClick(grid("UnosiGrid"), Qt::Key_C, Qt::ControlModifier);
    QTRY_VERIFY(!QApplication::clipboard()->text().isEmpty());
    QStringList lines = QApplication::clipboard()->text().split("\r\n");
    QCOMPARE(lines.takeLast(), QString());
    QCOMPARE(lines.size(), int(count("SELECT COUNT(*) FROM UNOS WHERE DV IS NOT NULL")));
    QCOMPARE(lines.size(), grid("UnosiGrid")->model()->rowCount());
    // Each line: its number, then the query's nine columns.
    const QStringList first = lines.first().split('\t');
    QCOMPARE(first.size(), 10);
    QCOMPARE(first[0], QStringLiteral("1"));
    QCOMPARE(first[1], QString::number(m_summary.entryId));
}

void TestOverviewWindow::storeElsewhereRefreshesAndKeepsTheCurrentLine()
{
    Child<QTabWidget>(*m_window, "Stranice")->setCurrentIndex(1);
    QTableView* days = grid("DaniGrid");
    const auto* list = static_cast<const EntryDaysModel*>(days->model());
    // The operator scrolls beyond the first batch and picks a line there.
    days->scrollTo(days->model()->index(250, 0), QAbstractItemView::PositionAtCenter);
    QTRY_VERIFY(list->isLoaded(250));
    days->selectRow(250);
    const QStringList current = LineTexts(days->model(), 250);
    ManualEntry added = Entry(2, kLastDay.addDays(5), {{ActivityKind::Rest, 0, 1440, {}, {}}});
    QVERIFY(StoreManualEntry(m_data->write, added).done);
    emit m_session->entriesChanged();
    // One line more at the top, and the same line current, one further down.
    QTRY_COMPARE(days->model()->index(0, 1).data().toString(), kLastDay.addDays(5).toString("dd.MM.yyyy"));
    QTRY_COMPARE(days->currentIndex().row(), 251);
    QCOMPARE(LineTexts(days->model(), 251).mid(1), current.mid(1));
}

void TestOverviewWindow::escapeAndPovratakClose()
{
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QVERIFY(!m_window->isVisible());
    m_window->showOrRaise();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::mouseClick(Child<QPushButton>(*m_window, "Povratak"), Qt::LeftButton);
    QVERIFY(!m_window->isVisible());
}

void TestOverviewWindow::opensAtItsSizeWithoutSavedPlacement()
{
    m_window.reset();
    const QString path = m_session->settingsPath();
    QFile::remove(path);
    m_window = std::make_unique<OverviewWindow>(*m_session, m_owner.get());
    QVERIFY(ShowActive(*m_window));
    QCOMPARE(m_window->size(), QSize(879, 532));
    // The filter panel fits the width, nothing of it cut off.
    QVERIFY(m_window->minimumSizeHint().width() <= 879);
    m_window.reset();
    const ProfileFile file(path);
    QCOMPARE(file.readInteger(QStringLiteral("TfrmOverview"), QStringLiteral("Width"), -1), 879);
    QCOMPARE(file.readInteger(QStringLiteral("TfrmOverview"), QStringLiteral("Height"), -1), 532);
}

// Tens of thousands of lines: Ctrl+End goes to the last one at once, whether the list knows
// its length yet or not, and a line in the middle shows when the scroll bar is dragged there.
void TestOverviewWindow::longListReachesItsEndWithOneKey()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("VT.FDB");
    CreateLargeDatabase(path, LargeDatabaseSize{.drivers = 20, .years = 3, .vehicles = 2, .lastDay = kLastDay});
    m_window.reset();
    m_data.reset();
    QCOMPARE(ConnectUpgraded(m_session->connection(), path), QStringList());
    m_data = std::make_unique<TestTransactions>(m_session->connection());
    m_window = std::make_unique<OverviewWindow>(*m_session, m_owner.get());
    QVERIFY(ShowActive(*m_window));
    const std::vector<OverviewDayRow> all = WholeList<OverviewDayRow>(*m_data, OverviewFilter{});
    QVERIFY(all.size() > 20000);

    auto* pages = Child<QTabWidget>(*m_window, "Stranice");
    pages->setCurrentIndex(1);
    QTableView* days = grid("DaniGrid");
    const auto* list = static_cast<const EntryDaysModel*>(days->model());
    days->setFocus();
    QTest::keyClick(days, Qt::Key_End, Qt::ControlModifier);
    const int last = int(all.size()) - 1;
    QTRY_COMPARE(days->currentIndex().row(), last);
    QTRY_VERIFY(list->isLoaded(last));
    QCOMPARE(days->model()->index(last, 0).data().toString(), QString::number(all.size()));
    QCOMPARE(list->line(last).columnTexts(), all.back().columnTexts());
    QVERIFY(days->viewport()->rect().contains(days->visualRect(days->currentIndex()).center()));
    QCOMPARE(m_window->cursor().shape(), Qt::ArrowCursor);

    // The scroll bar spans the whole list; dragged to the middle, the lines there show.
    QScrollBar* bar = days->verticalScrollBar();
    QCOMPARE(bar->maximum() + bar->pageStep(), int(all.size()));
    bar->setValue(bar->maximum() / 2);
    const int middle = days->rowAt(days->viewport()->height() / 2);
    QVERIFY(middle > 5000);
    QTRY_VERIFY(list->isLoaded(middle));
    QCOMPARE(list->line(middle).columnTexts(), all[size_t(middle)].columnTexts());
    QCOMPARE(days->model()->index(middle, 0).data().toString(), QString::number(middle + 1));
    // Ctrl+Home goes back to the top, read at the start; Ctrl+End again, the length known.
    QTest::keyClick(days, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(days->currentIndex().row(), 0);
    QCOMPARE(list->line(0).columnTexts(), all.front().columnTexts());
    QTest::keyClick(days, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(days->currentIndex().row(), last);
}

QTEST_MAIN(TestOverviewWindow)
#include "tst_overview_window.moc"
