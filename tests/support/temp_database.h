#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TDataModule1;

// A real database file in a fresh temporary folder, removed with the folder.
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

// Connects the data module to the database and upgrades it; returns the messages it showed.
QStringList ConnectUpgraded(TDataModule1& data, const QString& path);

// The first column of the first row of a query, as a number (0 for NULL), read through the
// data module's write transaction; a transaction it had to start is committed after reading.
qint64 QueryNumber(TDataModule1& data, const QString& sql);
