#include "db/catalogue.h"

#include "db/statement.h"

bool TableHasColumn(Statement& statement, const QString& table, const QString& column)
{
    statement.prepare(QStringLiteral("SELECT TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS "
                                     "WHERE RDB$RELATION_NAME = :T"));
    statement.setText(QStringLiteral("T"), table.toUpper());
    statement.execute();
    bool found = false;
    while (statement.next()) {
        if (statement.textOr(0, QString()) == column.toUpper())
            found = true;
    }
    return found;
}

QStringList UserTables(Statement& statement)
{
    statement.prepare(QStringLiteral("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS "
                                     "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND RDB$VIEW_BLR IS NULL "
                                     "ORDER BY 1"));
    statement.execute();
    QStringList tables;
    while (statement.next())
        tables << statement.textOr(0, QString());
    return tables;
}

bool HasIndex(Statement& statement, const QString& index)
{
    statement.prepare(QStringLiteral("SELECT TRIM(RDB$INDEX_NAME) FROM RDB$INDICES WHERE RDB$INDEX_NAME = :I"));
    statement.setText(QStringLiteral("I"), index.toUpper());
    statement.execute();
    const bool found = statement.next();
    statement.close();
    return found;
}
