#include "masterdata/record_write.h"

#include "db/generators.h"
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

int WriteRecord(Transaction& write, int id, const QString& generator, const QString& insert, const QString& update,
                const std::function<void(Statement&, int key)>& setParameters)
{
    const bool isNew = id < 0;
    const int key = isNew ? NextKey(write, generator) : id;
    Statement sql(write);
    sql.prepare(isNew ? insert : update);
    setParameters(sql, key);
    sql.execute();
    return key;
}
