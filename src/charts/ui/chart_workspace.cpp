#include "charts/ui/chart_workspace.h"

#include "charts/chart_geometry.h"
#include "charts/ui/disc_view.h"
#include "charts/ui/keyboard_help.h"
#include "charts/ui/trace_strip_view.h"
#include "common/conversion_error.h"
#include "common/decimal_text.h"
#include "common/profile_file.h"
#include "common/time_text.h"
#include "common/win1250.h"
#include "db/db_error.h"
#include "entries/activity_kind.h"
#include "entries/entry_store.h"
#include "entries/totals_texts.h"
#include "entries/ui/activity_grid_view.h"
#include "entries/ui/activity_kind_icon.h"
#include "entries/ui/activity_rows_model.h"
#include "entries/ui/day_activities_panel.h"
#include "entries/ui/day_totals_grid.h"
#include "entries/ui/entry_header_panel.h"
#include "entries/ui/entry_widgets.h"
#include "session/session.h"
#include "ui/button_bar.h"
#include "ui/field_makers.h"
#include "ui/look.h"
#include "ui/message_box.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kMinimumWidth = 958;
constexpr int kMinimumHeight = 510;
constexpr int kDiscAreaMax = 832;
constexpr int kRowHeight = 18;

enum ChartColumn { ChartKind, ChartFrom, ChartTo, ChartDuration, ChartDay, ChartColumnCount };

const QString kDiscardQuestion = QStringLiteral("Zatvoriti listić bez spremanja?");
const QString kNoDataMessage = QStringLiteral("Nema podataka!");

struct GeometryButtonSpec {
    const char* name;
    const char* caption;
    const char* hint;
    QColor colour;
    GeometryButton button;
};

const GeometryButtonSpec kGeometryButtons[] = {
    {"BitBtn4", "↑", "Središte gore", Qt::black, GeometryButton::Up},
    {"BitBtn7", "↓", "Središte dolje", Qt::black, GeometryButton::Down},
    {"BitBtn5", "←", "Središte lijevo", Qt::black, GeometryButton::Left},
    {"BitBtn6", "→", "Središte desno", Qt::black, GeometryButton::Right},
    {"BitBtn8", "R1+", "", Qt::red, GeometryButton::R1Plus},
    {"BitBtn9", "R1-", "", Qt::red, GeometryButton::R1Minus},
    {"BitBtn14", "+++", "R1 + 5", Qt::red, GeometryButton::R1PlusFive},
    {"BitBtn15", "---", "R1 - 5", Qt::red, GeometryButton::R1MinusFive},
    {"BitBtn10", "R2+", "", Qt::blue, GeometryButton::R2Plus},
    {"BitBtn11", "R2-", "", Qt::blue, GeometryButton::R2Minus},
    {"BitBtn16", "+++", "R2 + 5", Qt::blue, GeometryButton::R2PlusFive},
    {"BitBtn17", "---", "R2 - 5", Qt::blue, GeometryButton::R2MinusFive},
    {"BitBtn12", "0+", "", QColor(0, 128, 0), GeometryButton::ZeroPlus},
    {"BitBtn13", "0-", "", QColor(0, 128, 0), GeometryButton::ZeroMinus},
    {"BitBtn18", "0++", "", QColor(0, 128, 0), GeometryButton::ZeroPlusPlus},
    {"BitBtn19", "0--", "", QColor(0, 128, 0), GeometryButton::ZeroMinusMinus},
};

// A chart's interval as the entry grids and day totals take it (a code outside 0..3, which a
// reading never gives, counts as rest).
ActivityKind KindOf(const ChartInterval& interval)
{
    return ActivityKindFromCode(interval.code).value_or(ActivityKind::Rest);
}

ActivityInterval Counted(const ChartInterval& interval)
{
    return ActivityInterval{KindOf(interval), interval.start, interval.end, {}, {}};
}

ActivityInterval Counted(const DayInterval& row)
{
    return Counted(row.interval);
}

// A day's or the whole chart's intervals, as the day grids show them and the totals count them.
template <typename Interval>
std::vector<ActivityInterval> CountedIntervals(const std::vector<Interval>& intervals)
{
    std::vector<ActivityInterval> counted;
    counted.reserve(intervals.size());
    for (const Interval& interval : intervals)
        counted.push_back(Counted(interval));
    return counted;
}

// A day grid's intervals, or nothing when the grid holds no rows at all.
std::optional<std::vector<ActivityInterval>> GridDay(const DayActivitiesPanel& panel)
{
    if (panel.rows()->rowCount() == 0)
        return std::nullopt;
    return panel.rows()->intervals();
}

QString KmText(Decimal3 value)
{
    return FormatDecimalZero(value.toText());
}

QTableWidget* NewChartGrid(QWidget* parent)
{
    auto* grid = new QTableWidget(0, ChartColumnCount, parent);
    grid->setObjectName(QStringLiteral("AGrid"));
    grid->setHorizontalHeaderLabels({QStringLiteral("Aktivnost"), QStringLiteral("Od"), QStringLiteral("Do"),
                                     QStringLiteral("Trajanje"), QStringLiteral("Dan")});
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setColumnWidth(ChartKind, 100);
    grid->setColumnWidth(ChartFrom, 50);
    grid->setColumnWidth(ChartTo, 50);
    grid->setColumnWidth(ChartDuration, 60);
    grid->setColumnWidth(ChartDay, 35);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    return grid;
}

} // namespace

ChartWorkspace::ChartWorkspace(Session& session, ChartAnalysis analysis, const ChartHandOff& handOff, QWidget* owner)
    : ModelessWindow(QStringLiteral("TKTSUnos"), owner, session.settingsPath()), m_session(session),
      m_analysis(std::move(analysis)), m_handOff(handOff)
{
    setWindowTitle(QStringLiteral("Digitalizacija tahografskog listića (analogni tahograf)"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    Look::Paint(this, QPalette::Window, Look::kButtonFace);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("Kartice"));
    m_tabs->addTab(buildChartTab(), QStringLiteral("Listić"));
    m_tabs->addTab(buildDriverTab(), QStringLiteral("Vozač, datum i aktivnosti"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(buildButtonBar());
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { showTwoDayRange(); });

    connect(&m_session.settings(), &Settings::changed, this, [this] {
        for (DayActivitiesPanel* day : {m_day1, m_day2})
            day->applySettings(m_session.values());
        showDays();
    });
    restorePlacement();
    refill();
}

QWidget* ChartWorkspace::buildChartTab()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);

    auto* left = new QVBoxLayout;
    m_disc = new DiscView(page);
    m_disc->setMaximumSize(kDiscAreaMax, kDiscAreaMax);
    m_disc->setImage(QImage(reinterpret_cast<const uchar*>(m_analysis.disc().pixels.data()), m_analysis.disc().width,
                            m_analysis.disc().height, QImage::Format_ARGB32)
                         .copy());
    m_strip = new TraceStripView(page);
    left->addWidget(m_disc, 1);
    left->addWidget(m_strip);
    layout->addLayout(left, 3);

    auto* right = new QVBoxLayout;
    auto* header = NewLabel(QStringLiteral("Očitani podaci"), page);
    header->setStyleSheet(QStringLiteral("QLabel { font-weight: bold; color: %1; }").arg(Look::kNavy.name()));
    right->addWidget(header);

    auto* activities = new QGroupBox(QStringLiteral("Aktivnosti vozača: "), page);
    auto* activitiesLayout = new QVBoxLayout(activities);
    m_chartGrid = NewChartGrid(activities);
    activitiesLayout->addWidget(m_chartGrid, 1);
    auto* splitRow = new QHBoxLayout;
    m_splitField = NewReadOnlyLine(activities, "Pocetak");
    m_splitField->setMaximumWidth(60);
    QToolButton* setByHand = NewSmallButton(activities, "PostaviRucno", QStringLiteral("✎"), QStringLiteral("Postavi ručno"));
    QToolButton* next = NewSmallButton(activities, "Sljedeca", QStringLiteral("▶"), QStringLiteral("Sljedeća (prema očitanju)"));
    QToolButton* previous =
        NewSmallButton(activities, "Prethodna", QStringLiteral("◀"), QStringLiteral("Prethodna (prema očitanju)"));
    QToolButton* midnight = NewSmallButton(activities, "Ponoc", QStringLiteral("0"), QStringLiteral("Postavi na 00:00"));
    splitRow->addWidget(NewLabel(QStringLiteral("Početna aktivnost:"), activities));
    splitRow->addWidget(m_splitField);
    for (QToolButton* button : {setByHand, previous, next, midnight})
        splitRow->addWidget(button);
    splitRow->addStretch(1);
    activitiesLayout->addLayout(splitRow);
    right->addWidget(activities, 1);

    auto* sums = new QGroupBox(QStringLiteral("Dnevno - sumarni obračun:"), page);
    auto* sumsLayout = new QVBoxLayout(sums);
    auto* totalRow = new QHBoxLayout;
    m_chartTotal = NewValue(sums, "UkupnoListic");
    m_chartTotal->setStyleSheet(QStringLiteral("QLabel { color: %1; font-weight: bold; }").arg(Look::kTeal.name()));
    m_chartMarker = NewOverOneDayMarker(sums, "MarkerListic");
    totalRow->addWidget(NewLabel(QStringLiteral("Ukupno:"), sums));
    totalRow->addWidget(m_chartTotal);
    totalRow->addWidget(m_chartMarker);
    totalRow->addStretch(1);
    sumsLayout->addLayout(totalRow);
    m_chartSums = NewDayTotalsGrid(sums, kDayTotalsLineNames);
    m_chartSums->setObjectName(QStringLiteral("SumGrid"));
    m_chartSums->setFixedHeight(25 + 8 * kRowHeight + 4);
    sumsLayout->addWidget(m_chartSums);
    right->addWidget(sums);

    auto* info = new QHBoxLayout;
    m_readout = NewLabel(QString(), page, "Info");
    m_readout->setStyleSheet(QStringLiteral("QLabel { background: black; color: white; padding: 1px 4px; }"));
    m_readout->hide();
    m_caption = NewLabel(QString(), page, "ICaption");
    m_zeroWarning = NewLabel(kCheckZeroMessage, page, "ProvjeraNule");
    m_zeroWarning->setStyleSheet(QStringLiteral("QLabel { color: red; font-weight: bold; }"));
    m_zeroWarning->setVisible(m_analysis.zeroCheck().needsChecking);
    info->addWidget(m_readout);
    info->addWidget(m_caption, 1);
    info->addWidget(m_zeroWarning);
    right->addLayout(info);
    layout->addLayout(right, 2);
    layout->addWidget(buildAnalysisColumn());

    connect(m_disc, &DiscView::imageKey, this, &ChartWorkspace::imageKey);
    connect(m_strip, &TraceStripView::pointed, this, [this](const QString& readout) {
        m_readout->setText(readout);
        m_readout->show();
    });
    connect(m_strip, &TraceStripView::left, m_readout, &QWidget::hide);
    connect(setByHand, &QToolButton::clicked, this, [this] {
        m_splitField->setReadOnly(false);
        m_splitField->setFocusPolicy(Qt::StrongFocus);
        m_splitField->setFocus();
        m_splitField->selectAll();
    });
    connect(m_splitField, &QLineEdit::editingFinished, this, &ChartWorkspace::splitFieldExit);
    connect(next, &QToolButton::clicked, this,
            [this] { setSplitPoint(NextSplitPoint(m_analysis.intervals(), m_analysis.splitPoint())); });
    connect(previous, &QToolButton::clicked, this,
            [this] { setSplitPoint(PreviousSplitPoint(m_analysis.intervals(), m_analysis.splitPoint())); });
    connect(midnight, &QToolButton::clicked, this, [this] { setSplitPoint(0); });

    auto* menu = new QMenu(m_chartGrid);
    menu->setObjectName(QStringLiteral("IzvozMenu"));
    QAction* save = menu->addAction(QStringLiteral("Snimi kao .txt"));
    save->setObjectName(QStringLiteral("SnimiTxt"));
    connect(save, &QAction::triggered, this, &ChartWorkspace::saveExport);
    const struct {
        const char* name;
        const char* text;
        QKeySequence keys;
        ChartExportKind kind;
    } copies[] = {
        {"KopirajSve", "Kopiraj sve u međuspremnik", QKeySequence(Qt::CTRL | Qt::Key_C), ChartExportKind::WholeChart},
        {"KopirajDan1", "Kopiraj samo dan 1", QKeySequence(Qt::CTRL | Qt::Key_X), ChartExportKind::Day1},
        {"KopirajDan2", "Kopiraj samo dan 2", QKeySequence(Qt::CTRL | Qt::Key_B), ChartExportKind::Day2},
    };
    for (const auto& copy : copies) {
        QAction* action = menu->addAction(QString::fromUtf8(copy.text));
        action->setObjectName(QLatin1String(copy.name));
        action->setShortcut(copy.keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        m_chartGrid->addAction(action);
        const ChartExportKind kind = copy.kind;
        connect(action, &QAction::triggered, this, [this, kind] { exportTo(kind); });
    }
    connect(m_chartGrid, &QWidget::customContextMenuRequested, this,
            [this, menu](const QPoint& at) { menu->popup(m_chartGrid->viewport()->mapToGlobal(at)); });
    return page;
}

QWidget* ChartWorkspace::buildAnalysisColumn()
{
    auto* column = new QFrame;
    column->setObjectName(QStringLiteral("Analiza"));
    column->setAutoFillBackground(true);
    Look::Paint(column, QPalette::Window, Look::kCream);
    auto* layout = new QGridLayout(column);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* title = NewLabel(QStringLiteral("Analiza"), column);
    title->setStyleSheet(QStringLiteral("QLabel { font-weight: bold; }"));
    layout->addWidget(title, 0, 0, 1, 2, Qt::AlignHCenter);

    QToolButton* initial = NewSmallButton(column, "BitBtn3", QStringLiteral("⟲"), QStringLiteral("Inicijalne postavke"));
    layout->addWidget(initial, 1, 0, 1, 2, Qt::AlignHCenter);
    connect(initial, &QToolButton::clicked, this, [this] { geometryButton(GeometryButton::Initial); });
    int row = 2;
    int column_ = 0;
    for (const GeometryButtonSpec& spec : kGeometryButtons) {
        QToolButton* button = NewSmallButton(column, spec.name, QString::fromUtf8(spec.caption), QString::fromUtf8(spec.hint));
        button->setStyleSheet(QStringLiteral("QToolButton { color: %1; font-weight: bold; min-width: 34px; }")
                                  .arg(spec.colour.name()));
        layout->addWidget(button, row, column_);
        column_ = 1 - column_;
        if (column_ == 0)
            ++row;
        const GeometryButton kind = spec.button;
        connect(button, &QToolButton::clicked, this, [this, kind] { geometryButton(kind); });
        if (kind == GeometryButton::ZeroPlus) {
            m_zeroPlus = button;
            button->installEventFilter(this);
        }
    }
    QToolButton* help = NewSmallButton(column, "BitBtn20", QStringLiteral("?"), QStringLiteral("Popis prečica"));
    layout->addWidget(help, row + 1, 0, 1, 2, Qt::AlignHCenter);
    layout->setRowStretch(row + 2, 1);
    connect(help, &QToolButton::clicked, this, [this] { KeyboardHelp::showHelp(this); });
    return column;
}

QWidget* ChartWorkspace::buildDriverTab()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* left = new QVBoxLayout;

    EntryHeaderPanel::Setup setup;
    setup.driverListName = "Djelatnici";
    setup.vehicleListName = "Vozila";
    setup.distanceName = "Predeno";
    setup.kmMarkerName = "KmDefGreska";
    setup.kmMarkerHint = kKmReversedMessage;
    m_header = new EntryHeaderPanel(m_session, setup, page);
    m_dateExists = NewLabel(QStringLiteral("Već postoji unos za taj datum"), m_header, "DatumPostoji");
    m_dateExists->setStyleSheet(QStringLiteral("QLabel { color: red; font-weight: bold; }"));
    KeepRoomWhenHidden(m_dateExists);
    m_dateExists->hide();
    m_header->setDateNote(m_dateExists);
    left->addWidget(m_header);

    m_twoDayPanel = new QGroupBox(QStringLiteral("\"Dvodnevni (noćni)\" listić: "), page);
    m_twoDayPanel->setObjectName(QStringLiteral("DvodnevniPanel"));
    auto* twoDayGrid = new QGridLayout(m_twoDayPanel);
    m_twoDayRange = NewLabel(QString(), m_twoDayPanel, "OdDoDvodnevni");
    m_twoDayRange->setStyleSheet(QStringLiteral("QLabel { font-weight: bold; }"));
    m_endOfDayKm = NewKmField(m_twoDayPanel, "KmKrajDana");
    m_endOfDayKm->setToolTip(QStringLiteral("Dvoklik: procjena prema trajanju aktivnosti dana"));
    m_endOfDayKm->installEventFilter(this);
    twoDayGrid->addWidget(NewLabel(QStringLiteral("Datum od-do:"), m_twoDayPanel), 0, 0);
    twoDayGrid->addWidget(m_twoDayRange, 0, 1);
    twoDayGrid->addWidget(NewLabel(QStringLiteral("Stanje km na kraju dana:"), m_twoDayPanel), 1, 0);
    twoDayGrid->addWidget(m_endOfDayKm, 1, 1);
    left->addWidget(m_twoDayPanel);
    left->addStretch(1);
    layout->addLayout(left, 2);

    const QString sumsCaption = QStringLiteral("Dnevno - sumarno: ");
    m_days = new QTabWidget(page);
    m_days->setObjectName(QStringLiteral("Dani"));
    m_day1 = new DayActivitiesPanel(m_session.values(), {QStringLiteral("AG1"), QStringLiteral("SG1"), QStringLiteral("Ukupno1"),
                                     QStringLiteral("Marker1"), QStringLiteral("Kilometara1"),
                                     QStringLiteral("Litara1"), QStringLiteral("Prosjek1")},
                                    sumsCaption, m_days);
    m_day2 = new DayActivitiesPanel(m_session.values(), {QStringLiteral("AG2"), QStringLiteral("SG2"), QStringLiteral("Ukupno2"),
                                     QStringLiteral("Marker2"), QStringLiteral("Kilometara2"),
                                     QStringLiteral("Litara2"), QStringLiteral("Prosjek2")},
                                    sumsCaption, m_days);
    m_day2Page = m_day2;
    m_days->addTab(m_day1, QStringLiteral("Aktivnosti"));
    m_days->addTab(m_day2, QStringLiteral("Aktivnosti (2. dan)"));
    layout->addWidget(m_days, 3);

    m_header->chainTabOrder({m_endOfDayKm, m_day1->grid(), m_day2->grid()});

    m_header->driverList()->installEventFilter(this);
    m_header->vehicleList()->installEventFilter(this);
    connect(m_header, &EntryHeaderPanel::driverOrDateChosen, this, &ChartWorkspace::checkExistingEntry);
    connect(m_header, &EntryHeaderPanel::kilometresLeft, this, &ChartWorkspace::kilometresLeft);
    connect(m_endOfDayKm, &QLineEdit::editingFinished, this, [this] { RewriteKmField(m_endOfDayKm); });
    connect(m_day1, &DayActivitiesPanel::totalsShown, this, &ChartWorkspace::showTwoDayRange);
    connect(m_day2, &DayActivitiesPanel::totalsShown, this, &ChartWorkspace::showTwoDayRange);
    return page;
}

QWidget* ChartWorkspace::buildButtonBar()
{
    auto* bar = new ButtonBar(this);
    QPushButton* cancel = bar->addButton("Otkazi", QStringLiteral("Otkaži"), ButtonBar::Side::Left);
    cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    m_store = bar->addButton("BitBtn26", QStringLiteral("&Arhiviraj"), ButtonBar::Side::Right);
    m_store->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    m_store->setToolTip(QStringLiteral("Ctrl+S"));
    connect(cancel, &QPushButton::clicked, this, &ChartWorkspace::discard);
    connect(m_store, &QPushButton::clicked, this, &ChartWorkspace::storeEntry);
    return bar;
}

void ChartWorkspace::refill()
{
    m_night = m_session.values().night;
    m_day1->setNight(m_night);
    m_day2->setNight(m_night);
    m_header->reset(QDate::currentDate());
    showReading();
    m_tabs->setCurrentIndex(1);
    m_header->driverList()->setFocus();
}

void ChartWorkspace::showReading()
{
    m_caption->setText(m_analysis.caption());
    m_strip->setStrip(m_analysis.strip());
    showDays();
}

void ChartWorkspace::showOverlay()
{
    m_disc->setOverlay(m_analysis.geometry(), m_analysis.splitPoint(), m_night);
}

void ChartWorkspace::showDays()
{
    const ChartDays& days = m_analysis.days();
    m_splitField->setText(FormatMinutes(m_analysis.splitPoint()));
    const ActivityColours colours = ActivityColoursOf(m_session.values());
    m_chartGrid->setRowCount(static_cast<int>(days.all.size()));
    for (int row = 0; row < static_cast<int>(days.all.size()); ++row) {
        const DayInterval& day = days.all[static_cast<size_t>(row)];
        const ActivityKind kind = KindOf(day.interval);
        const QString texts[ChartColumnCount] = {ActivityShortName(kind), FormatMinutes(day.interval.start),
                                                 day.interval.end == kMinutesPerDay ? kEndOfDayText
                                                                                    : FormatMinutes(day.interval.end),
                                                 FormatMinutes(day.interval.length()), QString::number(day.day)};
        for (int column = 0; column < ChartColumnCount; ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            if (column == ChartKind)
                item->setIcon(ActivityKindIcon(kind, colours));
            m_chartGrid->setItem(row, column, item);
        }
    }
    showChartTotals();

    m_day1->rows()->setIntervals(CountedIntervals(days.day1));
    m_day2->rows()->setIntervals(CountedIntervals(days.day2));
    m_twoDayPanel->setVisible(days.twoDay);
    m_days->setTabVisible(m_days->indexOf(m_day2Page), days.twoDay);
    m_days->setTabEnabled(m_days->indexOf(m_day2Page), days.twoDay);
    if (m_endOfDayKm->text().trimmed().isEmpty())
        estimateEndOfDayKm();
    showTwoDayRange();
    m_days->setCurrentWidget(m_day1);
    showOverlay();
}

void ChartWorkspace::showChartTotals()
{
    const DayTotals totals = ComputeDayTotals(CountedIntervals(m_analysis.days().all),
                                              m_night);
    ShowDayTotals(m_chartSums, totals);
    m_chartTotal->setText(DayTotalText(totals.totalMinutes));
    m_chartMarker->setVisible(ExceedsOneDay(totals.totalMinutes));
}

void ChartWorkspace::applyGeometry(const ChartGeometry& geometry)
{
    if (geometry == m_analysis.geometry())
        return;
    m_analysis.setGeometry(geometry);
    showReading();
}

void ChartWorkspace::geometryButton(GeometryButton button)
{
    const Raster& disc = m_analysis.disc();
    applyGeometry(ApplyGeometryButton(m_analysis.geometry(), button, ImageSize{disc.width, disc.height},
                                      m_analysis.options().radiusFollowsCentre));
}

void ChartWorkspace::imageKey(ImageKey key)
{
    const Raster& disc = m_analysis.disc();
    applyGeometry(ApplyImageKey(m_analysis.geometry(), key, ImageSize{disc.width, disc.height},
                                m_analysis.options().radiusFollowsCentre));
}

void ChartWorkspace::setSplitPoint(int minute)
{
    m_analysis.setSplitPoint(minute);
    showDays();
}

void ChartWorkspace::splitFieldExit()
{
    if (m_splitField->isReadOnly())
        return;
    const QString typed = m_splitField->text();
    m_splitField->setReadOnly(true);
    m_splitField->setFocusPolicy(Qt::NoFocus);
    int minute = m_analysis.splitPoint();
    try {
        minute = IsEndOfDayText(typed) ? kMinutesPerDay : MinutesBetween(ParseTimeText(typed), 0);
    } catch (const ConversionError& error) {
        m_splitField->setText(FormatMinutes(minute));
        ShowError(this, error.text());
        return;
    }
    setSplitPoint(minute);
}

void ChartWorkspace::checkExistingEntry()
{
    m_dateExists->hide();
    const int driverId = m_header->driverId();
    if (driverId == kNoneChosen)
        return;
    try {
        Transaction read = m_session.read();
        m_dateExists->setVisible(!EntriesOfDay(read, driverId, m_header->date()).empty());
    } catch (const DbError& error) {
        ShowError(this, error.text());
    }
}

void ChartWorkspace::kilometresLeft(EntryHeaderPanel::KmField field, Decimal3 distance)
{
    m_day1->setDistance(distance);
    m_day2->setDistance(distance);
    if (field == EntryHeaderPanel::KmField::End)
        estimateEndOfDayKm();
}

void ChartWorkspace::estimateEndOfDayKm()
{
    if (m_twoDayPanel->isHidden())
        return;
    const ChartDays& days = m_analysis.days();
    const EntryHeader header = m_header->value();
    const std::optional<Decimal3> estimate =
        EstimateEndOfDay1Km(header.startKm, header.endKm, days.day1Minutes, days.day2Minutes);
    if (estimate)
        m_endOfDayKm->setText(KmText(*estimate));
}

void ChartWorkspace::showTwoDayRange()
{
    m_twoDayRange->setText(
        TwoDayRangeText(m_header->date(), m_day1->rows()->intervals(), m_day2->rows()->intervals()));
}

bool ChartWorkspace::eventFilter(QObject* watched, QEvent* event)
{
    // The geometry buttons are watched before the driver's tab is built.
    const bool onDriverList = m_header && watched == m_header->driverList();
    const bool onVehicleList = m_header && watched == m_header->vehicleList();
    if (onDriverList && event->type() == QEvent::FocusOut)
        checkExistingEntry();
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (onDriverList)
            m_header->fillDriverList();
        else if (onVehicleList)
            m_header->fillVehicleList();
        else if (watched == m_endOfDayKm)
            estimateEndOfDayKm();
    }
    // Every key pressed while "0+" has the focus turns 00:00 on by a step as well.
    if (watched == m_zeroPlus && event->type() == QEvent::KeyPress)
        geometryButton(GeometryButton::ZeroPlus);
    return ModelessWindow::eventFilter(watched, event);
}

ChartEntry ChartWorkspace::entryFromFields() const
{
    ChartEntry entry;
    static_cast<EntryHeader&>(entry) = m_header->value();
    entry.endOfDay1Km = Decimal3::fromText(m_endOfDayKm->text());
    entry.night = m_night;
    entry.day1 = GridDay(*m_day1);
    if (!m_twoDayPanel->isHidden())
        entry.day2 = GridDay(*m_day2);
    entry.scanFileName = m_handOff.scanFileName;
    entry.scanWidth = m_handOff.scanWidth;
    entry.scanHeight = m_handOff.scanHeight;
    entry.discNumber = m_handOff.discNumber;
    return entry;
}

void ChartWorkspace::storeEntry()
{
    // Leaving an open grid cell or a field takes what was typed into it.
    m_store->setFocus(Qt::OtherFocusReason);
    if (m_day1->refusalToShow() || m_day2->refusalToShow())
        return;
    const ChartEntry entry = entryFromFields();
    if (const std::optional<ChartEntryProblem> problem = CheckChartEntry(entry)) {
        ShowMessage(this, problem->message);
        if (problem->field != ChartEntryProblem::Field::None) {
            m_tabs->setCurrentIndex(1);
            (problem->field == ChartEntryProblem::Field::EndKm ? m_header->endKmField() : m_endOfDayKm)->setFocus();
        }
        return;
    }
    const WriteResult result = StoreTryingAgain(this, [&] {
        Transaction write = m_session.write();
        return StoreChartEntry(write, entry);
    });
    if (!result.done)
        return;
    emit m_session.entriesChanged();
    ProfileFile geometryFile(ChartGeometryPathBeside(m_session.settingsPath()));
    if (!WriteChartGeometry(geometryFile, m_analysis.geometry()))
        ShowMessage(this, QStringLiteral("Listić je spremljen, ali postavke listića nisu zapisane u %1.")
                              .arg(QDir::toNativeSeparators(geometryFile.path())));
    m_leaving = true;
    close();
}

void ChartWorkspace::discard()
{
    m_leaving = true;
    close();
}

void ChartWorkspace::closeEvent(QCloseEvent* event)
{
    // Closed by its title bar, a chart that was read and perhaps corrected is not simply lost.
    if (!m_leaving && !AskYesNo(this, kDiscardQuestion)) {
        event->ignore();
        return;
    }
    ModelessWindow::closeEvent(event);
}

QString ChartWorkspace::exportText(ChartExportKind kind) const
{
    if (m_analysis.days().all.empty())
        return QString();
    return JoinExportLines(ChartExportLines(m_analysis.days().all, kind, QDateTime::currentDateTime()));
}

void ChartWorkspace::exportTo(ChartExportKind kind)
{
    const QString text = exportText(kind);
    if (text.isEmpty()) {
        ShowMessage(this, kNoDataMessage);
        return;
    }
    QApplication::clipboard()->setText(text);
}

void ChartWorkspace::saveExport()
{
    if (m_analysis.days().all.empty()) {
        ShowMessage(this, kNoDataMessage);
        return;
    }
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Snimi kao .txt"), QString(),
                                                      QStringLiteral("Tekst (*.txt);;Sve datoteke (*)"));
    if (!path.isEmpty())
        exportToFile(path);
}

bool ChartWorkspace::exportToFile(const QString& path)
{
    const QString text = exportText(ChartExportKind::WholeChart);
    if (text.isEmpty()) {
        ShowMessage(this, kNoDataMessage);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(ToWin1250(text)) < 0 || !file.commit()) {
        ShowError(this, QStringLiteral("Datoteka %1 se ne može zapisati: %2")
                            .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    return true;
}

ChartWorkspace* OpenChartWorkspace(Session& session, ChartAnalysis analysis, const ChartHandOff& handOff, QWidget* owner)
{
    auto* window = new ChartWorkspace(session, std::move(analysis), handOff, owner);
    // The discs of one scan open together: none may hide another.
    QList<QPoint> taken;
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other != window && other->isVisible() && qobject_cast<ChartWorkspace*>(other))
            taken << other->pos();
    }
    if (const QScreen* screen = window->screen())
        window->move(CascadedPosition(QRect(window->pos(), window->size()), taken, screen->availableGeometry()));
    window->show();
    return window;
}
