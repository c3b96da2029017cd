#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TDataModule1;

#include "db/database_location.h"

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

// Connects the data module to the database and upgrades it; returns the messages it showed.
QStringList ConnectUpgraded(TDataModule1& data, const QString& path);

// The first column of the first row of a query, as a number (0 for NULL), read through the
// data module's write transaction; a transaction it had to start is committed after reading.
qint64 QueryNumber(TDataModule1& data, const QString& sql);
