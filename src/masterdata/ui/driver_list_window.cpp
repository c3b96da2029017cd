#include "masterdata/ui/driver_list_window.h"

#include "db/scopes.h"
#include "session/session.h"
#include "db/db_error.h"
#include "masterdata/roster_printout.h"
#include "masterdata/ui/driver_window.h"
#include "masterdata/ui/driver_list_model.h"
#include "print/ui/print_preview.h"
#include "ui/button_bar.h"
#include "ui/grid_clipboard.h"
#include "ui/look.h"
#include "ui/message_box.h"
#include "ui/window_placement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 711;
constexpr int kClientHeight = 509;

}  // namespace

DriverListWindow::DriverListWindow(Session& session, QWidget* parent) : QDialog(parent), m_session(session)
{
    setObjectName(QStringLiteral("DjelatniciForm"));
    setWindowTitle(QStringLiteral("Vozači/djelatnici - unos i pregled"));

    m_model = new DriverListModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    const QFontMetrics headerFont = m_grid->horizontalHeader()->fontMetrics();
    for (int column = 0; column < DriverListModel::ColumnCount; ++column) {
        const auto which = static_cast<DriverListModel::Column>(column);
        m_grid->setColumnWidth(column, Look::ColumnWidth(headerFont, DriverListModel::columnWidth(which),
                                                         m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString()));
        m_grid->setColumnHidden(column, DriverListModel::columnHidden(which));
    }
    AddCopyTableAction(m_grid);

    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(buildToolBar());
    pageLayout->addWidget(m_grid, 1);
    auto* pages = new QTabWidget(this);
    pages->addTab(page, QStringLiteral("Popis djelatnika"));

    auto* bar = new ButtonBar(this);
    QPushButton* back = bar->addButton("Povratak", QStringLiteral("Povratak"), ButtonBar::Side::Left);
    QPushButton* roster = bar->addButton("Izvjestaj", QStringLiteral("Izvještaj - popis"), ButtonBar::Side::Right);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    connect(roster, &QPushButton::clicked, this, &DriverListWindow::printRoster);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages, 1);
    layout->addWidget(bar);

    connect(m_grid, &QTableView::doubleClicked, this, &DriverListWindow::editChosen);
    connect(m_uvjet, &QComboBox::currentIndexChanged, this, &DriverListWindow::refresh);
    connect(m_samoAktivni, &QCheckBox::toggled, this, &DriverListWindow::refresh);

    resize(kClientWidth, kClientHeight);
    RestoreWindowPlacement(this, m_session.settingsPath());
}

DriverListWindow::~DriverListWindow()
{
    SaveWindowPlacement(this, m_session.settingsPath());
}

QWidget* DriverListWindow::buildToolBar()
{
    auto* bar = new QWidget(this);
    auto* dodaj = NewToolButton(bar, "DodajNovog", QStringLiteral("Dodaj novog"));
    auto* promijeni = NewToolButton(bar, "Promijeni", QStringLiteral("Promijeni"));
    auto* obrisi = NewToolButton(bar, "Obrisi", QStringLiteral("Obriši"));
    m_uvjet = new QComboBox(bar);
    m_uvjet->setObjectName(QStringLiteral("Uvjet"));
    m_uvjet->addItems(DriverFilterNames());
    m_uvjet->setCurrentIndex(kAllEmployeesFilter);
    m_samoAktivni = new QCheckBox(QStringLiteral("Samo aktivni"), bar);
    m_samoAktivni->setObjectName(QStringLiteral("SamoAktivni"));
    connect(dodaj, &QToolButton::clicked, this, &DriverListWindow::addDriver);
    connect(promijeni, &QToolButton::clicked, this, &DriverListWindow::editChosen);
    connect(obrisi, &QToolButton::clicked, this, &DriverListWindow::deleteChosen);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    for (QWidget* widget : std::initializer_list<QWidget*>{dodaj, promijeni, obrisi, m_uvjet, m_samoAktivni})
        row->addWidget(widget);
    row->addStretch();
    return bar;
}

void DriverListWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    refresh();
    m_grid->setFocus();
}

int DriverListWindow::currentRow() const
{
    return m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : -1;
}

void DriverListWindow::refresh()
{
    const int position = std::max(currentRow(), 0);
    try {
        Transaction read = m_session.read();
        m_model->setRows(ReadDriverList(read, m_uvjet->currentIndex(), m_samoAktivni->isChecked()));
    } catch (const DbError& error) {
        m_model->setRows({});
        ShowError(this, error.text());
    }
    if (m_model->rowCount() > 0)
        m_grid->selectRow(std::min(position, m_model->rowCount() - 1));
}

void DriverListWindow::editDriver(int id)
{
    DriverWindow record(m_session, this);
    record.ID = id;
    if (record.exec() == QDialog::Accepted)
        refresh();
}

void DriverListWindow::addDriver()
{
    editDriver(-1);
}

void DriverListWindow::editChosen()
{
    const int row = currentRow();
    if (row >= 0)
        editDriver(m_model->rows()[static_cast<size_t>(row)].id);
}

void DriverListWindow::deleteChosen()
{
    const int row = currentRow();
    if (row < 0 || !AskYesNo(this, kDeleteDriverQuestion))
        return;
    const int id = m_model->rows()[static_cast<size_t>(row)].id;
    int orders = 0;
    try {
        Transaction write = m_session.write();
        WriteScope scope(write);
        orders = CountOrders(write, id);
        scope.commit();
    } catch (const DbError& error) {
        ShowError(this, error.text());
        return;
    }
    if (orders > 0 && !AskYesNo(this, kDeleteDriverWithOrdersQuestion))
        return;
    Transaction write = m_session.write();
    const WriteResult result = DeleteDriver(write, id);
    if (!result.done) {
        ShowError(this, result.message);
        return;
    }
    refresh();
}

void DriverListWindow::printRoster()
{
    const int row = currentRow();
    RosterData data{m_session.values().rosterHeader, m_model->rows(), QDate::currentDate(),
                    QDateTime::currentDateTime(), QString()};
    PresentPrintoutModally(m_session.printing(), std::make_shared<RosterPrintout>(std::move(data)), PrinterRole::Report,
                           this);
    if (m_model->rowCount() > 0)
        m_grid->selectRow(std::max(row, 0));
}
