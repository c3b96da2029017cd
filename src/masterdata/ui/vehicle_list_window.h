#pragma once

#include "masterdata/ui/record_list_model.h"
#include "masterdata/ui/record_list_window.h"
#include "masterdata/vehicle_list_query.h"

#include <vector>

class QGroupBox;
class QLabel;
class QPlainTextEdit;

// The vehicle list "Pregled vozila - unos i pregled ": every vehicle of the chosen kind, with
// adding, changing and deleting through the vehicle record window, a note box and counters.
// Shown modally with exec(); no result is used.
class VehicleListWindow : public RecordListWindow {
    Q_OBJECT

public:
    explicit VehicleListWindow(Session& session, QWidget* parent = nullptr);

protected:
    void readRows(Transaction* read, int filter, bool onlyActive) override;
    std::unique_ptr<RecordWindow> newRecordWindow() override;
    bool deleteRecord(int id) override;
    // The note of the current row and the counters.
    void listRead() override;

private:
    QWidget* buildCounters();
    void showCurrentNote();
    void refreshCounters();
    void clearCounters();

    std::vector<ListColumn<VehicleListRow>> m_columns;
    std::vector<VehicleListRow> m_rows;
    QGroupBox* m_noteBox = nullptr;
    QPlainTextEdit* m_note = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_active = nullptr;
    QLabel* m_shown = nullptr;
    QLabel* m_shownActive = nullptr;
};
