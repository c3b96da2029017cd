#include "masterdata/vehicle_list_query.h"

#include "db/db_error.h"
#include "db/statement.h"
#include "db/transaction.h"
#include "masterdata/record_write.h"

namespace {

const QString kActive = QStringLiteral(" ((AKTIVNOALL IS NULL) OR (AKTIVNOALL=1))");
const QString kCountAll = QStringLiteral("SELECT COUNT(*) FROM VOZILO");

int Count(Statement& sql, const QString& select)
{
    sql.prepare(select);
    sql.execute();
    const int count = sql.next() ? static_cast<int>(sql.intValue(0).value_or(0)) : 0;
    sql.close();
    return count;
}

}  // namespace

QStringList VehicleFilterNames()
{
    return {QStringLiteral("Kamioni"), QStringLiteral("Priključna vozila"), QStringLiteral("Osobna vozila"),
            QStringLiteral("Autobusi"), QStringLiteral("Ostao"), QStringLiteral("Sva vozila")};
}

QString VehicleListSql(int filter, bool onlyActive)
{
    QString sql = QStringLiteral("SELECT * FROM VOZILO\n");
    if (filter != kAllVehiclesFilter)
        sql += QStringLiteral("WHERE VRSTA=%1\n").arg(filter);
    if (onlyActive)
        sql += (sql.contains(QLatin1String("WHERE")) ? QStringLiteral("AND") : QStringLiteral("WHERE")) + QLatin1Char('\n') +
               kActive + QLatin1Char('\n');
    return sql + QStringLiteral("ORDER BY MARKAITIP,OZNAKA");
}

VehicleCounts CountVehicles(Statement& sql, int filter)
{
    try {
        sql.transaction().startIfNotActive();
        VehicleCounts counts;
        counts.total = Count(sql, kCountAll);
        counts.active = Count(sql, kCountAll + QStringLiteral(" WHERE (AKTIVNOALL IS NULL) OR (AKTIVNOALL=1)"));
        if (filter == kAllVehiclesFilter) {
            counts.shown = counts.total;
            counts.shownActive = counts.active;
        } else {
            counts.shown = Count(sql, kCountAll + QStringLiteral("\nWHERE VRSTA=%1").arg(filter));
            counts.shownActive = Count(
                sql, kCountAll + QStringLiteral("\nWHERE ((AKTIVNOALL IS NULL) OR (AKTIVNOALL)=1) AND VRSTA=%1").arg(filter));
        }
        sql.transaction().commit();
        return counts;
    } catch (const DbError&) {
        RollBackQuietly(sql);
        throw;
    }
}
