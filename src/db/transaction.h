#pragma once

namespace Firebird {
class ITransaction;
}
class Connection;

enum class TransactionAccess { ReadWrite, ReadOnly, Snapshot };

// A transaction on a connection, no wait: read committed with record versions, read-write, or
// read-only for browsing (a read-only read-committed transaction may stay open as long as a
// list is shown without holding back the database's clean-up); or a read-only snapshot, which
// sees the database as it was when it started, so that several reads of one list agree with
// each other whatever is stored meanwhile. Started and ended explicitly; one still active when
// destroyed (or when its connection closes) is rolled back.
class Transaction {
public:
    explicit Transaction(Connection& connection, TransactionAccess access = TransactionAccess::ReadWrite);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    Connection& connection() const { return m_connection; }
    bool isActive() const { return m_handle != nullptr; }

    void start();
    void startIfNotActive();
    void commit();
    // Commits and keeps the transaction open.
    void commitRetaining();
    void rollback();

    Firebird::ITransaction* handle() const;

private:
    friend class WriteScope;

    Connection& m_connection;
    int m_writeScopes = 0;  // write scopes open on this transaction, the outermost first
    TransactionAccess m_access;
    Firebird::ITransaction* m_handle = nullptr;
};
