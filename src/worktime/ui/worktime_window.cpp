#include "worktime/ui/worktime_window.h"

#include "session/session.h"

#include "db/db_error.h"
#include "masterdata/driver_list_query.h"
#include "print/ui/print_preview.h"
#include "ui/button_bar.h"
#include "ui/date_field.h"
#include "ui/list_read_notice.h"
#include "ui/look.h"
#include "ui/message_box.h"
#include "ui/window_placement.h"
#include "worktime/worktime_printout.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 560;
const QColor kTopBar(241, 239, 226);
const QColor kNotesColumn(245, 244, 235);
const QColor kWeekText(128, 128, 128);
enum Column { Nadnevak, RadnoVrijeme, NocniRad, Ukupno, Biljeske, ColumnCount };
constexpr std::array<int, ColumnCount> kWidths{120, 110, 110, 110, 300};

}  // namespace

// The rows of the record as the grid shows them.
class WorkTimeModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<WorkTimeRow> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    const std::vector<WorkTimeRow>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : ColumnCount;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return QVariant();
        const WorkTimeRow& row = m_rows[static_cast<size_t>(index.row())];
        const bool week = row.kind == WorkTimeRow::Kind::Week || row.kind == WorkTimeRow::Kind::Average;
        switch (role) {
        case Qt::DisplayRole:
            if (index.column() == Nadnevak)
                return WorkTimeDateText(row);
            if (index.column() == Biljeske)
                return WorkTimeNotesText(row);
            return WorkTimeValueText(row, index.column());
        case Qt::UserRole:  // the secondary text of the first column
            return index.column() == Nadnevak && !week ? WeekdayAbbreviation(row.date) : QString();
        case Qt::TextAlignmentRole:
            return index.column() == Nadnevak || index.column() == Biljeske ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                                             : QVariant(Qt::AlignCenter);
        case Qt::BackgroundRole:
            if (index.column() == Nadnevak)
                return QToolTip::palette().color(QPalette::ToolTipBase);
            return index.column() == Biljeske ? QVariant(kNotesColumn) : QVariant();
        case Qt::ForegroundRole:
            return week ? QVariant(kWeekText) : QVariant();
        default:
            return QVariant();
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal)
            return QVariant();
        const QStringList captions{QStringLiteral("Nadnevak"), QStringLiteral("Radno vrijeme"),
                                   QStringLiteral("Noćni rad (%1)").arg(NightWindowText(m_night.from, m_night.to)),
                                   QStringLiteral("Ukupno"), QStringLiteral("Bilješke")};
        if (role == Qt::DisplayRole)
            return captions.value(section);
        if (role == Qt::ToolTipRole && section == Ukupno)
            return QStringLiteral("Ukupno radno vrijeme (dnevno radno vrijeme + noćni rad)");
        return QVariant();
    }

    // The night window the night column's caption names.
    void setNightWindow(NightWindow night)
    {
        m_night = night;
        emit headerDataChanged(Qt::Horizontal, NocniRad, NocniRad);
    }

private:
    std::vector<WorkTimeRow> m_rows;
    NightWindow m_night;
};

namespace {

// The first column: the date bold and black (white when selected) and the weekday regular and
// blue (yellow when selected); a week row all grey.
class DateDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        plain.text.clear();
        QApplication::style()->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);
        const bool selected = option.state & QStyle::State_Selected;
        const QVariant weekColour = index.data(Qt::ForegroundRole);
        const QRect area = option.rect.adjusted(3, 0, -3, 0);
        painter->save();
        QFont bold = option.font;
        bold.setBold(!weekColour.isValid());
        painter->setFont(bold);
        painter->setPen(weekColour.isValid() ? weekColour.value<QColor>() : (selected ? Qt::white : Qt::black));
        const QString date = index.data().toString();
        painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, date);
        const QString weekday = index.data(Qt::UserRole).toString();
        if (!weekday.isEmpty()) {
            painter->setFont(option.font);
            painter->setPen(selected ? Qt::yellow : Qt::blue);
            painter->drawText(area.adjusted(QFontMetrics(bold).horizontalAdvance(date) + 6, 0, 0, 0),
                              Qt::AlignLeft | Qt::AlignVCenter, weekday);
        }
        painter->restore();
    }
};

}  // namespace

WorkTimeWindow::WorkTimeWindow(Session& session, QWidget* parent) : QDialog(parent), m_session(session)
{
    setObjectName(QStringLiteral("ERSatiForma2"));
    setWindowTitle(QStringLiteral("Evidencija radnog vremena"));

    auto* top = new QWidget(this);
    Look::Paint(top, QPalette::Window, kTopBar);
    m_from = new DateField(top);
    m_from->setObjectName(QStringLiteral("Dat1"));
    m_from->setDate(QDate::currentDate().addDays(-7));
    m_to = new DateField(top);
    m_to->setObjectName(QStringLiteral("Dat2"));
    m_to->setDate(QDate::currentDate());
    m_drivers = new QComboBox(top);
    m_drivers->setObjectName(QStringLiteral("DjPopis"));
    m_drivers->setMinimumWidth(220);
    m_rebuild = new QPushButton(QStringLiteral("Obnovi"), top);
    m_rebuild->setObjectName(QStringLiteral("BitBtn4"));
    m_rebuild->setAutoDefault(false);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->addWidget(new QLabel(QStringLiteral("Pregled za datume od"), top));
    topLayout->addWidget(m_from);
    topLayout->addWidget(new QLabel(QStringLiteral("do"), top));
    topLayout->addWidget(m_to);
    topLayout->addSpacing(12);
    topLayout->addWidget(new QLabel(QStringLiteral("Djelatnik:"), top));
    topLayout->addWidget(m_drivers, 1);
    topLayout->addWidget(m_rebuild);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("Napredak"));
    m_progress->setFixedHeight(6);
    m_progress->setTextVisible(false);
    m_progress->hide();

    m_model = new WorkTimeModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("VT"));
    m_grid->setModel(m_model);
    m_grid->setItemDelegateForColumn(Nadnevak, new DateDelegate(m_grid));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setShowGrid(true);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionsMovable(true);
    m_grid->horizontalHeader()->setFont(Look::Bold(m_grid->horizontalHeader()->font()));
    const QFontMetrics headerFont(m_grid->horizontalHeader()->font());
    for (int column = 0; column < ColumnCount; ++column) {
        m_grid->setColumnWidth(column, Look::ColumnWidth(headerFont, kWidths[static_cast<size_t>(column)],
                                                         m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString()));
    }
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("BrojStavki"));
    m_count->setFont(Look::Bold(m_count->font()));

    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(m_progress);
    m_notice = new ListReadNotice(m_grid, this);
    pageLayout->addWidget(m_notice);
    pageLayout->addWidget(m_grid, 1);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(QStringLiteral("Broj stavki u popisu:"), page));
    countRow->addWidget(m_count);
    countRow->addStretch(1);
    pageLayout->addLayout(countRow);
    auto* pages = new QTabWidget(this);
    pages->addTab(page, QStringLiteral("Evidencija radnih sati"));

    auto* bar = new ButtonBar(this);
    QPushButton* print = bar->addButton("BitBtn7", QStringLiteral("Ispiši"), ButtonBar::Side::Left);
    QPushButton* back = bar->addButton("Povratak", QStringLiteral("Povratak"), ButtonBar::Side::Right);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(top);
    layout->addWidget(pages, 1);
    layout->addWidget(bar);

    connect(m_drivers, &QComboBox::activated, this, &WorkTimeWindow::buildRecord);
    connect(m_rebuild, &QPushButton::clicked, this, [this] {
        m_rebuild->setEnabled(false);
        buildRecord();
        m_rebuild->setEnabled(true);
    });
    connect(print, &QPushButton::clicked, this, &WorkTimeWindow::print);
    // The night column's caption names the night window of the settings.
    m_model->setNightWindow(m_session.values().night);
    connect(&m_session.settings(), &Settings::changed, m_model,
            [this] { m_model->setNightWindow(m_session.values().night); });
    connect(back, &QPushButton::clicked, this, &QDialog::reject);

    resize(kClientWidth, kClientHeight);
    RestoreWindowPlacement(this, m_session.settingsPath());
}

WorkTimeWindow::~WorkTimeWindow()
{
    SaveWindowPlacement(this, m_session.settingsPath());
}

const std::vector<WorkTimeRow>& WorkTimeWindow::rows() const
{
    return m_model->rows();
}

void WorkTimeWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        refill();
}

void WorkTimeWindow::refill()
{
    m_progress->hide();
    std::vector<RecordDriver> drivers;
    try {
        Transaction read = m_session.read();
        drivers = LoadRecordDrivers(read);
    } catch (const DbError& error) {
        ShowComboNotRead(m_drivers, error.text());
        showRecordNotRead(error.text());
        return;
    }
    m_drivers->clear();
    ShowComboRead(m_drivers);
    for (const RecordDriver& driver : drivers)
        m_drivers->addItem(driver.name, QVariantList{driver.id, driver.oib});
    if (m_drivers->count() > 0)
        m_drivers->setCurrentIndex(0);
    buildRecord();
}

void WorkTimeWindow::buildRecord()
{
    if (!m_drivers->isEnabled()) {
        // The drivers were not read: they are read first, and the record with them.
        refill();
        return;
    }
    m_model->setRows({});
    m_notice->showRead();
    m_count->setText(QStringLiteral("0"));
    if (m_drivers->currentIndex() < 0)
        return;
    const int driverId = m_drivers->currentData().toList().value(0).toInt();
    // Two statements whatever the period: the bar shows only while they run.
    m_progress->setRange(0, 0);
    m_progress->show();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    try {
        Transaction read = m_session.read();
        m_model->setRows(
            LoadWorkTimeRecord(read, driverId, m_from->date(), m_to->date(), m_session.values().referenceMonths));
    } catch (const DbError& error) {
        m_progress->hide();
        showRecordNotRead(error.text());
        return;
    }
    m_progress->hide();
    m_count->setText(QString::number(WorkTimeItemCount(m_model->rows())));
}

void WorkTimeWindow::showRecordNotRead(const QString& reason)
{
    m_model->setRows({});
    m_notice->showNotRead(reason);
    m_count->clear();
    ShowError(this, reason);
}

void WorkTimeWindow::print()
{
    if (m_model->rows().empty())
        return;
    const SettingsValues& settings = m_session.values();
    const QVariantList driver = m_drivers->currentData().toList();
    WorkTimePrintData data{WorkTimePrintLines(m_model->rows()), m_from->date(), m_to->date(), m_drivers->currentText(),
                           driver.value(1).toString(), QDateTime::currentDateTime(), settings.notesOnSeveralLines, QString(),
                           settings.night.from, settings.night.to};
    auto printout = std::make_shared<WorkTimePrintout>(std::move(data));
    if (settings.reportPreview)
        PresentPrintoutModally(m_session.printing(), std::move(printout), PrinterRole::Report, this);
    else
        PresentPrintout(m_session.printing(), std::move(printout), PrinterRole::Report, false, this);
}
