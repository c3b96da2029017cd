#include "reviews/day_record.h"

#include "db/scopes.h"
#include "db/statement.h"
#include "entries/activity_interval.h"

namespace {

const QString kNameSql = QStringLiteral("SELECT IMEPREZIME FROM DJELATNICI WHERE IDDJ=:IDV");
// The intervals of the day's entry days of all drivers (some fifty), those of the driver's
// entries kept. The joins are inner ones: the conditions on DUNOS and UNOS drop every interval
// without an entry day or an entry anyway. The plan is written out, since an engine that has
// not measured its indexes would read every interval of the database.
const QString kIntervalsSql = QStringLiteral(
    "SELECT TOD,TDO,TAKT,SCP,KM,LIT,UNOS.NOD,UNOS.NDO FROM DUNOS\n"
    "JOIN UNOS ON UNOS.IDUNOS=DUNOS.IDUNOS\n"
    "JOIN SATIUNOS ON SATIUNOS.IDDUNOS=DUNOS.IDD\n"
    "WHERE DUNOS.DATUM=:D AND UNOS.IDVOZAC=:IDV\n"
    "PLAN SORT (JOIN (DUNOS INDEX (DUN_IDX2), UNOS INDEX (PK_UNOS), SATIUNOS INDEX (SATIUNOS_IDX1)))\n"
    "ORDER BY TOD,TDO");
const QString kDistanceSql = QStringLiteral(
    "SELECT sum(DKM) FROM DUNOS JOIN UNOS ON UNOS.IDUNOS=DUNOS.IDUNOS\n"
    "WHERE DUNOS.DATUM=:D AND UNOS.IDVOZAC=:IDV\n"
    "PLAN JOIN (DUNOS INDEX (DUN_IDX2), UNOS INDEX (PK_UNOS))");
// The driver's dates from his entries (UN_IDX1): a few thousand in ten years.
const QString kOtherDatesSql = QStringLiteral(
    "SELECT DISTINCT DUNOS.DATUM FROM UNOS JOIN DUNOS ON DUNOS.IDUNOS=UNOS.IDUNOS\n"
    "WHERE UNOS.IDVOZAC=:IDV AND DUNOS.DATUM<>:D\n"
    "PLAN SORT (JOIN (UNOS INDEX (UN_IDX1), DUNOS INDEX (DUN_IDX1)))\n"
    "ORDER BY 1 ASC");

}  // namespace

QStringList DayRecordStatements()
{
    return {kNameSql, kIntervalsSql, kDistanceSql, kOtherDatesSql};
}

DayRecord LoadDayRecord(Transaction& read, int driverId, const QDate& date)
{
    ReadScope scope(read);
    DayRecord day;
    Statement sql(read);
    sql.prepare(kNameSql);
    sql.setInt(QStringLiteral("IDV"), driverId);
    sql.execute();
    if (sql.next())
        day.driverName = sql.textOr(0, QString());

    sql.prepare(kIntervalsSql);
    sql.setDate(QStringLiteral("D"), date);
    sql.setInt(QStringLiteral("IDV"), driverId);
    sql.execute();
    while (sql.next()) {
        DayInterval interval;
        interval.chart = ChartInterval{sql.int32Value(0), sql.int32Value(1), sql.int32Value(2),
                                       sql.int32Value(3).value_or(0)};
        interval.kilometres = sql.optionalDecimal3(4);
        interval.litres = sql.optionalDecimal3(5);
        interval.night = NightWindow{sql.int32Value(6).value_or(0), sql.int32Value(7).value_or(0)};
        day.intervals.push_back(interval);
    }

    sql.prepare(kDistanceSql);
    sql.setDate(QStringLiteral("D"), date);
    sql.setInt(QStringLiteral("IDV"), driverId);
    sql.execute();
    if (sql.next())
        day.distance = sql.optionalDecimal3(0);

    sql.prepare(kOtherDatesSql);
    sql.setInt(QStringLiteral("IDV"), driverId);
    sql.setDate(QStringLiteral("D"), date);
    sql.execute();
    while (sql.next()) {
        if (const std::optional<QDate> other = sql.dateValue(0))
            day.otherDates.push_back(*other);
    }
    return day;
}

DayTotals DayRecordTotals(const std::vector<DayInterval>& intervals)
{
    std::vector<ActivityInterval> counted;
    std::vector<NightWindow> windows;
    for (const DayInterval& interval : intervals) {
        const std::optional<ActivityKind> kind =
            interval.chart.kind ? ActivityKindFromCode(*interval.chart.kind) : std::nullopt;
        if (!kind || !interval.chart.start || !interval.chart.end)
            continue;
        counted.push_back(ActivityInterval{*kind, *interval.chart.start, *interval.chart.end,
                                           interval.kilometres.value_or(Decimal3{}), interval.litres.value_or(Decimal3{})});
        windows.push_back(interval.night);
    }
    return ComputeDayTotals(counted, windows);
}
