#include "session/session.h"

#include "db/db_error.h"
#include "db/pick_item_query.h"

Session::Session(const QString& settingsPath) : m_settings(settingsPath)
{
}

Session::~Session() = default;

RowSource::Rows Session::rows(const QString& sql)
{
    Rows read;
    try {
        QueryPickItems(m_connection, sql, read.items);
    } catch (const DbError& error) {
        read.items.clear();
        read.failure = error.text();
    }
    return read;
}
