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
