#include "reviews/ui/overview_window.h"

#include "db/database_worker.h"
#include "db/db_error.h"
#include "entries/entry_store.h"
#include "entries/ui/manual_entry_window.h"
#include "reviews/ui/day_graph_window.h"
#include "reviews/ui/entry_mark_icon.h"
#include "session/session.h"
#include "ui/button_bar.h"
#include "ui/date_field.h"
#include "ui/list_read_notice.h"
#include "ui/look.h"
#include "ui/message_box.h"
#include "ui/window_placement.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 879;
constexpr int kClientHeight = 532;
constexpr int kRowHeight = 18;
constexpr int kIconSize = 16;
constexpr int kMarkRole = EntriesModel::kMarkRole;
enum Page { EntriesPage, DaysPage, TotalsPage };

const QString kDeleteQuestion = QStringLiteral("Jeste li sigurni da želite obrisati odabrani unos sa svim njegovim danima?");

// The entry-kind icon, centred in its cell one pixel below the top.
class MarkDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QVariant mark = index.data(kMarkRole);
        if (!mark.isValid()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QRect cell = option.rect;
        const QPoint corner(cell.left() + (cell.width() - kIconSize) / 2, cell.top() + 1);
        EntryMarkIcon(static_cast<EntryMark>(mark.toInt())).paint(painter, QRect(corner, QSize(kIconSize, kIconSize)));
    }
};

// A check box whose caption leaves a gap ("Unos od      do") with the first date field standing
// in that gap, as one piece of the filter panel.
QWidget* CaptionAroundField(QWidget* panel, QCheckBox* box, DateField* field)
{
    auto* piece = new QWidget(panel);
    box->setParent(piece);
    field->setParent(piece);
    const QString caption = box->text();
    const QString lead = caption.left(caption.indexOf(QLatin1String("  ")) + 1);
    const QStyle* style = box->style();
    const int fieldLeft = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box)
        + style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box) + box->fontMetrics().horizontalAdvance(lead);
    const QSize boxSize = box->sizeHint();
    const QSize fieldSize = field->sizeHint().expandedTo(field->minimumSize());
    // The caption is widened with blanks until its gap holds the field.
    QString widened = caption;
    while (box->fontMetrics().horizontalAdvance(widened) - box->fontMetrics().horizontalAdvance(lead)
           - box->fontMetrics().horizontalAdvance(QStringLiteral("do")) < fieldSize.width() + 8)
        widened.insert(lead.size(), QLatin1Char(' '));
    box->setText(widened);
    const int height = std::max(box->sizeHint().height(), fieldSize.height());
    box->setGeometry(0, (height - boxSize.height()) / 2, box->sizeHint().width(), boxSize.height());
    field->setGeometry(fieldLeft, (height - fieldSize.height()) / 2, fieldSize.width(), fieldSize.height());
    piece->setFixedSize(box->sizeHint().width(), height);
    return piece;
}

QAction* AddMenuItem(QTableView* grid, const char* objectName, const QString& text, QKeySequence keys = {})
{
    auto* action = new QAction(text, grid);
    action->setObjectName(QLatin1String(objectName));
    if (!keys.isEmpty()) {
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    grid->addAction(action);
    return action;
}

}  // namespace

OverviewWindow::OverviewWindow(Session& session, QWidget* windowsOwner)
    : QWidget(nullptr, Qt::Window), m_session(session), m_windowsOwner(windowsOwner)
{
    setObjectName(QStringLiteral("TfrmOverview"));
    setWindowTitle(QStringLiteral("Pregled unosa u evidenciju"));
    resize(kClientWidth, kClientHeight);
    Look::Paint(this, QPalette::Window, palette().color(QPalette::Button));

    m_entries = new EntriesModel(this);
    m_days = new EntryDaysModel(this);
    m_totals = new DayTotalsModel(this);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("Stranice"));
    m_entriesGrid = newGrid("UnosiGrid", m_entries, EntriesModel::columnWidths());
    m_daysGrid = newGrid("DaniGrid", m_days, EntryDaysModel::columnWidths());
    m_totalsGrid = newGrid("UkupnoGrid", m_totals, DayTotalsModel::columnWidths());
    m_pages->addTab(m_entriesGrid, QStringLiteral("Pregled unosa u evidenciju - popis"));
    m_pages->addTab(m_daysGrid, QStringLiteral("Pregled unesenih dana"));
    m_pages->addTab(m_totalsGrid, QStringLiteral("Pregled po danima ukupno"));

    connect(AddMenuItem(m_entriesGrid, "ObrisiUnos", QStringLiteral("Obriši unos")), &QAction::triggered, this,
            &OverviewWindow::deleteEntry);
    connect(AddMenuItem(m_daysGrid, "GrafDana", QStringLiteral("Grafički prikaz dana")), &QAction::triggered, this,
            &OverviewWindow::openDayGraph);
    for (int page : {EntriesPage, DaysPage, TotalsPage}) {
        auto* grid = static_cast<QTableView*>(m_pages->widget(page));
        connect(AddMenuItem(grid, "Kopiraj", QStringLiteral("Kopiraj u međuspremnik"), QKeySequence(Qt::CTRL | Qt::Key_C)),
                &QAction::triggered, this, [this, page] { copyList(page); });
    }
    for (QTableView* grid : {m_entriesGrid, m_daysGrid, m_totalsGrid})
        watchList(grid);
    connect(m_entriesGrid, &QTableView::doubleClicked, this, &OverviewWindow::entryDoubleClicked);
    connect(m_daysGrid, &QTableView::doubleClicked, this, &OverviewWindow::dayDoubleClicked);

    auto* bar = new ButtonBar(this);
    QPushButton* back = bar->addButton("Povratak", QStringLiteral("Povratak"), ButtonBar::Side::Right);
    connect(back, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildFilterPanel());
    m_notice = new ListReadNotice(m_pages, this);
    layout->addWidget(m_notice);
    layout->addWidget(m_pages, 1);
    layout->addWidget(bar);

    // Stored and deleted entries show as soon as they are.
    connect(&m_session, &Session::entriesChanged, this, [this] {
        if (isVisible())
            refresh();
    });
    RestoreWindowPlacement(this, m_session.settingsPath());
}

OverviewWindow::~OverviewWindow()
{
    SaveWindowPlacement(this, m_session.settingsPath());
    stopReading();
}

void OverviewWindow::watchList(QTableView* grid)
{
    auto* list = static_cast<OverviewListBase*>(grid->model());
    grid->installEventFilter(this);
    connect(list, &OverviewListBase::waitingChanged, this, &OverviewWindow::showBusy);
    connect(list, &OverviewListBase::failed, this, [this](const QString& text) {
        m_notice->showNotRead(text);
        ShowError(this, text);
    });
    connect(list, &OverviewListBase::firstLinesRead, this, [this, grid, list] {
        if (!grid->currentIndex().isValid() && list->rowCount() > 0)
            grid->selectRow(0);
        // The lists are counted once all three first screens are in.
        if (++m_firstScreens == 3) {
            m_entries->count();
            m_days->count();
            m_totals->count();
        }
    });
    connect(list, &OverviewListBase::lineFound, grid, [grid](int position) { grid->selectRow(position); });
    connect(list, &OverviewListBase::counted, this, [this, grid, list] {
        if (!m_endWanted.remove(grid))
            return;
        if (list->rowCount() > 0) {
            grid->setCurrentIndex(list->index(list->rowCount() - 1, std::max(0, grid->currentIndex().column())));
            grid->scrollToBottom();
        }
        showBusy();
    });
}

bool OverviewWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+End before the list knows its length goes to the last line once it does.
    auto* grid = qobject_cast<QTableView*>(watched);
    if (grid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* list = static_cast<OverviewListBase*>(grid->model());
        if (key->key() == Qt::Key_End && (key->modifiers() & Qt::ControlModifier) && !list->isCounted()) {
            m_endWanted.insert(grid);
            list->count();
            showBusy();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void OverviewWindow::showBusy()
{
    const bool busy = m_entries->isWaiting() || m_days->isWaiting() || m_totals->isWaiting() || m_copy
        || !m_endWanted.isEmpty();
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void OverviewWindow::stopReading()
{
    m_entries->stop();
    m_days->stop();
    m_totals->stop();
    m_endWanted.clear();
    m_copy.reset();
    showBusy();
}

QWidget* OverviewWindow::buildFilterPanel()
{
    auto* panel = new QWidget(this);
    const auto dateField = [panel](const char* name) {
        auto* field = new DateField(panel);
        field->setObjectName(QLatin1String(name));
        return field;
    };
    m_enteredFilter = new QCheckBox(QStringLiteral("Unos od                             do"), panel);
    m_enteredFilter->setObjectName(QStringLiteral("UnosFilter"));
    m_enteredFrom = dateField("UnosOd");
    m_enteredTo = dateField("UnosDo");
    m_daysFilter = new QCheckBox(QStringLiteral("Dani od                              do"), panel);
    m_daysFilter->setObjectName(QStringLiteral("DaniFilter"));
    m_daysFrom = dateField("DaniOd");
    m_daysTo = dateField("DaniDo");
    m_driver = new QComboBox(panel);
    m_driver->setObjectName(QStringLiteral("Vozac"));
    m_driver->setMinimumWidth(200);
    auto* obnovi = new QPushButton(QStringLiteral("Obnovi"), panel);
    obnovi->setObjectName(QStringLiteral("Obnovi"));
    obnovi->setAutoDefault(false);

    // Two lines, so that the panel fits the window's width of 879 pixels: the two date filters
    // one under the other, the driver beside the first and "Obnovi" under it.
    auto* lines = new QGridLayout(panel);
    lines->addWidget(CaptionAroundField(panel, m_enteredFilter, m_enteredFrom), 0, 0);
    lines->addWidget(m_enteredTo, 0, 1);
    lines->addWidget(CaptionAroundField(panel, m_daysFilter, m_daysFrom), 1, 0);
    lines->addWidget(m_daysTo, 1, 1);
    lines->setColumnMinimumWidth(2, 12);
    lines->addWidget(new QLabel(QStringLiteral("Vozač:"), panel), 0, 3);
    lines->addWidget(m_driver, 0, 4);
    lines->addWidget(obnovi, 1, 4, Qt::AlignLeft);
    lines->setColumnStretch(4, 1);

    connect(obnovi, &QPushButton::clicked, this, &OverviewWindow::refresh);
    // A changed filter shows at once.
    connect(m_driver, &QComboBox::activated, this, &OverviewWindow::refresh);
    connect(m_enteredFilter, &QCheckBox::toggled, this, &OverviewWindow::refresh);
    connect(m_daysFilter, &QCheckBox::toggled, this, &OverviewWindow::refresh);
    for (DateField* field : {m_enteredFrom, m_enteredTo, m_daysFrom, m_daysTo}) {
        connect(field, &DateField::dateChanged, this, [this, field] {
            const bool entered = field == m_enteredFrom || field == m_enteredTo;
            if ((entered ? m_enteredFilter : m_daysFilter)->isChecked())
                refresh();
        });
    }
    return panel;
}

QTableView* OverviewWindow::newGrid(const char* objectName, QAbstractItemModel* model, const std::vector<int>& widths)
{
    auto* grid = new QTableView(this);
    grid->setObjectName(QLatin1String(objectName));
    grid->setModel(model);
    grid->setItemDelegate(new MarkDelegate(grid));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    const QFontMetrics metrics = grid->horizontalHeader()->fontMetrics();
    for (int column = 0; column < model->columnCount(); ++column) {
        const QString title = model->headerData(column, Qt::Horizontal).toString();
        grid->setColumnWidth(column, Look::ColumnWidth(metrics, widths[static_cast<size_t>(column)], title));
    }
    return grid;
}

void OverviewWindow::showOrRaise()
{
    show();
    raise();
    activateWindow();
}

void OverviewWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        refill();
}

void OverviewWindow::hideEvent(QHideEvent* event)
{
    // Closing the window is the way to stop a long read: whatever is being read is dropped.
    stopReading();
    QWidget::hideEvent(event);
}

void OverviewWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void OverviewWindow::refill()
{
    const QDate today = QDate::currentDate();
    const QSignalBlocker blockers[] = {QSignalBlocker(m_enteredFrom), QSignalBlocker(m_enteredTo),
                                       QSignalBlocker(m_daysFrom), QSignalBlocker(m_daysTo)};
    m_enteredFrom->setDate(today.addDays(-7));
    m_enteredTo->setDate(today);
    m_daysFrom->setDate(today.addDays(-30));
    m_daysTo->setDate(today);
    fillDriverList();
    refresh();
}

void OverviewWindow::fillDriverList()
{
    const int previous = m_driver->currentIndex();
    std::vector<std::pair<int, QString>> drivers;
    try {
        Transaction read = m_session.read();
        drivers = LoadOverviewDrivers(read);
    } catch (const DbError& error) {
        ShowComboNotRead(m_driver, error.text());
        ShowError(this, error.text());
        return;
    }
    m_driver->clear();
    ShowComboRead(m_driver);
    m_driver->addItem(QStringLiteral("Zanemari"));
    for (const auto& [id, name] : drivers)
        m_driver->addItem(name, id);
    m_driver->setCurrentIndex(previous > 0 && previous < m_driver->count() ? previous : 0);
}

OverviewFilter OverviewWindow::filter() const
{
    OverviewFilter filter;
    if (m_driver->currentIndex() > 0)
        filter.driverId = m_driver->currentData().toInt();
    if (m_enteredFilter->isChecked())
        filter.entered = std::pair{m_enteredFrom->date(), m_enteredTo->date()};
    if (m_daysFilter->isChecked())
        filter.days = std::pair{m_daysFrom->date(), m_daysTo->date()};
    return filter;
}

namespace {

// Re-reads a list; the line that was current becomes current again when it is still there.
template <typename Row, typename Key>
void Reload(Connection& connection, OverviewListModel<Row>* model, QTableView* grid, const OverviewFilter& filter,
            Key key)
{
    const QModelIndex current = grid->currentIndex();
    std::function<bool(const Row&)> find;
    if (current.isValid() && model->isLoaded(current.row()))
        find = [key, wanted = key(model->line(current.row()))](const Row& row) { return key(row) == wanted; };
    model->reload(connection, filter, std::move(find), current.isValid() ? current.row() : 0);
}

}  // namespace

void OverviewWindow::refresh()
{
    // A driver list that was not read is read again with the lists.
    if (!m_driver->isEnabled())
        fillDriverList();
    m_notice->showRead();
    const OverviewFilter now = filter();
    m_endWanted.clear();
    m_firstScreens = 0;
    Reload(m_session.connection(), m_entries, m_entriesGrid, now, [](const OverviewEntryRow& row) { return row.entryId; });
    Reload(m_session.connection(), m_days, m_daysGrid, now, [](const OverviewDayRow& row) { return row.dayId; });
    Reload(m_session.connection(), m_totals, m_totalsGrid, now,
           [](const OverviewTotalRow& row) { return std::pair{row.date, row.driverId.value_or(-1)}; });
    showBusy();
}

void OverviewWindow::copyList(int page)
{
    // Every line of the list, read off the window's thread: tens of thousands take a while.
    const int copy = ++m_copyNumber;
    const OverviewFilter now = filter();
    m_copy = std::make_unique<DatabaseWorker>(m_session.connection(), TransactionAccess::Snapshot);
    m_copy->post(
        [this, copy, page, now](Transaction& read) {
            const QString text = page == EntriesPage ? OverviewCopyText<OverviewEntryRow>(read, now)
                : page == DaysPage                   ? OverviewCopyText<OverviewDayRow>(read, now)
                                                     : OverviewCopyText<OverviewTotalRow>(read, now);
            QMetaObject::invokeMethod(this, [this, copy, text] { copied(copy, text, QString()); }, Qt::QueuedConnection);
        },
        [this, copy](const DbError& error) {
            QMetaObject::invokeMethod(this, [this, copy, text = error.text()] { copied(copy, QString(), text); },
                                      Qt::QueuedConnection);
        });
    showBusy();
}

void OverviewWindow::copied(int copy, const QString& text, const QString& error)
{
    if (copy != m_copyNumber || !m_copy)
        return;
    m_copy.reset();
    showBusy();
    if (!error.isEmpty())
        ShowError(this, error);
    else if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void OverviewWindow::entryDoubleClicked(const QModelIndex& index)
{
    if (!index.isValid() || !m_entries->isLoaded(index.row()))
        return;
    const OverviewEntryRow& entry = m_entries->line(index.row());
    switch (OpeningOfEntry(entry.type, entry.subtype)) {
    case EntryOpening::Nothing:
        return;
    case EntryOpening::TwoDayChartMessage:
        ShowMessage(this, kTwoDayChartMessage);
        return;
    case EntryOpening::Edit:
        OpenManualEntryWindow(m_session, entry.entryId, kNewId, m_windowsOwner);
        return;
    }
}

void OverviewWindow::dayDoubleClicked(const QModelIndex& index)
{
    if (!index.isValid() || !m_days->isLoaded(index.row()))
        return;
    const OverviewDayRow& day = m_days->line(index.row());
    if (OpensDayForEditing(day.type))
        OpenManualEntryWindow(m_session, day.entryId, kNewId, m_windowsOwner);
}

void OverviewWindow::openDayGraph()
{
    const QModelIndex current = m_daysGrid->currentIndex();
    if (!current.isValid() || !m_days->isLoaded(current.row()))
        return;
    const OverviewDayRow& day = m_days->line(current.row());
    OpenDayWindow(m_session, day.driverId.value_or(-1), day.date, m_windowsOwner);
}

void OverviewWindow::deleteEntry()
{
    const QModelIndex current = m_entriesGrid->currentIndex();
    if (!current.isValid() || !m_entries->isLoaded(current.row()))
        return;
    const OverviewEntryRow entry = m_entries->line(current.row());
    if (!AskYesNo(this, kDeleteQuestion))
        return;
    StoreTryingAgain(this, [&] {
        Transaction write = m_session.write();
        return DeleteEntry(write, entry.entryId, entry.type ? std::optional<qint64>(*entry.type) : std::nullopt,
                           entry.subtype ? std::optional<qint64>(*entry.subtype) : std::nullopt);
    });
    // Every list showing entries refreshes itself, this one too.
    emit m_session.entriesChanged();
}
