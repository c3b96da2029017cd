#include "db/database_worker.h"

#include "db/connection.h"
#include "db/db_error.h"
#include "db/firebird_api.h"

DatabaseWorker::DatabaseWorker(const Connection& like, TransactionAccess access)
    : m_databaseName(like.databaseName()), m_params(like.params()), m_thread(&DatabaseWorker::run, this, access)
{
}

DatabaseWorker::~DatabaseWorker()
{
    cancelAll();
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

bool DatabaseWorker::serves(const Connection& connection) const
{
    return connection.databaseName() == m_databaseName && connection.params() == m_params;
}

void DatabaseWorker::post(Job job, Failure failure)
{
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(Task{std::move(job), std::move(failure)});
    }
    m_wake.notify_all();
}

void DatabaseWorker::cancelAll()
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

bool DatabaseWorker::nextTask(Connection& connection, Transaction& transaction, Task& task)
{
    std::unique_lock lock(m_mutex);
    m_runningOn = nullptr;
    m_wake.wait(lock, [this] { return m_cancelled || m_stopping || !m_tasks.empty(); });
    if (m_cancelled) {
        m_cancelled = false;
        if (connection.isAttached() && !m_stopping) {
            // A cancel that came after the last statement of its job would stop the next one:
            // disabling cancels clears it.
            FirebirdStatus status;
            connection.attachment()->cancelOperation(status.get(), fb_cancel_disable);
            connection.attachment()->cancelOperation(status.get(), fb_cancel_enable);
        }
        try {
            if (transaction.isActive())
                transaction.rollback();
        } catch (const DbError&) {
            // The transaction is gone either way.
        }
    }
    if (m_stopping || m_tasks.empty())
        return !m_stopping;
    task = std::move(m_tasks.front());
    m_tasks.pop_front();
    // A connection lost under an earlier job has no attachment until the next job makes it
    // again; such a job cannot be cancelled before its first statement.
    if (connection.isAttached())
        m_runningOn = connection.attachment();
    return true;
}

void DatabaseWorker::stopCancelling()
{
    std::lock_guard lock(m_mutex);
    m_runningOn = nullptr;
}

void DatabaseWorker::run(TransactionAccess access)
{
    Connection connection;
    connection.setDatabaseName(m_databaseName);
    connection.params() = m_params;
    Transaction transaction(connection, access);
    Task task;
    while (nextTask(connection, transaction, task)) {
        if (!task.job)
            continue;
        try {
            if (!connection.isOpen()) {
                connection.open();
                std::lock_guard lock(m_mutex);
                // Cancelled while connecting: the job was dropped with the others.
                if (m_cancelled)
                    continue;
                m_runningOn = connection.attachment();
            }
            task.job(transaction);
            stopCancelling();
        } catch (const DbError& error) {
            // Before anyone hears of the failure: a cancel must not reach an attachment whose
            // connection is gone (the client library aborts on it).
            stopCancelling();
            if (task.failure)
                task.failure(error);
        }
        task = Task{};
    }
    // A cancel may leave its mark on the attachment: what fails now is of no interest.
    try {
        if (transaction.isActive())
            transaction.rollback();
    } catch (const DbError&) {
    }
}
