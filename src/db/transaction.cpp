#include "db/transaction.h"

#include "db/connection.h"
#include "db/db_error.h"
#include "db/firebird_api.h"

#include <span>

using namespace Firebird;

namespace {

constexpr unsigned char kReadWriteParameters[] = {
    isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait,
};
constexpr unsigned char kReadOnlyParameters[] = {
    isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait,
};
constexpr unsigned char kSnapshotParameters[] = {
    isc_tpb_version3, isc_tpb_read, isc_tpb_concurrency, isc_tpb_nowait,
};

}  // namespace

Transaction::Transaction(Connection& connection, TransactionAccess access)
    : m_connection(connection), m_access(access)
{
    m_connection.attachTransaction(this);
}

Transaction::~Transaction()
{
    if (isActive()) {
        m_connection.closeCursorsOf(this);
        FirebirdStatus status;
        m_handle->rollback(status.get());
        if (status.get()->getState() & IStatus::STATE_ERRORS)
            m_handle->release();
    }
    m_connection.detachTransaction(this);
}

void Transaction::start()
{
    if (isActive())
        throw DbError(QStringLiteral("Transakcija je već aktivna."), 0);
    m_connection.ensureAlive();
    FirebirdStatus status;
    std::span<const unsigned char> parameters = kReadWriteParameters;
    if (m_access == TransactionAccess::ReadOnly)
        parameters = kReadOnlyParameters;
    else if (m_access == TransactionAccess::Snapshot)
        parameters = kSnapshotParameters;
    ITransaction* handle = m_connection.attachment()->startTransaction(
        status.get(), static_cast<unsigned>(parameters.size()), parameters.data());
    m_connection.check(status);
    m_handle = handle;
}

void Transaction::startIfNotActive()
{
    if (!isActive())
        start();
}

void Transaction::commit()
{
    m_connection.closeCursorsOf(this);
    FirebirdStatus status;
    handle()->commit(status.get());
    m_connection.check(status);
    m_handle = nullptr;
}

void Transaction::commitRetaining()
{
    FirebirdStatus status;
    handle()->commitRetaining(status.get());
    m_connection.check(status);
}

void Transaction::rollback()
{
    m_connection.closeCursorsOf(this);
    FirebirdStatus status;
    handle()->rollback(status.get());
    if (status.get()->getState() & IStatus::STATE_ERRORS) {
        // The transaction is gone for the engine either way (a lost connection, say).
        m_handle->release();
        m_handle = nullptr;
        status.check();
    }
    m_handle = nullptr;
}

ITransaction* Transaction::handle() const
{
    if (!m_handle)
        throw DbError(QStringLiteral("Transakcija nije aktivna."), 0);
    return m_handle;
}
