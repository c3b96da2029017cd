#pragma once

#include <QString>

#include <functional>

class Statement;

// The outcome of storing a record: done, or the database's own error text. `id` is the key of
// the stored row (the new key for an insert).
struct WriteResult {
    bool done = false;
    QString message;
    int id = -1;
};

// Runs `work` in the statement's transaction (started when not active) and commits. When the
// database refuses anything, the whole transaction is rolled back, so nothing of the failed
// write stays pending for a later commit, and the error's text is returned.
WriteResult WriteInTransaction(Statement& sql, const std::function<int()>& work);

// Closes the statement and rolls its transaction back, keeping quiet about a second failure.
void RollBackQuietly(Statement& sql);

// Runs the query `select` (with the parameter :ID set to `id`) in the statement's transaction,
// started when not active and committed after reading, and hands its first row to `read`;
// false when there is no row. A database error rolls the transaction back and is passed on.
bool ReadRecord(Statement& sql, const QString& select, int id, const std::function<void(const Statement&)>& read);

// Column values of the current row: NULL as an empty text or as the given number.
QString ColumnText(const Statement& sql, const char* column);
int ColumnInt(const Statement& sql, const char* column, int nullValue);

// The next value of a generator ("SELECT GEN_ID(<generator>,1) FROM RDB$DATABASE").
int NextKey(Statement& sql, const QString& generator);
