#include "overview_reference.h"

#include "temp_database.h"
#include "db/scopes.h"
#include "db/statement.h"

#include <QTime>

QString WrittenOverviewSql(int list, const OverviewFilter& filter)
{
    QStringList lines;
    const auto driverAndEntry = [&] {
        if (filter.driverId)
            lines << QStringLiteral("and unos.idvozac=:IDV");
        if (filter.entered)
            lines << QStringLiteral("and (unos.dv>=:D1 and unos.dv<=:D2)");
    };
    if (list == 0) {
        lines << "select unos.idunos,unos.idvozac,unos.tip,djelatnici.imeprezime,unos.dv,"
              << "sum(dunos.dkm) as ukkm,min(dunos.datum) as mindat,max(dunos.datum) as maxdat,unos.podtip"
              << "from unos left join djelatnici on unos.idvozac=djelatnici.iddj"
              << "left join dunos on unos.idunos=dunos.idunos"
              << "where unos.dv is not null";
        driverAndEntry();
        lines << "group by unos.idunos,unos.idvozac,unos.tip,djelatnici.imeprezime,unos.dv,unos.podtip";
        if (filter.days)
            lines << "having ((min(dunos.datum)<=:D3 or min(dunos.datum)<=:D4) and (max(dunos.datum)>=:D3 or "
                     "max(dunos.datum)>=:D4))";
        lines << " order by unos.dv desc";
    } else if (list == 1) {
        lines << "select dunos.datum, dunos.dkm,  dunos.s1, dunos.s2,dunos.s3,dunos.s4, (select min(satiunos.tod) from "
                 "satiunos where satiunos.iddunos=dunos.idd) as m1,"
              << " (select max(satiunos.tdo) from satiunos where satiunos.iddunos=dunos.idd) as m2, unos.idvozac, "
                 "unos.tip, unos.dv, djelatnici.imeprezime,dunos.idunos,dunos.idd,dunos.t1,dunos.t2,unos.podtip from dunos"
              << "left join unos on unos.idunos=dunos.idunos" << "left join djelatnici on djelatnici.iddj=unos.idvozac"
              << "where unos.dv is not null";
        driverAndEntry();
        if (filter.days)
            lines << "and (dunos.datum>=:D3 and dunos.datum<=:D4)";
        lines << " order by 1 desc,  7 asc";
    } else {
        lines << "select dunos.datum, sum(dunos.dkm) as dkm,  sum(dunos.s1) as s1, sum(dunos.s2) as s2,sum(dunos.s3) as "
                 "s3,sum(dunos.s4) as s4, "
              << "  unos.idvozac, djelatnici.imeprezime,sum(s1+s2+s3+s4) as suk,count(unos.idunos) as br from dunos"
              << "left join unos on unos.idunos=dunos.idunos" << "left join djelatnici on djelatnici.iddj=unos.idvozac"
              << "where unos.dv is not null";
        driverAndEntry();
        if (filter.days)
            lines << "and (dunos.datum>=:D3 and dunos.datum<=:D4)";
        lines << "group by dunos.datum,unos.idvozac,djelatnici.imeprezime" << " order by 1 desc,  8 asc";
    }
    return lines.join('\n');
}

QStringList WrittenOverviewRows(TestConnection& data, int list, const OverviewFilter& filter, int limit)
{
    ReadScope scope(data.read);
    Statement sql(data.read);
    sql.prepare(WrittenOverviewSql(list, filter));
    if (filter.driverId)
        sql.setInt("IDV", *filter.driverId);
    if (filter.entered) {
        sql.setTimestamp("D1", QDateTime(filter.entered->first, QTime(0, 0), Qt::UTC));
        sql.setTimestamp("D2", QDateTime(filter.entered->second, QTime(23, 59, 59, 999), Qt::UTC));
    }
    if (filter.days) {
        sql.setDate("D3", filter.days->first);
        sql.setDate("D4", filter.days->second);
    }
    sql.execute();
    QStringList rows;
    while ((limit < 0 || rows.size() < limit) && sql.next())
        rows << StatementRowText(sql);
    return rows;
}

QString StatementRowText(const Statement& sql)
{
    QStringList texts;
    for (int column = 0; column < sql.columnCount(); ++column) {
        if (sql.isNull(column)) {
            texts << QString();
        } else if (sql.columnType(column) == ColumnType::Date) {
            texts << sql.dateValue(column)->toString("dd.MM.yyyy");
        } else if (sql.columnType(column) == ColumnType::Timestamp) {
            texts << sql.timestampValue(column)->toString("dd.MM.yyyy HH:mm:ss");
        } else if (sql.columnType(column) == ColumnType::Numeric) {
            texts << ScaledNumberText(sql.numericValue(column)->units, sql.numericValue(column)->scale);
        } else {
            texts << sql.textValue(column).value_or(QString());
        }
    }
    return texts.join('\t');
}
