#pragma once

#include "attestation/attestation_register.h"

#include <QDialog>

#include <vector>

class DateField;
class ListReadNotice;
class QComboBox;
class QLabel;
class QTableWidget;
class Session;

// "Pregled evidencije AETR potvrda": the stored attestations of a date range, of one driver
// and activity when chosen, in the chosen order; opened, deleted, copied and printed from here.
// One window for the whole run, so the range and the order survive closing. Controls by
// object name: Dat1, Dat2, Image1, DjPopis, vrstaTip, ComboBox1, ThemeDBGrid1, BrojPotvrda,
// BrojDjelatnika, BitBtn7, Praznine, Povratak; context menu items ObrisiPotvrdu, Kopiraj.
class AttestationRegisterWindow : public QDialog {
    Q_OBJECT

public:
    explicit AttestationRegisterWindow(Session& session);
    ~AttestationRegisterWindow() override;

    // Brings the window to the front when it is showing, otherwise shows it modally. Attestation
    // windows opened from the list belong to this window, so that its modality leaves them free.
    void showOrExec();
    void reload();
    RegisterFilter filter() const;
    const std::vector<RegisterRow>& rows() const { return m_rows; }
    void print();

signals:
    // "Praznine u evidenciji": the window of time without records is wanted, owned by this one.
    void gapFinderRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refill();
    // The register could not be read: the list says so, its counts show nothing.
    void showNotRead(const QString& reason);
    void showRows(std::vector<RegisterRow> rows, int position);
    void takeBoundaryDates();
    void deleteCurrent();
    void copyList();
    void openCurrent();

    Session& m_session;
    bool m_shownBefore = false;
    std::vector<RegisterRow> m_rows;
    DateField* m_from = nullptr;
    DateField* m_to = nullptr;
    QComboBox* m_drivers = nullptr;
    QComboBox* m_activities = nullptr;
    QComboBox* m_order = nullptr;
    QTableWidget* m_grid = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_driverCount = nullptr;
    ListReadNotice* m_notice = nullptr;
};
