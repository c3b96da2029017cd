#pragma once

#include "db/scopes.h"

#include <QString>

#include <functional>

class Statement;
class Transaction;

// Runs the query `select` (with the parameter :ID set to `id`) on the read transaction and
// hands its first row to `read`; false when there is no row. A database error is passed on.
bool ReadRecord(Transaction& read, const QString& select, int id, const std::function<void(const Statement&)>& reader);


// Writes one record: a new one (id < 0) under the next key of `generator` with `insert`, an
// existing one with `update`; `setParameters` sets the statement's parameters for the key.
// Gives the key. A database error is passed on.
int WriteRecord(Transaction& write, int id, const QString& generator, const QString& insert, const QString& update,
                const std::function<void(Statement&, int key)>& setParameters);
