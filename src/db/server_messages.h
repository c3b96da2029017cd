#pragma once

#include <QString>

class DbError;
struct DatabaseAccount;

// What the operator is told when the database cannot be used as asked, in words that name the
// server, its port, where the account came from, or the right it lacks. The database's own
// text goes behind it.

// A database on a server could not be opened (refused account, server off or port closed).
QString ServerConnectionMessage(const QString& location, const DatabaseAccount& account, const DbError& error);

// The connection broke while a piece of work was under way: the work was not done.
QString ConnectionLostMessage(const QString& location);

// Another transaction holds the rows the work wanted to change.
QString LockConflictMessage();

// The account lacks a right (DbError::isPermissionDenied): the object and the right, and what
// the database's administrator does: the GRANT of the list in the instructions for a right on
// the data, or the upgrade run by the database's owner for a right to change its structure.
QString MissingRightMessage(const QString& location, const DatabaseAccount& account, const DbError& error);
