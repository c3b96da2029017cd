#include "db/db_error.h"

#include "common/win1250.h"
#include "db/firebird_api.h"

DbError::DbError(const QString& text, long code)
    : std::runtime_error(text.toStdString()), m_text(text), m_code(code)
{
}

void DbError::throwIfFailed(Firebird::IStatus* status)
{
    if (!(status->getState() & Firebird::IStatus::STATE_ERRORS))
        return;
    char buffer[2048];
    const unsigned length = FirebirdUtil()->formatStatus(buffer, sizeof buffer, status);
    const intptr_t* vector = status->getErrors();
    const long code = (vector[0] == isc_arg_gds) ? static_cast<long>(vector[1]) : 0;
    // Names and values quoted in a message come as the Windows-1250 bytes they are stored in.
    QString text = FromWin1250(QByteArray(buffer, static_cast<int>(length))).trimmed();
    status->init();
    throw DbError(text, code);
}
