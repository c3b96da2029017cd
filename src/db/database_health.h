#pragma once

#include <QString>

#include <optional>

class TDataModule1;

// Cheap checks that a database file is whole, made at start-up before anything in it is
// changed. Each gives what is wrong (for the detail line behind the operator's message), or
// nothing when the check finds no fault. A full check (gfix -v -full) reads every page; these
// read the page inventory, the pages the catalogue lists and the first row of each table.

// Before attaching, for a local file: a database header, and no page in use beyond the end of
// the file (a file cut short by a full disk or an interrupted copy). A missing file, and a
// server path (host:path), are left to the connection.
std::optional<QString> DatabaseFileDamage(const QString& path);

// After attaching: the program's tables read, and, for a local file, every page the catalogue
// lists (page inventories, pointer and index root pages) and every data page a pointer page
// of the program's tables lists has the kind of page expected there. Runs on the data module's
// write transaction, which it leaves rolled back; writes nothing. A right the account lacks is
// no damage: that refusal is thrown (DbError).
std::optional<QString> DatabaseStructureDamage(TDataModule1& data, const QString& path);

// What the operator is told of a damaged database.
QString DamagedDatabaseMessage(const QString& path);
