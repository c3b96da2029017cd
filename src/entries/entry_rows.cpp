#include "entries/entry_rows.h"

#include "db/statement.h"
#include "entries/day_totals.h"

#include <QTime>

namespace {

const QString kInsertInterval =
    QStringLiteral("INSERT INTO SATIUNOS (IDDUNOS,TOD,TDO,TAKT,KM,LIT,IDVOZILO,SCP,DT1,DT2) "
                   "VALUES (:IDD,:TOD,:TDO,:TAKT,:KM,:LIT,:IDV,:SCP,:DT1,:DT2)");
const QString kInsertDriversInterval =
    QStringLiteral("INSERT INTO SATIUNOS (IDDUNOS,TOD,TDO,TAKT,KM,LIT,IDVOZILO,SCP,DT1,DT2,IDVOZAC) "
                   "VALUES (:IDD,:TOD,:TDO,:TAKT,:KM,:LIT,:IDV,:SCP,:DT1,:DT2,:IDVOZ)");

} // namespace

QDateTime MomentOfDay(const QDate& date, int minutes)
{
    return QDateTime(date, QTime(0, 0), Qt::UTC).addSecs(qint64(minutes) * 60);
}

void BindDayTotals(Statement& sql, const DayTotals& totals)
{
    sql.setInt(QStringLiteral("S1"), totals.minutes(ActivityKind::Rest));
    sql.setInt(QStringLiteral("S2"), totals.minutes(ActivityKind::Availability));
    sql.setInt(QStringLiteral("S3"), totals.minutes(ActivityKind::OtherWork));
    sql.setInt(QStringLiteral("S4"), totals.minutes(ActivityKind::Driving));
    sql.setInt(QStringLiteral("S5"), totals.nightWork);
    sql.setInt(QStringLiteral("S6"), totals.nightAll);
    sql.setInt(QStringLiteral("N1"), totals.nightDriving);
    sql.setInt(QStringLiteral("N2"), totals.nightOtherWork);
}

void InsertIntervals(Transaction& write, int dayId, const QDate& date, std::span<const ActivityInterval> intervals,
                     int vehicleId, int crewFlags, std::optional<int> driverId,
                     std::span<const IntervalCrewAndVehicle> perInterval)
{
    Statement sql(write);
    sql.prepare(driverId ? kInsertDriversInterval : kInsertInterval);
    for (std::size_t i = 0; i < intervals.size(); ++i) {
        const ActivityInterval& interval = intervals[i];
        if (interval.end <= interval.start)
            continue;
        if (i < perInterval.size()) {
            vehicleId = perInterval[i].vehicleId;
            crewFlags = perInterval[i].crewFlags;
        }
        sql.setInt(QStringLiteral("IDD"), dayId);
        sql.setInt(QStringLiteral("TOD"), interval.start);
        sql.setInt(QStringLiteral("TDO"), interval.end);
        sql.setInt(QStringLiteral("TAKT"), ActivityCode(interval.kind));
        sql.setDecimal3(QStringLiteral("KM"), interval.kilometres);
        sql.setDecimal3(QStringLiteral("LIT"), interval.litres);
        sql.setInt(QStringLiteral("IDV"), vehicleId);
        sql.setInt(QStringLiteral("SCP"), crewFlags);
        sql.setTimestamp(QStringLiteral("DT1"), MomentOfDay(date, interval.start));
        sql.setTimestamp(QStringLiteral("DT2"), MomentOfDay(date, interval.end));
        if (driverId)
            sql.setInt(QStringLiteral("IDVOZ"), *driverId);
        sql.execute();
    }
}
