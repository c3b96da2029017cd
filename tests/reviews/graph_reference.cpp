#include "graph_reference.h"

#include "overview_reference.h"

#include "temp_database.h"
#include "db/scopes.h"
#include "db/statement.h"

namespace {

QStringList Rows(TestConnection& data, const QString& sql, const QDate& d1, const QDate& d2 = QDate())
{
    ReadScope scope(data.read);
    Statement statement(data.read);
    statement.prepare(sql);
    if (sql.contains(":D1")) {
        statement.setDate("D1", d1);
        statement.setDate("D2", d2);
    } else if (sql.contains(":D")) {
        statement.setDate("D", d1);
    }
    statement.execute();
    QStringList rows;
    while (statement.next())
        rows << StatementRowText(statement);
    return rows;
}

}  // namespace

WrittenDay WrittenDayRecord(TestConnection& data, int driverId, const QDate& date)
{
    const QString driver = QString::number(driverId);
    WrittenDay day;
    day.intervals = Rows(data,
                         "SELECT TOD,TDO,TAKT,SCP,KM,LIT,UNOS.NOD,UNOS.NDO FROM SATIUNOS LEFT JOIN DUNOS ON "
                         "DUNOS.IDD=SATIUNOS.IDDUNOS LEFT JOIN UNOS ON UNOS.IDUNOS=DUNOS.IDUNOS WHERE "
                         "CAST(DUNOS.DATUM AS DATE)=:D AND UNOS.IDVOZAC="
                             + driver + " ORDER BY TOD,TDO",
                         date);
    day.distance = Rows(data,
                        "SELECT sum(DKM) FROM DUNOS LEFT JOIN UNOS ON UNOS.IDUNOS=DUNOS.IDUNOS WHERE "
                        "CAST(DATUM AS DATE)=:D AND IDVOZAC="
                            + driver,
                        date)
                       .value(0);
    day.otherDates = Rows(data,
                          "SELECT DISTINCT DATUM FROM DUNOS LEFT JOIN UNOS ON UNOS.IDUNOS=DUNOS.IDUNOS WHERE "
                          "UNOS.IDVOZAC="
                              + driver + " AND CAST(DATUM AS DATE)<>:D ORDER BY 1 ASC",
                          date);
    return day;
}

QString WrittenPeriodDriver(TestConnection& data, int driverId)
{
    return Rows(data,
                "SELECT MIN(DATUM),MAX(DATUM) FROM DUNOS LEFT JOIN UNOS ON DUNOS.IDUNOS=UNOS.IDUNOS WHERE UNOS.IDVOZAC="
                    + QString::number(driverId),
                QDate())
        .value(0);
}

QStringList WrittenPeriodIntervals(TestConnection& data, int driverId, const QDate& from, const QDate& to)
{
    return Rows(data,
                "SELECT TOD,TDO,TAKT,SCP,DATUM FROM SATIUNOS LEFT JOIN DUNOS ON DUNOS.IDD=SATIUNOS.IDDUNOS LEFT JOIN "
                "UNOS ON UNOS.IDUNOS=DUNOS.IDUNOS WHERE CAST(DUNOS.DATUM AS DATE)>=:D1 AND CAST(DUNOS.DATUM AS "
                "DATE)<=:D2 AND UNOS.IDVOZAC="
                    + QString::number(driverId) + " ORDER BY DATUM,TOD,TDO",
                from, to);
}
