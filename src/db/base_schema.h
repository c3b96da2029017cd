#pragma once

#include "db/database_location.h"

#include <QString>

// Creates a new database file (default character set WIN1250) for a new installation,
// holding the base tables that the program extends but never creates itself: DJELATNICI with
// GEN_DJELATNICI_ID, AKTPOTVRDA with a key assigned on insert, and the order tables VOZACI and
// UTOVARIVACI of the software that shares the database. Refuses to overwrite an existing file
// (a server refuses it itself). Throws DbError.
void CreateBaseDatabase(const QString& path, const DatabaseAccount& account = {});
