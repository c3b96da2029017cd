#pragma once

#include "masterdata/driver_list_query.h"
#include "masterdata/ui/record_list_model.h"
#include "masterdata/ui/record_list_window.h"

#include <vector>

// "Vozači/djelatnici - unos i pregled": the employees of the chosen filter, with adding,
// changing and deleting through the driver record window, copying, and the roster printout.
// One window, shown modally. Controls by object name: DodajNovog, Promijeni, Obrisi, Uvjet,
// SamoAktivni, DBGrid1, Povratak, Izvjestaj. The grid's columns: "#" (the position; its field
// is IDDJ), "MBR" (empty for 0), "Prezime i ime", "OIB", "Vozač" (hidden), "Kontakt", "ID"
// (hidden), "Kartica".
class DriverListWindow : public RecordListWindow {
    Q_OBJECT

public:
    explicit DriverListWindow(Session& session, QWidget* parent = nullptr);

    // "Izvještaj - popis": the roster of the list as it stands, in the preview.
    void printRoster();

protected:
    void showEvent(QShowEvent* event) override;
    void readRows(Transaction* read, int filter, bool onlyActive) override;
    std::unique_ptr<RecordWindow> newRecordWindow() override;
    bool deleteRecord(int id) override;

private:
    std::vector<ListColumn<DriverListRow>> m_columns;
    std::vector<DriverListRow> m_rows;
};
