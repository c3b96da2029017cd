#pragma once

#include <QString>

// The driver and vehicle lists of the entry windows. Each item is the shown name and the key
// joined by "||" ("Horvat Ivan||12"). A new entry lists only active drivers and vehicles
// (an empty AKTIVNOALL counts as active); an entry being changed lists all of them, so that
// its own driver and vehicle are there even when they are no longer active.

QString DriverListQuery(bool activeOnly);
QString VehicleListQuery(bool activeOnly);

// The key of a list item ("Horvat Ivan||12" -> 12), or -1 for an empty item.
int ListItemId(const QString& item);
