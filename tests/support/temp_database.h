#pragma once

#include "db/connection.h"
#include "db/database_location.h"
#include "db/script.h"
#include "db/statement.h"
#include "db/transaction.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A real database file in a fresh temporary folder, removed with the folder. With
// VELTRA_TEST_SERVER set (the host of a Firebird server on this computer, as
// tests/support/on_server.sh sets it), the file is made and opened through that server, with
// the account of VELTRA_SERVER_USER and VELTRA_SERVER_PASSWORD: `path()` is then
// "host:/folder/VT.FDB".
class TempDatabase {
public:
    enum class Schema {
        Base,      // the base tables of a new installation only
        Upgraded,  // base tables brought up to date by the program's upgrade
    };
    explicit TempDatabase(Schema schema = Schema::Upgraded);

    const QString& path() const { return m_path; }
    QString folder() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
    QString m_path;
};

// The account the tests open their databases with: the server's test account, or the default.
DatabaseAccount TestAccount();

// Gives a clerk's account the rights the instructions list ("Uredski poslužitelj" in the
// README) on the tables and generators the database has, but for the table `leftOut`; given by
// the tests' own account, the database's owner.
void GrantClerkRights(const QString& path, const QString& user, const QString& leftOut = QString());

// Transactions on a connection that live as long as a test needs them: `write` for stores and
// the test's own changes (committed by the store, or by the test), `read` for loads, and a
// statement and a script on `write`.
class TestTransactions {
public:
    explicit TestTransactions(Connection& on) : connection(on) {}
    TestTransactions(const TestTransactions&) = delete;
    TestTransactions& operator=(const TestTransactions&) = delete;

    Connection& connection;
    Transaction write{connection};
    Transaction read{connection, TransactionAccess::ReadOnly};
    Statement sql{write};
    Script script{write};
};

// A test's own connection, with its transactions.
class TestConnection : private std::unique_ptr<Connection>, public TestTransactions {
public:
    TestConnection() : std::unique_ptr<Connection>(std::make_unique<Connection>()), TestTransactions(**this) {}
};

// Connects to the database and upgrades it; returns the messages it showed.
QStringList ConnectUpgraded(Connection& connection, const QString& path);
inline QStringList ConnectUpgraded(TestTransactions& data, const QString& path)
{
    return ConnectUpgraded(data.connection, path);
}

// The first column of the first row of a query, as a number (0 for NULL), read through the
// write transaction; a transaction it had to start is committed after reading.
qint64 QueryNumber(TestTransactions& data, const QString& sql);
