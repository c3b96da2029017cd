#include "db/firebird_api.h"

#include "db/db_error.h"

Firebird::IMaster* FirebirdMaster()
{
    static Firebird::IMaster* master = Firebird::fb_get_master_interface();
    return master;
}

Firebird::IUtil* FirebirdUtil()
{
    return FirebirdMaster()->getUtilInterface();
}

FirebirdStatus::FirebirdStatus()
    : m_status(FirebirdMaster()->getStatus()), m_wrapper(m_status)
{
}

FirebirdStatus::~FirebirdStatus()
{
    m_status->dispose();
}

void FirebirdStatus::check()
{
    DbError::throwIfFailed(&m_wrapper);
}
