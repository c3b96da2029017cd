#include "db/generators.h"

#include "db/db_error.h"
#include "db/statement.h"

int NextKey(Transaction& transaction, const QString& generator)
{
    Statement sql(transaction);
    sql.prepare(QStringLiteral("SELECT GEN_ID(%1,1) FROM RDB$DATABASE").arg(generator));
    sql.execute();
    if (!sql.next())
        throw DbError(QStringLiteral("Generator %1 nije dao vrijednost.").arg(generator), 0);
    return sql.intOr(0, 0);
}
