#include "app/index_upkeep.h"

#include "db/connection.h"
#include "db/database_worker.h"
#include "db/db_error.h"
#include "db/index_statistics.h"
#include "settings/settings_values.h"

namespace {

constexpr int kDaysBetweenMeasurings = 7;

}  // namespace

bool IndexStatisticsDue(const std::optional<QDate>& lastMeasured, const QDate& today)
{
    return !lastMeasured || lastMeasured->daysTo(today) >= kDaysBetweenMeasurings || *lastMeasured > today;
}

IndexUpkeep::IndexUpkeep(const Connection& database, QString settingsPath, QObject* parent)
    : QObject(parent), m_database(database), m_settingsPath(std::move(settingsPath))
{
}

IndexUpkeep::~IndexUpkeep() = default;

void IndexUpkeep::check()
{
    if (m_worker || !m_database.isOpen()
        || !IndexStatisticsDue(ReadIndexStatisticsDay(m_settingsPath), QDate::currentDate()))
        return;
    m_worker = std::make_unique<DatabaseWorker>(m_database, TransactionAccess::ReadWrite);
    // A failure (an account that may not alter the tables, as a clerk's on a server) is tried
    // again a week later, not after every store; the database stays as it was.
    m_worker->post(
        [this](Transaction& transaction) {
            RecomputeIndexStatistics(transaction);
            QMetaObject::invokeMethod(this, [this] { finished(); }, Qt::QueuedConnection);
        },
        [this](const DbError&) { QMetaObject::invokeMethod(this, [this] { finished(); }, Qt::QueuedConnection); });
}

void IndexUpkeep::finished()
{
    WriteIndexStatisticsDay(m_settingsPath, QDate::currentDate());
    m_worker.reset();
}
