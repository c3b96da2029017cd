#pragma once

#include <QString>

class DbError;
struct DatabaseAccount;

// What the operator is told when the database's server cannot be used, in words that name the
// server, its port and where the account came from. The database's own text goes behind it.

// A database on a server could not be opened (refused account, server off or port closed).
QString ServerConnectionMessage(const QString& location, const DatabaseAccount& account, const DbError& error);

// The connection broke while a piece of work was under way: the work was not done.
QString ConnectionLostMessage(const QString& location);

// Another transaction holds the rows the work wanted to change.
QString LockConflictMessage();
