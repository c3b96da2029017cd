#pragma once

#include <QString>

#include <functional>

class Transaction;

// Work in the write transaction: the scope starts it when it is not active; `commit` ends the
// work; leaving the scope without a commit (a failure on the way) rolls everything back, so
// nothing of a failed write is left pending for a later commit. A scope opened inside another
// one's work (the transaction already active) is part of that work: its `commit` leaves the
// committing to the outer scope, and leaving it without a commit rolls the whole work back.
class WriteScope {
public:
    explicit WriteScope(Transaction& transaction);
    ~WriteScope();
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;

    Transaction& transaction() const { return m_transaction; }
    void commit();

private:
    Transaction& m_transaction;
    bool m_outermost;
    bool m_committed = false;
};

// Reading on the read-only transaction: started when not active, and left open, since a
// read-committed read sees every commit as it comes.
class ReadScope {
public:
    explicit ReadScope(Transaction& transaction);
    Transaction& transaction() const { return m_transaction; }

private:
    Transaction& m_transaction;
};

// The outcome of a write the operator is told of: done, or why not (the database's own error
// text). `id` is the key of the stored row (the new key for an insert).
struct WriteResult {
    bool done = false;
    QString message;
    int id = -1;
    bool lockConflict = false; // another user's transaction held the data: worth trying again
};

// Runs `work` in a write scope and commits; the database's refusal rolls back and becomes the
// result's message. `work` returns the key of what it stored.
WriteResult RunWrite(Transaction& transaction, const std::function<int()>& work);
