#include "entries/ui/manual_entry_window.h"

#include "ui/button_bar.h"
#include "ui/field_makers.h"
#include "ui/look.h"
#include "ui/message_box.h"
#include "common/conversion_error.h"
#include "common/time_text.h"
#include "db/db_error.h"
#include "entries/activity_grid_rules.h"
#include "entries/ui/activity_grid_view.h"
#include "entries/ui/day_activities_panel.h"
#include "entries/ui/entry_widgets.h"
#include "entries/ui/day_totals_grid.h"
#include "entries/ui/entry_header_panel.h"
#include "entries/ui/activity_rows_model.h"
#include "entries/day_totals.h"
#include "entries/entry_store.h"
#include "entries/ui/summary_rows_model.h"
#include "entries/totals_texts.h"
#include "session/session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 612;
const QMargins kPageMargins(4, 4, 4, 4);
const QMargins kGroupMargins(6, 6, 6, 6);
// Header and four rows of the summary grid.
constexpr int kSummaryGridHeight = 25 + 4 * 18 + 6;

QDate Yesterday()
{
    return QDate::currentDate().addDays(-1);
}

} // namespace

ManualEntryWindow::ManualEntryWindow(Session& session, int entryId, int templateId, QWidget* owner)
    : ModelessWindow(QStringLiteral("TfrmRucniUnos"), owner, session.settingsPath()), m_session(session),
      m_entryId(entryId),
      m_templateId(entryId == kNewId ? templateId : kNewId)
{
    setWindowTitle(QStringLiteral("Ručni unos podataka o radnim satima"));
    setFixedSize(kClientWidth, kClientHeight);
    Look::Paint(this, QPalette::Window, Look::kButtonFace);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("Stranice"));
    m_basicPage = buildBasicPage();
    m_detailsPage = buildDetailsPage();
    m_summaryPage = buildSummaryPage();
    m_pages->addTab(m_basicPage, QStringLiteral("Osnovni podaci"));
    m_pages->addTab(m_detailsPage, QStringLiteral("Detalji"));
    m_pages->addTab(m_summaryPage, QStringLiteral("Sumarni unos"));

    m_scannedMark = new QToolButton(m_pages);
    m_scannedMark->setObjectName(QStringLiteral("Skenirani"));
    m_scannedMark->setText(QStringLiteral("     Skenirani listić "));
    m_scannedMark->setIcon(style()->standardIcon(QStyle::SP_DriveCDIcon));
    m_scannedMark->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_scannedMark->setFocusPolicy(Qt::NoFocus);
    m_scannedMark->setStyleSheet(QStringLiteral("QToolButton { background: yellow; font-weight: bold; border: none; }"));
    m_pages->setCornerWidget(m_scannedMark, Qt::TopRightCorner);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pages, 1);
    layout->addWidget(buildButtonBar());

    connect(m_pages, &QTabWidget::currentChanged, this, &ManualEntryWindow::enterShownPage);
    // The pages are reached from any field, also from the pick lists, which keep Ctrl+Tab to themselves.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this), &QShortcut::activated, this,
            [this] { turnPage(1); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), this), &QShortcut::activated, this,
            [this] { turnPage(-1); });

    connect(&m_session.settings(), &Settings::changed, this, [this] { m_day->applySettings(m_session.values()); });
    restorePlacement();
    refill();
}

QWidget* ManualEntryWindow::buildBasicPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(kPageMargins);

    EntryHeaderPanel::Setup setup;
    setup.driverListName = "Vozac";
    setup.vehicleListName = "Vozilo";
    setup.distanceName = "Predjeno";
    setup.kmMarkerName = "KmMarker";
    setup.kmMarkerHint = QStringLiteral("Razlika kilometraže uz aktivnosti i  definiranog uz ručni unos (osnovni podac)");
    setup.activeOnly = m_entryId == kNewId;
    setup.remarkOnSeveralLines = true;
    setup.distanceFromTypedReadingsOnly = true;
    m_header = new EntryHeaderPanel(m_session, setup, page);

    m_detailed = new QCheckBox(QStringLiteral("Omogući detaljni unos satnice (u suprotnom samo sumarno!)"), m_header);
    m_detailed->setObjectName(QStringLiteral("Detaljno"));
    m_detailed->setStyleSheet(QStringLiteral("QCheckBox { color: blue; font-weight: bold; spacing: 2px; }"));
    QFont detailFont = m_detailed->font();
    detailFont.setPointSizeF(detailFont.pointSizeF() * 0.95);
    m_detailed->setFont(detailFont);
    m_header->addPeopleRow(m_detailed);

    m_existingMenu = new QMenu(this);
    m_existingMenu->setObjectName(QStringLiteral("PostojiUnosMenu"));
    m_existingWarning = new QToolButton(m_header);
    m_existingWarning->setObjectName(QStringLiteral("PostojiUnos"));
    m_existingWarning->setText(QStringLiteral("Već postoji unos za taj datum"));
    m_existingWarning->setToolTip(QStringLiteral("Kliknite za popis unosa tog dana (otvara odabrani unos)"));
    m_existingWarning->setStyleSheet(QStringLiteral("QToolButton { color: red; font-weight: bold; border: none; }"));
    m_existingWarning->setCursor(Qt::PointingHandCursor);
    m_existingWarning->setPopupMode(QToolButton::InstantPopup);
    m_existingWarning->setMenu(m_existingMenu);
    m_existingWarning->setFocusPolicy(Qt::StrongFocus);
    KeepRoomWhenHidden(m_existingWarning);
    m_existingWarning->hide();
    m_header->setDateNote(m_existingWarning);

    m_startPanel = new QFrame(m_header);
    m_startPanel->setObjectName(QStringLiteral("PocetakKrajPanel"));
    m_startPanel->setFrameShape(QFrame::StyledPanel);
    auto* startLayout = new QHBoxLayout(m_startPanel);
    m_workStart = NewLineEdit(m_startPanel, "PocetakPuta");
    m_workEnd = NewReadOnlyLine(m_startPanel, "KrajPuta");
    startLayout->addWidget(NewLabel(QStringLiteral("Početak:"), m_startPanel));
    startLayout->addWidget(m_workStart);
    startLayout->addWidget(NewLabel(QStringLiteral("Kraj:"), m_startPanel));
    startLayout->addWidget(m_workEnd);
    m_header->addDayRow(m_startPanel, m_workStart);
    // Tab runs through what every entry needs; the two add buttons come after it.
    m_header->chainTabOrder({});
    layout->addWidget(m_header);
    layout->addStretch(1);

    m_storedAt = NewLabel(QString(), page, "Uneseno");
    m_storedAt->setAlignment(Qt::AlignRight);
    m_storedAt->setStyleSheet(QStringLiteral("QLabel { color: grey; font-weight: bold; }"));
    layout->addWidget(m_storedAt);

    connect(m_detailed, &QCheckBox::toggled, this, &ManualEntryWindow::showDetailsOrSummary);
    connect(m_header, &EntryHeaderPanel::driverOrDateChosen, this, &ManualEntryWindow::checkExistingEntries);
    m_header->driverList()->installEventFilter(this);
    connect(m_header, &EntryHeaderPanel::kilometresLeft, this, [this] {
        showDetailedTotals();
        showSummaryTotals();
    });
    connect(m_workStart, &QLineEdit::editingFinished, this, &ManualEntryWindow::normaliseWorkStart);
    return page;
}

QWidget* ManualEntryWindow::buildDetailsPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(kPageMargins);
    m_day = new DayActivitiesPanel(m_session.values(), {QStringLiteral("AGrid"), QStringLiteral("TotalsGrid"), QStringLiteral("Ukupno"),
                                    QStringLiteral("UkupnoMarker"), QStringLiteral("Kilometara"),
                                    QStringLiteral("Litara"), QStringLiteral("Prosjek")},
                                   QStringLiteral("Dnevno - sumarni obračun:"), page);
    m_foreignIntervals = NewLabel(QString(), m_day, "NepoznateAktivnosti");
    m_foreignIntervals->setWordWrap(true);
    m_foreignIntervals->setStyleSheet(QStringLiteral("QLabel { color: red; }"));
    m_foreignIntervals->hide();
    m_day->addBelowGrid(m_foreignIntervals);
    layout->addWidget(m_day, 1);
    return page;
}

QWidget* ManualEntryWindow::buildSummaryPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(kPageMargins);

    auto* hours = new QGroupBox(QStringLiteral("Satnica - ukupno (dnevno, noćno): "), page);
    auto* hoursLayout = new QVBoxLayout(hours);
    m_summary = new SummaryRowsModel(this);
    m_summaryGrid = new QTableView(hours);
    m_summaryGrid->setObjectName(QStringLiteral("SumGrid"));
    m_summaryGrid->setModel(m_summary);
    m_summaryGrid->verticalHeader()->hide();
    m_summaryGrid->verticalHeader()->setDefaultSectionSize(18);
    m_summaryGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_summaryGrid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                                   | QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    m_summaryGrid->setColumnWidth(SummaryRowsModel::Aktivnost, 110);
    m_summaryGrid->setColumnWidth(SummaryRowsModel::Dnevno, 65);
    m_summaryGrid->setColumnWidth(SummaryRowsModel::Nocno, 65);
    m_summaryGrid->setColumnWidth(SummaryRowsModel::Ukupno, 65);
    m_summaryGrid->horizontalHeader()->setFixedHeight(25);
    m_summaryGrid->setFixedHeight(kSummaryGridHeight);
    hoursLayout->addWidget(m_summaryGrid);
    layout->addWidget(hours);

    auto* values = new QGridLayout;
    m_summaryTotal = NewValue(page, "SumUkupno");
    m_summaryTotal->setStyleSheet(QStringLiteral("QLabel { color: %1; font-weight: bold; }").arg(Look::kTeal.name()));
    m_summaryMarker = NewOverOneDayMarker(page, "SumMarker");
    m_summaryWarning = NewLabel(QString(), page, "SumUpozorenje");
    m_summaryWarning->setStyleSheet(QStringLiteral("QLabel { color: red; font-weight: bold; }"));
    m_summaryWarning->setWordWrap(true);
    m_summaryWarning->hide();
    m_summaryKilometres = NewValue(page, "SumKilometara");
    m_summarySpeed = NewValue(page, "SumProsjek");
    values->addWidget(NewLabel(QStringLiteral("Ukupno:"), page), 0, 0);
    values->addWidget(m_summaryTotal, 0, 1);
    values->addWidget(m_summaryMarker, 0, 2);
    values->addWidget(m_summaryWarning, 1, 0, 1, 4);
    values->addWidget(NewLabel(QStringLiteral("Kilometara:"), page), 2, 0);
    values->addWidget(m_summaryKilometres, 2, 1, 1, 2);
    values->addWidget(NewLabel(QStringLiteral("Prosjek:"), page), 3, 0);
    values->addWidget(m_summarySpeed, 3, 1, 1, 2);
    values->setColumnStretch(3, 1);
    layout->addLayout(values);
    layout->addStretch(1);

    connect(m_summary, &QAbstractItemModel::dataChanged, this, [this] { showSummaryTotals(); });
    connect(m_summary, &SummaryRowsModel::inputRefused, this,
            [this](const QString& message) { ShowError(this, message); }, Qt::QueuedConnection);
    return page;
}

QWidget* ManualEntryWindow::buildButtonBar()
{
    auto* bar = new ButtonBar(this);
    m_cancel = bar->addButton("Otkazi", QStringLiteral("Otkaži"), ButtonBar::Side::Left);
    m_cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    m_newFromThis = bar->addButton("NoviPremaOvom", QStringLiteral("Novi prema ovom"), ButtonBar::Side::Right);
    m_newFromThis->setStyleSheet(QStringLiteral("QPushButton { color: %1; }").arg(Look::kMaroon.name()));
    m_store = bar->addButton("Spremi", QString(), ButtonBar::Side::Right);
    m_store->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    m_store->setToolTip(QStringLiteral("Ctrl+S"));

    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
    connect(m_newFromThis, &QPushButton::clicked, this, &ManualEntryWindow::newFromThis);
    connect(m_store, &QPushButton::clicked, this, &ManualEntryWindow::storeEntry);
    return bar;
}

void ManualEntryWindow::refill()
{
    m_scannedMark->hide();
    m_night = m_session.values().night;
    m_header->reset(Yesterday());
    m_day->rows()->setRows({NewIntervalRow()});
    m_pages->setCurrentWidget(m_basicPage);
    const bool editing = m_entryId != kNewId;
    // Alt+A or Alt+P, besides Ctrl+S and Ctrl+Enter from anywhere in the window.
    m_store->setText(editing ? QStringLiteral("&Promijeni") : QStringLiteral("&Arhiviraj"));
    m_newFromThis->setVisible(editing);
    m_summary->setMinutes(SummaryMinutes{});
    m_storedAt->hide();

    if (editing)
        loadEntry(m_entryId, false);
    else if (m_templateId != kNewId)
        loadEntry(m_templateId, true);
    else
        m_detailed->setChecked(true);
    showDetailsOrSummary();
    showDetailedTotals();
    showSummaryTotals();
    m_header->driverList()->setFocus();
}

void ManualEntryWindow::loadEntry(int id, bool asTemplate)
{
    std::optional<LoadedEntry> loaded;
    try {
        Transaction read = m_session.read();
        loaded = LoadEntry(read, id, m_session.values().night);
    } catch (const DbError& error) {
        ShowError(this, error.text());
        return;
    }
    if (!loaded) {
        if (!asTemplate)
            m_detailed->setChecked(true);
        return;
    }
    if (asTemplate) {
        showEntry(EntryFromTemplate(*loaded, m_session.values().night, Yesterday()));
        return;
    }
    showEntry(loaded->entry);
    m_foreignIntervals->setText(ForeignIntervalsText(loaded->foreignIntervals));
    m_foreignIntervals->setVisible(!loaded->foreignIntervals.empty());
    m_scannedMark->setVisible(loaded->scannedChart);
    m_storedAt->setText(StoredAtText(loaded->storedAt));
    m_storedAt->show();
}

void ManualEntryWindow::showEntry(const ManualEntry& entry)
{
    m_entryId = entry.entryId;
    m_entryDayId = entry.entryDayId;
    m_night = entry.night;
    m_header->setValue(entry);
    m_header->setDistance(entry.distance);

    m_day->rows()->setIntervals(entry.intervals);
    if (entry.detailed) {
        m_summary->setMinutes(SummaryMinutes{});
    } else {
        m_summary->setMinutes(entry.summary);
        m_workStart->setText(FormatMinutes(entry.workStart));
    }
    m_detailed->setChecked(entry.detailed);
    showDetailedTotals();
}

void ManualEntryWindow::showDetailsOrSummary()
{
    const bool detailed = m_detailed->isChecked();
    // A hidden page is also disabled, so that Ctrl+Tab passes over it.
    for (auto [page, shown] : {std::pair{m_detailsPage, detailed}, std::pair{m_summaryPage, !detailed}}) {
        m_pages->setTabEnabled(m_pages->indexOf(page), shown);
        m_pages->setTabVisible(m_pages->indexOf(page), shown);
    }
    m_startPanel->setVisible(!detailed);
}

void ManualEntryWindow::enterShownPage(int page)
{
    QWidget* shown = m_pages->widget(page);
    if (shown == m_detailsPage) {
        m_day->grid()->setFocus();
        m_day->grid()->enterGrid();
    } else if (shown == m_summaryPage) {
        m_summaryGrid->setFocus();
        const QModelIndex current = m_summaryGrid->currentIndex();
        if (!(current.flags() & Qt::ItemIsEditable))
            m_summaryGrid->setCurrentIndex(m_summary->index(std::max(current.row(), 0), SummaryRowsModel::Dnevno));
    }
}

void ManualEntryWindow::turnPage(int step)
{
    const int count = m_pages->count();
    int page = m_pages->currentIndex();
    for (int i = 1; i < count; ++i) {
        page = (page + step + count) % count;
        if (m_pages->isTabEnabled(page)) {
            m_pages->setCurrentIndex(page);
            return;
        }
    }
}

bool ManualEntryWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_header->driverList() && event->type() == QEvent::FocusOut)
        checkExistingEntries();
    return QWidget::eventFilter(watched, event);
}

void ManualEntryWindow::checkExistingEntries()
{
    if (m_entryId != kNewId)
        return;
    m_existingWarning->hide();
    m_existingMenu->clear();
    const int driverId = m_header->driverId();
    if (driverId == kNoneChosen)
        return;
    std::vector<DayEntry> entries;
    try {
        Transaction read = m_session.read();
        entries = EntriesOfDay(read, driverId, m_header->date());
    } catch (const DbError& error) {
        ShowError(this, error.text());
        return;
    }
    for (const DayEntry& entry : entries) {
        QAction* item = m_existingMenu->addAction(entry.caption());
        const int id = entry.entryId;
        connect(item, &QAction::triggered, this, [this, id] { openedFromHere(OpenManualEntryWindow(m_session, id, kNewId, parentWidget())); });
    }
    m_existingWarning->setVisible(!entries.empty());
}

int ManualEntryWindow::workStartMinutes() const
{
    try {
        return MinutesBetween(ParseTimeText(m_workStart->text()), 0);
    } catch (const ConversionError&) {
        return 0;
    }
}

void ManualEntryWindow::normaliseWorkStart()
{
    try {
        m_workStart->setText(FormatMinutes(MinutesBetween(ParseTimeText(m_workStart->text()), 0)));
    } catch (const ConversionError& error) {
        ShowError(this, error.text());
    }
    showSummaryTotals();
}

void ManualEntryWindow::showDetailedTotals()
{
    m_day->setNight(m_night);
    m_day->setDistance(m_header->distance());
}

void ManualEntryWindow::showSummaryTotals()
{
    const SummaryMinutes& minutes = m_summary->minutes();
    const DayTotals totals = SummaryToDayTotals(minutes, workStartMinutes());
    const QString warning = SummaryWarning(totals.workStart, totals.totalMinutes);
    m_summaryTotal->setText(SummaryTotalText(totals.totalMinutes));
    m_summaryWarning->setText(warning);
    m_summaryWarning->setVisible(!warning.isEmpty());
    m_summaryMarker->setVisible(!warning.isEmpty());
    m_workEnd->setText(FormatMinutes(totals.workEnd));
    const Decimal3 distance = m_header->distance();
    m_summaryKilometres->setText(SummaryKilometresText(distance));
    m_summarySpeed->setText(AverageSpeed(distance, totals.minutes(ActivityKind::Driving)));
}

bool ManualEntryWindow::commitTyping()
{
    // Leaving an open grid cell or a field takes what was typed into it.
    m_store->setFocus(Qt::OtherFocusReason);
    return !m_day->refusalToShow();
}

ManualEntry ManualEntryWindow::entryFromFields() const
{
    ManualEntry entry;
    static_cast<EntryHeader&>(entry) = m_header->value();
    entry.entryId = m_entryId;
    entry.entryDayId = m_entryDayId;
    entry.distance = m_header->distance();
    entry.night = m_night;
    entry.detailed = m_detailed->isChecked();
    entry.intervals = m_day->rows()->intervals();
    entry.summary = m_summary->minutes();
    entry.workStart = workStartMinutes();
    return entry;
}

void ManualEntryWindow::storeEntry()
{
    if (!commitTyping())
        return;
    ManualEntry entry = entryFromFields();
    const WriteResult result = StoreTryingAgain(this, [&] {
        Transaction write = m_session.write();
        return StoreManualEntry(write, entry);
    });
    if (!result.done)
        return;
    m_entryId = entry.entryId;
    m_entryDayId = entry.entryDayId;
    emit m_session.entriesChanged();
    close();
}

void ManualEntryWindow::newFromThis()
{
    openedFromHere(OpenManualEntryWindow(m_session, kNewId, m_entryId, parentWidget()));
}

ManualEntryWindow* OpenManualEntryWindow(Session& session, int entryId, int templateId, QWidget* owner)
{
    auto* window = new ManualEntryWindow(session, entryId, templateId, owner);
    window->show();
    return window;
}
