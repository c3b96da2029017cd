#include "reviews/ui/day_graph_window.h"

#include "common/decimal_text.h"
#include "common/time_text.h"
#include "db/db_error.h"
#include "entries/activity_interval.h"
#include "entries/activity_kind.h"
#include "entries/totals_texts.h"
#include "entries/ui/activity_kind_icon.h"
#include "entries/ui/day_totals_grid.h"
#include "reviews/ui/day_chart_strip.h"
#include "reviews/ui/period_graph_window.h"
#include "session/session.h"
#include "ui/field_makers.h"
#include "ui/look.h"
#include "ui/message_box.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 643;
constexpr int kClientHeight = 709;
constexpr int kBorder = 4;
constexpr int kHeaderHeight = 53;
constexpr int kChartHeight = 91;
constexpr int kLegendHeight = 40;
constexpr int kGridHeaderHeight = 25;
constexpr int kGridRowHeight = 18;

enum GridColumn { Aktivnost, Od, Do, Trajanje, Km, Scp, Lit, Nod, Ndo, GridColumnCount };
constexpr std::array<int, Lit> kGridWidths{90, 55, 55, 65, 55, 35};

const QStringList kTotalsLineNames{
    QStringLiteral("Odmor"),     QStringLiteral("Spremnost"),  QStringLiteral("Ostali rad"),   QStringLiteral("Vožnja"),
    QStringLiteral("Noćni rad"), QStringLiteral("Noć ukupno"), QStringLiteral("Noćna vožnja"), QStringLiteral("Noćni ostali rad"),
};
const QString kDateFormat = QStringLiteral("dd.MM.yyyy.");

}  // namespace

DayGraphWindow::DayGraphWindow(Session& session, int driverId, const QDate& date, QWidget* owner)
    : ModelessWindow(QStringLiteral("TDayForm"), owner, session.settingsPath()), m_session(session),
      m_driverId(driverId), m_date(date)
{
    setWindowTitle(QStringLiteral("Pregled aktivnosti na dan"));
    resize(kClientWidth, kClientHeight);

    m_chart = new DayChartStrip(this);
    m_chart->setObjectName(QStringLiteral("Graf"));
    m_chart->setFixedHeight(kChartHeight);
    m_legend = new ActivityLegendStrip(this);
    m_legend->setObjectName(QStringLiteral("Legenda"));
    m_legend->setFixedHeight(kLegendHeight);

    auto* pages = new QTabWidget(this);
    pages->addTab(buildTablePage(), QStringLiteral("Tablični prikaz"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());
    layout->addWidget(m_chart);
    layout->addWidget(m_legend);
    layout->addWidget(pages, 1);

    connect(m_chart, &DayChartStrip::minuteHovered, this, [this](std::optional<int> minute) {
        m_readout->setText(minute ? FormatMinutes(*minute) : QString());
    });
    connect(&m_session.settings(), &Settings::changed, this, [this] {
        applySettings();
        fillGrid();
    });
    applySettings();
    restorePlacement();
    refill();
}

void DayGraphWindow::applySettings()
{
    const ActivityColours colours = ActivityColoursOf(m_session.values());
    m_chart->setColours(colours);
    m_legend->setColours(colours);
}

QWidget* DayGraphWindow::buildHeader()
{
    auto* header = new QWidget(this);
    header->setFixedHeight(kHeaderHeight);
    m_name = NewBoldLabel(QString(), header, "ImePrezime");
    m_sameWindow = new QCheckBox(header);
    m_sameWindow->setObjectName(QStringLiteral("IstiProzor"));
    m_sameWindow->setToolTip(QStringLiteral("Prikaži odabrani datum u istom prozoru"));
    m_dateCaption = NewLabel(QStringLiteral("Datum:"), header);
    m_dateLabel = NewBoldLabel(QString(), header, "Datum");
    m_distance = NewBoldLabel(QString(), header, "PredenoKm");
    m_period = new QPushButton(QStringLiteral("Razdoblje"), header);
    m_period->setObjectName(QStringLiteral("Razdoblje"));
    m_period->setAutoDefault(false);
    m_readout = NewBoldLabel(QString(), header, "Ocitanje");
    m_readout->setAlignment(Qt::AlignCenter);
    m_readout->setMinimumWidth(60);
    m_readout->setStyleSheet(QStringLiteral("QLabel { background: grey; color: #F0F0F0; }"));
    m_otherDates = new QMenu(this);
    m_otherDates->setObjectName(QStringLiteral("OstaliDatumi"));
    for (QLabel* label : {m_dateCaption, m_dateLabel}) {
        label->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(label, &QLabel::customContextMenuRequested, this,
                [this, label](const QPoint& position) { showOtherDatesMenu(label->mapTo(this, position)); });
    }
    connect(m_period, &QPushButton::clicked, this, &DayGraphWindow::openPeriodGraph);

    auto* grid = new QGridLayout(header);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->addWidget(NewLabel(QStringLiteral("Djelatnik/vozač:"), header), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 3);
    grid->addWidget(m_sameWindow, 1, 0, Qt::AlignRight);
    grid->addWidget(m_dateCaption, 1, 1);
    grid->addWidget(m_dateLabel, 1, 2);
    grid->addWidget(NewLabel(QStringLiteral("Pređeno km:"), header), 1, 3, Qt::AlignRight);
    grid->addWidget(m_distance, 1, 4);
    grid->addWidget(m_period, 0, 5);
    grid->addWidget(m_readout, 1, 5);
    grid->setColumnStretch(4, 1);
    return header;
}

QWidget* DayGraphWindow::buildTablePage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    m_grid = new QTableWidget(0, GridColumnCount, page);
    m_grid->setObjectName(QStringLiteral("AGrid"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Aktivnost"), QStringLiteral("Od"), QStringLiteral("Do"),
                                       QStringLiteral("Trajanje"), QStringLiteral("Km"), QStringLiteral("SCP"),
                                       QStringLiteral("LIT"), QStringLiteral("NOD"), QStringLiteral("NDO")});
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
    m_grid->horizontalHeader()->setFixedHeight(kGridHeaderHeight);
    for (int column = 0; column < Lit; ++column)
        m_grid->setColumnWidth(column, kGridWidths[static_cast<size_t>(column)]);
    for (int column = Lit; column < GridColumnCount; ++column)
        m_grid->setColumnHidden(column, true);
    connect(m_grid, &QTableWidget::itemSelectionChanged, this, &DayGraphWindow::gridSelectionChanged);
    layout->addWidget(m_grid, 1);

    auto* sums = new QGroupBox(QStringLiteral("Sumarno:"), page);
    auto* sumsLayout = new QHBoxLayout(sums);
    auto* values = new QGridLayout;
    m_total = NewBoldLabel(QString(), sums, "Ukupno");
    m_total->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(Look::kTeal.name()));
    m_totalMarker = NewBoldLabel(QStringLiteral("!!"), sums, "UkupnoMarker");
    m_totalMarker->setStyleSheet(QStringLiteral("QLabel { color: red; }"));
    m_totalMarker->setToolTip(QStringLiteral("Uneseno više od 24 sata aktivnosti! Nemoguće jer je unos za jedan dan!!!"));
    QSizePolicy keepRoom = m_totalMarker->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_totalMarker->setSizePolicy(keepRoom);
    m_kilometres = NewBoldLabel(QString(), sums, "Kilometara");
    m_speed = NewBoldLabel(QString(), sums, "Prosjek");
    values->addWidget(NewLabel(QStringLiteral("Ukupno:"), sums), 0, 0);
    values->addWidget(m_total, 0, 1);
    values->addWidget(m_totalMarker, 0, 2);
    values->addWidget(NewLabel(QStringLiteral("Kilometara:"), sums), 1, 0);
    values->addWidget(m_kilometres, 1, 1, 1, 2);
    values->addWidget(NewLabel(QStringLiteral("Prosjek:"), sums), 2, 0);
    values->addWidget(m_speed, 2, 1, 1, 2);
    values->setRowStretch(3, 1);
    sumsLayout->addLayout(values);
    m_totalsGrid = NewDayTotalsGrid(sums, kTotalsLineNames);
    sumsLayout->addWidget(m_totalsGrid, 1);
    layout->addWidget(sums);
    return page;
}

void DayGraphWindow::showDay(const QDate& date)
{
    m_date = date;
    refill();
}

void DayGraphWindow::refill()
{
    m_otherDates->clear();
    m_day = DayRecord{};
    m_readout->clear();
    m_dateLabel->setText(m_date.toString(kDateFormat));
    if (m_driverId >= 0) {
        try {
            Transaction read = m_session.read();
            m_day = LoadDayRecord(read, m_driverId, m_date);
        } catch (const DbError& error) {
            ShowError(this, error.text());
        }
    } else {
        m_dateLabel->clear();
    }
    m_name->setText(m_day.driverName);
    m_distance->setText(m_day.distance ? FormatDecimal(m_day.distance->toText()) : QString());
    for (const QDate& other : m_day.otherDates) {
        QAction* item = m_otherDates->addAction(other.toString(kDateFormat));
        connect(item, &QAction::triggered, this, [this, other] { otherDateChosen(other); });
    }
    fillGrid();
    showTotals();
}

void DayGraphWindow::fillGrid()
{
    m_grid->clearSelection();
    m_grid->setRowCount(static_cast<int>(m_day.intervals.size()));
    const ActivityColours colours = ActivityColoursOf(m_session.values());
    std::vector<ChartInterval> chart;
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const DayInterval& interval = m_day.intervals[static_cast<size_t>(row)];
        chart.push_back(interval.chart);
        const std::optional<ActivityKind> kind =
            interval.chart.kind ? ActivityKindFromCode(*interval.chart.kind) : std::nullopt;
        auto* activity = new QTableWidgetItem(kind ? ActivityShortName(*kind) : QStringLiteral("?"));
        if (kind)
            activity->setIcon(ActivityKindIcon(*kind, colours));
        const auto clock = [](const std::optional<int>& minute) { return minute ? ClockText(*minute) : QString(); };
        const bool timed = interval.chart.start && interval.chart.end;
        auto* duration = new QTableWidgetItem(timed ? FormatMinutes(*interval.chart.end - *interval.chart.start) : QString());
        duration->setForeground(Qt::blue);
        duration->setBackground(Look::kCream);
        auto* km = new QTableWidgetItem(interval.kilometres ? FormatDecimal(interval.kilometres->toText()) : QString());
        km->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        km->setFont(Look::Bold(m_grid->font()));
        m_grid->setItem(row, Aktivnost, activity);
        m_grid->setItem(row, Od, new QTableWidgetItem(clock(interval.chart.start)));
        m_grid->setItem(row, Do, new QTableWidgetItem(clock(interval.chart.end)));
        m_grid->setItem(row, Trajanje, duration);
        m_grid->setItem(row, Km, km);
        m_grid->setItem(row, Scp, new QTableWidgetItem(QString::number(interval.chart.crewFlags)));
        m_grid->setItem(row, Lit, new QTableWidgetItem(interval.litres ? interval.litres->toText() : QString()));
        m_grid->setItem(row, Nod, new QTableWidgetItem(QString::number(interval.night.from)));
        m_grid->setItem(row, Ndo, new QTableWidgetItem(QString::number(interval.night.to)));
    }
    m_chart->setIntervals(std::move(chart));
    m_chart->setSelection(std::nullopt);
}

void DayGraphWindow::showTotals()
{
    const DayTotals totals = DayRecordTotals(m_day.intervals);
    ShowDayTotals(m_totalsGrid, totals);
    m_total->setText(DayTotalText(totals.totalMinutes));
    m_totalMarker->setVisible(ExceedsOneDay(totals.totalMinutes));
    m_kilometres->setText(QString::number(totals.kilometres));
    const Decimal3 kilometres = totals.kilometres >= 1 ? Decimal3::fromWhole(totals.kilometres)
                                                       : m_day.distance.value_or(Decimal3{});
    m_speed->setText(AverageSpeed(kilometres, totals.minutes(ActivityKind::Driving)));
}

void DayGraphWindow::gridSelectionChanged()
{
    const QList<QTableWidgetItem*> selected = m_grid->selectedItems();
    if (selected.isEmpty()) {
        m_chart->setSelection(std::nullopt);
        return;
    }
    const DayInterval& interval = m_day.intervals[static_cast<size_t>(selected.first()->row())];
    if (interval.chart.start && interval.chart.end)
        m_chart->setSelection(std::pair{*interval.chart.start, *interval.chart.end});
    else
        m_chart->setSelection(std::nullopt);
}

void DayGraphWindow::showOtherDatesMenu(const QPoint& position)
{
    if (!m_otherDates->isEmpty())
        m_otherDates->popup(mapToGlobal(position));
}

void DayGraphWindow::otherDateChosen(const QDate& date)
{
    if (m_sameWindow->isChecked())
        showDay(date);
    else
        openedFromHere(OpenDayWindow(m_session, m_driverId, date, parentWidget()));
}

void DayGraphWindow::openPeriodGraph()
{
    OpenPeriodWindow(m_session, m_driverId, parentWidget());
}

DayGraphWindow* OpenDayWindow(Session& session, int driverId, const QDate& date, QWidget* owner)
{
    auto* window = new DayGraphWindow(session, driverId, date, owner);
    window->show();
    return window;
}
