#include "db/database_worker.h"

#include "db/connection.h"
#include "db/db_error.h"
#include "db/firebird_api.h"

DatabaseWorker::DatabaseWorker(const Connection& like, TransactionAccess access)
    : m_thread(&DatabaseWorker::run, this, like.databaseName(), like.params(), access)
{
}

DatabaseWorker::~DatabaseWorker()
{
    cancel();
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void DatabaseWorker::post(Job job, Failure failure)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_cancelled)
            return;
        m_tasks.push_back(Task{std::move(job), std::move(failure)});
    }
    m_wake.notify_all();
}

void DatabaseWorker::cancel()
{
    std::lock_guard lock(m_mutex);
    m_cancelled = true;
    m_tasks.clear();
    m_wake.notify_all();
    if (m_runningOn) {
        // Nothing to report when the statement ended just before.
        FirebirdStatus status;
        m_runningOn->cancelOperation(status.get(), fb_cancel_raise);
    }
}

bool DatabaseWorker::isCancelled() const
{
    std::lock_guard lock(m_mutex);
    return m_cancelled;
}

bool DatabaseWorker::nextTask(Task& task)
{
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_cancelled || m_stopping || !m_tasks.empty(); });
    if (m_cancelled || m_stopping)
        return false;
    task = std::move(m_tasks.front());
    m_tasks.pop_front();
    return true;
}

void DatabaseWorker::run(QString databaseName, QStringList params, TransactionAccess access)
{
    Connection connection;
    connection.setDatabaseName(databaseName);
    connection.params() = params;
    Transaction transaction(connection, access);
    Task task;
    while (nextTask(task)) {
        try {
            if (!connection.isOpen())
                connection.open();
            {
                std::lock_guard lock(m_mutex);
                if (m_cancelled)
                    break;
                m_runningOn = connection.attachment();
            }
            task.job(transaction);
        } catch (const DbError& error) {
            if (task.failure)
                task.failure(error);
        }
        std::lock_guard lock(m_mutex);
        m_runningOn = nullptr;
    }
    // A cancel may leave its mark on the attachment: what fails now is of no interest.
    try {
        if (transaction.isActive())
            transaction.rollback();
    } catch (const DbError&) {
    }
}
