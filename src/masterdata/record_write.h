#pragma once

#include "db/scopes.h"

#include <QString>

#include <functional>

class Statement;
class Transaction;

// Runs the query `select` (with the parameter :ID set to `id`) on the read transaction and
// hands its first row to `read`; false when there is no row. A database error is passed on.
bool ReadRecord(Transaction& read, const QString& select, int id, const std::function<void(const Statement&)>& reader);

