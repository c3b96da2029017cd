#include "reviews/period_record.h"

#include "db/scopes.h"
#include "db/statement.h"

#include <QLocale>

#include <map>

namespace {

constexpr int kDaysBeforeLast = 28;

const QString kNameSql = QStringLiteral("SELECT IMEPREZIME FROM DJELATNICI WHERE IDDJ=:IDV");
const QString kRangeSql = QStringLiteral(
    "SELECT MIN(DUNOS.DATUM),MAX(DUNOS.DATUM) FROM UNOS JOIN DUNOS ON DUNOS.IDUNOS=UNOS.IDUNOS\n"
    "WHERE UNOS.IDVOZAC=:IDV\n"
    "PLAN JOIN (UNOS INDEX (UN_IDX1), DUNOS INDEX (DUN_IDX1))");
// The driver's entries (UN_IDX1), their days in the range and the days' intervals. The joins
// are inner ones: the conditions on DUNOS and UNOS drop every interval without an entry day or
// an entry anyway. By the date the engine would read every driver's days of the range, all of
// the database for ten years.
const QString kIntervalsSql = QStringLiteral(
    "SELECT TOD,TDO,TAKT,SCP,DUNOS.DATUM FROM UNOS\n"
    "JOIN DUNOS ON DUNOS.IDUNOS=UNOS.IDUNOS\n"
    "JOIN SATIUNOS ON SATIUNOS.IDDUNOS=DUNOS.IDD\n"
    "WHERE DUNOS.DATUM>=:D1 AND DUNOS.DATUM<=:D2 AND UNOS.IDVOZAC=:IDV\n"
    "PLAN SORT (JOIN (UNOS INDEX (UN_IDX1), DUNOS INDEX (DUN_IDX1), SATIUNOS INDEX (SATIUNOS_IDX1)))\n"
    "ORDER BY DUNOS.DATUM,TOD,TDO");

}  // namespace

QStringList PeriodDriverStatements()
{
    return {kNameSql, kRangeSql};
}

QString PeriodDaysStatement()
{
    return kIntervalsSql;
}

PeriodDriver LoadPeriodDriver(Transaction& read, int driverId)
{
    ReadScope scope(read);
    PeriodDriver driver;
    Statement sql(read);
    sql.prepare(kNameSql);
    sql.setInt(QStringLiteral("IDV"), driverId);
    sql.execute();
    if (sql.next())
        driver.name = sql.textOr(0, QString());
    sql.prepare(kRangeSql);
    sql.setInt(QStringLiteral("IDV"), driverId);
    sql.execute();
    if (sql.next()) {
        driver.firstDay = sql.dateValue(0);
        driver.lastDay = sql.dateValue(1);
    }
    return driver;
}

std::vector<PeriodDay> LoadPeriodDays(Transaction& read, int driverId, const QDate& from, const QDate& to,
                                      bool onlyWithActivities)
{
    ReadScope scope(read);
    Statement sql(read);
    sql.prepare(kIntervalsSql);
    sql.setDate(QStringLiteral("D1"), from);
    sql.setDate(QStringLiteral("D2"), to);
    sql.setInt(QStringLiteral("IDV"), driverId);
    sql.execute();
    std::map<QDate, std::vector<ChartInterval>> byDate;
    while (sql.next()) {
        const std::optional<QDate> date = sql.dateValue(4);
        if (!date)
            continue;
        byDate[*date].push_back(
            ChartInterval{sql.int32Value(0), sql.int32Value(1), sql.int32Value(2), sql.int32Value(3).value_or(0)});
    }
    std::vector<PeriodDay> days;
    for (QDate date = from; date <= to; date = date.addDays(1)) {
        auto found = byDate.find(date);
        if (found == byDate.end() && onlyWithActivities)
            continue;
        days.push_back(PeriodDay{date, found == byDate.end() ? std::vector<ChartInterval>{} : std::move(found->second)});
    }
    return days;
}

std::pair<QDate, QDate> InitialPeriod(const QDate& lastDay)
{
    return {lastDay.addDays(-kDaysBeforeLast), lastDay};
}

QString ShortWeekdayName(const QDate& date)
{
    static const QLocale croatian(QLocale::Croatian, QLocale::Croatia);
    return croatian.dayName(date.dayOfWeek(), QLocale::ShortFormat);
}
