#include "masterdata/record_write.h"

#include "db/statement.h"

bool ReadRecord(Transaction& read, const QString& select, int id, const std::function<void(const Statement&)>& reader)
{
    ReadScope scope(read);
    Statement sql(read);
    sql.prepare(select);
    sql.setInt(QStringLiteral("ID"), id);
    sql.execute();
    const bool found = sql.next();
    if (found)
        reader(sql);
    sql.close();
    return found;
}

QString ColumnText(const Statement& sql, const char* column)
{
    return sql.textValue(QLatin1String(column)).value_or(QString());
}

int ColumnInt(const Statement& sql, const char* column, int nullValue)
{
    return static_cast<int>(sql.intValue(QLatin1String(column)).value_or(nullValue));
}
