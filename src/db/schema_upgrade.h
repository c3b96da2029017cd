#pragma once

#include "db/database_location.h"

#include <QString>

#include <functional>

class DbError;
class TDataModule1;

// Shows one message to the operator (a message box in the program, a line on the console),
// with the database's own text of the failure behind it for those who want to know more.
using MessageSink = std::function<void(const QString& message, const QString& databaseError)>;

// Opens the data module's connection on the database and brings its schema up to date,
// step by step, each step tested against the catalogue. Returns whether the connection is
// open afterwards. A database on a server that cannot be reached, or that refuses the account,
// gives a message naming the server, and nothing is changed.
bool ConnectAndUpgrade(TDataModule1& data, const QString& databasePath, const MessageSink& showMessage,
                       const DatabaseAccount& account = {});

// What the operator is told when a database on a server cannot be opened.
QString ServerConnectionMessage(const QString& location, const DatabaseAccount& account, const DbError& error);

// What the operator is told when the account lacks a right (DbError::isPermissionDenied): the
// object and the right, and what the database's administrator does: the GRANT of the list in
// the instructions for a right on the data, or the upgrade run by the database's owner for a
// right to change its structure.
QString MissingRightMessage(const QString& location, const DatabaseAccount& account, const DbError& error);
