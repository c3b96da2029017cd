#include "reviews/day_record.h"

#include "db/scopes.h"
#include "db/statement.h"
#include "entries/activity_interval.h"

DayRecord LoadDayRecord(Transaction& read, int driverId, const QDate& date)
{
    ReadScope scope(read);
    DayRecord day;
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT IMEPREZIME FROM DJELATNICI WHERE IDDJ=:IDV"));
    sql.setInt(QStringLiteral("IDV"), driverId);
    sql.execute();
    if (sql.next())
        day.driverName = sql.textValue(0).value_or(QString());

    sql.prepare(QStringLiteral("SELECT TOD,TDO,TAKT,SCP,KM,LIT,UNOS.NOD,UNOS.NDO FROM SATIUNOS LEFT JOIN DUNOS ON "
                               "DUNOS.IDD=SATIUNOS.IDDUNOS LEFT JOIN UNOS ON UNOS.IDUNOS=DUNOS.IDUNOS WHERE "
                               "CAST(DUNOS.DATUM AS DATE)=:D AND UNOS.IDVOZAC=:IDV ORDER BY TOD,TDO"));
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

    sql.prepare(QStringLiteral("SELECT sum(DKM) FROM DUNOS LEFT JOIN UNOS ON UNOS.IDUNOS=DUNOS.IDUNOS WHERE "
                               "CAST(DATUM AS DATE)=:D AND IDVOZAC=:IDV"));
    sql.setDate(QStringLiteral("D"), date);
    sql.setInt(QStringLiteral("IDV"), driverId);
    sql.execute();
    if (sql.next())
        day.distance = sql.optionalDecimal3(0);

    sql.prepare(QStringLiteral("SELECT DISTINCT DATUM FROM DUNOS LEFT JOIN UNOS ON UNOS.IDUNOS=DUNOS.IDUNOS WHERE "
                               "UNOS.IDVOZAC=:IDV AND CAST(DATUM AS DATE)<>:D ORDER BY 1 ASC"));
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
