#pragma once

#include "db/scopes.h"

#include <QString>
#include <QStringList>

#include <vector>

class Transaction;

// The filter of the driver list (index = position in the list).
QStringList DriverFilterNames();
inline constexpr int kAllEmployeesFilter = 1;

// The list's query: "SELECT * FROM DJELATNICI", the filter's condition, with "Samo aktivni" the
// condition ((AKTIVNOALL IS NULL) OR (AKTIVNOALL=1)) joined to the filter's as one unit, and
// "ORDER BY IMEPREZIME".
QString DriverListSql(int filter, bool onlyActive);

// One employee as the list and the roster show him.
struct DriverListRow {
    int id = 0;           // IDDJ
    int registrationNumber = 0;  // MBR
    QString name;         // IMEPREZIME
    QString oib;
    bool driver = false;  // VOZAC
    QString contact;      // KONTAKT
    QString card;         // KARTICA
    QString jobTitle;     // RADNOMJESTO
    QString title;        // ZVANJE
    QString idCard;       // OSOBNA
    int category = 0;     // TIP
    QString categoryText; // TIPS
    QString address;      // ADRESA
};

// The rows of the list's query, read on the read transaction, in the order of their names
// (common/name_order.h). Throws DbError.
std::vector<DriverListRow> ReadDriverList(Transaction& read, int filter, bool onlyActive);

// How many orders of the other software name the employee: as a driver (VOZACI) or, when none,
// as a loader (UTOVARIVACI). Counted in the write transaction, as the delete that follows.
// Throws DbError (a database without the order tables).
int CountOrders(Transaction& write, int id);

// Deletes the employee's row, and only it.
WriteResult DeleteDriver(Transaction& write, int id);

inline const QString kDeleteDriverQuestion = QStringLiteral("Jeste li sigurno da želite obrisati označenog djelatnika?");
inline const QString kDeleteDriverWithOrdersQuestion =
    QStringLiteral("Djelatnik kojeg želite obrisati ima pridružene naloge!\n"
                   "Brisanjem ćete izgubiti evidenciju o njegovom radu i tim nalozima!\n"
                   "\n"
                   "Jeste li sigurni da želite obrisati djelatnika?!");

// The category letter of TIP: empty for 0, "A" to "H" for 1 to 8, empty otherwise.
QString CategoryLetter(int category);

// An employee as the working-time record and the attestation register list him.
struct RecordDriver {
    int id = -1;
    QString name;
    QString oib;
};
// Every employee, driver or not, in the order of their names (common/name_order.h). Throws
// DbError.
std::vector<RecordDriver> LoadRecordDrivers(Transaction& read);
