#include "chart_drawing.h"
#include "test_image_files.h"
#include "window_driving.h"

#include "charts/chart_geometry.h"
#include "charts/ui/chart_workspace.h"
#include "charts/ui/disc_view.h"
#include "charts/ui/progress_window.h"
#include "charts/ui/scan_chooser.h"
#include "charts/ui/scan_intake_run.h"
#include "common/conversion_error.h"
#include "common/profile_file.h"
#include "db/statement.h"
#include "entries/ui/activity_grid_view.h"
#include "entries/ui/activity_rows_model.h"
#include "settings/settings_values.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Disc 1 drives from midnight and works from 18:00 (a night chart once split at 18:00);
// disc 2 drives from 05:10 to 12:00.
// Other work on both sides of midnight, so that no minute at 00:00 lies between two activities.
const std::vector<TraceInterval> kNightTrace{{0, 180, 2}, {180, 1080, 0}, {1080, 1440, 2}};
const std::vector<TraceInterval> kDayTrace{{0, 310, 0}, {310, 720, 3}, {720, 1440, 0}};

QList<ChartWorkspace*> Workspaces()
{
    QList<ChartWorkspace*> found;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* workspace = qobject_cast<ChartWorkspace*>(window))
            found << workspace;
    }
    std::sort(found.begin(), found.end(),
              [](ChartWorkspace* a, ChartWorkspace* b) { return a->handOff().discNumber < b->handOff().discNumber; });
    return found;
}

template <typename T>
T* TopLevel()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<T*>(window); found && found->isVisible())
            return found;
    }
    return nullptr;
}

// One disc filling a 750-pixel disc image, as scan intake hands it over.
Raster DiscImage(const std::vector<TraceInterval>& trace)
{
    ChartDiscDrawing disc{374.5, 374.5, 374.0, 180.0, trace};
    return DrawChartPage(750, 750, {disc});
}

QStringList GridRow(const QTableWidget* grid, int row)
{
    QStringList texts;
    for (int column = 0; column < grid->columnCount(); ++column)
        texts << grid->item(row, column)->text();
    return texts;
}

QStringList DayRow(const ActivityRowsModel* rows, int row)
{
    QStringList texts;
    for (int column = ActivityRowsModel::Aktivnost; column <= ActivityRowsModel::Trajanje; ++column)
        texts << rows->index(row, column).data().toString();
    return texts;
}

// A day grid's rows as they are to be stored: "kind start end" in minutes, 00:00 after a
// later start being the end of the day.
QStringList StoredRowsOf(const ActivityRowsModel* rows)
{
    QStringList stored;
    for (const ActivityInterval& i : rows->intervals())
        stored << QStringLiteral("%1 %2 %3").arg(ActivityCode(i.kind)).arg(i.start).arg(i.end);
    return stored;
}

ActivityRowsModel* DayRows(QWidget* window, const char* grid)
{
    return Child<ActivityGridView>(*window, grid)->rows();
}

// The operator's answers to what the command asks before the intake: the notice, then the
// chooser, where the path is typed and Enter pressed (or "Otkaži" clicked for an empty path).
class IntakeDialogs : public QObject {
public:
    IntakeDialogs(const QString& path, bool cancel) : m_path(path), m_cancel(cancel)
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
        m_timer.start();
    }
    QStringList messages;
    bool chooserSeen = false;

private:
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            messages << box->text();
            box->button(QMessageBox::Ok)->click();
        } else if (auto* chooser = qobject_cast<ScanChooser*>(modal); chooser && !chooserSeen) {
            chooserSeen = true;
            auto* field = Child<QLineEdit>(*chooser, "Sken");
            field->setFocus();
            field->selectAll();
            if (m_cancel) {
                QTest::mouseClick(Child<QPushButton>(*chooser, "BitBtn2"), Qt::LeftButton);
                return;
            }
            TypeText(field, m_path);
            QTest::keyClick(field, Qt::Key_Return);
        }
    }

    QString m_path;
    bool m_cancel;
    QTimer m_timer;
};

} // namespace

class TestChartWorkspace : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void twoDiscScanToTwoStoredEntries();
    void intakeStopsWithItsMessage_data();
    void intakeStopsWithItsMessage();
    void cancelledChooserDoesNothing();
    void progressWindowStaysOpenWhenClicked();
    void refusedStoreKeepsTheWindow();
    void timeThatIsNoTimeStoresNothing();
    void storeChecksSendTheOperatorToTheField();
    void exportCopiesAndFile();
    void imageKeysActOnKeyDownAndUp();
    void geometryButtonsAndSplitPoint();
    void dayGridTotalsAndKilometres();
    void kmFieldsByMouse();
    void overlayStaysOnTheImageWhenZoomed();
    void existingEntryWarns();
    void keyboardHelp();
    void statusLineAsksToCheckZero();

private:
    ChartWorkspace* openDisc(const std::vector<TraceInterval>& trace, int discNumber = 1);
    void chooseDriverAndVehicle(ChartWorkspace* window);
    qint64 number(const QString& sql);
    QStringList StoredRows(qint64 dayId);

    QTemporaryDir m_folder;
    std::unique_ptr<ConnectedDatabase> m_db;
    QString m_twoDiscScan;
};

void TestChartWorkspace::initTestCase()
{
    m_twoDiscScan = m_folder.filePath(QStringLiteral("dva listića.jpg"));
    const int width = A4WidthPixels(150);
    const int height = A4HeightPixels(150);
    std::vector<ChartDiscDrawing> discs = StackedDiscs(width, height, 2);
    discs[0].trace = kNightTrace;
    discs[1].trace = kDayTrace;
    QVERIFY(WriteJpegFile(m_twoDiscScan, DrawChartPage(width, height, discs), {.quality = 92}));
}

void TestChartWorkspace::init()
{
    m_db = std::make_unique<ConnectedDatabase>();
    m_db->run(QStringLiteral("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, AKTIVNOALL) VALUES (1, 'Horvat Ivan', 1, 1)"));
    m_db->run(QStringLiteral("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, AKTIVNOALL) VALUES (2, 'Anić Ana', 1, 1)"));
    m_db->run(QStringLiteral("INSERT INTO VOZILO (IDVOZ, MARKAITIP, OZNAKA, AKTIVNOALL) VALUES (1, 'MAN', 'ZG-100-AA', 1)"));
}

void TestChartWorkspace::cleanup()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<ChartWorkspace*>(window) || qobject_cast<ProgressWindow*>(window))
            windows << window;
    }
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
    m_db.reset();
}

ChartWorkspace* TestChartWorkspace::openDisc(const std::vector<TraceInterval>& trace, int discNumber)
{
    ChartAnalysis analysis(DiscImage(trace), ChartReadingOptions{});
    analysis.setUp(ChartGeometry{});
    ChartWorkspace* window = OpenChartWorkspace(m_db->session(), std::move(analysis),
                                          ChartHandOff{QStringLiteral("/skenovi/listić.jpg"), discNumber, 2480, 3508, -1},
                                          nullptr);
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qWarning("The workspace did not become active");
    return window;
}

void TestChartWorkspace::chooseDriverAndVehicle(ChartWorkspace* window)
{
    // The operator turns to this window, as by a click on its title.
    QTest::qWait(50);
    window->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), window);
    Child<QTabWidget>(*window, "Kartice")->setCurrentIndex(1);
    auto* drivers = Child<QComboBox>(*window, "Djelatnici");
    drivers->setFocus();
    QTest::keyClicks(drivers, QStringLiteral("Horvat"));
    auto* vehicles = Child<QComboBox>(*window, "Vozila");
    vehicles->setFocus();
    QTest::keyClicks(vehicles, QStringLiteral("ZG"));
}

qint64 TestChartWorkspace::number(const QString& sql)
{
    m_db->data().write.startIfNotActive();
    const qint64 value = QueryNumber(m_db->data(), sql);
    m_db->data().write.commit();
    return value;
}

QStringList TestChartWorkspace::StoredRows(qint64 dayId)
{
    QStringList rows;
    Transaction& read = m_db->data().write;
    read.startIfNotActive();
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT TAKT,TOD,TDO,IDVOZAC FROM SATIUNOS WHERE IDDUNOS=:D ORDER BY TOD"));
    sql.setInt(QStringLiteral("D"), dayId);
    sql.execute();
    while (sql.next()) {
        rows << QStringLiteral("%1 %2 %3").arg(*sql.intValue(0)).arg(*sql.intValue(1)).arg(*sql.intValue(2));
        if (sql.intValue(3) != 1)
            rows << QStringLiteral("IDVOZAC %1").arg(sql.intValue(3).value_or(-1));
    }
    sql.close();
    read.commit();
    return rows;
}

void TestChartWorkspace::twoDiscScanToTwoStoredEntries()
{
    QWidget mainWindow;
    {
        IntakeDialogs dialogs(m_twoDiscScan, false);
        RunScanIntake(m_db->session(), &mainWindow);
        QVERIFY(dialogs.chooserSeen);
        QCOMPARE(dialogs.messages, QStringList{kScanIntakeNotice});
    }
    QTRY_COMPARE_WITH_TIMEOUT(Workspaces().size(), 2, 20000);
    QList<ChartWorkspace*> windows = Workspaces();
    // Neither hides the other, and both lie on the screen.
    QVERIFY(windows[0]->pos() != windows[1]->pos());
    for (ChartWorkspace* window : windows)
        QVERIFY(window->screen()->availableGeometry().contains(window->pos()));
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(windows[i]->handOff().discNumber, i + 1);
        QCOMPARE(windows[i]->handOff().scanFileName, m_twoDiscScan);
        QCOMPARE(windows[i]->handOff().scanWidth, A4WidthPixels(150));
        QCOMPARE(windows[i]->analysis().disc().width, 750);
        QCOMPARE(Child<QTabWidget>(*windows[i], "Kartice")->currentIndex(), 1);
    }
    ProgressWindow* progress = TopLevel<ProgressWindow>();
    QVERIFY(progress);
    QTRY_VERIFY(Child<QPushButton>(*progress, "BitBtn1")->isEnabled());
    const QStringList log = progress->logLines();
    QCOMPARE(log.size(), 5);
    QVERIFY(log[0].startsWith(QStringLiteral("Učitavanje = ")));
    QVERIFY(log[1].startsWith(QStringLiteral("Osnovna analiza = ")));
    QCOMPARE(log[2], QStringLiteral("Detektirano 2 listića!"));
    QVERIFY(log[3].startsWith(QStringLiteral("Obrada  (1) = ")));
    QVERIFY(log[4].startsWith(QStringLiteral("Obrada  (2) = ")));
    // Not clicked, it goes by itself.
    QPointer<ProgressWindow> goes(progress);
    QTRY_VERIFY_WITH_TIMEOUT(goes.isNull(), 5000);

    // Disc 1: split at the next activity by reading, a night chart of 18:00 to 03:00.
    ChartWorkspace* night = windows[0];
    Child<QTabWidget>(*night, "Kartice")->setCurrentIndex(0);
    QTest::mouseClick(Child<QToolButton>(*night, "Sljedeca"), Qt::LeftButton);
    QVERIFY(!Child<QGroupBox>(*night, "DvodnevniPanel")->isHidden());
    const ActivityRowsModel* day1 = DayRows(night, "AG1");
    const ActivityRowsModel* day2 = DayRows(night, "AG2");
    QCOMPARE(DayRow(day1, 0)[0], QStringLiteral("Ostali rad"));
    QCOMPARE(DayRow(day2, 0)[0], QStringLiteral("Ostali rad"));
    QCOMPARE(DayRow(day2, 0)[2], QStringLiteral("03:00"));
    chooseDriverAndVehicle(night);
    ReplaceAndLeave(Child<QLineEdit>(*night, "Pocetno"), QStringLiteral("1000"));
    ReplaceAndLeave(Child<QLineEdit>(*night, "Zavrsno"), QStringLiteral("1300"));
    QCOMPARE(Child<QLineEdit>(*night, "Predeno")->text(), QStringLiteral("300,00"));
    QVERIFY(!Child<QLineEdit>(*night, "KmKrajDana")->text().isEmpty());
    ReplaceAndLeave(Child<QLineEdit>(*night, "KmKrajDana"), QStringLiteral("1200"));
    const QStringList nightDay1 = StoredRowsOf(day1);
    const QStringList nightDay2 = StoredRowsOf(day2);
    QPointer<ChartWorkspace> nightGuard(night);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY(nightGuard.isNull());

    // What was stored, day by day and row by row.
    Transaction& read = m_db->data().write;
    read.startIfNotActive();
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT IDD,DATUM,KM1,KM2,DKM,MF,IDMF,IDPF FROM DUNOS ORDER BY DATUM"));
    sql.execute();
    QVERIFY(sql.next());
    const qint64 firstId = *sql.intValue(0);
    QCOMPARE(sql.dateValue(1), QDate::currentDate());
    QCOMPARE(sql.decimal3Value(2), Decimal3::fromWhole(1000));
    QCOMPARE(sql.decimal3Value(3), Decimal3::fromWhole(1200));
    QCOMPARE(sql.decimal3Value(4), Decimal3::fromWhole(200));
    QCOMPARE(sql.intValue(5), 1);
    const qint64 secondId = *sql.intValue(6);
    QVERIFY(sql.next());
    QCOMPARE(*sql.intValue(0), secondId);
    QCOMPARE(sql.dateValue(1), QDate::currentDate().addDays(1));
    QCOMPARE(sql.decimal3Value(2), Decimal3::fromWhole(1200));
    QCOMPARE(sql.decimal3Value(3), Decimal3::fromWhole(1300));
    QCOMPARE(sql.decimal3Value(4), Decimal3::fromWhole(100));
    QCOMPARE(sql.intValue(5), 0);
    QCOMPARE(sql.intValue(6), std::nullopt);
    QCOMPARE(*sql.intValue(7), firstId);
    QVERIFY(!sql.next());
    sql.close();
    read.commit();
    QCOMPARE(StoredRows(firstId), nightDay1);
    QCOMPARE(StoredRows(secondId), nightDay2);
    QCOMPARE(number(QStringLiteral("SELECT N FROM SKENLOG")), 1);
    QCOMPARE(number(QStringLiteral("SELECT POM FROM SKENLOG")), firstId);
    // The geometry is kept for the next chart.
    QCOMPARE(ReadChartGeometry(ProfileFile(ChartGeometryPathBeside(m_db->settingsPath()))).r1, windows[1]->analysis().geometry().r1);

    // Disc 2: a day chart from 05:10, stored with "Arhiviraj".
    ChartWorkspace* day = windows[1];
    QVERIFY(Child<QGroupBox>(*day, "DvodnevniPanel")->isHidden());
    QCOMPARE(DayRows(day, "AG1")->rowCount(), 2);
    QCOMPARE(DayRow(DayRows(day, "AG1"), 0)[0], QStringLiteral("Vožnja"));
    chooseDriverAndVehicle(day);
    QPointer<ChartWorkspace> dayGuard(day);
    QTest::mouseClick(Child<QPushButton>(*day, "BitBtn26"), Qt::LeftButton);
    QTRY_VERIFY(dayGuard.isNull());
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM UNOS WHERE PODTIP=1")), 2);
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM DUNOS")), 3);
    QCOMPARE(number(QStringLiteral("SELECT MAX(N) FROM SKENLOG")), 2);
}

void TestChartWorkspace::intakeStopsWithItsMessage_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty path") << QString() << QStringLiteral("Pogreška pri učitavanju slike!");
    QTest::newRow("icon") << QStringLiteral("ikona.ico") << QStringLiteral("Pogreška pri učitavanju slike!");
    QTest::newRow("metafile") << QStringLiteral("crtež.wmf") << QStringLiteral("Pogreška pri učitavanju slike!");
    QTest::newRow("400 pixels wide") << QStringLiteral("uski.bmp")
                                     << QStringLiteral("Minimalne dimenzije skeniranog listića moraju biti 400x400 piksela!");
    QTest::newRow("no disc") << QStringLiteral("prazno.jpg") << QStringLiteral("Nije detektiran ni jedan listić!");
}

void TestChartWorkspace::intakeStopsWithItsMessage()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    QString path;
    if (!file.isEmpty()) {
        path = m_folder.filePath(file);
        Raster raster;
        if (file.endsWith(QStringLiteral(".bmp"))) {
            ResizeRaster(raster, 400, 3000);
            ClearRaster(raster, kOpaqueWhite);
            QVERIFY(WriteBmpFile(path, raster));
        } else if (file.endsWith(QStringLiteral(".jpg"))) {
            ResizeRaster(raster, 600, 600);
            ClearRaster(raster, kOpaqueWhite);
            QVERIFY(WriteJpegFile(path, raster));
        } else {
            QFile icon(path);
            QVERIFY(icon.open(QIODevice::WriteOnly));
            icon.write(QByteArray("\x00\x00\x01\x00\x01\x00\x10\x10", 8) + QByteArray(300, '\x7f'));
        }
    }
    QWidget mainWindow;
    IntakeDialogs dialogs(path, false);
    RunScanIntake(m_db->session(), &mainWindow);
    QTRY_COMPARE_WITH_TIMEOUT(dialogs.messages.size(), 2, 20000);
    QCOMPARE(dialogs.messages[1], message);
    QTRY_VERIFY(TopLevel<ProgressWindow>() == nullptr);
    QVERIFY(Workspaces().isEmpty());
}

void TestChartWorkspace::cancelledChooserDoesNothing()
{
    QWidget mainWindow;
    for (int run = 0; run < 2; ++run) {
        IntakeDialogs dialogs(QString(), true);
        RunScanIntake(m_db->session(), &mainWindow);
        // The notice comes every time.
        QCOMPARE(dialogs.messages, QStringList{kScanIntakeNotice});
        QVERIFY(dialogs.chooserSeen);
        QVERIFY(TopLevel<ProgressWindow>() == nullptr);
    }
}

void TestChartWorkspace::progressWindowStaysOpenWhenClicked()
{
    QWidget mainWindow;
    ProgressWindow* progress = StartScanIntake(m_db->session(), m_twoDiscScan, &mainWindow);
    QTest::mouseClick(Child<QWidget>(*progress, "LB")->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport")),
                      Qt::LeftButton);
    QVERIFY(progress->keptOpen());
    QTRY_COMPARE_WITH_TIMEOUT(Workspaces().size(), 2, 20000);
    QTRY_VERIFY(Child<QPushButton>(*progress, "BitBtn1")->isEnabled());
    QTest::qWait(ProgressWindow::kCloseAfterMs + 300);
    QPointer<ProgressWindow> guard(progress);
    QVERIFY(guard && guard->isVisible());
    QTest::mouseClick(Child<QPushButton>(*progress, "BitBtn1"), Qt::LeftButton);
    QTRY_VERIFY(guard.isNull());
}

void TestChartWorkspace::refusedStoreKeepsTheWindow()
{
    ChartWorkspace* window = openDisc(kDayTrace);
    chooseDriverAndVehicle(window);
    ReplaceAndLeave(Child<QLineEdit>(*window, "Napomena"), QStringLiteral("Bilješka koja ostaje"));
    m_db->refuseWrites(QStringLiteral("SATIUNOS"), QStringLiteral("INSERT"));
    QString text;
    AnswerNextBox(window, QStringLiteral("U redu"), &text);
    QTest::mouseClick(Child<QPushButton>(*window, "BitBtn26"), Qt::LeftButton);
    QVERIFY2(text.contains(QStringLiteral("Upis odbijen")), qPrintable(text));
    QVERIFY(window->isVisible());
    QCOMPARE(Child<QLineEdit>(*window, "Napomena")->text(), QStringLiteral("Bilješka koja ostaje"));
    QCOMPARE(Child<QComboBox>(*window, "Djelatnici")->currentText(), QStringLiteral("Horvat Ivan"));
    for (const char* table : {"UNOS", "SKENLOG", "DUNOS", "SATIUNOS"})
        QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))), 0);
    QVERIFY(!QFile::exists(ChartGeometryPathBeside(m_db->settingsPath())));

    m_db->allowWrites(QStringLiteral("SATIUNOS"), QStringLiteral("INSERT"));
    QPointer<ChartWorkspace> guard(window);
    QTest::mouseClick(Child<QPushButton>(*window, "BitBtn26"), Qt::LeftButton);
    QTRY_VERIFY(guard.isNull());
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM DUNOS")), 1);
    QVERIFY(QFile::exists(ChartGeometryPathBeside(m_db->settingsPath())));
}

void TestChartWorkspace::timeThatIsNoTimeStoresNothing()
{
    ChartWorkspace* window = openDisc(kDayTrace);
    chooseDriverAndVehicle(window);
    auto* grid = Child<ActivityGridView>(*window, "AG1");
    ActivityRowsModel* rows = grid->rows();
    const std::vector<IntervalRow> read = rows->rows();

    // Typed and left by a click on "Arhiviraj": refused with its message, and nothing is stored.
    grid->setFocus();
    grid->setCurrentIndex(rows->index(1, ActivityRowsModel::Do));
    Type(QStringLiteral("x"));
    MessageAnswerer answers;
    QPointer<ChartWorkspace> guard(window);
    ClickThroughWindow(Child<QPushButton>(*window, "BitBtn26"));
    QVERIFY(guard && guard->isVisible());
    QTRY_COMPARE(answers.texts, QStringList{QStringLiteral("'x' nije ispravno vrijeme")});
    QCOMPARE(rows->rows().size(), read.size());
    QCOMPARE(rows->rows()[1].to, read[1].to);
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM UNOS")), 0);

    // Nor can a time that is no time be put into the rows otherwise.
    std::vector<IntervalRow> wrong = read;
    wrong[0].to = QStringLiteral("x");
    QVERIFY_THROWS_EXCEPTION(ConversionError, rows->setRows(wrong));
    QCOMPARE(rows->rows()[0].to, read[0].to);

    // Once the operator has seen the message, what the grid holds is stored.
    QTest::mouseClick(Child<QPushButton>(*window, "BitBtn26"), Qt::LeftButton);
    QTRY_VERIFY(guard.isNull());
    QCOMPARE(answers.texts.size(), 1);
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM SATIUNOS")), qint64(read.size()));

    // Left by "Otkaži", the window goes with what was typed, and no message comes after it.
    ChartWorkspace* cancelled = openDisc(kDayTrace);
    auto* cancelledGrid = Child<ActivityGridView>(*cancelled, "AG1");
    cancelledGrid->setFocus();
    cancelledGrid->setCurrentIndex(cancelledGrid->rows()->index(0, ActivityRowsModel::Do));
    Type(QStringLiteral("x"));
    guard = cancelled;
    ClickThroughWindow(Child<QPushButton>(*cancelled, "Otkazi"));
    QTRY_VERIFY(guard.isNull());
    QTest::qWait(100);
    QCOMPARE(answers.texts.size(), 1);
}

void TestChartWorkspace::storeChecksSendTheOperatorToTheField()
{
    ChartWorkspace* window = openDisc(kNightTrace);
    QString text;
    AnswerNextBox(window, QStringLiteral("U redu"), &text);
    QTest::mouseClick(Child<QPushButton>(*window, "BitBtn26"), Qt::LeftButton);
    QCOMPARE(text, QStringLiteral("Nije definiran vozač!"));
    Reactivate(window);

    chooseDriverAndVehicle(window);
    ReplaceAndLeave(Child<QLineEdit>(*window, "Pocetno"), QStringLiteral("1000"));
    ReplaceAndLeave(Child<QLineEdit>(*window, "Zavrsno"), QStringLiteral("900"));
    QVERIFY(!Child<QLabel>(*window, "KmDefGreska")->isHidden());
    QCOMPARE(Child<QLineEdit>(*window, "Predeno")->text(), QString());
    AnswerNextBox(window, QStringLiteral("U redu"), &text);
    QTest::mouseClick(Child<QPushButton>(*window, "BitBtn26"), Qt::LeftButton);
    QCOMPARE(text, QStringLiteral("Pogrešan unos početnog i završnog stanja kilometara!"));
    Reactivate(window);
    QTRY_COMPARE(QApplication::focusWidget(), Child<QLineEdit>(*window, "Zavrsno"));

    Child<QTabWidget>(*window, "Kartice")->setCurrentIndex(0);
    QTest::mouseClick(Child<QToolButton>(*window, "Sljedeca"), Qt::LeftButton);
    ReplaceAndLeave(Child<QLineEdit>(*window, "Zavrsno"), QStringLiteral("1300"));
    ReplaceAndLeave(Child<QLineEdit>(*window, "KmKrajDana"), QStringLiteral("1400"));
    AnswerNextBox(window, QStringLiteral("U redu"), &text);
    QTest::mouseClick(Child<QPushButton>(*window, "BitBtn26"), Qt::LeftButton);
    QCOMPARE(text, QStringLiteral("Pogrešno definirano stanje kilometara na kraju prvog dana! Provjerite!"));
    Reactivate(window);
    QTRY_COMPARE(QApplication::focusWidget(), Child<QLineEdit>(*window, "KmKrajDana"));
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM UNOS")), 0);
}

void TestChartWorkspace::exportCopiesAndFile()
{
    ChartWorkspace* window = openDisc(kDayTrace);
    Child<QTabWidget>(*window, "Kartice")->setCurrentIndex(0);
    // Split at 00:00, the whole chart is one day.
    QTest::mouseClick(Child<QToolButton>(*window, "Ponoc"), Qt::LeftButton);
    auto* grid = Child<QTableWidget>(*window, "AGrid");
    grid->setFocus();
    QApplication::clipboard()->clear();
    QTest::keyClick(grid, Qt::Key_B, Qt::ControlModifier);
    // Day 2 of a one-day chart: the header lines only.
    const QStringList day2 = QApplication::clipboard()->text().split(kCrLf);
    QCOMPARE(day2.size(), 4);
    QVERIFY(day2[0].startsWith(QStringLiteral("MIRELTOSA||KTS||")));
    QCOMPARE(day2[1], QString());
    QCOMPARE(day2[2], QStringLiteral("Aktivnost\tOd\tDo\tTrajanje\tOpis"));
    QCOMPARE(day2[3], QString());

    QTest::keyClick(grid, Qt::Key_X, Qt::ControlModifier);
    const QStringList day1 = QApplication::clipboard()->text().split(kCrLf);
    QCOMPARE(day1.size(), 3 + DayRows(window, "AG1")->rowCount() + 1);
    // Code, times, duration and name, each followed by a tab: no day column.
    for (int line = 3; line < day1.size() - 1; ++line)
        QCOMPARE(day1[line].split('\t').size(), 6);
    QVERIFY(day1.filter(QRegularExpression(QStringLiteral("^3\t05:1.\t12:0.\t"))).size() == 1);

    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    const QStringList all = QApplication::clipboard()->text().split(kCrLf);
    QVERIFY(all[0].startsWith(QStringLiteral("MIRELTOSA||KTS2||")));
    QCOMPARE(all.size(), 3 + grid->rowCount() + 1);
    const QStringList first = GridRow(grid, 0);
    QCOMPARE(all[3], (QStringList{QStringLiteral("0")} + first.mid(1)).join('\t') + QStringLiteral("\tOdmor\t"));

    const QString path = m_folder.filePath(QStringLiteral("listić.txt"));
    QVERIFY(window->exportToFile(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.contains("\tVo\x9Enja\t\r\n"));
    QVERIFY(bytes.endsWith("\r\n"));

    // A file that cannot be written (its folder is a file): a message, and the window stays.
    QString text;
    AnswerNextBox(window, QStringLiteral("U redu"), &text);
    QVERIFY(!window->exportToFile(path + QStringLiteral("/ne.txt")));
    QVERIFY2(text.contains(QStringLiteral("se ne može zapisati")), qPrintable(text));
    QVERIFY(window->isVisible());
    QFile again(path);
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), bytes);
}

void TestChartWorkspace::imageKeysActOnKeyDownAndUp()
{
    ChartWorkspace* window = openDisc(kDayTrace);
    Child<QTabWidget>(*window, "Kartice")->setCurrentIndex(0);
    auto* canvas = Child<QWidget>(*window, "DiscCanvas");
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QCOMPARE(QApplication::focusWidget(), canvas);
    const ChartGeometry start = window->analysis().geometry();
    QCOMPARE(start.r1, 184);

    QTest::keyClick(canvas, Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(window->analysis().geometry().r1, 186);
    QTest::keyClick(canvas, Qt::Key_F3, Qt::ControlModifier);
    QCOMPARE(window->analysis().geometry().pos0, start.pos0 + 0.5);
    QTest::keyClick(canvas, Qt::Key_Up);
    const ChartGeometry moved = window->analysis().geometry();
    QCOMPARE(moved.cy, start.cy - 2);
    // Whole pixels from where the fine fit put the centre, and the radii follow it (CentarRadijus).
    QCOMPARE(moved.centreFractionY, start.centreFractionY);
    ChartGeometry expected = moved;
    FitRadiiToCentre(expected);
    QCOMPARE(moved.r1, expected.r1);
    QCOMPARE(moved.r2, expected.r2);
    QCOMPARE(Child<QLabel>(*window, "ICaption")->text(), window->analysis().caption());
    QVERIFY(Child<QLabel>(*window, "ICaption")->text().startsWith(
        QStringLiteral("R1 = %1; R2 = %2; C = (%3,%4)").arg(moved.r1).arg(moved.r2).arg(moved.cx).arg(moved.cy)));
}

void TestChartWorkspace::geometryButtonsAndSplitPoint()
{
    ChartWorkspace* window = openDisc(kNightTrace);
    Child<QTabWidget>(*window, "Kartice")->setCurrentIndex(0);
    const ChartGeometry start = window->analysis().geometry();
    QTest::mouseClick(Child<QToolButton>(*window, "BitBtn16"), Qt::LeftButton);
    QCOMPARE(window->analysis().geometry().r2, start.r2 + 5);
    QTest::mouseClick(Child<QToolButton>(*window, "BitBtn17"), Qt::LeftButton);
    QCOMPARE(window->analysis().geometry(), start);
    // Every key pressed while "0+" has the focus turns 00:00 on as well.
    auto* zeroPlus = Child<QToolButton>(*window, "BitBtn12");
    zeroPlus->setFocus();
    QTest::keyClick(zeroPlus, Qt::Key_A);
    QCOMPARE(window->analysis().geometry().pos0, start.pos0 + 0.25);

    auto* split = Child<QLineEdit>(*window, "Pocetak");
    QCOMPARE(split->text(), QStringLiteral("00:00"));
    QTest::mouseClick(Child<QToolButton>(*window, "PostaviRucno"), Qt::LeftButton);
    QVERIFY(!split->isReadOnly());
    TypeText(split, QStringLiteral("18"));
    QTest::keyClick(split, Qt::Key_Tab);
    QCOMPARE(split->text(), QStringLiteral("18:00"));
    QVERIFY(split->isReadOnly());
    QCOMPARE(window->analysis().splitPoint(), 1080);
    QVERIFY(!Child<QGroupBox>(*window, "DvodnevniPanel")->isHidden());
    QCOMPARE(DayRow(DayRows(window, "AG1"), 0)[1], QStringLiteral("18:00"));
    QCOMPARE(Child<QLabel>(*window, "OdDoDvodnevni")->text(),
             QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy.")) + QStringLiteral(" 18:00 - ")
                 + QDate::currentDate().addDays(1).toString(QStringLiteral("dd.MM.yyyy.")) + QLatin1Char(' ')
                 + DayRow(DayRows(window, "AG2"), DayRows(window, "AG2")->rowCount() - 1)[2]);
    QTest::mouseClick(Child<QToolButton>(*window, "Ponoc"), Qt::LeftButton);
    QCOMPARE(split->text(), QStringLiteral("00:00"));
    QVERIFY(Child<QGroupBox>(*window, "DvodnevniPanel")->isHidden());
    QTest::mouseClick(Child<QToolButton>(*window, "Prethodna"), Qt::LeftButton);
    QCOMPARE(window->analysis().splitPoint(), window->analysis().intervals().back().start);
}

void TestChartWorkspace::dayGridTotalsAndKilometres()
{
    ChartWorkspace* window = openDisc(kDayTrace);
    ActivityRowsModel* rows = DayRows(window, "AG1");
    rows->setRows({{ActivityKind::Driving, "05:10", "00:00", "", ""}});
    QCOMPARE(Child<QLabel>(*window, "Ukupno1")->text(), QStringLiteral("18:50"));
    QCOMPARE(Child<QTableWidget>(*window, "SG1")->item(3, 2)->text(), QStringLiteral("1130"));
    rows->setRows({{ActivityKind::OtherWork, "22:00", "00:00", "", ""}});
    QCOMPARE(Child<QTableWidget>(*window, "SG1")->item(2, 2)->text(), QStringLiteral("120"));
    rows->setRows({{ActivityKind::Rest, "00:00", "24:00", "", ""}});
    QCOMPARE(Child<QLabel>(*window, "Ukupno1")->text(), QStringLiteral("24:00"));
    QVERIFY(Child<QLabel>(*window, "Marker1")->isHidden());
    rows->setRows({{ActivityKind::Rest, "00:00", "24:00", "", ""}, {ActivityKind::Driving, "06:00", "07:00", "", ""}});
    QVERIFY(!Child<QLabel>(*window, "Marker1")->isHidden());

    // Past 24 hours the day's times show modulo 24 beside the "!!": six Inserts add six rows of
    // other work 00:00-04:00 to 18:50 of driving.
    rows->setRows({{ActivityKind::Driving, "05:10", "00:00", "", ""}});
    auto* sums = Child<QTableWidget>(*window, "SG1");
    {
        auto* grid = Child<ActivityGridView>(*window, "AG1");
        grid->setFocus();
        grid->setCurrentIndex(rows->index(0, ActivityRowsModel::Od));
        for (int press = 0; press < 6; ++press)
            QTest::keyClick(grid, Qt::Key_Insert);
    }
    QCOMPARE(rows->rowCount(), 7);
    QCOMPARE(Child<QLabel>(*window, "Ukupno1")->text(), QStringLiteral("18:50"));
    QVERIFY(!Child<QLabel>(*window, "Marker1")->isHidden());
    const QList<QStringList> expectedSums{{"Vožnja", "18:50", "1130"},
                                          {"Ostali rad", "24:00", "1440"},
                                          {"Noćni rad uk.", "02:50", "1610"},
                                          {"Noć ukupno", "02:50", "1610"}};
    for (const QStringList& expected : expectedSums) {
        const QList<QTableWidgetItem*> found = sums->findItems(expected[0], Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QCOMPARE(GridRow(sums, found[0]->row()), expected);
    }

    // V on the last row adds a driving row from its end to 04:00.
    rows->setRows({{ActivityKind::OtherWork, "01:00", "02:00", "", ""}});
    auto* grid = Child<ActivityGridView>(*window, "AG1");
    grid->setFocus();
    grid->setCurrentIndex(rows->index(0, ActivityRowsModel::Od));
    QTest::keyClick(grid, Qt::Key_V);
    QCOMPARE(DayRow(rows, 1), (QStringList{QStringLiteral("Vožnja"), QStringLiteral("02:00"), QStringLiteral("04:00"),
                                           QStringLiteral("02:00")}));
}

// The operator clicks from field to field and types the readings.
void TestChartWorkspace::kmFieldsByMouse()
{
    ChartWorkspace* window = openDisc(kDayTrace);
    chooseDriverAndVehicle(window);
    auto* start = Child<QLineEdit>(*window, "Pocetno");
    auto* end = Child<QLineEdit>(*window, "Zavrsno");
    auto* remark = Child<QLineEdit>(*window, "Napomena");
    auto* distance = Child<QLineEdit>(*window, "Predeno");
    auto* reversed = Child<QLabel>(*window, "KmDefGreska");
    const auto clickInto = [](QLineEdit* field) {
        QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(field->width() - 4, field->height() / 2));
        QTRY_COMPARE(QApplication::focusWidget(), field);
    };

    // Leaving "Početno km" rewrites it alone; the end, not yet given, stays empty and unflagged.
    clickInto(start);
    TypeText(start, QStringLiteral("500"));
    clickInto(remark);
    QCOMPARE(start->text(), QStringLiteral("500,00"));
    QCOMPARE(end->text(), QString());
    QVERIFY(reversed->isHidden());
    QCOMPARE(distance->text(), QString());

    clickInto(end);
    TypeText(end, QStringLiteral("900"));
    clickInto(remark);
    QCOMPARE(end->text(), QStringLiteral("900,00"));
    QCOMPARE(distance->text(), QStringLiteral("400,00"));

    // A field entered by the mouse has its text selected: the new reading replaces the old one.
    clickInto(end);
    QCOMPARE(end->selectedText(), QStringLiteral("900,00"));
    TypeText(end, QStringLiteral("1300"));
    clickInto(remark);
    QCOMPARE(end->text(), QStringLiteral("1300,00"));
    QCOMPARE(start->text(), QStringLiteral("500,00"));
    QCOMPARE(distance->text(), QStringLiteral("800,00"));
    QVERIFY(reversed->isHidden());

    QPointer<ChartWorkspace> guard(window);
    QTest::mouseClick(Child<QPushButton>(*window, "BitBtn26"), Qt::LeftButton);
    QTRY_VERIFY(guard.isNull());
    QCOMPARE(number(QStringLiteral("SELECT CAST(KM1 AS INTEGER) FROM DUNOS")), 500);
    QCOMPARE(number(QStringLiteral("SELECT CAST(KM2 AS INTEGER) FROM DUNOS")), 1300);
}

void TestChartWorkspace::overlayStaysOnTheImageWhenZoomed()
{
    ChartWorkspace* window = openDisc(kDayTrace);
    Child<QTabWidget>(*window, "Kartice")->setCurrentIndex(0);
    auto* view = Child<DiscView>(*window, "Slika");
    auto* canvas = Child<QWidget>(*window, "DiscCanvas");
    const ChartGeometry g = window->analysis().geometry();
    for (double scale : {1.0, 4.0, 8.0}) {
        view->setScale(scale);
        // The red circle crosses the horizontal through the centre (fractions included) at r1.
        const int x = static_cast<int>((g.centreX() + 0.5 + g.innerRadius()) * scale);
        const int y = static_cast<int>((g.centreY() + 0.5) * scale);
        const QImage around = canvas->grab(QRect(x - 1, y - 1, 3, 3)).toImage();
        bool red = false;
        for (int i = 0; i < around.width(); ++i)
            for (int j = 0; j < around.height(); ++j)
                red = red || qRed(around.pixel(i, j)) > qGreen(around.pixel(i, j)) + 60;
        QVERIFY2(red, qPrintable(QStringLiteral("scale %1").arg(scale)));
    }
    QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(view->scale(), 1.0);

    // The unrolled trace tells the minute and the intensity under the mouse: driving from
    // 05:10 is dark next to the inner radius.
    auto* strip = Child<QLabel>(*window, "TrakaSlika");
    auto* readout = Child<QLabel>(*window, "Info");
    QVERIFY(readout->isHidden());
    QTest::mouseMove(strip, QPoint(600, strip->height() - kStripMargin - 3));
    QTRY_VERIFY(!readout->isHidden());
    const QStringList parts = readout->text().split(QLatin1Char(' '));
    QCOMPARE(parts.size(), 2);
    QCOMPARE(parts[0], QStringLiteral("10:00"));
    QVERIFY2(parts[1].toInt() < 100, qPrintable(readout->text()));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(strip, &leave);
    QVERIFY(readout->isHidden());
}

void TestChartWorkspace::existingEntryWarns()
{
    m_db->run(QStringLiteral("INSERT INTO UNOS (IDUNOS, IDVOZAC, TIP) VALUES (50, 1, 0)"));
    m_db->run(QStringLiteral("INSERT INTO DUNOS (IDD, IDUNOS, DATUM, S4) VALUES (60, 50, '%1', 100)")
                  .arg(QDate::currentDate().toString(Qt::ISODate)));
    ChartWorkspace* window = openDisc(kDayTrace);
    auto* warning = Child<QLabel>(*window, "DatumPostoji");
    QVERIFY(warning->isHidden());
    chooseDriverAndVehicle(window);
    QVERIFY(!warning->isHidden());
    // Only a warning: the chart is stored all the same.
    QPointer<ChartWorkspace> guard(window);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY(guard.isNull());
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM UNOS")), 2);
}

void TestChartWorkspace::keyboardHelp()
{
    ChartWorkspace* window = openDisc(kDayTrace);
    Child<QTabWidget>(*window, "Kartice")->setCurrentIndex(0);
    QTest::mouseClick(Child<QToolButton>(*window, "BitBtn20"), Qt::LeftButton);
    QWidget* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == QStringLiteral("Tipkovnica") && w->isVisible())
            help = w;
    QVERIFY(help);
    QVERIFY(Child<QLabel>(*help, "Tipke")->text().contains(QStringLiteral("Ctrl + F3")));
}

// A disc whose printed rim scale disagrees with its centre hole: the status line asks for
// 00:00 to be checked, and the keys that turn it work as ever. A disc read without doubt shows
// nothing there.
void TestChartWorkspace::statusLineAsksToCheckZero()
{
    ChartDiscDrawing disc = PrintedDisc({374.5, 374.5, 372.0, 180.0, kDayTrace}, false);
    disc.scaleTurn = 0.6;
    ChartAnalysis analysis(DrawChartPage(750, 750, {disc}), ChartReadingOptions{});
    analysis.setUp(ChartGeometry{});
    ChartWorkspace* doubtful = OpenChartWorkspace(m_db->session(), std::move(analysis),
                                            ChartHandOff{QStringLiteral("/skenovi/listić.jpg"), 1, 2480, 3508, -1}, nullptr);
    Child<QTabWidget>(*doubtful, "Kartice")->setCurrentIndex(0);
    auto* warning = Child<QLabel>(*doubtful, "ProvjeraNule");
    QVERIFY(warning->isVisible());
    QCOMPARE(warning->text(), QStringLiteral("Provjerite položaj 00:00"));
    const double pos0 = doubtful->analysis().geometry().pos0;
    QTest::mouseClick(Child<QToolButton>(*doubtful, "BitBtn12"), Qt::LeftButton);
    QCOMPARE(doubtful->analysis().geometry().pos0, pos0 + 0.25);

    ChartWorkspace* certain = openDisc(kNightTrace, 2);
    QVERIFY(Child<QLabel>(*certain, "ProvjeraNule")->isHidden());
}

QTEST_MAIN(TestChartWorkspace)
#include "tst_chart_workspace.moc"
