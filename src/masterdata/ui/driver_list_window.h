#pragma once

#include <QDialog>

class DriverListModel;
class ListReadNotice;
class QCheckBox;
class QComboBox;
class QTableView;
class Session;

// "Vozači/djelatnici - unos i pregled": the employees of the chosen filter, with adding,
// changing and deleting through the driver record window, copying, and the roster printout.
// One window, shown modally. Controls by object name: DodajNovog, Promijeni, Obrisi, Uvjet,
// SamoAktivni, DBGrid1, Povratak, Izvjestaj.
class DriverListWindow : public QDialog {
    Q_OBJECT

public:
    explicit DriverListWindow(Session& session, QWidget* parent = nullptr);
    ~DriverListWindow() override;

    // Reads the list again, keeping the current row's position.
    void refresh();
    // "Izvještaj - popis": the roster of the list as it stands, in the preview.
    void printRoster();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildToolBar();
    int currentRow() const;
    void editDriver(int id);
    void addDriver();
    void editChosen();
    void deleteChosen();

    Session& m_session;
    DriverListModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    ListReadNotice* m_notice = nullptr;
    QComboBox* m_uvjet = nullptr;
    QCheckBox* m_samoAktivni = nullptr;
};
