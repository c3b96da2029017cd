#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

class Connection;

// Cheap checks that a database file is whole, made at start-up before anything in it is
// changed. Each gives what is wrong (for the detail line behind the operator's message), or
// nothing when the check finds no fault. A full check (gfix -v -full) reads every page; these
// read the page inventory, the pages the catalogue lists and the first row of each table.

// Before attaching, for a local file: a database header, and no page in use beyond the end of
// the file (a file cut short by a full disk or an interrupted copy). A missing file, and a
// server path (host:path), are left to the connection.
std::optional<QString> DatabaseFileDamage(const QString& path);

// After attaching: the tables every database of this program has from its first day that this
// one lacks; a database that lacks them is another program's. Throws DbError.
QStringList MissingBaseTables(Connection& connection);

// After attaching: the program's tables read, and, for a local file, every page the catalogue lists
// (transaction inventories, generator, pointer and index root pages) and every data page a
// pointer page of the program's tables lists has the kind of page expected there. Reads in a
// read-only transaction of its own; writes nothing. A right the account lacks is no damage:
// that refusal is thrown (DbError).
std::optional<QString> DatabaseStructureDamage(Connection& connection, const QString& path);

// Attaching and checking writes a few counters of the engine's own into a database file (its
// header, transaction inventory and page change counters). The pages that hold them, taken
// before the checks, give a refused file back byte for byte once the checks have let go of it.
class PageSnapshot {
public:
    // Nothing for a path that is no readable database file (a server location, say).
    static PageSnapshot take(const QString& path);
    // Writes the pages back; false when the file could not be written.
    bool restore() const;

private:
    QString m_path;
    qint64 m_size = 0;
    std::vector<std::pair<qint64, QByteArray>> m_pages;
};

// What the operator is told of a damaged database.
QString DamagedDatabaseMessage(const QString& path);

// What the operator is told of another program's database.
QString ForeignDatabaseMessage(const QString& path, const QStringList& missingTables);
