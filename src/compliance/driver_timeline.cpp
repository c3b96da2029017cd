#include "compliance/driver_timeline.h"

#include "db/scopes.h"
#include "db/statement.h"
#include "entries/manual_entry.h"

Minute MinuteOf(const QDate& date)
{
    return date.toJulianDay() * kMinutesPerDay;
}

Minute MinuteOf(const QDate& date, int minuteOfDay)
{
    return MinuteOf(date) + minuteOfDay;
}

QDate DateOfMinute(Minute minute)
{
    const Minute day = minute >= 0 ? minute / kMinutesPerDay : (minute - kMinutesPerDay + 1) / kMinutesPerDay;
    return QDate::fromJulianDay(day);
}

namespace {

QString MomentText(Minute minute, const QString& format)
{
    const QDate date = DateOfMinute(minute);
    const int ofDay = static_cast<int>(minute - MinuteOf(date));
    return QDateTime(date, QTime(ofDay / kMinutesPerHour, ofDay % kMinutesPerHour), Qt::UTC).toString(format);
}

}  // namespace

QString IsoMinuteText(Minute minute)
{
    return MomentText(minute, QStringLiteral("yyyy-MM-ddTHH:mm"));
}

QString MinuteText(Minute minute)
{
    return MomentText(minute, QStringLiteral("dd.MM.yyyy HH:mm"));
}

Minute WeekStart(Minute minute)
{
    const Minute day = MinuteOf(DateOfMinute(minute));
    return day - (DateOfMinute(minute).dayOfWeek() - 1) * kMinutesPerDay;
}

std::map<int, DriverTimeline> LoadDriverTimelines(Transaction& read, const QDate& from, const QDate& to,
                                                  std::optional<int> driverId)
{
    std::map<int, DriverTimeline> timelines;
    if (to < from)
        return timelines;
    ReadScope scope(read);
    Statement sql(read);
    // One driver goes from his entries to their days; all drivers from the days of the period.
    const QString select = QStringLiteral(
        "SELECT UNOS.IDVOZAC,DUNOS.DATUM,UNOS.PODTIP,UNOS.NOD,UNOS.NDO,SATIUNOS.TOD,SATIUNOS.TDO,SATIUNOS.TAKT,"
        "SATIUNOS.SCP,DUNOS.S3,DUNOS.S4,DUNOS.N1,DUNOS.N2\n"
        "FROM UNOS JOIN DUNOS ON DUNOS.IDUNOS=UNOS.IDUNOS\n"
        "LEFT JOIN SATIUNOS ON SATIUNOS.IDDUNOS=DUNOS.IDD\n"
        "WHERE DUNOS.DATUM>=:D1 AND DUNOS.DATUM<=:D2");
    sql.prepare(driverId ? select + QStringLiteral(" AND UNOS.IDVOZAC=:IDV\n"
                                                   "PLAN JOIN (JOIN (UNOS INDEX (UN_IDX1), DUNOS INDEX (DUN_IDX1)), "
                                                   "SATIUNOS INDEX (SATIUNOS_IDX1))")
                         : select + QStringLiteral(" AND UNOS.IDVOZAC IS NOT NULL"));
    sql.setDate(QStringLiteral("D1"), from);
    sql.setDate(QStringLiteral("D2"), to);
    if (driverId)
        sql.setInt(QStringLiteral("IDV"), *driverId);
    sql.execute();
    while (sql.next()) {
        const std::optional<QDate> date = sql.dateValue(1);
        const std::optional<int> driver = sql.int32Value(0);
        if (!date || !driver)
            continue;
        DriverTimeline& timeline = timelines[*driver];
        timeline.driverId = *driver;
        if (sql.int32Value(2) == kSubtypeSummary) {
            timeline.summaries.push_back(SummaryDay{*date, sql.intOr(10, 0), sql.intOr(9, 0),
                                                    sql.intOr(11, 0) + sql.intOr(12, 0)});
            continue;
        }
        const std::optional<int> start = sql.int32Value(5);
        const std::optional<int> end = sql.int32Value(6);
        const std::optional<ActivityKind> kind =
            sql.int32Value(7) ? ActivityKindFromCode(*sql.int32Value(7)) : std::nullopt;
        if (!start || !end || !kind || *end <= *start)
            continue;
        const int crew = sql.intOr(8, 0);
        const Minute day = MinuteOf(*date);
        timeline.intervals.push_back(TimelineInterval{day + *start, day + *end, *kind,
                                                      (crew & (kCrewFlagCrew | kCrewFlagCoDriver)) != 0,
                                                      NightWindow{sql.intOr(3, 0), sql.intOr(4, 0)}});
    }
    return timelines;
}

std::vector<CheckedDriver> LoadCheckedDrivers(Transaction& read)
{
    ReadScope scope(read);
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT IDDJ,IMEPREZIME FROM DJELATNICI ORDER BY IMEPREZIME,IDDJ"));
    sql.execute();
    std::vector<CheckedDriver> drivers;
    while (sql.next()) {
        if (const std::optional<int> id = sql.int32Value(0))
            drivers.push_back(CheckedDriver{*id, sql.textOr(1, QString())});
    }
    return drivers;
}
