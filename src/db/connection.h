#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace Firebird {
class IAttachment;
}
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

    void open();
    // Releases every statement prepared on the connection (they must be prepared again after
    // the next open), rolls back every transaction still active, then detaches.
    void close();
    bool isOpen() const { return m_attachment != nullptr || m_lost; }

    // For a database on a server, at the start of each piece of work: asks the server whether
    // it still holds this connection. One it lost (the server was restarted, say) is dropped
    // and reported with a DbError naming the server; the next call connects again. Nothing
    // happens for a local file.
    void ensureAlive();

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

    QString m_databaseName;
    bool m_lost = false;
    QStringList m_params;
    Firebird::IAttachment* m_attachment = nullptr;
    std::vector<Transaction*> m_transactions;
    std::vector<Statement*> m_statements;
    StatementObserver m_observer;
};
