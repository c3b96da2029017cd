#include "app/main_window.h"

#include "ui/look.h"
#include "ui/message_box.h"
#include "app/about_window.h"
#include "ui/window_placement.h"
#include "db/database_location.h"
#include "db/schema_upgrade.h"
#include "print/ui/printer_output.h"
#include "session/session.h"
#include "settings/ui/options_window.h"
#include "attestation/ui/attestation_window.h"
#include "attestation/ui/register_window.h"
#include "entries/ui/manual_entry_window.h"
#include "charts/ui/scan_intake_run.h"
#include "masterdata/ui/driver_window.h"
#include "masterdata/ui/driver_list_window.h"
#include "masterdata/ui/vehicle_list_window.h"
#include "reviews/ui/overview_window.h"
#include "worktime/ui/worktime_window.h"
#include "compliance/ui/compliance_window.h"
#include "cards/ui/card_import_window.h"
#include "compliance/ui/record_gaps_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace {

constexpr int kClientWidth = 524;
constexpr int kClientHeight = 543;  // the menu bar included
constexpr int kMenuHeight = 26;
constexpr int kPageMargin = 4;
constexpr int kLogoStripHeight = 51;
constexpr int kPictureSize = 48;
constexpr int kMenuFontPixels = 13;
constexpr int kButtonFontPixels = 19;


QString FontRule(int pixels)
{
    return QStringLiteral("font-family: 'Tahoma'; font-size: %1px; font-weight: bold;").arg(pixels);
}

// The window a slot holds, made there the first time.
template <typename Window, typename... Arguments>
Window& Once(std::unique_ptr<Window>& slot, Arguments&&... arguments)
{
    if (!slot)
        slot = std::make_unique<Window>(std::forward<Arguments>(arguments)...);
    return *slot;
}

}  // namespace

MainWindow::MainWindow(Session& session, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_programFolder(QCoreApplication::applicationDirPath())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("VELTRA - Evidencija radnih sati za mobilne radnike"));
    setFixedSize(kClientWidth, kClientHeight);
    buildMenu();
    buildButtons();
    RestoreWindowPlacement(this, m_session.settingsPath());
}

MainWindow::~MainWindow()
{
    SaveWindowPlacement(this, m_session.settingsPath());
}

QAction* MainWindow::action(const QString& objectName) const
{
    return findChild<QAction*>(objectName);
}

void MainWindow::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setFixedHeight(kMenuHeight);
    bar->setStyleSheet(QStringLiteral("QMenuBar { background: %1; %2 }").arg(Look::kCream.name(), FontRule(kMenuFontPixels)));

    auto add = [this](QMenu* menu, const char* name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        return a;
    };

    QMenu* data = bar->addMenu(QStringLiteral("&Podaci"));
    QMenu* driver = data->addMenu(QStringLiteral("&Djelatnik"));
    connect(add(driver, "DriverListAction", QStringLiteral("&Popis")), &QAction::triggered, this,
            [this] { Once(m_drivers, m_session, this).exec(); });
    connect(add(driver, "NewDriverAction", QStringLiteral("&Novi")), &QAction::triggered, this,
            &MainWindow::showNewDriver);
    connect(add(data, "VehiclesAction", QStringLiteral("&Vozila")), &QAction::triggered, this, &MainWindow::showVehicles);
    connect(add(data, "CardImportAction", QStringLiteral("&Uvoz digitalne kartice")), &QAction::triggered, this,
            [this] { CardImportWindow(m_session, this).exec(); });
    data->addSeparator();
    connect(add(data, "SettingsAction", QStringLiteral("&Postavke")), &QAction::triggered, this, &MainWindow::showSettings);
    data->addSeparator();
    connect(add(data, "ExitAction", QStringLiteral("&Izlazak")), &QAction::triggered, this, &QWidget::close);

    QMenu* records = bar->addMenu(QStringLiteral("&Evidencija"));
    QMenu* hours = records->addMenu(QStringLiteral("&Radni sati"));
    QAction* manualEntry = add(hours, "ManualEntryAction", QStringLiteral("&Unos"));
    manualEntry->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(manualEntry, &QAction::triggered, this, &MainWindow::openManualEntry);
    QAction* scannedChart = add(hours, "ScannedChartAction", QStringLiteral("U&nos skeniranog listića"));
    scannedChart->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(scannedChart, &QAction::triggered, this, [this] { RunScanIntake(m_session, this); });
    hours->addSeparator();
    connect(add(hours, "EntryOverviewAction", QStringLiteral("&Pregled")), &QAction::triggered, this,
            [this] { Once(m_overview, m_session, this).showOrRaise(); });
    QMenu* attestations = records->addMenu(QStringLiteral("&AETR potvrde"));
    connect(add(attestations, "NewAttestationAction", QStringLiteral("&Unos")), &QAction::triggered, this,
            [this] { OpenAttestationWindow(m_session, -1, this); });
    connect(add(attestations, "AttestationRegisterAction", QStringLiteral("&Pregled")), &QAction::triggered, this, [this] {
        if (!m_attestations) {
            Once(m_attestations, m_session);
            // Opened from the register, which is modal, the window belongs to it.
            connect(m_attestations.get(), &AttestationRegisterWindow::gapFinderRequested, this,
                    [this] { OpenRecordGapsWindow(m_session, m_attestations.get()); });
        }
        m_attestations->showOrExec();
    });
    records->addSeparator();
    connect(add(records, "WorkTimeRecordAction", QStringLiteral("&Izvješće - ev. radnog vremena")), &QAction::triggered,
            this, [this] { Once(m_workTime, m_session, this).exec(); });
    connect(add(records, "ComplianceAction", QStringLiteral("&Kontrola propisa")), &QAction::triggered, this,
            [this] { OpenComplianceWindow(m_session, this); });
    connect(add(records, "RecordGapsAction", QStringLiteral("&Praznine u evidenciji")), &QAction::triggered, this,
            [this] { OpenRecordGapsWindow(m_session, this); });

    QMenu* about = bar->addMenu(QStringLiteral("&O programu"));
    connect(add(about, "AboutAction", QStringLiteral("&Autor")), &QAction::triggered, this, &MainWindow::showAbout);
    connect(add(about, "InstructionsAction", QStringLiteral("&Upute")), &QAction::triggered, this,
            &MainWindow::openInstructions);
}

QToolButton* MainWindow::addButton(const char* objectName, const QString& caption, const QColor& captionColour,
                               const QRect& position, Qt::ToolButtonStyle style, QStyle::StandardPixmap picture,
                               const QString& hint)
{
    auto* button = new QToolButton(centralWidget());
    button->setObjectName(QLatin1String(objectName));
    button->setText(caption);
    button->setToolTip(hint);
    button->setToolButtonStyle(style);
    // The caption's font goes in the style sheet too: a style sheet sets the font it names, or
    // the one inherited, over the widget's own.
    button->setStyleSheet(QStringLiteral("QToolButton { color: %1; %2 }").arg(captionColour.name(), FontRule(kButtonFontPixels)));
    if (style != Qt::ToolButtonTextOnly) {
        button->setIcon(this->style()->standardIcon(picture));
        button->setIconSize(QSize(kPictureSize, kPictureSize));
    }
    button->setGeometry(position.translated(kPageMargin, kPageMargin));
    return button;
}

void MainWindow::buildButtons()
{
    auto* page = new QWidget(this);
    page->setAutoFillBackground(true);
    QPalette palette = page->palette();
    palette.setColor(QPalette::Window, Look::kMainBackground);
    page->setPalette(palette);
    setCentralWidget(page);

    const auto linked = [this](QToolButton* button, const char* actionName) {
        connect(button, &QToolButton::clicked, action(QLatin1String(actionName)), &QAction::trigger);
    };
    linked(addButton("RSButton", QStringLiteral("Obrada listića"), Qt::red, {6, 6, 245, 135},
                     Qt::ToolButtonTextUnderIcon, QStyle::SP_DriveCDIcon,
                     QStringLiteral("Analiza i obrada podataka sa skeniranih tahografskih listića")),
           "ScannedChartAction");
    linked(addButton("BitBtn1", QStringLiteral("Ručni unos aktivnosti"), Look::kMaroon, {6, 140, 245, 45},
                     Qt::ToolButtonTextOnly, QStyle::SP_CustomBase, QStringLiteral("Ručni unos radnih aktivnosti")),
           "ManualEntryAction");
    linked(addButton("AETRButton", QStringLiteral("Izrada AETR potvrde"), Qt::red, {257, 6, 245, 179},
                     Qt::ToolButtonTextUnderIcon, QStyle::SP_FileDialogContentsView, QString()),
           "NewAttestationAction");
    linked(addButton("RVButton", QStringLiteral("Evidencija radnog vremena"), Look::kNavy, {6, 191, 496, 120},
                     Qt::ToolButtonTextBesideIcon, QStyle::SP_FileDialogDetailedView, QString()),
           "WorkTimeRecordAction");
    QToolButton* overview = addButton("EvRSButton", QStringLiteral("Pregled evidentiranih radnih sati"), Qt::black,
                                      {6, 317, 496, 62}, Qt::ToolButtonTextBesideIcon,
                                      QStyle::SP_FileDialogListView, QString());
    overview->setLayoutDirection(Qt::RightToLeft);
    linked(overview, "EntryOverviewAction");
    QToolButton* register_ = addButton("EvAETRButton", QStringLiteral("Pregled evidentiranih AETR potvrda"), Qt::black,
                                       {6, 383, 496, 62}, Qt::ToolButtonTextBesideIcon,
                                       QStyle::SP_FileDialogListView, QString());
    register_->setLayoutDirection(Qt::RightToLeft);
    linked(register_, "AttestationRegisterAction");

    // The logo strip along the bottom edge of the page.
    auto* logo = new QLabel(QStringLiteral("VELTRA  ·  evidencija radnih sati za mobilne radnike"), page);
    logo->setObjectName(QStringLiteral("LogoStrip"));
    logo->setAlignment(Qt::AlignCenter);
    logo->setStyleSheet(QStringLiteral("QLabel { background: %1; color: white; %2 }").arg(Look::kMaroon.name(), FontRule(kMenuFontPixels)));
    logo->setGeometry(kPageMargin, kClientHeight - kMenuHeight - kLogoStripHeight - kPageMargin,
                      kClientWidth - 2 * kPageMargin, kLogoStripHeight);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // After the window has appeared, before the operator can give a command.
    QTimer::singleShot(0, this, &MainWindow::connectAndUpgrade);
}

void MainWindow::connectAndUpgrade()
{
    const DatabaseTarget target = ReadDatabaseTarget(m_programFolder, QDir::currentPath());
    for (const QString& problem : {m_session.settings().loadProblem(), target.problem}) {
        if (!problem.isEmpty())
            ShowMessage(this, problem);
    }
    const bool open = ConnectAndUpgrade(
        m_session.connection(), target.location,
        [this](const QString& message, const QString&) { ShowMessage(this, message); }, target.account);
    emit databaseReady(open);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (AskYesNo(this, QStringLiteral("Jeste li sigurni da želite izaći iz programa?")))
        event->accept();
    else
        event->ignore();
}

void MainWindow::showNewDriver()
{
    DriverWindow driver(m_session, this);
    driver.recordId = -1;
    driver.exec();
}

void MainWindow::openManualEntry()
{
    OpenManualEntryWindow(m_session, kNewId, kNewId, this);
}

void MainWindow::showVehicles()
{
    Once(m_vehicles, m_session, this).exec();
}

void MainWindow::showSettings()
{
    Once(m_options, m_session.settings(), InstalledPrinterNames(), this).exec();
}

void MainWindow::showAbout()
{
    Once(m_about, this).exec();
}

void MainWindow::openInstructions()
{
    const QString path = QDir(m_programFolder).filePath(QStringLiteral("uputstva.pdf"));
    if (QFileInfo::exists(path))
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
