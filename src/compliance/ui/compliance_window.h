#pragma once

#include "compliance/compliance_check.h"
#include "ui/modeless_window.h"

#include <vector>

class ListReadNotice;
class PeriodDriverBar;
class QLabel;
class QPushButton;
class QTableWidget;
class Session;

// "Kontrola propisa": the infringements of the driving, break and rest rules and of the
// working time rules, of one driver or all, in a period; with the totals per rule, the time
// without records, printing, and the list as CSV. A double click on an infringement opens the
// day graph of its first day. Each opening is a window of its own. Controls by object name:
// OdDatum, DoDatum, Vozac, Provjeri, Prekrsaji (the list), PoPropisu (the totals), Praznine,
// Ispisi, Kopiraj, SpremiCSV, Zatvori.
class ComplianceWindow : public ModelessWindow {
    Q_OBJECT

public:
    explicit ComplianceWindow(Session& session, QWidget* owner = nullptr);

    // "Provjeri": checks the chosen driver (or all) over the period.
    void check();
    // "Ispiši": the list through the preview or on the report printer.
    void print();
    // "Kopiraj": the list to the clipboard as CSV text.
    void copyList();
    // "Spremi CSV": the list to the file, or where the operator chooses when no path is given.
    bool saveCsv(const QString& path = QString());
    const std::vector<DriverCheck>& checks() const { return m_checks; }

private:
    // False when the drivers could not be read (shown as not read).
    bool fillDrivers();
    // The check could not read the record: the lists say so instead of showing none.
    void showNotRead(const QString& reason);
    void showChecks();
    void openDay(int row);

    Session& m_session;
    PeriodDriverBar* m_bar = nullptr;
    QTableWidget* m_list = nullptr;
    QTableWidget* m_totals = nullptr;
    QLabel* m_gaps = nullptr;
    ListReadNotice* m_notice = nullptr;
    std::vector<DriverCheck> m_checks;
    QDate m_checkedFrom;
    QDate m_checkedTo;
};

// Opens a compliance window, shown without blocking.
ComplianceWindow* OpenComplianceWindow(Session& session, QWidget* owner);
