#pragma once

#include "db/transaction.h"

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace Firebird {
class IAttachment;
}
class Connection;
class DbError;

// Database work done off the window thread, on a connection of its own (another attachment to
// the same database, embedded or through a server), so that a long read never holds up the
// window that asked for it. Jobs run one after another in the order they were posted, all on
// the worker's one transaction; each job hands its results back itself (a queued call to the
// window's thread). A worker serves one piece of work (a list as filtered, a copy, a
// maintenance run) and is then cancelled or dropped; a new piece of work gets a new worker.
class DatabaseWorker {
public:
    using Job = std::function<void(Transaction& transaction)>;
    // Told, in the worker's thread, of a failure of a job: the database's error, the failure
    // to connect, or the cancellation of the job's statement.
    using Failure = std::function<void(const DbError& error)>;

    // Connects, in the worker's thread, to the database of `like` with its parameters.
    DatabaseWorker(const Connection& like, TransactionAccess access);
    // Cancels, and waits for the worker's thread to end.
    ~DatabaseWorker();
    DatabaseWorker(const DatabaseWorker&) = delete;
    DatabaseWorker& operator=(const DatabaseWorker&) = delete;

    void post(Job job, Failure failure);
    // Stops the statement running now (its job fails with the engine's "operation was
    // cancelled") and drops the jobs not yet started; later posts are dropped too.
    void cancel();
    bool isCancelled() const;

private:
    struct Task {
        Job job;
        Failure failure;
    };

    void run(QString databaseName, QStringList params, TransactionAccess access);
    bool nextTask(Task& task);

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Task> m_tasks;
    bool m_cancelled = false;
    bool m_stopping = false;
    // The worker's attachment while a job runs in it; a cancel reaches the engine through it.
    Firebird::IAttachment* m_runningOn = nullptr;
    std::thread m_thread;
};
