#pragma once

#include "db/scopes.h"
#include "print/printout.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>

#include <optional>
#include <vector>

class Transaction;

// The orders of the register: "razdoblje od silazno" .. "vozač, razdoblje uzlazno".
QStringList RegisterOrderNames();

// What the register lists: attestations that reach into the range (starting or ending in it,
// or starting before it and ending after it), of one driver and one attested activity when
// chosen, in the chosen order.
struct RegisterFilter {
    QDate from;
    QDate to;
    std::optional<int> driverId;  // IDVOZ
    std::optional<int> activity;  // TIP
    int order = 0;                // index into RegisterOrderNames, -1 for none; by driver: the
                                  // names in their alphabetical order (common/name_order.h)
};

// One listed attestation.
struct RegisterRow {
    int id = 0;                   // IDP
    QDate date;                   // DATUM
    QDateTime start;              // RAZOD
    std::optional<QDateTime> end; // RAZDO
    int driverId = -1;            // IDVOZ, -1 for none chosen
    QString driverName;           // IME2
    QString fillerName;           // IME1
    int activity = -1;            // TIP

    // "Razdoblje": the start as "dd.mm.yyyy hh:mm", and " - " with the end when there is one.
    QString periodText() const;
    QString activityText() const;
};

// The list and its counts. Throws DbError.
std::vector<RegisterRow> LoadRegister(Transaction& read, const RegisterFilter& filter);
// "Djelatnika u popisu:": different drivers by id; attestations without a driver chosen by
// their driver names, letter case ignored.
int CountDrivers(const std::vector<RegisterRow>& rows);

// The range of all attestations: the day before the earliest start to the day after the latest
// start or end, at least ten days. Throws DbError.
std::pair<QDate, QDate> BoundaryDates(Transaction& read);

WriteResult DeleteAttestation(Transaction& write, int id);
inline const QString kDeleteAttestationQuestion = QStringLiteral("Jeste li sigurni da želite obrisati označenu potvrdu?");

// The register's lines as copied: the row number, then every column of the row.
QString RegisterCopyText(Transaction& read, const RegisterFilter& filter);

// "Popis izdanih potvrda o aktivnosti vozača" on A4 portrait with 10 mm margins.
struct RegisterPrintData {
    QString header;       // the settings' header text
    QString driverLine;   // naming the driver filter
    QString rangeLine;    // naming the date range
    std::vector<RegisterRow> rows;
    int drivers = 0;
    QDateTime printedAt;
    QString webAddress;
};

class RegisterPrintout : public Printout {
public:
    explicit RegisterPrintout(RegisterPrintData data);

    int pageCount() const override { return static_cast<int>(m_pages.size()); }
    void paintPage(PageCanvas& canvas, int page) const override;
    QString fileName() const override;

    // The rows of each page; the summary follows the last page's rows.
    const std::vector<std::vector<int>>& pages() const { return m_pages; }

private:
    RegisterPrintData m_data;
    std::vector<std::vector<int>> m_pages;
};
