#include "db/db_error.h"

#include "common/win1250.h"
#include "db/firebird_api.h"

#include <QStringList>

#include <algorithm>

#include <ibase.h>

namespace {

// The codes of a status vector: each isc_arg_gds entry, in order.
std::vector<long> ErrorCodes(const intptr_t* vector)
{
    std::vector<long> codes;
    while (vector[0] != isc_arg_end) {
        if (vector[0] == isc_arg_gds && vector[1] != 0)
            codes.push_back(static_cast<long>(vector[1]));
        // isc_arg_cstring carries a length and a pointer; every other argument one value.
        vector += vector[0] == isc_arg_cstring ? 3 : 2;
    }
    return codes;
}

// The arguments of "no permission for @1 access to @2 @3" (isc_no_priv): the right, the kind
// of object and its name; nothing when the vector holds no such error.
std::optional<DbError::MissingRight> MissingRightOf(const intptr_t* vector)
{
    while (vector[0] != isc_arg_end) {
        if (vector[0] == isc_arg_gds && vector[1] == isc_no_priv) {
            QStringList arguments;
            for (vector += 2; vector[0] == isc_arg_string || vector[0] == isc_arg_cstring;) {
                if (vector[0] == isc_arg_string) {
                    arguments << FromWin1250(QByteArray(reinterpret_cast<const char*>(vector[1])));
                    vector += 2;
                } else {
                    arguments << FromWin1250(QByteArray(reinterpret_cast<const char*>(vector[2]), static_cast<int>(vector[1])));
                    vector += 3;
                }
            }
            if (arguments.size() < 3)
                return std::nullopt;
            return DbError::MissingRight{arguments[0].trimmed(), arguments[1].trimmed(), arguments[2].trimmed()};
        }
        vector += vector[0] == isc_arg_cstring ? 3 : 2;
    }
    return std::nullopt;
}

QString SqlState(const intptr_t* vector)
{
    char state[6] = {};
    fb_sqlstate(state, reinterpret_cast<const ISC_STATUS*>(vector));
    return QString::fromLatin1(state);
}

}  // namespace

DbError::DbError(const QString& text, long code)
    : DbError(text, code ? std::vector<long>{code} : std::vector<long>{}, QString())
{
}

DbError::DbError(const QString& text, std::vector<long> codes, const QString& sqlState,
                 std::optional<MissingRight> missingRight)
    : std::runtime_error(text.toStdString()), m_text(text), m_codes(std::move(codes)), m_sqlState(sqlState),
      m_missingRight(std::move(missingRight))
{
}

bool DbError::hasCode(std::initializer_list<long> codes) const
{
    return std::any_of(m_codes.begin(), m_codes.end(),
                       [&](long code) { return std::find(codes.begin(), codes.end(), code) != codes.end(); });
}

bool DbError::isLockConflict() const
{
    return hasCode({isc_lock_conflict, isc_update_conflict, isc_deadlock});
}

bool DbError::isUniqueViolation() const
{
    return hasCode({isc_unique_key_violation, isc_no_dup});
}

bool DbError::isForeignKeyViolation() const
{
    return hasCode({isc_foreign_key});
}

bool DbError::isConnectionLost() const
{
    return hasCode({isc_network_error, isc_net_read_err, isc_net_write_err, isc_lost_db_connection, isc_conn_lost,
                    isc_shutdown, isc_att_shutdown});
}

bool DbError::isLoginRefused() const
{
    return hasCode({isc_login});
}

bool DbError::isServerUnreachable() const
{
    return hasCode({isc_network_error, isc_net_connect_err, isc_net_lookup_err, isc_connect_reject, isc_unavailable});
}

bool DbError::isPermissionDenied() const
{
    // A refused login shares SQLSTATE 28000.
    return hasCode({isc_no_priv, isc_dyn_no_priv, isc_no_write_user_priv, isc_insufficient_svc_privileges})
        || (m_sqlState == QLatin1String("28000") && !isLoginRefused());
}

void DbError::throwIfFailed(Firebird::IStatus* status)
{
    if (!(status->getState() & Firebird::IStatus::STATE_ERRORS))
        return;
    char buffer[2048];
    const unsigned length = FirebirdUtil()->formatStatus(buffer, sizeof buffer, status);
    const intptr_t* vector = status->getErrors();
    std::vector<long> codes = ErrorCodes(vector);
    const QString sqlState = SqlState(vector);
    std::optional<MissingRight> missingRight = MissingRightOf(vector);
    // Names and values quoted in a message come as the Windows-1250 bytes they are stored in.
    QString text = FromWin1250(QByteArray(buffer, static_cast<int>(length))).trimmed();
    status->init();
    throw DbError(text, std::move(codes), sqlState, std::move(missingRight));
}
