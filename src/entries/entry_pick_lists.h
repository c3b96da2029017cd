#pragma once

#include <QString>

// The queries of the driver and vehicle lists of the entry windows: each selects the shown name
// and the key of a row, in that order. A new entry lists only active drivers and vehicles
// (an empty AKTIVNOALL counts as active); an entry being changed lists all of them, so that
// its own driver and vehicle are there even when they are no longer active.

QString DriverListQuery(bool activeOnly);
QString VehicleListQuery(bool activeOnly);
