#include "masterdata/record_write.h"

#include "db/db_error.h"
#include "db/statement.h"
#include "db/transaction.h"

void RollBackQuietly(Statement& sql)
{
    try {
        sql.close();
        if (sql.transaction().isActive())
            sql.transaction().rollback();
    } catch (const DbError&) {
        // The first error is the one to report; the transaction is gone either way.
    }
}

WriteResult WriteInTransaction(Statement& sql, const std::function<int()>& work)
{
    try {
        sql.transaction().startIfNotActive();
        const int id = work();
        sql.close();
        sql.transaction().commit();
        return WriteResult{true, {}, id};
    } catch (const DbError& error) {
        RollBackQuietly(sql);
        return WriteResult{false, error.text(), -1};
    }
}

int NextKey(Statement& sql, const QString& generator)
{
    sql.prepare(QStringLiteral("SELECT GEN_ID(%1,1) FROM RDB$DATABASE").arg(generator));
    sql.execute();
    if (!sql.next())
        throw DbError(QStringLiteral("Generator %1 nije dao vrijednost.").arg(generator), 0);
    const int value = static_cast<int>(sql.intValue(0).value_or(0));
    sql.close();
    return value;
}

bool ReadRecord(Statement& sql, const QString& select, int id, const std::function<void(const Statement&)>& read)
{
    try {
        sql.transaction().startIfNotActive();
        sql.prepare(select);
        sql.setInt(QStringLiteral("ID"), id);
        sql.execute();
        const bool found = sql.next();
        if (found)
            read(sql);
        sql.close();
        sql.transaction().commit();
        return found;
    } catch (const DbError&) {
        RollBackQuietly(sql);
        throw;
    }
}

QString ColumnText(const Statement& sql, const char* column)
{
    return sql.textValue(QLatin1String(column)).value_or(QString());
}

int ColumnInt(const Statement& sql, const char* column, int nullValue)
{
    return static_cast<int>(sql.intValue(QLatin1String(column)).value_or(nullValue));
}
