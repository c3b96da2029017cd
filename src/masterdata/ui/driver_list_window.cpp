#include "masterdata/ui/driver_list_window.h"

#include "db/db_error.h"
#include "db/scopes.h"
#include "masterdata/roster_printout.h"
#include "masterdata/ui/driver_window.h"
#include "print/ui/print_preview.h"
#include "session/session.h"
#include "ui/button_bar.h"
#include "ui/list_read_notice.h"
#include "ui/look.h"
#include "ui/message_box.h"

#include <QLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>

namespace {

const QColor kNumberColumn(241, 239, 226);

std::vector<ListColumn<DriverListRow>> DriverColumns()
{
    using Row = DriverListRow;
    return {
        {.caption = "#", .width = 35, .text = {}, .centred = true, .background = kNumberColumn},
        // MBR is copied as stored.
        {.caption = "MBR",
         .width = 45,
         .text = [](const Row& row) { return row.registrationNumber == 0 ? QString() : QString::number(row.registrationNumber); },
         .field = [](const Row& row) { return QString::number(row.registrationNumber); },
         .centred = true},
        {.caption = "Prezime i ime", .width = 175, .text = [](const Row& row) { return row.name; }, .background = Look::kCream},
        {.caption = "OIB", .width = 90, .text = [](const Row& row) { return row.oib; }},
        {.caption = "Vozač",
         .width = 0,
         .text = [](const Row& row) { return row.driver ? QStringLiteral("1") : QStringLiteral("0"); },
         .hidden = true},
        {.caption = "Kontakt", .width = 200, .text = [](const Row& row) { return row.contact; }},
        {.caption = "ID", .width = 0, .text = [](const Row& row) { return QString::number(row.id); }, .hidden = true},
        {.caption = "Kartica", .width = 100, .text = [](const Row& row) { return row.card; }, .centred = true},
    };
}

RecordListWindow::Setup DriverListSetup()
{
    RecordListWindow::Setup setup;
    setup.objectName = "DjelatniciForm";
    setup.title = QStringLiteral("Vozači/djelatnici - unos i pregled");
    setup.pageCaption = QStringLiteral("Popis djelatnika");
    setup.addName = "DodajNovog";
    setup.addCaption = QStringLiteral("Dodaj novog");
    setup.filterNames = DriverFilterNames();
    setup.filter = kAllEmployeesFilter;
    setup.onlyActiveName = "SamoAktivni";
    setup.onlyActiveCaption = QStringLiteral("Samo aktivni");
    setup.deleteQuestion = kDeleteDriverQuestion;
    setup.size = QSize(711, 509);
    return setup;
}

} // namespace

DriverListWindow::DriverListWindow(Session& session, QWidget* parent)
    : RecordListWindow(session, DriverListSetup(), new RecordListModel(RecordListModel::LooksOf(DriverColumns()), nullptr),
                       parent),
      m_columns(DriverColumns())
{
    auto* bar = new ButtonBar(this);
    QPushButton* back = bar->addButton("Povratak", QStringLiteral("Povratak"), ButtonBar::Side::Left);
    QPushButton* roster = bar->addButton("Izvjestaj", QStringLiteral("Izvještaj - popis"), ButtonBar::Side::Right);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    connect(roster, &QPushButton::clicked, this, &DriverListWindow::printRoster);
    layout()->setContentsMargins(0, 0, 0, 0);
    addBelowPage(bar);
    restorePlacement();
}

void DriverListWindow::showEvent(QShowEvent* event)
{
    RecordListWindow::showEvent(event);
    if (!event->spontaneous())
        grid()->setFocus();
}

void DriverListWindow::readRows(Transaction* read, int filter, bool onlyActive)
{
    m_rows = read ? ReadDriverList(*read, filter, onlyActive) : std::vector<DriverListRow>{};
    model()->setRows(m_rows, m_columns);
}

std::unique_ptr<RecordWindow> DriverListWindow::newRecordWindow()
{
    return std::make_unique<DriverWindow>(session(), this);
}

bool DriverListWindow::deleteRecord(int id)
{
    int orders = 0;
    try {
        Transaction write = session().write();
        WriteScope scope(write);
        orders = CountOrders(write, id);
        scope.commit();
    } catch (const DbError& error) {
        ShowError(this, error.text());
        return false;
    }
    if (orders > 0 && !AskYesNo(this, kDeleteDriverWithOrdersQuestion))
        return false;
    const WriteResult result = StoreTryingAgain(this, [&] {
        Transaction write = session().write();
        return DeleteDriver(write, id);
    });
    return result.done;
}

void DriverListWindow::printRoster()
{
    if (!readNotice().isRead()) {
        ShowError(this, readNotice().text());
        return;
    }
    const int row = currentRow();
    RosterData data{session().values().rosterHeader, m_rows, QDate::currentDate(), QDateTime::currentDateTime(), QString()};
    PresentPrintoutModally(session().printing(), std::make_shared<RosterPrintout>(std::move(data)), PrinterRole::Report,
                           this);
    if (model()->rowCount() > 0)
        grid()->selectRow(std::max(row, 0));
}
