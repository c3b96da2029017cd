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
// the worker's one transaction until it is cancelled; each job hands its results back itself
// (a queued call to the window's thread). The connection is made by the first job and kept
// while the worker lives, so that a window reading again and again pays for it once.
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

    // Whether the worker is connected to the database of the connection, with its parameters.
    bool serves(const Connection& connection) const;

    void post(Job job, Failure failure);
    // Stops the statement running now (its job fails with the engine's "operation was
    // cancelled"), drops the jobs not yet started and ends the transaction: jobs posted after
    // this start on a new one (for a snapshot: a new view of the database).
    void cancelAll();

private:
    struct Task {
        Job job;
        Failure failure;
    };

    void run(TransactionAccess access);
    // The next job to run, after ending the transaction when a cancel asked for it; false when
    // the worker is to stop.
    bool nextTask(Connection& connection, Transaction& transaction, Task& task);
    // The job in hand has ended: a cancel from now on has no statement to stop.
    void stopCancelling();

    const QString m_databaseName;
    const QStringList m_params;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Task> m_tasks;
    bool m_cancelled = false;  // the transaction (and a cancel left on the attachment) to clear
    bool m_stopping = false;
    // The worker's attachment while a job runs on it; a cancel reaches the engine through it.
    Firebird::IAttachment* m_runningOn = nullptr;
    std::thread m_thread;
};
