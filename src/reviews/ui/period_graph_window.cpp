#include "reviews/ui/period_graph_window.h"

#include "common/time_text.h"
#include "db/db_error.h"
#include "print/ui/print_preview.h"
#include "reviews/day_chart.h"
#include "reviews/period_printout.h"
#include "reviews/ui/day_chart_strip.h"
#include "session/session.h"
#include "ui/date_field.h"
#include "ui/look.h"
#include "ui/message_box.h"
#include "ui/window_lookup.h"
#include "ui/window_placement.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 831;
constexpr int kClientHeight = 684;
constexpr int kLineHeight = 80;
constexpr int kDateColumn = 70;
constexpr int kDateLeft = 7;
constexpr int kDateTop = 15;
constexpr int kWeekdayTop = 33;
constexpr int kDateGap = 3;  // between the longest date and the chart's area
constexpr double kSmallestDatePoints = 6;
const QString kDateSample = QStringLiteral("00.00.0000.");
constexpr int kSummaryBox = 16;
constexpr int kLegendHeight = 40;
constexpr int kLegendBox = 20;
const QColor kSilver(192, 192, 192);

// The font of the date column: the list's own, made smaller when a date would not fit beside
// the chart, whose area (filled with the line's background) would cover the end of it.
QFont DateColumnFont(QFont font)
{
    constexpr int room = kDateColumn - kDateLeft - kDateGap;
    while (QFontMetrics(font).horizontalAdvance(kDateSample) > room && font.pointSizeF() > kSmallestDatePoints)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    return font;
}

}  // namespace

// Draws a line of the day list: the date and weekday, then the day's chart with its totals.
class PeriodDayDelegate : public QStyledItemDelegate {
public:
    PeriodDayDelegate(const std::vector<PeriodDay>& days, QObject* parent) : QStyledItemDelegate(parent), m_days(days) {}

    // The activity colours and the summary's form, from the settings.
    void setLook(const ActivityColours& colours, bool summary2x2)
    {
        m_colours = colours;
        m_summary2x2 = summary2x2;
    }

    // The left edge and scale of the last drawn chart, for the mouse readout.
    const std::optional<DayChartScale>& lastScale() const { return m_scale; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int position = index.row();
        if (position < 0 || position >= static_cast<int>(m_days.size()))
            return;
        const PeriodDay& day = m_days[static_cast<size_t>(position)];
        const bool selected = option.state & QStyle::State_Selected;
        const QColor background = selected ? option.palette.color(QPalette::Highlight) : option.palette.color(QPalette::Base);
        const QRect line = option.rect;
        painter->save();
        painter->fillRect(line, background);
        painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : option.palette.color(QPalette::Text));
        painter->setFont(DateColumnFont(option.font));
        const QFontMetrics metrics(painter->font());
        painter->drawText(line.left() + kDateLeft, line.top() + kDateTop + metrics.ascent(),
                          day.date.toString(QStringLiteral("dd.MM.yyyy.")));
        painter->drawText(line.left() + kDateLeft, line.top() + kWeekdayTop + metrics.ascent(), ShortWeekdayName(day.date));
        DayChartStyle style;
        style.summary = true;
        style.summary2x2 = m_summary2x2;
        style.boxWidth = kSummaryBox;
        style.boxHeight = kSummaryBox;
        style.background = background;
        style.colours = m_colours;
        m_scale = DrawDayChart(*painter, line.adjusted(kDateColumn, 0, 0, 0), std::nullopt, style, day.intervals);
        painter->restore();
    }

    // No width of its own: a line is as wide as the list shows it, its vertical scroll bar
    // counted, and the chart is drawn to fit.
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return QSize(0, kLineHeight); }

private:
    const std::vector<PeriodDay>& m_days;
    ActivityColours m_colours;
    bool m_summary2x2 = true;
    mutable std::optional<DayChartScale> m_scale;
};

PeriodGraphWindow::PeriodGraphWindow(Session& session, QWidget* parent) : QWidget(parent, Qt::Window), m_session(session)
{
    setObjectName(QStringLiteral("RazdobljeForm"));
    setWindowTitle(QStringLiteral("Grafički pregled aktivnosti za razdoblje"));
    resize(kClientWidth, kClientHeight);

    auto* header = new QWidget(this);
    m_name = new QLabel(header);
    m_name->setObjectName(QStringLiteral("ImePrezime"));
    m_name->setFont(Look::Bold(m_name->font()));
    m_rangeLabel = new QLabel(QStringLiteral("Datumi od - do:"), header);
    m_rangeLabel->setObjectName(QStringLiteral("DatumiOdDo"));
    m_rangeLabel->setCursor(Qt::PointingHandCursor);
    m_rangeLabel->setToolTip(QStringLiteral("Postavi početni i završni datum prema cjelokupnoj evidenciji"));
    m_rangeLabel->installEventFilter(this);
    m_from = new DateField(header);
    m_from->setObjectName(QStringLiteral("Od"));
    m_to = new DateField(header);
    m_to->setObjectName(QStringLiteral("Do"));
    auto* obnovi = new QPushButton(QStringLiteral("Obnovi"), header);
    obnovi->setObjectName(QStringLiteral("Obnovi"));
    auto* ispisi = new QPushButton(QStringLiteral("Ispiši"), header);
    ispisi->setObjectName(QStringLiteral("Ispisi"));
    for (QPushButton* button : {obnovi, ispisi})
        button->setAutoDefault(false);
    m_onlyActive = new QCheckBox(QStringLiteral("samo datumi s aktivnostima"), header);
    m_onlyActive->setObjectName(QStringLiteral("SamoAktivni"));

    auto* headerLayout = new QGridLayout(header);
    headerLayout->addWidget(new QLabel(QStringLiteral("Djelatnik/vozač:"), header), 0, 0);
    headerLayout->addWidget(m_name, 0, 1, 1, 3);
    headerLayout->addWidget(m_rangeLabel, 1, 0);
    headerLayout->addWidget(m_from, 1, 1);
    headerLayout->addWidget(m_to, 1, 2);
    headerLayout->addWidget(obnovi, 1, 3);
    headerLayout->addWidget(ispisi, 1, 4);
    headerLayout->addWidget(m_onlyActive, 1, 5);
    headerLayout->setColumnStretch(6, 1);

    auto* page = new QWidget;
    m_list = new QListWidget(page);
    m_list->setObjectName(QStringLiteral("Dani"));
    m_delegate = new PeriodDayDelegate(m_days, m_list);
    m_list->setItemDelegate(m_delegate);
    m_list->setUniformItemSizes(true);
    m_list->setMouseTracking(true);
    m_list->viewport()->installEventFilter(this);
    m_readout = new QLabel(page);
    m_readout->setObjectName(QStringLiteral("Ocitanje"));
    m_readout->setAlignment(Qt::AlignCenter);
    m_readout->setMinimumWidth(60);
    m_readout->setStyleSheet(QStringLiteral("QLabel { background: grey; color: #F0F0F0; font-weight: bold; }"));
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(m_readout, 0, Qt::AlignRight);
    pageLayout->addWidget(m_list, 1);
    auto* pages = new QTabWidget(this);
    pages->addTab(page, QStringLiteral("Grafički pregled aktivnosti za razdoblje"));

    m_legend = new ActivityLegendStrip(this);
    m_legend->setObjectName(QStringLiteral("Legenda"));
    m_legend->setFixedHeight(kLegendHeight);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(pages, 1);
    layout->addWidget(m_legend);

    connect(obnovi, &QPushButton::clicked, this, &PeriodGraphWindow::refresh);
    connect(ispisi, &QPushButton::clicked, this, &PeriodGraphWindow::print);
    connect(m_onlyActive, &QCheckBox::clicked, this, &PeriodGraphWindow::refresh);
    connect(&m_session.settings(), &Settings::changed, this, &PeriodGraphWindow::applySettings);
    applySettings();
    RestoreWindowPlacement(this, m_session.settingsPath());
}

PeriodGraphWindow::~PeriodGraphWindow()
{
    SaveWindowPlacement(this, m_session.settingsPath());
}

void PeriodGraphWindow::applySettings()
{
    const ActivityColours colours = ActivityColoursOf(m_session.values());
    m_delegate->setLook(colours, m_session.values().summaryTwoByTwo);
    m_legend->setColours(colours);
    m_list->viewport()->update();
}

void PeriodGraphWindow::openFor(int driverId)
{
    const bool otherDriver = driverId != m_driverId;
    m_driverId = driverId;
    if (isVisible() && otherDriver)
        refill();
    show();
    raise();
    activateWindow();
}

void PeriodGraphWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        refill();
}

void PeriodGraphWindow::refill()
{
    m_readout->clear();
    m_driver = PeriodDriver{};
    if (m_driverId >= 0) {
        try {
            Transaction read = m_session.read();
            m_driver = LoadPeriodDriver(read, m_driverId);
        } catch (const DbError& error) {
            ShowError(this, error.text());
        }
    }
    m_name->setText(m_driver.name);
    if (m_driver.lastDay) {
        const auto [from, to] = InitialPeriod(*m_driver.lastDay);
        m_from->setDate(from);
        m_to->setDate(to);
    }
    refresh();
}

void PeriodGraphWindow::refresh()
{
    if (m_to->date() < m_from->date()) {
        ShowMessage(this, kWrongDatesMessage);
        return;
    }
    std::vector<PeriodDay> days;
    if (m_driverId >= 0) {
        try {
            Transaction read = m_session.read();
            days = LoadPeriodDays(read, m_driverId, m_from->date(), m_to->date(), m_onlyActive->isChecked());
        } catch (const DbError& error) {
            ShowError(this, error.text());
            return;
        }
    }
    m_days = std::move(days);
    fillList();
}

void PeriodGraphWindow::fillList()
{
    m_list->clear();
    for (size_t day = 0; day < m_days.size(); ++day)
        new QListWidgetItem(m_list);
}

bool PeriodGraphWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_rangeLabel && event->type() == QEvent::MouseButtonDblClick) {
        // The whole record of the driver, without refreshing.
        if (m_driver.firstDay && m_driver.lastDay) {
            m_from->setDate(*m_driver.firstDay);
            m_to->setDate(*m_driver.lastDay);
        }
        return true;
    }
    if (watched == m_list->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            const std::optional<DayChartScale>& scale = m_delegate->lastScale();
            const int x = static_cast<QMouseEvent*>(event)->position().toPoint().x();
            const std::optional<int> minute = scale ? scale->minuteAt(x) : std::nullopt;
            m_readout->setText(minute ? FormatMinutes(*minute) : QString());
        } else if (event->type() == QEvent::Leave) {
            m_readout->clear();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PeriodGraphWindow::print()
{
    const SettingsValues& settings = m_session.values();
    PeriodPrintoutData data{m_driver.name, m_from->date(), m_to->date(), m_days, ActivityColoursOf(settings),
                            settings.summaryTwoByTwo};
    PresentPrintout(m_session.printing(), std::make_shared<PeriodPrintout>(std::move(data)), PrinterRole::Graph,
                    settings.graphPreview, this);
}

void OpenPeriodWindow(Session& session, int driverId, QWidget* owner)
{
    PeriodGraphWindow* window = FindWindow<PeriodGraphWindow>();
    if (!window) {
        window = new PeriodGraphWindow(session, owner);
        if (!owner)
            window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->openFor(driverId);
}
