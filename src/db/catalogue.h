#pragma once

#include <QString>
#include <QStringList>

class Statement;

// Catalogue questions, asked through the given statement object (its transaction is started
// when not active). Names are compared in upper case, as the catalogue keeps them.
bool TableHasColumn(Statement& statement, const QString& table, const QString& column);
// The user tables: no system tables, no views.
QStringList UserTables(Statement& statement);
// Whether an index of this name exists.
bool HasIndex(Statement& statement, const QString& index);
