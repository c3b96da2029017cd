#include "masterdata/vehicle_list_query.h"

#include "db/scopes.h"
#include "db/statement.h"
#include "masterdata/record_write.h"

namespace {

const QString kActive = QStringLiteral(" ((AKTIVNOALL IS NULL) OR (AKTIVNOALL=1))");
const QString kCountAll = QStringLiteral("SELECT COUNT(*) FROM VOZILO");

int Count(Transaction& read, const QString& select)
{
    Statement sql(read);
    sql.prepare(select);
    sql.execute();
    const int count = sql.next() ? sql.intOr(0, 0) : 0;
    return count;
}

QString NumberText(const Statement& sql, const char* column)
{
    const std::optional<ScaledNumber> value = sql.numericValue(QLatin1String(column));
    return value ? ScaledNumberText(value->units, value->scale) : QString();
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

std::vector<VehicleListRow> ReadVehicleList(Transaction& read, int filter, bool onlyActive)
{
    ReadScope scope(read);
    Statement query(read);
    query.prepare(VehicleListSql(filter, onlyActive));
    query.execute();
    std::vector<VehicleListRow> rows;
    while (query.next()) {
        VehicleListRow row;
        row.id = query.intOr(QStringLiteral("IDVOZ"), 0);
        row.garageNumber = query.textOr(QStringLiteral("GARBR"), QString());
        row.make = query.textOr(QStringLiteral("MARKAITIP"), QString());
        row.plate = query.textOr(QStringLiteral("OZNAKA"), QString());
        row.mass = NumberText(query, "MASA");
        row.payload = NumberText(query, "NOSIVOST");
        row.totalMass = NumberText(query, "UKUPNAMASA");
        row.kind = query.intOr(QStringLiteral("VRSTA"), 0);
        row.remark = query.textOr(QStringLiteral("NAPOMENA"), QString());
        rows.push_back(row);
    }
    return rows;
}

VehicleCounts CountVehicles(Transaction& read, int filter)
{
    ReadScope scope(read);
    VehicleCounts counts;
    counts.total = Count(read, kCountAll);
    counts.active = Count(read, kCountAll + QStringLiteral(" WHERE (AKTIVNOALL IS NULL) OR (AKTIVNOALL=1)"));
    if (filter == kAllVehiclesFilter) {
        counts.shown = counts.total;
        counts.shownActive = counts.active;
    } else {
        counts.shown = Count(read, kCountAll + QStringLiteral("\nWHERE VRSTA=%1").arg(filter));
        counts.shownActive = Count(
            read, kCountAll + QStringLiteral("\nWHERE ((AKTIVNOALL IS NULL) OR (AKTIVNOALL)=1) AND VRSTA=%1").arg(filter));
    }
    return counts;
}
