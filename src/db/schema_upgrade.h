#pragma once

#include "db/database_location.h"

#include <QString>

#include <functional>

class Connection;

// Shows one message to the operator (a message box in the program, a line on the console),
// with the database's own text of the failure behind it for those who want to know more.
using MessageSink = std::function<void(const QString& message, const QString& databaseError)>;

// Opens the connection on the database and brings its schema up to date,
// step by step, each step tested against the catalogue. Returns whether the connection is
// open afterwards. A database on a server that cannot be reached, or that refuses the account,
// gives a message naming the server, and nothing is changed.
bool ConnectAndUpgrade(Connection& connection, const QString& databasePath, const MessageSink& showMessage,
                       const DatabaseAccount& account = {});
