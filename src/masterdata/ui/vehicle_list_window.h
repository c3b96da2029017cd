#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QTableView;
class ListReadNotice;
class Session;
class VehicleListModel;

// The vehicle list "Pregled vozila - unos i pregled ": every vehicle of the chosen kind, with
// adding, changing and deleting through the vehicle record window, a note box and counters.
// Shown modally with exec(); no result is used.
class VehicleListWindow : public QDialog {
    Q_OBJECT

public:
    explicit VehicleListWindow(Session& session, QWidget* parent = nullptr);
    ~VehicleListWindow() override;

    // Reads the list and the counters again, keeping the current row's position.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildToolBar();
    QWidget* buildCounters();
    int currentRow() const;
    void showCurrentNote();
    void refreshCounters();
    void clearCounters();
    void addVehicle();
    void editChosen();
    void deleteChosen();
    void editVehicle(int id);

    Session& m_session;
    VehicleListModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    ListReadNotice* m_notice = nullptr;
    QComboBox* m_uvjet = nullptr;
    QCheckBox* m_samoAktivna = nullptr;
    QGroupBox* m_noteBox = nullptr;
    QPlainTextEdit* m_note = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_active = nullptr;
    QLabel* m_shown = nullptr;
    QLabel* m_shownActive = nullptr;
};
