#include "masterdata/ui/vehicle_list_window.h"

#include "ui/button_bar.h"
#include "ui/grid_clipboard.h"
#include "ui/list_read_notice.h"
#include "ui/look.h"
#include "ui/message_box.h"
#include "ui/window_placement.h"
#include "session/session.h"
#include "db/db_error.h"
#include "masterdata/ui/vehicle_window.h"
#include "masterdata/ui/vehicle_list_model.h"
#include "masterdata/vehicle_list_query.h"
#include "masterdata/vehicle_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kDeleteQuestion = QStringLiteral("Jeste li sigurno da želite obrisati označeno vozilo iz baze?");

QLabel* NewCounter(QWidget* parent, const char* objectName)
{
    auto* label = new QLabel(QStringLiteral("0"), parent);
    label->setObjectName(QLatin1String(objectName));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}


}  // namespace

VehicleListWindow::VehicleListWindow(Session& session, QWidget* parent) : QDialog(parent), m_session(session)
{
    setObjectName(QStringLiteral("VozilaForm"));
    setWindowTitle(QStringLiteral("Pregled vozila - unos i pregled "));

    m_model = new VehicleListModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    const QFontMetrics headerFont = m_grid->horizontalHeader()->fontMetrics();
    for (int column = 0; column < VehicleListModel::ColumnCount; ++column) {
        const int width = VehicleListModel::columnWidth(static_cast<VehicleListModel::Column>(column));
        m_grid->setColumnWidth(column, Look::ColumnWidth(headerFont, width,
                                                         m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString()));
    }
    AddCopyTableAction(m_grid);
    m_notice = new ListReadNotice(m_grid, this);

    m_note = new QPlainTextEdit(this);
    m_note->setObjectName(QStringLiteral("Napomena"));
    m_note->setReadOnly(true);
    m_note->setMaximumHeight(70);
    Look::Paint(m_note, QPalette::Base, Look::kCream);
    m_noteBox = new QGroupBox(QStringLiteral("Napomena o vozilu"), this);
    m_noteBox->setObjectName(QStringLiteral("NapomenaBox"));
    (new QVBoxLayout(m_noteBox))->addWidget(m_note);

    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(buildToolBar());
    pageLayout->addWidget(m_notice);
    pageLayout->addWidget(m_grid, 1);
    pageLayout->addWidget(m_noteBox);
    auto* pages = new QTabWidget(this);
    pages->addTab(page, QStringLiteral("Popis vozila"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages, 1);
    layout->addWidget(buildCounters());

    connect(m_grid, &QTableView::doubleClicked, this, &VehicleListWindow::editChosen);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &VehicleListWindow::showCurrentNote);
    connect(m_uvjet, &QComboBox::currentIndexChanged, this, &VehicleListWindow::refresh);
    connect(m_samoAktivna, &QCheckBox::toggled, this, &VehicleListWindow::refresh);

    resize(770, 506);
    RestoreWindowPlacement(this, m_session.settingsPath());
}

VehicleListWindow::~VehicleListWindow()
{
    SaveWindowPlacement(this, m_session.settingsPath());
}

QWidget* VehicleListWindow::buildToolBar()
{
    auto* bar = new QWidget(this);
    auto* dodaj = NewToolButton(bar, "DodajNovo", QStringLiteral("Dodaj novo"));
    auto* promijeni = NewToolButton(bar, "Promijeni", QStringLiteral("Promijeni"));
    auto* obrisi = NewToolButton(bar, "Obrisi", QStringLiteral("Obriši"));
    m_uvjet = new QComboBox(bar);
    m_uvjet->setObjectName(QStringLiteral("Uvjet"));
    m_uvjet->addItems(VehicleFilterNames());
    m_uvjet->setCurrentIndex(kAllVehiclesFilter);
    m_samoAktivna = new QCheckBox(QStringLiteral("Samo aktivna"), bar);
    m_samoAktivna->setObjectName(QStringLiteral("SamoAktivna"));

    connect(dodaj, &QToolButton::clicked, this, &VehicleListWindow::addVehicle);
    connect(promijeni, &QToolButton::clicked, this, &VehicleListWindow::editChosen);
    connect(obrisi, &QToolButton::clicked, this, &VehicleListWindow::deleteChosen);

    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    for (QWidget* widget : std::initializer_list<QWidget*>{dodaj, promijeni, obrisi, m_uvjet, m_samoAktivna})
        row->addWidget(widget);
    row->addStretch();
    return bar;
}

QWidget* VehicleListWindow::buildCounters()
{
    auto* bar = new QFrame(this);
    Look::Paint(bar, QPalette::Window, Look::kButtonBar);
    m_total = NewCounter(bar, "UkupnoVozila");
    m_active = NewCounter(bar, "AktivnoVozila");
    m_shown = NewCounter(bar, "PrikazanoVozila");
    m_shownActive = NewCounter(bar, "OdTogaAktivno");
    auto* povratak = new QPushButton(QStringLiteral("Povratak"), bar);
    povratak->setObjectName(QStringLiteral("Povratak"));
    povratak->setAutoDefault(false);
    connect(povratak, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout(bar);
    grid->addWidget(new QLabel(QStringLiteral("Vozila u evidenciji:"), bar), 0, 0);
    grid->addWidget(m_total, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Aktivno vozila:"), bar), 1, 0);
    grid->addWidget(m_active, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Prikazano vozila:"), bar), 0, 2);
    grid->addWidget(m_shown, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Od toga aktivno:"), bar), 1, 2);
    grid->addWidget(m_shownActive, 1, 3);
    grid->setColumnStretch(4, 1);
    grid->addWidget(povratak, 0, 5, 2, 1);
    return bar;
}

void VehicleListWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        refresh();
}

int VehicleListWindow::currentRow() const
{
    return m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : -1;
}

void VehicleListWindow::refresh()
{
    const int position = std::max(currentRow(), 0);
    try {
        Transaction read = m_session.read();
        m_model->setRows(ReadVehicleList(read, m_uvjet->currentIndex(), m_samoAktivna->isChecked()));
        m_notice->showRead();
    } catch (const DbError& error) {
        m_model->setRows({});
        m_notice->showNotRead(error.text());
        clearCounters();
        showCurrentNote();
        ShowError(this, error.text());
        return;
    }
    if (m_model->rowCount() > 0)
        m_grid->selectRow(std::min(position, m_model->rowCount() - 1));
    showCurrentNote();
    refreshCounters();
}

void VehicleListWindow::refreshCounters()
{
    try {
        Transaction read = m_session.read();
        const VehicleCounts counts = CountVehicles(read, m_uvjet->currentIndex());
        m_total->setNum(counts.total);
        m_active->setNum(counts.active);
        m_shown->setNum(counts.shown);
        m_shownActive->setNum(counts.shownActive);
    } catch (const DbError& error) {
        clearCounters();
        ShowError(this, error.text());
    }
}

// Counters that could not be read show nothing rather than a count.
void VehicleListWindow::clearCounters()
{
    for (QLabel* counter : {m_total, m_active, m_shown, m_shownActive})
        counter->clear();
}

void VehicleListWindow::showCurrentNote()
{
    const int row = currentRow();
    m_noteBox->setVisible(row >= 0);
    m_note->setPlainText(row >= 0 ? m_model->remark(row) : QString());
}

void VehicleListWindow::editVehicle(int id)
{
    VehicleWindow record(m_session, this);
    record.ID = id;
    if (record.exec() == QDialog::Accepted)
        refresh();
}

void VehicleListWindow::addVehicle()
{
    editVehicle(-1);
}

void VehicleListWindow::editChosen()
{
    const int row = currentRow();
    if (row >= 0)
        editVehicle(m_model->vehicleId(row));
}

void VehicleListWindow::deleteChosen()
{
    const int row = currentRow();
    if (row < 0 || !AskYesNo(this, kDeleteQuestion))
        return;
    const int id = m_model->vehicleId(row);
    StoreTryingAgain(this, [&] {
        Transaction write = m_session.write();
        return DeleteVehicle(write, id);
    });
    refresh();
}
