#include "db/index_statistics.h"

#include "db/statement.h"
#include "db/transaction.h"

namespace {

const QStringList kProgramTables{QStringLiteral("UNOS"),     QStringLiteral("DUNOS"),      QStringLiteral("SATIUNOS"),
                                 QStringLiteral("SKENLOG"),  QStringLiteral("VOZILO"),     QStringLiteral("DJELATNICI"),
                                 QStringLiteral("AKTPOTVRDA")};

// "RDB$RELATION_NAME IN ('UNOS', ...)": the fixed names of the program's tables.
QString ProgramTablesCondition()
{
    return QStringLiteral("I.RDB$RELATION_NAME IN ('%1') AND COALESCE(I.RDB$INDEX_INACTIVE, 0) = 0")
        .arg(kProgramTables.join(QStringLiteral("', '")));
}

QStringList FirstColumn(Statement& statement, const QString& sql)
{
    statement.prepare(sql);
    statement.execute();
    QStringList values;
    while (statement.next())
        values << statement.textOr(0, QString());
    return values;
}

}  // namespace

QStringList ProgramIndexes(Statement& statement)
{
    return FirstColumn(statement, QStringLiteral("SELECT TRIM(I.RDB$INDEX_NAME) FROM RDB$INDICES I WHERE ")
                                      + ProgramTablesCondition() + QStringLiteral(" ORDER BY 1"));
}

bool IndexStatisticsMissing(Statement& statement)
{
    const QStringList tables =
        FirstColumn(statement, QStringLiteral("SELECT DISTINCT TRIM(I.RDB$RELATION_NAME) FROM RDB$INDICES I WHERE ")
                                   + ProgramTablesCondition() + QStringLiteral(" AND COALESCE(I.RDB$STATISTICS, 0) = 0"));
    for (const QString& table : tables) {
        // The names come from the catalogue and are among the fixed names above.
        statement.prepare(QStringLiteral("SELECT FIRST 1 1 FROM \"%1\"").arg(table));
        statement.execute();
        const bool hasRows = statement.next();
        statement.close();
        if (hasRows)
            return true;
    }
    return false;
}

void RecomputeIndexStatistics(Transaction& transaction)
{
    Statement statement(transaction);
    const QStringList indexes = ProgramIndexes(statement);
    for (const QString& index : indexes) {
        statement.prepare(QStringLiteral("SET STATISTICS INDEX \"%1\"").arg(index));
        statement.execute();
        transaction.commit();
    }
    if (transaction.isActive())
        transaction.commit();
}
