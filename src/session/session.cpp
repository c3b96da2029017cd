#include "session/session.h"

#include "db/db_error.h"
#include "db/query_to_list.h"

Session::Session(const QString& settingsPath) : m_settings(settingsPath)
{
}

Session::~Session() = default;

RowSource::Rows Session::rows(const QString& sql)
{
    Rows read;
    try {
        QueryToList(m_connection, sql, QStringLiteral("||"), read.rows);
    } catch (const DbError& error) {
        read.rows.clear();
        read.failure = error.text();
    }
    return read;
}
