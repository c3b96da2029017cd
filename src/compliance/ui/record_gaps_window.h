#pragma once

#include "compliance/record_gaps.h"
#include "ui/modeless_window.h"

#include <memory>
#include <vector>

class AttestationBatchPrintout;
class ListReadNotice;
class PeriodDriverBar;
class QLabel;
class QTableWidget;
class Session;

// "Praznine u evidenciji": the time without records or attestations of one driver or of every
// active driver in a period (the last 28 days and today at first), and beside it the conflicts
// of the attestations. Enter or a double click on a gap ("Izradi potvrdu" as well) opens a new
// attestation filled for it; on a conflict, the attestation at fault. Whenever attestations or
// entries are stored the period is looked through again, so an attested gap leaves the list;
// it is looked through when the window opens, too.
// "Ispiši potvrde" prints every attestation made for the period, one form a page, and "Spremi
// potvrde kao PDF" saves them as one file. Each opening is a window of its own. Controls by
// object name: OdDatum, DoDatum, Vozac, Trazi, Praznine (the gaps), Sukobi (the conflicts),
// Sazetak, IzradiPotvrdu, IspisiPotvrde, SpremiPDF, Zatvori.
class RecordGapsWindow : public ModelessWindow {
    Q_OBJECT

public:
    explicit RecordGapsWindow(Session& session, QWidget* owner = nullptr);

    // "Traži": the chosen driver (or every active one) over the period.
    void search();
    // The attestation window for the gap of the row, filled.
    void attestGap(int row);
    // The attestation window of the conflict of the row.
    void openConflict(int row);
    // "Ispiši potvrde": through the preview or on the attestation printer.
    void printAttestations();
    // "Spremi potvrde kao PDF": to the path, or where the operator chooses when none is given.
    bool saveAttestationsPdf(const QString& path = QString());

private:
    struct GapLine {
        QString driverName;
        RecordGap gap;
    };
    struct ConflictLine {
        QString driverName;
        RecordConflict conflict;
    };

    // False when the drivers could not be read (shown as not read).
    bool fillDrivers();
    // The search could not read the record: the lists say so instead of showing none.
    void showNotRead(const QString& reason);
    void showFound();
    // Every attestation of the period, or nothing (and a message) when there is none.
    std::shared_ptr<AttestationBatchPrintout> attestationsPrintout();

    Session& m_session;
    PeriodDriverBar* m_bar = nullptr;
    QTableWidget* m_gaps = nullptr;
    QTableWidget* m_conflicts = nullptr;
    QLabel* m_summary = nullptr;
    ListReadNotice* m_notice = nullptr;
    std::vector<DriverGaps> m_found;
    std::vector<GapLine> m_gapLines;
    std::vector<ConflictLine> m_conflictLines;
};

// Opens a window of gaps, shown without blocking.
RecordGapsWindow* OpenRecordGapsWindow(Session& session, QWidget* owner);
