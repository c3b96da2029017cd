#include "attestation/ui/register_window.h"

#include "session/session.h"

#include "attestation/attestation_record.h"
#include "attestation/ui/attestation_window.h"
#include "db/db_error.h"
#include "masterdata/driver_list_query.h"
#include "print/ui/print_preview.h"
#include "ui/button_bar.h"
#include "ui/date_field.h"
#include "ui/list_read_notice.h"
#include "ui/look.h"
#include "ui/message_box.h"
#include "ui/window_placement.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStandardItemModel>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 850;
constexpr int kClientHeight = 520;
constexpr int kFirstListed = 2;  // after the "all" entry and the separator
const QString kSeparator = QStringLiteral("---");
enum Column { Datum, Razdoblje, ZaVozaca, Popunio, Vrsta, ColumnCount };
constexpr std::array<int, ColumnCount> kWidths{115, 225, 130, 130, 200};

// The separator entry "---": one entry, drawn as a line, that cannot be chosen.
void AddSeparator(QComboBox* list)
{
    list->insertSeparator(list->count());
    list->setItemText(list->count() - 1, kSeparator);
}

}  // namespace

AttestationRegisterWindow::AttestationRegisterWindow(Session& session) : QDialog(nullptr), m_session(session)
{
    setObjectName(QStringLiteral("frmAETROverview"));
    setWindowTitle(QStringLiteral("Pregled evidencije AETR potvrda"));

    auto* page = new QWidget;
    m_from = new DateField(page);
    m_from->setObjectName(QStringLiteral("Dat1"));
    m_to = new DateField(page);
    m_to->setObjectName(QStringLiteral("Dat2"));
    auto* boundary = new QToolButton(page);
    boundary->setObjectName(QStringLiteral("Image1"));
    boundary->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    boundary->setToolTip(QStringLiteral("Preuzmi rubne datume iz evidencijske baze"));
    m_drivers = new QComboBox(page);
    m_drivers->setObjectName(QStringLiteral("DjPopis"));
    m_activities = new QComboBox(page);
    m_activities->setObjectName(QStringLiteral("vrstaTip"));
    m_order = new QComboBox(page);
    m_order->setObjectName(QStringLiteral("ComboBox1"));
    m_order->addItems(RegisterOrderNames());

    m_grid = new QTableWidget(0, ColumnCount, page);
    m_grid->setObjectName(QStringLiteral("ThemeDBGrid1"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Datum potvrde"), QStringLiteral("Razdoblje"),
                                       QStringLiteral("Za vozača"), QStringLiteral("Popunio"),
                                       QStringLiteral("Vrsta aktivnosti")});
    m_grid->horizontalHeader()->setFont(Look::Bold(m_grid->horizontalHeader()->font()));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    for (int column = 0; column < ColumnCount; ++column)
        m_grid->setColumnWidth(column, kWidths[static_cast<size_t>(column)]);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* remove = new QAction(QStringLiteral("Obriši potvrdu"), m_grid);
    remove->setObjectName(QStringLiteral("ObrisiPotvrdu"));
    remove->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    remove->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    auto* copy = new QAction(QStringLiteral("Kopiraj u međuspremnik"), m_grid);
    copy->setObjectName(QStringLiteral("Kopiraj"));
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_grid->addActions({remove, copy});

    m_count = new QLabel(QStringLiteral("0"), page);
    m_count->setObjectName(QStringLiteral("BrojPotvrda"));
    m_driverCount = new QLabel(QStringLiteral("0"), page);
    m_driverCount->setObjectName(QStringLiteral("BrojDjelatnika"));
    for (QLabel* label : {m_count, m_driverCount})
        label->setFont(Look::Bold(label->font()));
    auto* print = new QPushButton(QStringLiteral("Ispiši"), page);
    print->setObjectName(QStringLiteral("BitBtn7"));
    print->setAutoDefault(false);
    auto* gaps = new QPushButton(QStringLiteral("Praznine u evidenciji"), page);
    gaps->setObjectName(QStringLiteral("Praznine"));
    gaps->setAutoDefault(false);

    auto* filters = new QGridLayout;
    filters->addWidget(new QLabel(QStringLiteral("Pregled za datume od"), page), 0, 0);
    filters->addWidget(m_from, 0, 1);
    filters->addWidget(new QLabel(QStringLiteral("do"), page), 0, 2);
    filters->addWidget(m_to, 0, 3);
    filters->addWidget(boundary, 0, 4);
    filters->addWidget(new QLabel(QStringLiteral("Djelatnik:"), page), 0, 5);
    filters->addWidget(m_drivers, 0, 6);
    filters->addWidget(new QLabel(QStringLiteral("Vrsta aktivnosti:"), page), 1, 0);
    filters->addWidget(m_activities, 1, 1, 1, 3);
    filters->addWidget(new QLabel(QStringLiteral("Sortiranje:"), page), 1, 5);
    filters->addWidget(m_order, 1, 6);
    filters->setColumnStretch(6, 1);
    auto* counts = new QHBoxLayout;
    counts->addWidget(new QLabel(QStringLiteral("Potvrda u popisu:"), page));
    counts->addWidget(m_count);
    counts->addSpacing(20);
    counts->addWidget(new QLabel(QStringLiteral("Djelatnika u popisu:"), page));
    counts->addWidget(m_driverCount);
    counts->addStretch(1);
    counts->addWidget(gaps);
    counts->addWidget(print);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addLayout(filters);
    m_notice = new ListReadNotice(m_grid, page);
    pageLayout->addWidget(m_notice);
    pageLayout->addWidget(m_grid, 1);
    pageLayout->addLayout(counts);
    auto* pages = new QTabWidget(this);
    pages->addTab(page, QStringLiteral("Evidentirane potvrde"));

    auto* bar = new ButtonBar(this);
    QPushButton* back = bar->addButton("Povratak", QStringLiteral("Povratak"), ButtonBar::Side::Right);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages, 1);
    layout->addWidget(bar);

    for (DateField* date : {m_from, m_to})
        connect(date, &DateField::committed, this, &AttestationRegisterWindow::reload);
    connect(boundary, &QToolButton::clicked, this, [this] {
        takeBoundaryDates();
        reload();
    });
    for (QComboBox* list : {m_drivers, m_activities}) {
        connect(list, &QComboBox::activated, this, [this, list](int index) {
            if (list->itemText(index) == kSeparator)
                list->setCurrentIndex(0);
            reload();
        });
    }
    connect(m_order, &QComboBox::activated, this, &AttestationRegisterWindow::reload);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &AttestationRegisterWindow::openCurrent);
    connect(remove, &QAction::triggered, this, &AttestationRegisterWindow::deleteCurrent);
    connect(copy, &QAction::triggered, this, &AttestationRegisterWindow::copyList);
    connect(print, &QPushButton::clicked, this, &AttestationRegisterWindow::print);
    connect(gaps, &QPushButton::clicked, this, &AttestationRegisterWindow::gapFinderRequested);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    // A stored or deleted attestation shows at once, whether or not the window is showing.
    connect(&m_session, &Session::attestationsChanged, this, &AttestationRegisterWindow::reload);

    resize(kClientWidth, kClientHeight);
    RestoreWindowPlacement(this, m_session.settingsPath());
}

AttestationRegisterWindow::~AttestationRegisterWindow()
{
    SaveWindowPlacement(this, m_session.settingsPath());
}

void AttestationRegisterWindow::showOrExec()
{
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    exec();
}

void AttestationRegisterWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        refill();
}

void AttestationRegisterWindow::refill()
{
    if (!m_shownBefore) {
        m_shownBefore = true;
        takeBoundaryDates();
    }
    std::vector<RecordDriver> employees;
    try {
        Transaction read = m_session.read();
        employees = LoadRecordDrivers(read);
    } catch (const DbError& error) {
        ShowComboNotRead(m_drivers, error.text());
        showNotRead(error.text());
        return;
    }
    m_drivers->clear();
    ShowComboRead(m_drivers);
    m_drivers->addItem(QStringLiteral("Svi djelatnici"));
    if (!employees.empty())
        AddSeparator(m_drivers);
    for (const RecordDriver& employee : employees)
        m_drivers->addItem(employee.name, employee.id);
    m_activities->clear();
    m_activities->addItem(QStringLiteral("Sve vrste aktivnosti"));
    AddSeparator(m_activities);
    for (const QString& activity : AttestedActivityTexts())
        m_activities->addItem(activity);
    m_drivers->setCurrentIndex(0);
    m_activities->setCurrentIndex(0);
    if (m_order->currentIndex() < 0)
        m_order->setCurrentIndex(0);
    reload();
}

void AttestationRegisterWindow::takeBoundaryDates()
{
    try {
        Transaction read = m_session.read();
        const auto [from, to] = BoundaryDates(read);
        m_from->setDate(from);
        m_to->setDate(to);
    } catch (const DbError& error) {
        ShowError(this, error.text());
    }
}

RegisterFilter AttestationRegisterWindow::filter() const
{
    RegisterFilter filter{m_from->date(), m_to->date(), std::nullopt, std::nullopt, m_order->currentIndex()};
    if (m_drivers->currentData().isValid())
        filter.driverId = m_drivers->currentData().toInt();
    if (m_activities->currentIndex() >= kFirstListed)
        filter.activity = m_activities->currentIndex() - kFirstListed;
    return filter;
}

void AttestationRegisterWindow::reload()
{
    if (!m_drivers->isEnabled()) {
        // The employees were not read: they are read first, and the register with them.
        refill();
        return;
    }
    const int position = m_grid->currentRow();
    std::vector<RegisterRow> rows;
    try {
        Transaction read = m_session.read();
        rows = LoadRegister(read, filter());
    } catch (const DbError& error) {
        showNotRead(error.text());
        return;
    }
    m_notice->showRead();
    showRows(std::move(rows), position);
}

void AttestationRegisterWindow::showNotRead(const QString& reason)
{
    showRows({}, -1);
    m_count->clear();
    m_driverCount->clear();
    m_notice->showNotRead(reason);
    ShowError(this, reason);
}

void AttestationRegisterWindow::showRows(std::vector<RegisterRow> rows, int position)
{
    m_rows = std::move(rows);
    m_grid->setRowCount(static_cast<int>(m_rows.size()));
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const RegisterRow& attestation = m_rows[static_cast<size_t>(row)];
        auto* period = new QTableWidgetItem(attestation.periodText());
        period->setTextAlignment(Qt::AlignCenter);
        m_grid->setItem(row, Datum, new QTableWidgetItem(attestation.date.toString(QStringLiteral("dd.MM.yyyy"))));
        m_grid->setItem(row, Razdoblje, period);
        m_grid->setItem(row, ZaVozaca, new QTableWidgetItem(attestation.driverName));
        m_grid->setItem(row, Popunio, new QTableWidgetItem(attestation.fillerName));
        m_grid->setItem(row, Vrsta, new QTableWidgetItem(attestation.activityText()));
    }
    if (!m_rows.empty())
        m_grid->selectRow(position >= 0 && position < m_grid->rowCount() ? position : 0);
    m_count->setText(QString::number(m_rows.size()));
    m_driverCount->setText(QString::number(CountDrivers(m_rows)));
    if (!m_rows.empty() && isVisible())
        m_grid->setFocus();
}

void AttestationRegisterWindow::openCurrent()
{
    const int row = m_grid->currentRow();
    if (row >= 0 && row < static_cast<int>(m_rows.size()))
        OpenAttestationWindow(m_session, m_rows[static_cast<size_t>(row)].id, this);
}

void AttestationRegisterWindow::deleteCurrent()
{
    const int row = m_grid->currentRow();
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || m_rows[static_cast<size_t>(row)].id <= 0)
        return;
    if (!AskYesNo(this, kDeleteAttestationQuestion))
        return;
    const int id = m_rows[static_cast<size_t>(row)].id;
    StoreTryingAgain(this, [&] {
        Transaction write = m_session.write();
        return DeleteAttestation(write, id);
    });
    reload();
}

void AttestationRegisterWindow::copyList()
{
    if (m_rows.empty())
        return;
    try {
        Transaction read = m_session.read();
        QGuiApplication::clipboard()->setText(RegisterCopyText(read, filter()));
    } catch (const DbError& error) {
        ShowError(this, error.text());
    }
}

void AttestationRegisterWindow::print()
{
    const SettingsValues& settings = m_session.values();
    RegisterPrintData data{settings.rosterHeader,
                           m_drivers->currentIndex() > 0 ? QStringLiteral("Vozač: ") + m_drivers->currentText()
                                                         : QStringLiteral("Svi djelatnici"),
                           QStringLiteral("Razdoblje: ") + m_from->date().toString(QStringLiteral("dd.MM.yyyy"))
                               + QStringLiteral(" - ") + m_to->date().toString(QStringLiteral("dd.MM.yyyy")),
                           m_rows, CountDrivers(m_rows), QDateTime::currentDateTime(), QString()};
    auto printout = std::make_shared<RegisterPrintout>(std::move(data));
    if (settings.reportPreview)
        PresentPrintoutModally(m_session.printing(), std::move(printout), PrinterRole::Report, this);
    else
        PresentPrintout(m_session.printing(), std::move(printout), PrinterRole::Report, false, this);
}
