#include "reviews/period_record.h"

#include "db/scopes.h"
#include "db/statement.h"

#include <QLocale>

#include <map>

namespace {

constexpr int kDaysBeforeLast = 28;

}  // namespace

PeriodDriver LoadPeriodDriver(Transaction& read, int driverId)
{
    ReadScope scope(read);
    PeriodDriver driver;
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT IMEPREZIME FROM DJELATNICI WHERE IDDJ=:IDV"));
    sql.setInt(QStringLiteral("IDV"), driverId);
    sql.execute();
    if (sql.next())
        driver.name = sql.textValue(0).value_or(QString());
    sql.prepare(QStringLiteral("SELECT MIN(DATUM),MAX(DATUM) FROM DUNOS LEFT JOIN UNOS ON DUNOS.IDUNOS=UNOS.IDUNOS "
                               "WHERE UNOS.IDVOZAC=:IDV"));
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
    sql.prepare(QStringLiteral("SELECT TOD,TDO,TAKT,SCP,DATUM FROM SATIUNOS LEFT JOIN DUNOS ON DUNOS.IDD=SATIUNOS.IDDUNOS "
                               "LEFT JOIN UNOS ON UNOS.IDUNOS=DUNOS.IDUNOS WHERE CAST(DUNOS.DATUM AS DATE)>=:D1 AND "
                               "CAST(DUNOS.DATUM AS DATE)<=:D2 AND UNOS.IDVOZAC=:IDV ORDER BY DATUM,TOD,TDO"));
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
