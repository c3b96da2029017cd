#pragma once

#include <QDate>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class Connection;
class DatabaseWorker;

// Whether the indexes are due to be measured again: never measured here, or a week ago or more.
bool IndexStatisticsDue(const std::optional<QDate>& lastMeasured, const QDate& today);

// Keeps the selectivity of the program's indexes from ageing as entries are stored (the
// upgrade measures those never measured): when the last measuring is a week old it measures
// them anew, off the window thread on a connection of its own, and keeps the day in the
// settings file. Looked at when the database is opened and after every store.
class IndexUpkeep : public QObject {
public:
    IndexUpkeep(const Connection& database, QString settingsPath, QObject* parent = nullptr);
    ~IndexUpkeep() override;

    // Starts a measuring when one is due and none runs; nothing while the database is closed.
    void check();

private:
    void finished();

    const Connection& m_database;
    QString m_settingsPath;
    std::unique_ptr<DatabaseWorker> m_worker;
};
