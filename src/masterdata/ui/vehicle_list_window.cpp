#include "masterdata/ui/vehicle_list_window.h"

#include "db/db_error.h"
#include "masterdata/ui/vehicle_window.h"
#include "masterdata/vehicle_store.h"
#include "session/session.h"
#include "ui/list_read_notice.h"
#include "ui/look.h"
#include "ui/message_box.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
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

std::vector<ListColumn<VehicleListRow>> VehicleColumns()
{
    using Row = VehicleListRow;
    return {
        {.caption = "#", .width = 35, .text = {}, .centred = true},
        {.caption = "Garažni broj", .width = 80, .text = [](const Row& row) { return row.garageNumber; }},
        {.caption = "Marka i tip vozila", .width = 175, .text = [](const Row& row) { return row.make; }, .background = Look::kCream},
        {.caption = "Oznaka", .width = 110, .text = [](const Row& row) { return row.plate; }, .centred = true},
        {.caption = "Masa (kg)", .width = 70, .text = [](const Row& row) { return row.mass; }},
        {.caption = "Nosivost (kg)", .width = 85, .text = [](const Row& row) { return row.payload; }},
        {.caption = "Uk.masa (kg)", .width = 80, .text = [](const Row& row) { return row.totalMass; }, .centred = true},
        {.caption = "Vrsta",
         .width = 70,
         .text = [](const Row& row) {
             static const QStringList kindNames = VehicleFilterNames();
             return row.kind >= 0 && row.kind < kindNames.size() ? kindNames[row.kind] : QString();
         },
         .centred = true},
    };
}

RecordListWindow::Setup VehicleListSetup()
{
    RecordListWindow::Setup setup;
    setup.objectName = "VozilaForm";
    setup.title = QStringLiteral("Pregled vozila - unos i pregled ");
    setup.pageCaption = QStringLiteral("Popis vozila");
    setup.addName = "DodajNovo";
    setup.addCaption = QStringLiteral("Dodaj novo");
    setup.filterNames = VehicleFilterNames();
    setup.filter = kAllVehiclesFilter;
    setup.onlyActiveName = "SamoAktivna";
    setup.onlyActiveCaption = QStringLiteral("Samo aktivna");
    setup.deleteQuestion = kDeleteQuestion;
    setup.size = QSize(770, 506);
    return setup;
}

} // namespace

VehicleListWindow::VehicleListWindow(Session& session, QWidget* parent)
    : RecordListWindow(session, VehicleListSetup(), new RecordListModel(RecordListModel::LooksOf(VehicleColumns()), nullptr),
                       parent),
      m_columns(VehicleColumns())
{
    m_note = new QPlainTextEdit(this);
    m_note->setObjectName(QStringLiteral("Napomena"));
    m_note->setReadOnly(true);
    m_note->setMaximumHeight(70);
    Look::Paint(m_note, QPalette::Base, Look::kCream);
    m_noteBox = new QGroupBox(QStringLiteral("Napomena o vozilu"), this);
    m_noteBox->setObjectName(QStringLiteral("NapomenaBox"));
    (new QVBoxLayout(m_noteBox))->addWidget(m_note);
    addBelowGrid(m_noteBox);
    addBelowPage(buildCounters());

    connect(grid()->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &VehicleListWindow::showCurrentNote);
    restorePlacement();
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

void VehicleListWindow::readRows(Transaction* read, int filter, bool onlyActive)
{
    m_rows = read ? ReadVehicleList(*read, filter, onlyActive) : std::vector<VehicleListRow>{};
    model()->setRows(m_rows, m_columns);
}

void VehicleListWindow::listRead()
{
    showCurrentNote();
    if (readNotice().isRead())
        refreshCounters();
    else
        clearCounters();
}

void VehicleListWindow::refreshCounters()
{
    try {
        Transaction read = session().read();
        const VehicleCounts counts = CountVehicles(read, currentFilter());
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
    m_note->setPlainText(row >= 0 ? m_rows[static_cast<size_t>(row)].remark : QString());
}

std::unique_ptr<RecordWindow> VehicleListWindow::newRecordWindow()
{
    return std::make_unique<VehicleWindow>(session(), this);
}

bool VehicleListWindow::deleteRecord(int id)
{
    StoreTryingAgain(this, [&] {
        Transaction write = session().write();
        return DeleteVehicle(write, id);
    });
    return true;
}
