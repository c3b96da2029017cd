#pragma once

#include <QString>
#include <QStringList>

class Statement;

// The kind filter of the vehicle list: the kinds in the plural (index = VRSTA), then "Ostao"
// (a kind no vehicle has) and "Sva vozila" (no filter).
QStringList VehicleFilterNames();
inline constexpr int kAllVehiclesFilter = 5;

// The list's query: every vehicle of the filter's kind (or all), optionally only the active
// ones (AKTIVNOALL 1 or NULL), ordered by make and plate.
QString VehicleListSql(int filter, bool onlyActive);

// The counters under the list. `shown` counts the filter's kind whether or not only active
// vehicles are listed; `shownActive` the active ones among them.
struct VehicleCounts {
    int total = 0;
    int active = 0;
    int shown = 0;
    int shownActive = 0;
};

// Counts in the statement's transaction (started when not active, committed after counting).
// A database error rolls the transaction back and is passed on as DbError.
VehicleCounts CountVehicles(Statement& sql, int filter);
