#include "temp_database.h"
#include "ui/date_field.h"
#include "window_driving.h"

#include "settings/ui/options_window.h"
#include "settings/settings_values.h"
#include "temp_database.h"
#include "entries/ui/activity_grid_view.h"
#include "entries/ui/activity_rows_model.h"
#include "session/session.h"
#include "entries/entry_store.h"
#include "entries/ui/manual_entry_window.h"
#include "entries/ui/summary_rows_model.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

const QDate kYesterday = QDate::currentDate().addDays(-1);

template <typename T>
T* Child(QWidget* window, const char* name)
{
    T* child = window->findChild<T*>(QLatin1String(name));
    if (child == nullptr)
        qFatal("No control %s", name);
    return child;
}

// Types into a field the way the operator does and leaves it with Tab.
void Fill(QLineEdit* field, const QString& text)
{
    ReplaceAndLeave(field, text);
}

// Ticks or clears a check box with the space bar.
void Toggle(QCheckBox* box)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
}

// Enter takes the typed text into the cell.
void Commit()
{
    Press(Qt::Key_Return);
    QCoreApplication::processEvents();
}

QStringList RowTexts(const ActivityRowsModel& rows, int row)
{
    QStringList texts;
    for (int column = 0; column < ActivityRowsModel::ColumnCount; ++column)
        texts << rows.index(row, column).data().toString();
    return texts;
}

} // namespace

class TestManualEntryWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newWindow();
    void typedDateIsStored_data();
    void typedDateIsStored();
    void wholeDayAndUnknownKindSurviveStoring();
    void storeKeysWorkFromEveryField_data();
    void warningsMoveNothing();
    void windowOpenedFromAnotherComesForwardWhenItCloses();
    void storeKeysWorkFromEveryField();
    void quickKeysAndChaining();
    void endCheck_data();
    void endCheck();
    void rowTexts();
    void rowKeys();
    void summaryTotals();
    void detailedEntryRoundTrip();
    void summaryEntryRoundTrip();
    void newFromTemplate();
    void distanceWithoutReadingsStays();
    void scannedChartMark();
    void existingEntriesOfTheDay();
    void databaseErrorKeepsTheWindow();
    void missingDriver();
    void addedVehicleKeepsTheSelection();

private:
    ManualEntryWindow* open(int entryId = kNewId, int templateId = kNewId);
    ActivityGridView* enterDetails(ManualEntryWindow* window);
    void typeCell(ActivityGridView* grid, int row, int column, const QString& text);
    void choose(ManualEntryWindow* window, const char* list, const QString& name);
    int storeAndClose(ManualEntryWindow* window);
    qint64 count(const QString& sql);

    QTemporaryDir m_settingsFolder;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<OptionsWindow> m_options;
    // One upgraded database made once, copied afresh for every test.
    std::unique_ptr<TempDatabase> m_upgraded;
    std::unique_ptr<QTemporaryDir> m_dbFolder;
    std::unique_ptr<TestTransactions> m_data;
};

void TestManualEntryWindow::initTestCase()
{
    m_session = std::make_unique<Session>(m_settingsFolder.filePath(QStringLiteral("postavke.dat")));
    m_session->settings().load({});
    m_options = std::make_unique<OptionsWindow>(m_session->settings(), QStringList());
    m_upgraded = std::make_unique<TempDatabase>();
}

void TestManualEntryWindow::init()
{
    Child<QCheckBox>(m_options.get(), "AddCheck")->setChecked(false);
    m_dbFolder = std::make_unique<QTemporaryDir>();
    const QString path = m_dbFolder->filePath(QStringLiteral("VT.FDB"));
    QVERIFY(QFile::copy(m_upgraded->path(), path));
    QCOMPARE(ConnectUpgraded(m_session->connection(), path), QStringList());
    m_data = std::make_unique<TestTransactions>(m_session->connection());
    m_data->write.startIfNotActive();
    m_data->script.execute(
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, AKTIVNOALL) VALUES (1, 'Horvat Ivan', 1, NULL);"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, AKTIVNOALL) VALUES (2, 'Anić Ana', 1, 1);"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, AKTIVNOALL) VALUES (3, 'Babić Bruno', 1, 0);"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, AKTIVNOALL) VALUES (4, 'Car Cvita', 0, 1);"
        "INSERT INTO VOZILO (IDVOZ, MARKAITIP, OZNAKA, AKTIVNOALL) VALUES (1, 'MAN', 'ZG-100-AA', 1);"
        "INSERT INTO VOZILO (IDVOZ, MARKAITIP, OZNAKA, AKTIVNOALL) VALUES (2, 'Iveco', 'ŠI-200-BB', NULL);"
        "INSERT INTO VOZILO (IDVOZ, MARKAITIP, OZNAKA, AKTIVNOALL) VALUES (3, 'DAF', 'RI-300-CC', 0);"
        "SET GENERATOR GEN_DJELATNICI_ID TO 4;"
        "SET GENERATOR GEN_VOZILO_ID TO 3;");
    m_data->write.commit();
}

void TestManualEntryWindow::cleanup()
{
    QList<QPointer<ManualEntryWindow>> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* entryWindow = qobject_cast<ManualEntryWindow*>(window))
            windows << entryWindow;
    }
    for (const QPointer<ManualEntryWindow>& window : windows)
        delete window.data();
    m_data.reset();
    m_dbFolder.reset();
}

ManualEntryWindow* TestManualEntryWindow::open(int entryId, int templateId)
{
    ManualEntryWindow* window = OpenManualEntryWindow(*m_session, entryId, templateId, nullptr);
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qWarning("The window did not become active");
    return window;
}

ActivityGridView* TestManualEntryWindow::enterDetails(ManualEntryWindow* window)
{
    auto* pages = Child<QTabWidget>(window, "Stranice");
    pages->setCurrentIndex(1);
    auto* grid = Child<ActivityGridView>(window, "AGrid");
    if (QApplication::focusWidget() != grid)
        qWarning("The details page did not put the focus into the grid");
    return grid;
}

void TestManualEntryWindow::typeCell(ActivityGridView* grid, int row, int column, const QString& text)
{
    grid->setCurrentIndex(grid->rows()->index(row, column));
    Type(text);
    Commit();
}

void TestManualEntryWindow::choose(ManualEntryWindow* window, const char* list, const QString& name)
{
    auto* combo = Child<QComboBox>(window, list);
    combo->setCurrentIndex(combo->findText(name));
}

int TestManualEntryWindow::storeAndClose(ManualEntryWindow* window)
{
    QPointer<ManualEntryWindow> guard(window);
    QTest::mouseClick(Child<QPushButton>(window, "Spremi"), Qt::LeftButton);
    const int id = guard ? guard->entryId() : kNewId;
    // The window closes once stored; one still open gives no id.
    return QTest::qWaitFor([&] { return guard.isNull(); }) ? id : kNewId;
}

qint64 TestManualEntryWindow::count(const QString& sql)
{
    m_data->write.startIfNotActive();
    const qint64 value = QueryNumber(*m_data, sql);
    m_data->write.commit();
    return value;
}

void TestManualEntryWindow::newWindow()
{
    ManualEntryWindow* window = open();
    QCOMPARE(window->windowTitle(), QStringLiteral("Ručni unos podataka o radnim satima"));
    QCOMPARE(Child<DateField>(window, "Datum")->date(), kYesterday);
    auto* pages = Child<QTabWidget>(window, "Stranice");
    QCOMPARE(pages->tabText(pages->currentIndex()), QStringLiteral("Osnovni podaci"));
    QVERIFY(Child<QCheckBox>(window, "Detaljno")->isChecked());
    QVERIFY(pages->isTabVisible(1));
    QVERIFY(!pages->isTabVisible(2));
    QCOMPARE(Child<QPushButton>(window, "Spremi")->text(), QStringLiteral("&Arhiviraj"));
    QVERIFY(!Child<QPushButton>(window, "NoviPremaOvom")->isVisible());
    QVERIFY(!Child<QLabel>(window, "Uneseno")->isVisible());
    QVERIFY(!Child<QWidget>(window, "Skenirani")->isVisible());

    auto* grid = Child<ActivityGridView>(window, "AGrid");
    QCOMPARE(grid->rows()->rowCount(), 1);
    QCOMPARE(RowTexts(*grid->rows(), 0), (QStringList{"Ostali rad", "00:00", "04:00", "04:00", "", ""}));
    QCOMPARE(Child<QLabel>(window, "Ukupno")->text(), QStringLiteral("04:00"));
    auto* totals = Child<QTableWidget>(window, "TotalsGrid");
    QCOMPARE(totals->rowCount(), 8);
    QCOMPARE(totals->item(2, 1)->text(), QStringLiteral("04:00"));
    QCOMPARE(totals->item(2, 2)->text(), QStringLiteral("240"));
    QCOMPARE(totals->item(7, 2)->text(), QStringLiteral("240"));  // 00:00-04:00 is night

    // A new entry lists the active drivers and vehicles; an empty flag counts as active.
    auto* drivers = Child<QComboBox>(window, "Vozac");
    QCOMPARE(drivers->count(), 2);
    QCOMPARE(drivers->itemText(0), QStringLiteral("Anić Ana"));
    QCOMPARE(drivers->itemText(1), QStringLiteral("Horvat Ivan"));
    QCOMPARE(drivers->currentIndex(), -1);
    auto* vehicles = Child<QComboBox>(window, "Vozilo");
    QCOMPARE(vehicles->count(), 2);
    QCOMPARE(vehicles->itemText(0), QStringLiteral("ŠI-200-BB"));  // Š before Z

    // The keyboard goes from the driver straight on to the vehicle.
    QCOMPARE(QApplication::focusWidget(), drivers);
    Press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Child<QComboBox>(window, "Vozilo"));

    // Every opening is one more window, each with a placement of its own.
    ManualEntryWindow* second = open();
    QVERIFY(second != window);
    QVERIFY(window->isVisible());
}

void TestManualEntryWindow::quickKeysAndChaining()
{
    ManualEntryWindow* window = open();
    // Ctrl+Tab from the driver list goes to the details page, into the grid.
    Press(Qt::Key_Tab, Qt::ControlModifier);
    auto* grid = Child<ActivityGridView>(window, "AGrid");
    QCOMPARE(QApplication::focusWidget(), grid);
    ActivityRowsModel& rows = *grid->rows();
    QCOMPARE(grid->currentIndex(), rows.index(0, ActivityRowsModel::Od));

    Press(Qt::Key_V, Qt::ControlModifier);
    Type("6");
    Commit();
    Press(Qt::Key_Right);
    Type("10");
    Commit();
    QCOMPARE(RowTexts(rows, 0), (QStringList{"Vožnja", "06:00", "10:00", "04:00", "", ""}));

    // B appends a rest row from where the driving ends to midnight, and the cursor is on its end.
    Press(Qt::Key_B);
    QCOMPARE(rows.rowCount(), 2);
    QCOMPARE(RowTexts(rows, 1), (QStringList{"Odmor", "10:00", "00:00", "14:00", "", ""}));
    QCOMPARE(grid->currentIndex(), rows.index(1, ActivityRowsModel::Do));

    // A changed end of row 1 moves the start of row 2.
    Press(Qt::Key_Up);
    Type("11");
    Commit();
    QCOMPARE(rows.index(1, ActivityRowsModel::Od).data().toString(), QStringLiteral("11:00"));
    QCOMPARE(Child<QLabel>(window, "Ukupno")->text(), QStringLiteral("18:00"));

    // A letter typed while a cell is open is never typed into it: the cell is taken first.
    Press(Qt::Key_Down);
    Type("2");
    Press(Qt::Key_N);
    QCOMPARE(rows.index(1, ActivityRowsModel::Do).data().toString(), QStringLiteral("02:00"));
    QCOMPARE(RowTexts(rows, 2), (QStringList{"Ostali rad", "02:00", "04:00", "02:00", "", ""}));

    // Over 24 hours the total shows its clock time (hours modulo 24) and the red marker shows.
    QCOMPARE(Child<QLabel>(window, "Ukupno")->text(), QStringLiteral("22:00"));
    QVERIFY(!Child<QLabel>(window, "UkupnoMarker")->isVisible());
    typeCell(grid, 2, ActivityRowsModel::Do, "10");
    QCOMPARE(Child<QLabel>(window, "Ukupno")->text(), QStringLiteral("04:00"));
    QVERIFY(Child<QLabel>(window, "UkupnoMarker")->isVisible());

    // Ctrl+M changes the current row's kind and adds no row.
    Press(Qt::Key_M, Qt::ControlModifier);
    QCOMPARE(rows.rowCount(), 3);
    QCOMPARE(rows.index(2, 0).data().toString(), QStringLiteral("Spremnost"));
    QCOMPARE(Child<QTableWidget>(window, "TotalsGrid")->item(1, 1)->text(), QStringLiteral("08:00"));
}

void TestManualEntryWindow::endCheck_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("typedEnd");
    QTest::addColumn<QString>("end");
    QTest::newRow("duration") << "8" << "2:30" << "10:30";
    QTest::newRow("mirrored") << "10" << "8" << "12:00";
    QTest::newRow("past midnight") << "22" << "3" << "00:00";
}

void TestManualEntryWindow::endCheck()
{
    QFETCH(QString, start);
    QFETCH(QString, typedEnd);
    Child<QCheckBox>(m_options.get(), "AddCheck")->setChecked(true);
    ManualEntryWindow* window = open();
    ActivityGridView* grid = enterDetails(window);
    typeCell(grid, 0, ActivityRowsModel::Od, start);
    typeCell(grid, 0, ActivityRowsModel::Do, typedEnd);
    QTEST(grid->rows()->index(0, ActivityRowsModel::Do).data().toString(), "end");
}

void TestManualEntryWindow::rowTexts()
{
    ManualEntryWindow* window = open();
    ActivityGridView* grid = enterDetails(window);
    typeCell(grid, 0, ActivityRowsModel::Km, "12,5");
    QCOMPARE(grid->rows()->index(0, ActivityRowsModel::Km).data().toString(), QStringLiteral("0"));
    typeCell(grid, 0, ActivityRowsModel::Km, "450");
    typeCell(grid, 0, ActivityRowsModel::L, "55,5");
    QCOMPARE(RowTexts(*grid->rows(), 0), (QStringList{"Ostali rad", "00:00", "04:00", "04:00", "450", "55,50"}));
    QCOMPARE(Child<QLabel>(window, "Kilometara")->text(), QStringLiteral("450"));
    QCOMPARE(Child<QLabel>(window, "Litara")->text(), QStringLiteral("55,50"));
    QCOMPARE(Child<QLabel>(window, "Prosjek")->text(), QStringLiteral("N/A"));

    // A time that is no time is refused with a message, and the cell keeps its text.
    QString message;
    AnswerNextBox(window, QStringLiteral("U redu"), &message);
    typeCell(grid, 0, ActivityRowsModel::Od, "x");
    QTRY_COMPARE(message, QStringLiteral("'x' nije ispravno vrijeme"));
    QCOMPARE(grid->rows()->index(0, ActivityRowsModel::Od).data().toString(), QStringLiteral("00:00"));

    // Left by a click on "Arhiviraj", it is refused all the same, and nothing is stored.
    choose(window, "Vozac", QStringLiteral("Horvat Ivan"));
    choose(window, "Vozilo", QStringLiteral("ŠI-200-BB"));
    Reactivate(window);
    grid->setFocus();
    grid->setCurrentIndex(grid->rows()->index(0, ActivityRowsModel::Od));
    Type(QStringLiteral("x"));
    MessageAnswerer answers;
    QPointer<ManualEntryWindow> guard(window);
    ClickThroughWindow(Child<QPushButton>(window, "Spremi"));
    QVERIFY(guard && guard->isVisible());
    QTRY_COMPARE(answers.texts, QStringList{QStringLiteral("'x' nije ispravno vrijeme")});
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM UNOS")), 0);
}

void TestManualEntryWindow::rowKeys()
{
    ManualEntryWindow* window = open();
    ActivityGridView* grid = enterDetails(window);
    ActivityRowsModel& rows = *grid->rows();

    // Right passes over "Trajanje"; a keypad digit types like a digit key.
    grid->setCurrentIndex(rows.index(0, ActivityRowsModel::Do));
    Press(Qt::Key_Right);
    QCOMPARE(grid->currentIndex().column(), int(ActivityRowsModel::Km));
    Press(Qt::Key_Left);
    Press(Qt::Key_5, Qt::KeypadModifier);
    Commit();
    QCOMPARE(rows.index(0, ActivityRowsModel::Do).data().toString(), QStringLiteral("05:00"));

    // Down on the last row appends a row that starts where the last one ends.
    Press(Qt::Key_Down);
    QCOMPARE(rows.rowCount(), 2);
    QCOMPARE(RowTexts(rows, 1), (QStringList{"Ostali rad", "05:00", "00:00", "19:00", "", ""}));
    // Insert appends a row with the new-row values.
    Press(Qt::Key_Insert);
    QCOMPARE(RowTexts(rows, 2), (QStringList{"Ostali rad", "00:00", "04:00", "04:00", "", ""}));

    const std::vector<IntervalRow> before = rows.rows();
    AnswerNextBox(window, QStringLiteral("Ne"));
    Press(Qt::Key_Delete, Qt::ControlModifier);
    Reactivate(window);
    QCOMPARE(rows.rowCount(), 3);
    for (int row = 0; row < 3; ++row)
        QCOMPARE(RowTexts(rows, row)[1], before[size_t(row)].from);

    QString question;
    grid->setCurrentIndex(rows.index(1, ActivityRowsModel::Od));
    AnswerNextBox(window, QStringLiteral("Da"), &question);
    Press(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(question, QStringLiteral("Obrisati redak?"));
    QCOMPARE(rows.rowCount(), 2);
    QCOMPARE(RowTexts(rows, 1)[1], QStringLiteral("00:00"));
    QCOMPARE(Child<QLabel>(window, "Ukupno")->text(), QStringLiteral("09:00"));
}

void TestManualEntryWindow::summaryTotals()
{
    ManualEntryWindow* window = open();
    Toggle(Child<QCheckBox>(window, "Detaljno"));
    auto* pages = Child<QTabWidget>(window, "Stranice");
    QVERIFY(!pages->isTabVisible(1));
    QVERIFY(pages->isTabVisible(2));
    QVERIFY(Child<QLineEdit>(window, "PocetakPuta")->isVisible());
    Press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(pages->currentIndex(), 2);
    pages->setCurrentIndex(0);

    pages->setCurrentIndex(2);
    auto* grid = Child<QTableView>(window, "SumGrid");
    QCOMPARE(QApplication::focusWidget(), grid);
    QCOMPARE(grid->currentIndex(), grid->model()->index(0, SummaryRowsModel::Dnevno));
    Type("10");
    Commit();
    Press(Qt::Key_Right);
    Type("14");
    Commit();
    QCOMPARE(grid->model()->index(0, SummaryRowsModel::Ukupno).data().toString(), QStringLiteral("24:00"));
    QCOMPARE(Child<QLabel>(window, "SumUkupno")->text(), QStringLiteral("24:00"));
    QVERIFY(!Child<QLabel>(window, "SumUpozorenje")->isVisible());
    QVERIFY(!Child<QLabel>(window, "SumMarker")->isVisible());
    QCOMPARE(Child<QLineEdit>(window, "KrajPuta")->text(), QStringLiteral("24:00"));

    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    Press(Qt::Key_Left);
    Type("0:30");
    Commit();
    QCOMPARE(Child<QLabel>(window, "SumUkupno")->text(), QStringLiteral("24:00+"));
    auto* warning = Child<QLabel>(window, "SumUpozorenje");
    QVERIFY(warning->isVisible());
    QVERIFY(warning->text().startsWith(QStringLiteral("Ukupno trajanje aktivnosti više od 24h!")));
    QVERIFY(Child<QLabel>(window, "SumMarker")->isVisible());
    QCOMPARE(Child<QLineEdit>(window, "KrajPuta")->text(), QStringLiteral("24:30"));
    QCOMPARE(Child<QLabel>(window, "SumProsjek")->text(), QStringLiteral(""));
}

void TestManualEntryWindow::detailedEntryRoundTrip()
{
    QSignalSpy changed(m_session.get(), &Session::entriesChanged);
    ManualEntryWindow* window = open();
    choose(window, "Vozac", QStringLiteral("Horvat Ivan"));
    choose(window, "Vozilo", QStringLiteral("ŠI-200-BB"));
    Toggle(Child<QCheckBox>(window, "Suvozac"));
    Child<DateField>(window, "Datum")->setDate(QDate(2024, 3, 14));
    Fill(Child<QLineEdit>(window, "Pocetno"), QStringLiteral("120.000,5"));
    Fill(Child<QLineEdit>(window, "Zavrsno"), QStringLiteral("120450,5"));
    QCOMPARE(Child<QLineEdit>(window, "Pocetno")->text(), QStringLiteral("120000,50"));
    QCOMPARE(Child<QLineEdit>(window, "Predjeno")->text(), QStringLiteral("450,00"));
    QVERIFY(!Child<QLabel>(window, "KmMarker")->isVisible());
    Child<QPlainTextEdit>(window, "Napomena")->setPlainText(QStringLiteral("Šibenik – Čakovec"));
    ActivityGridView* grid = enterDetails(window);
    typeCell(grid, 0, ActivityRowsModel::Od, "22");
    typeCell(grid, 0, ActivityRowsModel::Do, "2");
    Press(Qt::Key_V);
    typeCell(grid, 1, ActivityRowsModel::Do, "6");
    typeCell(grid, 1, ActivityRowsModel::Km, "450");
    typeCell(grid, 1, ActivityRowsModel::L, "55,5");
    // Four-digit kilometres and litres fit their columns.
    for (int column : {int(ActivityRowsModel::Km), int(ActivityRowsModel::L)})
        QVERIFY(grid->fontMetrics().horizontalAdvance(QStringLiteral("1.234,50")) < grid->columnWidth(column) - 6);
    const ManualEntry typed = window->entryFromFields();

    const int id = storeAndClose(window);
    QVERIFY(id > 0);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS")), 2);

    ManualEntryWindow* reopened = open(id);
    QCOMPARE(Child<QPushButton>(reopened, "Spremi")->text(), QStringLiteral("&Promijeni"));
    QVERIFY(Child<QPushButton>(reopened, "NoviPremaOvom")->isVisible());
    QVERIFY(Child<QLabel>(reopened, "Uneseno")->text().startsWith(QStringLiteral("Uneseno u sustav: ")));
    QVERIFY(Child<QLabel>(reopened, "Uneseno")->isVisible());
    QCOMPARE(Child<QComboBox>(reopened, "Vozac")->currentText(), QStringLiteral("Horvat Ivan"));
    QCOMPARE(Child<QComboBox>(reopened, "Vozilo")->currentText(), QStringLiteral("ŠI-200-BB"));
    QCOMPARE(Child<QLineEdit>(reopened, "Pocetno")->text(), QStringLiteral("120000,50"));
    QCOMPARE(Child<QLineEdit>(reopened, "Predjeno")->text(), QStringLiteral("450,00"));
    QCOMPARE(RowTexts(*Child<ActivityGridView>(reopened, "AGrid")->rows(), 1),
             (QStringList{"Vožnja", "02:00", "06:00", "04:00", "450,00", "55,50"}));
    QCOMPARE(Child<QLabel>(reopened, "Ukupno")->text(), QStringLiteral("08:00"));
    QCOMPARE(Child<QLabel>(reopened, "Prosjek")->text(), QStringLiteral("112,50"));

    const ManualEntry loaded = reopened->entryFromFields();
    QCOMPARE(loaded.entryId, id);
    QCOMPARE(loaded.driverId, 1);
    QCOMPARE(loaded.vehicleId, 2);
    QCOMPARE(loaded.date, typed.date);
    QCOMPARE(loaded.startKm, typed.startKm);
    QCOMPARE(loaded.endKm, typed.endKm);
    QCOMPARE(loaded.distance, typed.distance);
    QCOMPARE(loaded.remark, typed.remark);
    QCOMPARE(loaded.night, typed.night);
    QCOMPARE(loaded.coDriver, true);
    QCOMPARE(loaded.crew, false);
    QCOMPARE(loaded.detailed, true);
    QCOMPARE(loaded.intervals.size(), typed.intervals.size());
    for (size_t i = 0; i < typed.intervals.size(); ++i) {
        QCOMPARE(loaded.intervals[i].kind, typed.intervals[i].kind);
        QCOMPARE(loaded.intervals[i].start, typed.intervals[i].start);
        QCOMPARE(loaded.intervals[i].end, typed.intervals[i].end);
        QCOMPARE(loaded.intervals[i].kilometres, typed.intervals[i].kilometres);
        QCOMPARE(loaded.intervals[i].litres, typed.intervals[i].litres);
    }
    QCOMPARE(loaded.intervals[0].end, 1560);

    // Changing it keeps one entry.
    Child<QPlainTextEdit>(reopened, "Napomena")->setPlainText(QStringLiteral("promijenjeno"));
    QCOMPARE(storeAndClose(reopened), id);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM UNOS")), 1);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS")), 2);
    QCOMPARE(changed.count(), 2);
}

void TestManualEntryWindow::summaryEntryRoundTrip()
{
    ManualEntryWindow* window = open();
    choose(window, "Vozac", QStringLiteral("Anić Ana"));
    choose(window, "Vozilo", QStringLiteral("ZG-100-AA"));
    Toggle(Child<QCheckBox>(window, "Posada"));
    Toggle(Child<QCheckBox>(window, "Detaljno"));
    // Leaving a reading rewrites that field only: the end, not yet given, stays empty and
    // nothing is flagged. A start reading above the end reading is flagged.
    Fill(Child<QLineEdit>(window, "Pocetno"), QStringLiteral("1300"));
    QCOMPARE(Child<QLineEdit>(window, "Pocetno")->text(), QStringLiteral("1300,00"));
    QCOMPARE(Child<QLineEdit>(window, "Zavrsno")->text(), QString());
    QVERIFY(!Child<QLabel>(window, "KmMarker")->isVisible());
    Fill(Child<QLineEdit>(window, "Zavrsno"), QStringLiteral("1000"));
    QVERIFY(Child<QLabel>(window, "KmMarker")->isVisible());
    QCOMPARE(Child<QLineEdit>(window, "Predjeno")->text(), QString());
    Fill(Child<QLineEdit>(window, "Pocetno"), QStringLiteral("1000"));
    Fill(Child<QLineEdit>(window, "Zavrsno"), QStringLiteral("1300"));
    QVERIFY(!Child<QLabel>(window, "KmMarker")->isVisible());
    auto* start = Child<QLineEdit>(window, "PocetakPuta");
    Fill(start, QStringLiteral("5"));
    QCOMPARE(start->text(), QStringLiteral("05:00"));

    auto* pages = Child<QTabWidget>(window, "Stranice");
    pages->setCurrentIndex(2);
    auto* grid = Child<QTableView>(window, "SumGrid");
    const auto type = [grid](int row, int column, const char* text) {
        grid->setCurrentIndex(grid->model()->index(row, column));
        Type(text);
        Commit();
    };
    type(3, SummaryRowsModel::Dnevno, "8");
    type(3, SummaryRowsModel::Nocno, "1:30");
    QCOMPARE(Child<QLineEdit>(window, "KrajPuta")->text(), QStringLiteral("14:30"));
    ManualEntry typed = window->entryFromFields();

    // Ctrl+S stores what is still being typed into a cell.
    grid->setCurrentIndex(grid->model()->index(0, SummaryRowsModel::Dnevno));
    Type("10");
    typed.summary.day[0] = 600;
    QPointer<ManualEntryWindow> guard(window);
    Press(Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY(guard.isNull());
    const int id = int(count(QStringLiteral("SELECT MAX(IDUNOS) FROM UNOS")));
    QCOMPARE(count(QStringLiteral("SELECT PODTIP FROM UNOS WHERE IDUNOS=%1").arg(id)), 100);
    QCOMPARE(count(QStringLiteral("SELECT T2 FROM DUNOS")), 300 + 570 + 600);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS")), 0);

    ManualEntryWindow* reopened = open(id);
    QVERIFY(!Child<QCheckBox>(reopened, "Detaljno")->isChecked());
    QVERIFY(Child<QTabWidget>(reopened, "Stranice")->isTabVisible(2));
    QVERIFY(!Child<QTabWidget>(reopened, "Stranice")->isTabVisible(1));
    QCOMPARE(Child<QLineEdit>(reopened, "PocetakPuta")->text(), QStringLiteral("05:00"));
    auto* reopenedGrid = Child<QTableView>(reopened, "SumGrid");
    QCOMPARE(reopenedGrid->model()->index(3, SummaryRowsModel::Nocno).data().toString(), QStringLiteral("01:30"));
    QCOMPARE(reopenedGrid->model()->index(3, SummaryRowsModel::Ukupno).data().toString(), QStringLiteral("09:30"));
    QCOMPARE(Child<QLabel>(reopened, "SumKilometara")->text(), QStringLiteral("300,00"));
    QCOMPARE(Child<QLabel>(reopened, "SumProsjek")->text(), QStringLiteral("31,58"));

    const ManualEntry loaded = reopened->entryFromFields();
    QCOMPARE(loaded.driverId, 2);
    QCOMPARE(loaded.vehicleId, 1);
    QCOMPARE(loaded.date, kYesterday);
    QCOMPARE(loaded.distance, typed.distance);
    // Crew flags live on the intervals, and a summary entry has none.
    QCOMPARE(loaded.crew, false);
    QCOMPARE(loaded.coDriver, false);
    QCOMPARE(loaded.detailed, false);
    QCOMPARE(loaded.summary, typed.summary);
    QCOMPARE(loaded.workStart, 300);
}

void TestManualEntryWindow::newFromTemplate()
{
    ManualEntry stored;
    stored.driverId = 1;
    stored.vehicleId = 1;
    stored.date = QDate(2024, 3, 14);
    stored.intervals = {ActivityInterval{ActivityKind::Driving, 360, 870, Decimal3::fromWhole(450), {}}};
    stored.distance = Decimal3::fromWhole(450);
    QVERIFY(StoreManualEntry(m_data->write, stored).done);

    ManualEntryWindow* editing = open(stored.entryId);
    const int windowsBefore = QApplication::topLevelWidgets().size();
    QTest::mouseClick(Child<QPushButton>(editing, "NoviPremaOvom"), Qt::LeftButton);
    ManualEntryWindow* copy = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* candidate = qobject_cast<ManualEntryWindow*>(window);
        if (candidate && candidate != editing)
            copy = candidate;
    }
    QVERIFY(copy != nullptr);
    QVERIFY(QApplication::topLevelWidgets().size() > windowsBefore);
    QCOMPARE(copy->entryId(), kNewId);
    QCOMPARE(copy->templateId(), stored.entryId);
    QCOMPARE(Child<QPushButton>(copy, "Spremi")->text(), QStringLiteral("&Arhiviraj"));
    QVERIFY(!Child<QLabel>(copy, "Uneseno")->isVisible());
    QCOMPARE(Child<DateField>(copy, "Datum")->date(), kYesterday);
    QCOMPARE(Child<QComboBox>(copy, "Vozac")->currentText(), QStringLiteral("Horvat Ivan"));
    QCOMPARE(RowTexts(*Child<ActivityGridView>(copy, "AGrid")->rows(), 0),
             (QStringList{"Vožnja", "06:00", "14:30", "08:30", "450,00", ""}));

    const int id = storeAndClose(copy);
    QVERIFY(id != stored.entryId);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM UNOS")), 2);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS")), 2);
}

void TestManualEntryWindow::distanceWithoutReadingsStays()
{
    ManualEntry stored;
    stored.driverId = 1;
    stored.vehicleId = 1;
    stored.date = kYesterday;
    stored.detailed = false;
    stored.distance = Decimal3::fromWhole(300);
    QVERIFY(StoreManualEntry(m_data->write, stored).done);

    ManualEntryWindow* window = open(stored.entryId);
    QCOMPARE(Child<QLineEdit>(window, "Predjeno")->text(), QStringLiteral("300,00"));
    auto* start = Child<QLineEdit>(window, "Pocetno");
    start->setFocus();
    Press(Qt::Key_Tab);
    QCOMPARE(storeAndClose(window), stored.entryId);
    QCOMPARE(count(QStringLiteral("SELECT CAST(DKM AS INTEGER) FROM DUNOS")), 300);
}

void TestManualEntryWindow::scannedChartMark()
{
    ManualEntry stored;
    stored.driverId = 1;
    stored.vehicleId = 1;
    stored.date = kYesterday;
    stored.intervals = {ActivityInterval{ActivityKind::Driving, 360, 870, {}, {}}};
    QVERIFY(StoreManualEntry(m_data->write, stored).done);
    m_data->write.startIfNotActive();
    m_data->sql.prepare(QStringLiteral("UPDATE UNOS SET PODTIP=1"));
    m_data->sql.execute();
    m_data->write.commit();

    ManualEntryWindow* chart = open(stored.entryId);
    QVERIFY(Child<QWidget>(chart, "Skenirani")->isVisible());
    // A new entry on its pattern is a manual entry.
    ManualEntryWindow* copy = open(kNewId, stored.entryId);
    QVERIFY(!Child<QWidget>(copy, "Skenirani")->isVisible());
}

void TestManualEntryWindow::existingEntriesOfTheDay()
{
    ManualEntry stored;
    stored.driverId = 1;
    stored.vehicleId = 1;
    stored.date = kYesterday;
    stored.intervals = {ActivityInterval{ActivityKind::Driving, 360, 870, {}, {}}};
    stored.distance = Decimal3::fromWhole(450);
    QVERIFY(StoreManualEntry(m_data->write, stored).done);

    ManualEntryWindow* window = open();
    auto* warning = Child<QToolButton>(window, "PostojiUnos");
    auto* drivers = Child<QComboBox>(window, "Vozac");
    QCOMPARE(QApplication::focusWidget(), drivers);
    // Another driver's day shows nothing; the driver with an entry that day shows the warning
    // once the operator leaves the list.
    choose(window, "Vozac", QStringLiteral("Anić Ana"));
    Press(Qt::Key_Tab);
    QVERIFY(!warning->isVisible());
    drivers->setFocus();
    choose(window, "Vozac", QStringLiteral("Horvat Ivan"));
    Press(Qt::Key_Tab);
    QVERIFY(warning->isVisible());
    QCOMPARE(warning->text(), QStringLiteral("Već postoji unos za taj datum"));
    QCOMPARE(warning->menu()->actions().size(), 1);
    QCOMPARE(warning->menu()->actions()[0]->text(), QStringLiteral("08:30 vožnje, 450,00 km"));

    // A click on the warning opens the menu; its item opens the entry in a further window.
    QAction* item = warning->menu()->actions()[0];
    QTimer::singleShot(50, [item] {
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        item->trigger();
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    QTest::mouseClick(warning, Qt::LeftButton);
    ManualEntryWindow* other = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* candidate = qobject_cast<ManualEntryWindow*>(top);
        if (candidate && candidate != window)
            other = candidate;
    }
    QVERIFY(other != nullptr);
    QCOMPARE(other->entryId(), stored.entryId);
    QCOMPARE(Child<QPushButton>(other, "Spremi")->text(), QStringLiteral("&Promijeni"));

    // Another date of the same driver has no entry.
    Child<DateField>(window, "Datum")->setDate(kYesterday.addDays(-1));
    emit Child<DateField>(window, "Datum")->committed();
    QVERIFY(!warning->isVisible());
}

void TestManualEntryWindow::databaseErrorKeepsTheWindow()
{
    m_data->write.startIfNotActive();
    m_data->script.execute(QStringLiteral("CREATE EXCEPTION E_TEST_INTERVAL 'Interval odbijen';\n"
                                             "SET TERM ^ ;\n"
                                             "CREATE TRIGGER SATIUNOS_TEST FOR SATIUNOS BEFORE INSERT AS\n"
                                             "BEGIN\n"
                                             "  IF (NEW.TAKT = 0) THEN EXCEPTION E_TEST_INTERVAL;\n"
                                             "END^\n"
                                             "SET TERM ; ^\n"));
    m_data->write.commit();

    QSignalSpy changed(m_session.get(), &Session::entriesChanged);
    ManualEntryWindow* window = open();
    QPointer<ManualEntryWindow> guard(window);
    choose(window, "Vozac", QStringLiteral("Horvat Ivan"));
    choose(window, "Vozilo", QStringLiteral("ZG-100-AA"));
    ActivityGridView* grid = enterDetails(window);
    typeCell(grid, 0, ActivityRowsModel::Do, "6");
    Press(Qt::Key_B);
    const std::vector<IntervalRow> before = grid->rows()->rows();

    QString message;
    AnswerNextBox(window, QStringLiteral("U redu"), &message);
    QTest::mouseClick(Child<QPushButton>(window, "Spremi"), Qt::LeftButton);
    QVERIFY2(message.contains(QStringLiteral("Interval odbijen")), qPrintable(message));
    QCoreApplication::processEvents();
    QVERIFY(!guard.isNull());
    QVERIFY(window->isVisible());
    QCOMPARE(window->entryId(), kNewId);
    QCOMPARE(grid->rows()->rowCount(), int(before.size()));
    QCOMPARE(grid->rows()->rows()[1].to, before[1].to);
    QCOMPARE(Child<QComboBox>(window, "Vozac")->currentText(), QStringLiteral("Horvat Ivan"));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM UNOS")), 0);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM DUNOS")), 0);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS")), 0);
}

void TestManualEntryWindow::missingDriver()
{
    ManualEntryWindow* window = open();
    QPointer<ManualEntryWindow> guard(window);
    QString message;
    AnswerNextBox(window, QStringLiteral("U redu"), &message);
    QTest::mouseClick(Child<QPushButton>(window, "Spremi"), Qt::LeftButton);
    QCOMPARE(message, QStringLiteral("Nije definiran vozač!"));

    choose(window, "Vozac", QStringLiteral("Horvat Ivan"));
    AnswerNextBox(window, QStringLiteral("U redu"), &message);
    QTest::mouseClick(Child<QPushButton>(window, "Spremi"), Qt::LeftButton);
    QCOMPARE(message, QStringLiteral("Nije definirano vozilo!"));
    QCoreApplication::processEvents();
    QVERIFY(!guard.isNull());
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM UNOS")), 0);
}

void TestManualEntryWindow::addedVehicleKeepsTheSelection()
{
    ManualEntryWindow* window = open();
    choose(window, "Vozilo", QStringLiteral("ZG-100-AA"));
    auto* timer = new QTimer(window);
    timer->setInterval(10);
    connect(timer, &QTimer::timeout, [timer] {
        QWidget* record = QApplication::activeModalWidget();
        if (record == nullptr || record->objectName() != QLatin1String("VoziloForm"))
            return;
        timer->stop();
        record->findChild<QLineEdit*>(QStringLiteral("Tip"))->setText(QStringLiteral("Volvo"));
        record->findChild<QLineEdit*>(QStringLiteral("Oznaka"))->setText(QStringLiteral("AB-123-CD"));
        record->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
    });
    timer->start();
    QString message;
    AnswerNextBox(window, QStringLiteral("U redu"), &message);
    QTest::mouseClick(Child<QToolButton>(window, "DodajVozilo"), Qt::LeftButton);
    QCOMPARE(message, QString());
    auto* vehicles = Child<QComboBox>(window, "Vozilo");
    QCOMPARE(vehicles->count(), 3);
    QCOMPARE(vehicles->currentText(), QStringLiteral("ZG-100-AA"));
}

void TestManualEntryWindow::typedDateIsStored_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("stored");
    QTest::newRow("dots") << "15.03.2025" << QDate(2025, 3, 15);
    QTest::newRow("month without zero") << "15.3.2025" << QDate(2025, 3, 15);
    QTest::newRow("no zeros") << "1.3.2025" << QDate(2025, 3, 1);
    QTest::newRow("digits only") << "15032025" << QDate(2025, 3, 15);
    QTest::newRow("no date: the previous stays") << "31.02.2025" << kYesterday;
}

void TestManualEntryWindow::typedDateIsStored()
{
    QFETCH(QString, typed);
    QFETCH(QDate, stored);
    ManualEntryWindow* window = open();
    choose(window, "Vozac", QStringLiteral("Horvat Ivan"));
    choose(window, "Vozilo", QStringLiteral("ŠI-200-BB"));
    auto* date = Child<DateField>(window, "Datum");
    MessageAnswerer answerer;
    ReplaceAndLeave(date, typed);
    // Tab leaves the field for the next one rather than stepping through day, month and year; a
    // refused text brings the operator back to the field.
    const bool refused = stored == kYesterday;
    QVERIFY(QTest::qWaitFor([&] { return QApplication::focusWidget() == (refused ? date : Child<QWidget>(window, "Pocetno")); }));
    QCOMPARE(answerer.texts.size(), refused ? 1 : 0);
    QCOMPARE(date->text(), stored.toString(QStringLiteral("dd.MM.yyyy")));
    QVERIFY(storeAndClose(window) > 0);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM DUNOS WHERE DATUM='%1'").arg(stored.toString(Qt::ISODate))), 1);
}

void TestManualEntryWindow::wholeDayAndUnknownKindSurviveStoring()
{
    ManualEntry restDay;
    restDay.driverId = 1;
    restDay.vehicleId = 1;
    restDay.date = QDate(2024, 3, 14);
    restDay.intervals = {ActivityInterval{ActivityKind::Rest, 0, 1440, {}, {}}};
    QVERIFY(StoreManualEntry(m_data->write, restDay).done);
    ManualEntry withForeign = restDay;
    withForeign.entryId = kNewId;
    withForeign.entryDayId = kNewId;
    withForeign.date = QDate(2024, 3, 15);
    withForeign.intervals = {ActivityInterval{ActivityKind::Driving, 360, 600, {}, {}}};
    QVERIFY(StoreManualEntry(m_data->write, withForeign).done);
    // Another program's interval of a kind this one does not know.
    m_data->write.startIfNotActive();
    m_data->sql.prepare(QStringLiteral("INSERT INTO SATIUNOS (IDDUNOS,TOD,TDO,TAKT) VALUES (:D,600,720,7)"));
    m_data->sql.setInt(QStringLiteral("D"), withForeign.entryDayId);
    m_data->sql.execute();
    m_data->write.commit();

    // The whole day shows as 00:00 to 24:00, survives an edit of the entry and is stored again.
    ManualEntryWindow* window = open(restDay.entryId);
    ActivityGridView* grid = Child<ActivityGridView>(window, "AGrid");
    QCOMPARE(RowTexts(*grid->rows(), 0), (QStringList{"Odmor", "00:00", "24:00", "24:00", "", ""}));
    Fill(Child<QLineEdit>(window, "Zavrsno"), QStringLiteral("100"));
    QCOMPARE(storeAndClose(window), restDay.entryId);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS WHERE TOD=0 AND TDO=1440 AND TAKT=0 AND IDDUNOS=%1")
                       .arg(restDay.entryDayId)),
             1);
    QCOMPARE(count(QStringLiteral("SELECT S1 FROM DUNOS WHERE IDD=%1").arg(restDay.entryDayId)), 1440);

    // The unknown interval is shown with "?", kept out of the grid and the totals, and stored
    // unchanged when the entry's intervals are written again.
    window = open(withForeign.entryId);
    auto* foreign = Child<QLabel>(window, "NepoznateAktivnosti");
    QVERIFY(!foreign->isHidden());
    QVERIFY2(foreign->text().contains(QStringLiteral("(?)")) && foreign->text().contains(QStringLiteral("10:00-12:00 (7)")),
             qPrintable(foreign->text()));
    grid = enterDetails(window);
    QCOMPARE(grid->rows()->rowCount(), 1);
    typeCell(grid, 0, ActivityRowsModel::Do, "11");
    QCOMPARE(storeAndClose(window), withForeign.entryId);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS WHERE IDDUNOS=%1").arg(withForeign.entryDayId)), 2);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS WHERE TOD=600 AND TDO=720 AND TAKT=7")), 1);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS WHERE TOD=360 AND TDO=660 AND TAKT=3")), 1);
}

void TestManualEntryWindow::storeKeysWorkFromEveryField_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    const int ctrl = int(Qt::ControlModifier);
    for (const char* field : {"Vozac", "Datum", "Pocetno", "Napomena", "AGrid", "open cell"}) {
        QTest::addRow("Ctrl+S in %s", field) << QByteArray(field) << int(Qt::Key_S) << ctrl;
        QTest::addRow("Ctrl+Enter in %s", field) << QByteArray(field) << int(Qt::Key_Return) << ctrl;
    }
    QTest::newRow("Alt+A in Napomena") << QByteArray("Napomena") << int(Qt::Key_A) << int(Qt::AltModifier);
}

void TestManualEntryWindow::storeKeysWorkFromEveryField()
{
    QFETCH(QByteArray, field);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    ManualEntryWindow* window = open();
    choose(window, "Vozac", QStringLiteral("Horvat Ivan"));
    choose(window, "Vozilo", QStringLiteral("ŠI-200-BB"));
    QWidget* target = nullptr;
    if (field == "AGrid" || field == "open cell") {
        ActivityGridView* grid = enterDetails(window);
        grid->setCurrentIndex(grid->rows()->index(0, ActivityRowsModel::Do));
        if (field == "open cell")
            Type("6");  // the end cell is open, 6 typed into it
        target = QApplication::focusWidget();
    } else {
        target = Child<QWidget>(window, field.constData());
        target->setFocus();
    }
    QPointer<ManualEntryWindow> guard(window);
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(QTest::qWaitFor([&] { return guard.isNull(); }));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM UNOS")), 1);
    if (field == "open cell")
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS WHERE TOD=0 AND TDO=360")), 1);
}

void TestManualEntryWindow::warningsMoveNothing()
{
    ManualEntry stored;
    stored.driverId = 1;
    stored.vehicleId = 1;
    stored.date = kYesterday;
    stored.detailed = false;
    QVERIFY(StoreManualEntry(m_data->write, stored).done);

    ManualEntryWindow* window = open();
    QList<QWidget*> neighbours;
    for (const char* name : {"Datum", "Pocetno", "Zavrsno", "Predjeno", "Napomena"})
        neighbours << Child<QWidget>(window, name);
    QList<QRect> before;
    for (QWidget* neighbour : neighbours)
        before << neighbour->geometry();
    // The driver has an entry that day, and the odometer runs backwards: both warnings show.
    choose(window, "Vozac", QStringLiteral("Horvat Ivan"));
    emit Child<DateField>(window, "Datum")->committed();
    Fill(Child<QLineEdit>(window, "Pocetno"), QStringLiteral("500"));
    Fill(Child<QLineEdit>(window, "Zavrsno"), QStringLiteral("100"));
    QVERIFY(Child<QWidget>(window, "PostojiUnos")->isVisible());
    QVERIFY(Child<QWidget>(window, "KmMarker")->isVisible());
    for (qsizetype i = 0; i < neighbours.size(); ++i)
        QCOMPARE(neighbours[i]->geometry(), before[i]);
}

void TestManualEntryWindow::windowOpenedFromAnotherComesForwardWhenItCloses()
{
    ManualEntry stored;
    stored.driverId = 1;
    stored.vehicleId = 1;
    stored.date = kYesterday;
    stored.detailed = false;
    QVERIFY(StoreManualEntry(m_data->write, stored).done);

    // A main window stand-in that owns the entry windows, as the program's main window does.
    QWidget mainWindow;
    mainWindow.resize(600, 600);
    QVERIFY(ShowActive(mainWindow));
    ManualEntryWindow* opener = OpenManualEntryWindow(*m_session, stored.entryId, kNewId, &mainWindow);
    QVERIFY(QTest::qWaitForWindowActive(opener));
    QTest::mouseClick(Child<QPushButton>(opener, "NoviPremaOvom"), Qt::LeftButton);
    QPointer<ManualEntryWindow> opened;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* candidate = qobject_cast<ManualEntryWindow*>(window);
        if (candidate && candidate != opener)
            opened = candidate;
    }
    QVERIFY(opened);
    QCOMPARE(opened->parentWidget(), &mainWindow);
    // The operator goes back to the first window and closes it.
    opener->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(opener));
    QTest::mouseClick(Child<QPushButton>(opener, "Otkazi"), Qt::LeftButton);
    QVERIFY(opened);
    QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == opened.data(); }));
    delete opened.data();
}

QTEST_MAIN(TestManualEntryWindow)
#include "tst_manual_entry_window.moc"
