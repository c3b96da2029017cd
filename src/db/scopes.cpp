#include "db/scopes.h"

#include "db/db_error.h"
#include "db/connection.h"
#include "db/transaction.h"

namespace {

// A transaction left open from earlier work is checked before it is used again; starting one
// checks the connection anyway.
void StartOrCheck(Transaction& transaction)
{
    if (transaction.isActive())
        transaction.connection().ensureAlive();
    transaction.startIfNotActive();
}

} // namespace

WriteScope::WriteScope(Transaction& transaction)
    : m_transaction(transaction), m_outermost(transaction.m_writeScopes == 0)
{
    // A nested scope works inside the outer one's transaction as it stands: checking the
    // connection there could start a new transaction under work already done.
    if (m_outermost)
        StartOrCheck(m_transaction);
    else
        m_transaction.handle();
    ++m_transaction.m_writeScopes;
}

WriteScope::~WriteScope()
{
    --m_transaction.m_writeScopes;
    if (m_committed || !m_transaction.isActive())
        return;
    try {
        m_transaction.rollback();
    } catch (const DbError&) {
        // The first error is the one to report; the transaction is gone either way.
    }
}

void WriteScope::commit()
{
    if (m_outermost)
        m_transaction.commit();
    m_committed = true;
}

ReadScope::ReadScope(Transaction& transaction) : m_transaction(transaction)
{
    StartOrCheck(m_transaction);
}

WriteResult RunWrite(Transaction& transaction, const std::function<int()>& work)
{
    try {
        WriteScope scope(transaction);
        const int id = work();
        scope.commit();
        return WriteResult{true, {}, id};
    } catch (const DbError& error) {
        return WriteResult{false, error.text(), -1, error.isLockConflict()};
    }
}
