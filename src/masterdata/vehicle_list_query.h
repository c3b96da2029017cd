#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class Transaction;

// The kind filter of the vehicle list: the kinds in the plural (index = VRSTA), then "Ostao"
// (a kind no vehicle has) and "Sva vozila" (no filter).
QStringList VehicleFilterNames();
inline constexpr int kAllVehiclesFilter = 5;

// The list's query: every vehicle of the filter's kind (or all), optionally only the active
// ones (AKTIVNOALL 1 or NULL), ordered by make and plate.
QString VehicleListSql(int filter, bool onlyActive);

// One line of the vehicle list; the masses as the number display shows stored decimals.
struct VehicleListRow {
    int id = 0;
    QString garageNumber;
    QString make;
    QString plate;
    QString mass;
    QString payload;
    QString totalMass;
    int kind = 0;
    QString remark;
};

// The rows of the list's query, read on the read transaction. Throws DbError.
std::vector<VehicleListRow> ReadVehicleList(Transaction& read, int filter, bool onlyActive);

// The counters under the list. `shown` counts the filter's kind whether or not only active
// vehicles are listed; `shownActive` the active ones among them.
struct VehicleCounts {
    int total = 0;
    int active = 0;
    int shown = 0;
    int shownActive = 0;
};

// Counts on the read transaction. Throws DbError.
VehicleCounts CountVehicles(Transaction& read, int filter);
