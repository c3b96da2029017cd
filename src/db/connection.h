#pragma once

#include "db/database_location.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace Firebird {
class IAttachment;
}
class FirebirdStatus;
class Statement;
class Transaction;

// The one connection to a database. The database name is a file path (opened by the
// embedded engine) or any Firebird connection string such as "host:path" (reached through
// a server); it is passed to the client library unchanged. Parameters are "name=value"
// texts in the order they are added (lc_ctype, user_name, password, ...). There is never a
// login prompt: the user name and password come from the parameters.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setDatabaseName(const QString& name) { m_databaseName = name; }
    const QString& databaseName() const { return m_databaseName; }
    QStringList& params() { return m_params; }
    const QStringList& params() const { return m_params; }
    // The parameters of the program's own connections: no character-set conversion (texts are
    // Windows-1250 bytes both ways) and the account, which messages name with its source.
    void setAccount(const DatabaseAccount& account);

    void open();
    // Releases every statement prepared on the connection (they must be prepared again after
    // the next open), rolls back every transaction still active, then detaches.
    void close();
    bool isOpen() const { return m_attachment != nullptr || m_lost; }
    // Whether the attachment is held now: not while a lost connection waits to be made again.
    bool isAttached() const { return m_attachment != nullptr; }

    // At the start of each piece of work. A connection lost earlier is made again; for a
    // database on a server, the server is asked whether it still holds this connection, and one
    // it lost (the server was restarted, say) is made again at once. While the server cannot be
    // reached, a DbError says so, naming the server; the next call tries again, as often as it
    // takes.
    void ensureAlive();

    // Turns a failed call's status into a DbError in the operator's words: a connection lost in
    // the middle of work (which drops it, so that the next piece of work connects again), a
    // lock held by another transaction, or a right the account lacks. Firebird's own text
    // follows.
    void check(FirebirdStatus& status);

    // Creates a new database file with the given default character set and leaves it closed.
    void createDatabase(const QString& defaultCharacterSet);

    Firebird::IAttachment* attachment() const;

    // Called with the text of every statement prepared on this connection.
    using StatementObserver = std::function<void(const QString& sql)>;
    void setStatementObserver(StatementObserver observer) { m_observer = std::move(observer); }
    void notifyStatement(const QString& sql) const;

private:
    friend class Transaction;
    friend class Statement;
    void attachTransaction(Transaction* transaction);
    void detachTransaction(Transaction* transaction);
    void attachStatement(Statement* statement);
    void detachStatement(Statement* statement);
    // Closes the open cursors of the statements on a transaction that is about to end.
    void closeCursorsOf(const Transaction* transaction);
    std::vector<unsigned char> parameterBlock(bool forCreate, const QString& characterSet) const;

    // Lets go of every handle of a connection the server no longer holds.
    void dropLost();
    void reconnect();

    QString m_databaseName;
    bool m_lost = false;
    QStringList m_params;
    DatabaseAccount m_account;
    Firebird::IAttachment* m_attachment = nullptr;
    std::vector<Transaction*> m_transactions;
    std::vector<Statement*> m_statements;
    StatementObserver m_observer;
};
