#include "reviews/overview_queries.h"

#include "common/name_order.h"
#include "common/time_text.h"
#include "db/scopes.h"
#include "entries/manual_entry.h"

#include <QTime>

#include <algorithm>
#include <map>

namespace {

const QString kNotAvailable = QStringLiteral("N/A");
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
const QString kMomentFormat = QStringLiteral("dd.MM.yyyy HH:mm:ss");
constexpr int kScannedChart = kSubtypeScannedChart;
constexpr int kSummary = kSubtypeSummary;

// The lists read their lines in the order of an index (UNOS.DV, DUNOS.DATUM, both descending),
// so that the first screen comes at once however large the database; the aggregates of the
// entries are subqueries per line, and the finer order within a date is made while reading.
// One driver's lines come from his entries (UN_IDX3 for the entries in their order, UN_IDX1
// for the day lists, whose few thousand lines are sorted): walking every driver's dates to find
// his would read fifty lines for each one shown. A read may start further down the list, at a
// date (a keyset), and the dated lines are read apart from the undated ones, which come last.

// Which lines of a list one statement reads.
struct Part {
    std::optional<QDate> atOrBefore;  // the dated lines from this date down, or all of them
    bool undated = false;             // the entry days without a date
};

void AddDriverAndEntryLines(QStringList& lines, const OverviewFilter& filter)
{
    if (filter.driverId)
        lines << QStringLiteral("and unos.idvozac=:IDV");
    if (filter.entered)
        lines << QStringLiteral("and (unos.dv>=:D1 and unos.dv<=:D2)");
}

// "+ 0" keeps the first and last day of an entry to the entry's own days (DUN_IDX1): by an
// index on the date, the database would walk the dates of every other entry to get there.
const QString kFirstDay = QStringLiteral("(select min(d.datum + 0) from dunos d where d.idunos=unos.idunos)");
const QString kLastDay = QStringLiteral("(select max(d.datum + 0) from dunos d where d.idunos=unos.idunos)");

// The filters of the entries; the day filter keeps an entry whose days reach into the range.
void AddEntryFilters(QStringList& lines, const OverviewFilter& filter)
{
    AddDriverAndEntryLines(lines, filter);
    if (filter.days)
        lines << QStringLiteral("and ((%1<=:D3 or %1<=:D4) and (%2>=:D3 or %2>=:D4))").arg(kFirstDay, kLastDay);
}

QString EntriesQuery(const OverviewFilter& filter, const Part& part)
{
    QStringList lines{
        QStringLiteral("select unos.idunos,unos.idvozac,unos.tip,djelatnici.imeprezime,unos.dv,"),
        QStringLiteral("(select sum(d.dkm) from dunos d where d.idunos=unos.idunos) as ukkm,") + kFirstDay
            + QStringLiteral(" as mindat,") + kLastDay + QStringLiteral(" as maxdat,unos.podtip"),
        QStringLiteral("from unos left join djelatnici on unos.idvozac=djelatnici.iddj"),
        QStringLiteral("where unos.dv is not null"),
    };
    AddEntryFilters(lines, filter);
    if (part.atOrBefore)
        lines << QStringLiteral("and unos.dv<:B");
    lines << QStringLiteral("order by unos.dv desc");
    return lines.join(QLatin1Char('\n'));
}

// The tables of the day lists: every entry day from its date, or one driver's from his
// entries. The WHERE clause drops entry days without an entry either way.
QStringList DayTables(const OverviewFilter& filter)
{
    if (filter.driverId) {
        return {QStringLiteral("from unos join dunos on dunos.idunos=unos.idunos"),
                QStringLiteral("left join djelatnici on djelatnici.iddj=unos.idvozac")};
    }
    return {QStringLiteral("from dunos left join unos on unos.idunos=dunos.idunos"),
            QStringLiteral("left join djelatnici on djelatnici.iddj=unos.idvozac")};
}

void AddDayFilters(QStringList& lines, const OverviewFilter& filter)
{
    AddDriverAndEntryLines(lines, filter);
    if (filter.days)
        lines << QStringLiteral("and (dunos.datum>=:D3 and dunos.datum<=:D4)");
}

void AddDayPart(QStringList& lines, const Part& part)
{
    if (part.undated) {
        lines << QStringLiteral("and dunos.datum is null");
        return;
    }
    lines << (part.atOrBefore ? QStringLiteral("and dunos.datum<=:B") : QStringLiteral("and dunos.datum is not null"));
    lines << QStringLiteral("order by dunos.datum desc");
}

QString EntryDaysQuery(const OverviewFilter& filter, const Part& part)
{
    QStringList lines{
        QStringLiteral("select dunos.datum, dunos.dkm,  dunos.s1, dunos.s2,dunos.s3,dunos.s4, (select min(satiunos.tod) "
                       "from satiunos where satiunos.iddunos=dunos.idd) as m1,"),
        QStringLiteral(" (select max(satiunos.tdo) from satiunos where satiunos.iddunos=dunos.idd) as m2, unos.idvozac, "
                       "unos.tip, unos.dv, djelatnici.imeprezime,dunos.idunos,dunos.idd,dunos.t1,dunos.t2,unos.podtip"),
    };
    lines << DayTables(filter) << QStringLiteral("where unos.dv is not null");
    AddDayFilters(lines, filter);
    AddDayPart(lines, part);
    return lines.join(QLatin1Char('\n'));
}

QString DayTotalsQuery(const OverviewFilter& filter, const Part& part)
{
    QStringList lines{QStringLiteral("select dunos.datum, dunos.dkm, dunos.s1, dunos.s2, dunos.s3, dunos.s4, "
                                     "unos.idvozac, djelatnici.imeprezime")};
    lines << DayTables(filter) << QStringLiteral("where unos.dv is not null");
    AddDayFilters(lines, filter);
    AddDayPart(lines, part);
    return lines.join(QLatin1Char('\n'));
}

// The groups' sizes. A day-totals line is a driver's (and his name's) entry days of a date; a
// driver id gives one name (IDDJ is the key of DJELATNICI), so a date has as many lines as
// drivers, entries without a driver making one more.
QString GroupsQuery(const QString& list, const OverviewFilter& filter)
{
    QStringList lines;
    if (list == QLatin1String("entries")) {
        lines << QStringLiteral("select cast(unos.dv as date), count(*) from unos")
              << QStringLiteral("where unos.dv is not null");
        AddEntryFilters(lines, filter);
        lines << QStringLiteral("group by 1 order by 1 desc");
        return lines.join(QLatin1Char('\n'));
    }
    lines << (list == QLatin1String("days")
                  ? QStringLiteral("select dunos.datum, count(*)")
                  : QStringLiteral("select dunos.datum, count(distinct unos.idvozac) + max(iif(unos.idvozac is null, 1, 0))"))
          << QStringLiteral("from unos join dunos on dunos.idunos=unos.idunos")
          << QStringLiteral("where unos.dv is not null");
    AddDayFilters(lines, filter);
    lines << QStringLiteral("group by 1 order by 1 desc nulls last");
    return lines.join(QLatin1Char('\n'));
}

template <typename Row>
QString QueryOfPart(const OverviewFilter& filter, const Part& part);

template <>
QString QueryOfPart<OverviewEntryRow>(const OverviewFilter& filter, const Part& part)
{
    return EntriesQuery(filter, part);
}

template <>
QString QueryOfPart<OverviewDayRow>(const OverviewFilter& filter, const Part& part)
{
    return EntryDaysQuery(filter, part);
}

template <>
QString QueryOfPart<OverviewTotalRow>(const OverviewFilter& filter, const Part& part)
{
    return DayTotalsQuery(filter, part);
}

template <typename Row>
constexpr bool kHasUndated = !std::is_same_v<Row, OverviewEntryRow>;

}  // namespace

void BindOverviewFilter(Statement& statement, const OverviewFilter& filter)
{
    if (filter.driverId)
        statement.setInt(QStringLiteral("IDV"), *filter.driverId);
    if (filter.entered) {
        // From the first day's 00:00 to the last moment of the second day.
        statement.setTimestamp(QStringLiteral("D1"), QDateTime(filter.entered->first, QTime(0, 0), Qt::UTC));
        statement.setTimestamp(QStringLiteral("D2"), QDateTime(filter.entered->second, QTime(23, 59, 59, 999), Qt::UTC));
    }
    if (filter.days) {
        statement.setDate(QStringLiteral("D3"), filter.days->first);
        statement.setDate(QStringLiteral("D4"), filter.days->second);
    }
}

namespace {

EntryMark MarkOfSubtype(std::optional<int> type, std::optional<int> subtype)
{
    if (type != 0)
        return EntryMark::OtherType;
    if (subtype == kScannedChart)
        return EntryMark::ScannedChart;
    if (subtype == kSubtypeDriverCard)
        return EntryMark::DriverCard;
    return subtype == kSummary ? EntryMark::Summary : EntryMark::Manual;
}

QString DayTimeText(std::optional<int> minute, bool fromTotals, std::optional<int> total)
{
    if (minute)
        return FormatMinutes(*minute);
    return fromTotals ? FormatMinutes(total.value_or(0)) : kNotAvailable;
}

// Column texts as a copied list gives them: NULL empty, numbers as they are, decimals with the
// decimal comma and no trailing zeros.
template <typename T>
QString Text(const std::optional<T>& value)
{
    if (!value)
        return QString();
    if constexpr (std::is_same_v<T, Decimal3>)
        return value->toText();
    else if constexpr (std::is_same_v<T, QDate>)
        return value->toString(kDateFormat);
    else
        return QString::number(*value);
}

QString Text(const QDateTime& moment)
{
    return moment.isValid() ? moment.toString(kMomentFormat) : QString();
}

OverviewEntryRow ReadRow(const Statement& sql, const OverviewEntryRow*)
{
    OverviewEntryRow row;
    row.entryId = sql.intOr(0, 0);
    row.driverId = sql.int32Value(1);
    row.type = sql.int32Value(2);
    row.driverName = sql.textOr(3, QString());
    row.enteredAt = sql.timestampValue(4).value_or(QDateTime());
    row.kilometres = sql.optionalDecimal3(5);
    row.firstDay = sql.dateValue(6);
    row.lastDay = sql.dateValue(7);
    row.subtype = sql.int32Value(8);
    return row;
}

OverviewDayRow ReadRow(const Statement& sql, const OverviewDayRow*)
{
    OverviewDayRow row;
    row.date = sql.dateValue(0).value_or(QDate());
    row.kilometres = sql.optionalDecimal3(1);
    for (int kind = 0; kind < 4; ++kind)
        row.kindMinutes[static_cast<size_t>(kind)] = sql.int32Value(2 + kind);
    row.firstMinute = sql.int32Value(6);
    row.lastMinute = sql.int32Value(7);
    row.driverId = sql.int32Value(8);
    row.type = sql.int32Value(9);
    row.enteredAt = sql.timestampValue(10).value_or(QDateTime());
    row.driverName = sql.textOr(11, QString());
    row.entryId = sql.intOr(12, 0);
    row.dayId = sql.intOr(13, 0);
    row.workStart = sql.int32Value(14);
    row.workEnd = sql.int32Value(15);
    row.subtype = sql.int32Value(16);
    return row;
}

// Sums as SQL adds up: NULLs left out, and NULL when there is nothing to add.
template <typename T>
void AddTo(std::optional<T>& sum, const std::optional<T>& value)
{
    if (value)
        sum = sum ? *sum + *value : *value;
}

// The day-totals lines of one date, from its entry days as read.
std::vector<OverviewTotalRow> TotalsOfDate(const std::vector<OverviewDayRow>& days)
{
    std::map<std::pair<std::optional<int>, QString>, OverviewTotalRow> groups;
    for (const OverviewDayRow& day : days) {
        OverviewTotalRow& total = groups[{day.driverId, day.driverName}];
        total.date = day.date;
        total.driverId = day.driverId;
        total.driverName = day.driverName;
        AddTo(total.kilometres, day.kilometres);
        bool allKinds = true;
        qint64 dayTotal = 0;
        for (size_t kind = 0; kind < 4; ++kind) {
            const std::optional<int>& minutes = day.kindMinutes[kind];
            AddTo(total.kindMinutes[kind], minutes ? std::optional<qint64>(*minutes) : std::nullopt);
            allKinds = allKinds && minutes.has_value();
            dayTotal += minutes.value_or(0);
        }
        if (allKinds)
            AddTo(total.totalMinutes, std::optional<qint64>(dayTotal));
        ++total.entryDays;
    }
    std::vector<OverviewTotalRow> rows;
    for (auto& [key, total] : groups)
        rows.push_back(std::move(total));
    SortByName(rows, [](const OverviewTotalRow& row) { return row.driverName; });
    return rows;
}

// The entry days of one date by their first minute, a day without intervals first; days of
// the same first minute by their key, so that every read of a date gives it in one order.
void SortWithinDate(std::vector<OverviewDayRow>& days)
{
    std::sort(days.begin(), days.end(), [](const OverviewDayRow& a, const OverviewDayRow& b) {
        return std::pair{a.firstMinute.value_or(-1), a.dayId} < std::pair{b.firstMinute.value_or(-1), b.dayId};
    });
}

}  // namespace

template <typename Row>
QString OverviewQuery(const OverviewFilter& filter)
{
    return QueryOfPart<Row>(filter, Part{});
}

std::optional<QDate> OverviewGroupOf(const OverviewEntryRow& row)
{
    return row.enteredAt.date();
}

std::optional<QDate> OverviewGroupOf(const OverviewDayRow& row)
{
    return row.date.isValid() ? std::optional<QDate>(row.date) : std::nullopt;
}

std::optional<QDate> OverviewGroupOf(const OverviewTotalRow& row)
{
    return row.date.isValid() ? std::optional<QDate>(row.date) : std::nullopt;
}

template <typename Row>
std::vector<OverviewGroup> LoadOverviewGroups(Transaction& read, const OverviewFilter& filter)
{
    ReadScope scope(read);
    Statement sql(read);
    const QString list = std::is_same_v<Row, OverviewEntryRow> ? QStringLiteral("entries")
        : std::is_same_v<Row, OverviewDayRow>                  ? QStringLiteral("days")
                                                               : QStringLiteral("totals");
    sql.prepare(GroupsQuery(list, filter));
    BindOverviewFilter(sql, filter);
    sql.execute();
    std::vector<OverviewGroup> groups;
    while (sql.next())
        groups.push_back(OverviewGroup{sql.dateValue(0), sql.intOr(1, 0)});
    return groups;
}

std::vector<std::pair<int, QString>> LoadOverviewDrivers(Transaction& read)
{
    ReadScope scope(read);
    Statement sql(read);
    // The distinct drivers of the entries, each found by one step along UN_IDX1 from the one
    // before (reading every entry for fifty names would take a good part of a second).
    sql.prepare(QStringLiteral(
        "WITH RECURSIVE DRIVERS (ID) AS (SELECT MIN(IDVOZAC) FROM UNOS UNION ALL SELECT (SELECT MIN(U.IDVOZAC) FROM "
        "UNOS U WHERE U.IDVOZAC >= DRIVERS.ID + 1) FROM DRIVERS WHERE DRIVERS.ID IS NOT NULL) "
        "SELECT DRIVERS.ID, DJELATNICI.IMEPREZIME FROM DRIVERS LEFT JOIN DJELATNICI ON DRIVERS.ID=DJELATNICI.IDDJ "
        "WHERE DRIVERS.ID IS NOT NULL ORDER BY 2, 1"));
    sql.execute();
    std::vector<std::pair<int, QString>> drivers;
    while (sql.next()) {
        if (const std::optional<qint64> id = sql.intValue(0))
            drivers.emplace_back(static_cast<int>(*id), sql.textOr(1, QString()));
    }
    SortByName(drivers, [](const std::pair<int, QString>& driver) { return driver.second; });
    return drivers;
}

EntryMark OverviewEntryRow::mark() const
{
    return MarkOfSubtype(type, subtype);
}

QString OverviewEntryRow::periodText() const
{
    if (!firstDay || !lastDay)
        return kNotAvailable;
    const QString first = firstDay->toString(kDateFormat);
    return *firstDay == *lastDay ? first : first + QStringLiteral(" - ") + lastDay->toString(kDateFormat);
}

QStringList OverviewEntryRow::columnTexts() const
{
    return {QString::number(entryId), Text(driverId), Text(type), driverName, Text(enteredAt),
            Text(kilometres), Text(firstDay), Text(lastDay), Text(subtype)};
}

EntryMark OverviewDayRow::mark() const
{
    if (type != 0)
        return EntryMark::OtherType;
    if (!firstMinute && !lastMinute)
        return EntryMark::Summary;
    if (subtype == kSubtypeDriverCard)
        return EntryMark::DriverCard;
    return subtype == kScannedChart ? EntryMark::ScannedChart : EntryMark::Manual;
}

QString OverviewDayRow::startText() const
{
    return DayTimeText(firstMinute, workStart.value_or(0) != 0 || workEnd.value_or(0) != 0, workStart);
}

QString OverviewDayRow::endText() const
{
    return DayTimeText(lastMinute, workStart.value_or(0) != 0 || workEnd.value_or(0) != 0, workEnd);
}

QStringList OverviewDayRow::columnTexts() const
{
    QStringList texts{Text(std::optional<QDate>(date)), Text(kilometres)};
    for (const std::optional<int>& minutes : kindMinutes)
        texts << Text(minutes);
    texts << Text(firstMinute) << Text(lastMinute) << Text(driverId) << Text(type) << Text(enteredAt) << driverName
          << QString::number(entryId) << QString::number(dayId) << Text(workStart) << Text(workEnd) << Text(subtype);
    return texts;
}

bool OverviewTotalRow::exceedsOneDay() const
{
    return totalMinutes.value_or(0) > kMinutesPerDay;
}

QStringList OverviewTotalRow::columnTexts() const
{
    QStringList texts{Text(std::optional<QDate>(date)), Text(kilometres)};
    for (const std::optional<qint64>& minutes : kindMinutes)
        texts << Text(minutes);
    texts << Text(driverId) << driverName << Text(totalMinutes) << QString::number(entryDays);
    return texts;
}

EntryOpening OpeningOfEntry(std::optional<int> type, std::optional<int> subtype)
{
    if (type != 0)
        return EntryOpening::Nothing;
    return subtype == kScannedChart ? EntryOpening::TwoDayChartMessage : EntryOpening::Edit;
}

bool OpensDayForEditing(std::optional<int> type)
{
    return type == 0;
}

template <typename Row>
OverviewReader<Row>::OverviewReader(Transaction& read, const OverviewFilter& filter,
                                   const std::optional<OverviewStart>& start)
    : m_filter(filter), m_sql(read)
{
    ReadScope scope(read);
    execute(start);
    if (start && start->skip > 0)
        fetch(start->skip);
}

template <typename Row>
void OverviewReader<Row>::execute(const std::optional<OverviewStart>& start)
{
    Part part;
    if (start) {
        part.atOrBefore = start->group;
        part.undated = !start->group;
    }
    m_undatedNext = kHasUndated<Row> && !part.undated;
    m_sql.prepare(QueryOfPart<Row>(m_filter, part));
    BindOverviewFilter(m_sql, m_filter);
    if (part.atOrBefore && std::is_same_v<Row, OverviewEntryRow>)
        m_sql.setTimestamp(QStringLiteral("B"), QDateTime(part.atOrBefore->addDays(1), QTime(0, 0), Qt::UTC));
    else if (part.atOrBefore)
        m_sql.setDate(QStringLiteral("B"), *part.atOrBefore);
    m_sql.execute();
}

template <typename Row>
bool OverviewReader<Row>::nextQueryRow()
{
    if (m_pending)
        return true;
    if (m_atEnd)
        return false;
    m_pending = m_sql.next();
    if (!m_pending && m_undatedNext) {
        execute(OverviewStart{std::nullopt, 0});
        m_pending = m_sql.next();
    }
    m_atEnd = !m_pending;
    return m_pending;
}

template <>
std::vector<OverviewEntryRow> OverviewReader<OverviewEntryRow>::fetch(int count)
{
    std::vector<OverviewEntryRow> rows;
    while (static_cast<int>(rows.size()) < count && nextQueryRow()) {
        rows.push_back(ReadRow(m_sql, static_cast<const OverviewEntryRow*>(nullptr)));
        m_pending = false;
    }
    return rows;
}

template <>
std::vector<OverviewDayRow> OverviewReader<OverviewDayRow>::fetch(int count)
{
    std::vector<OverviewDayRow> rows;
    std::vector<OverviewDayRow> date;
    while (nextQueryRow()) {
        const QDate day = m_sql.dateValue(0).value_or(QDate());
        if (!date.empty() && day != date.front().date) {
            SortWithinDate(date);
            rows.insert(rows.end(), date.begin(), date.end());
            date.clear();
            if (static_cast<int>(rows.size()) >= count)
                return rows;
        }
        date.push_back(ReadRow(m_sql, static_cast<const OverviewDayRow*>(nullptr)));
        m_pending = false;
    }
    SortWithinDate(date);
    rows.insert(rows.end(), date.begin(), date.end());
    return rows;
}

template <>
std::vector<OverviewTotalRow> OverviewReader<OverviewTotalRow>::fetch(int count)
{
    std::vector<OverviewTotalRow> rows;
    std::vector<OverviewDayRow> date;
    const auto addDate = [&] {
        const std::vector<OverviewTotalRow> totals = TotalsOfDate(date);
        rows.insert(rows.end(), totals.begin(), totals.end());
        date.clear();
    };
    while (nextQueryRow()) {
        const QDate day = m_sql.dateValue(0).value_or(QDate());
        if (!date.empty() && day != date.front().date) {
            addDate();
            if (static_cast<int>(rows.size()) >= count)
                return rows;
        }
        OverviewDayRow read;
        read.date = day;
        read.kilometres = m_sql.optionalDecimal3(1);
        for (int kind = 0; kind < 4; ++kind)
            read.kindMinutes[static_cast<size_t>(kind)] = m_sql.int32Value(2 + kind);
        read.driverId = m_sql.int32Value(6);
        read.driverName = m_sql.textOr(7, QString());
        date.push_back(std::move(read));
        m_pending = false;
    }
    if (!date.empty())
        addDate();
    return rows;
}

template <typename Row>
QString OverviewCopyText(Transaction& read, const OverviewFilter& filter)
{
    constexpr int kBatch = 1000;
    OverviewReader<Row> reader(read, filter);
    QString text;
    int number = 0;
    while (!reader.atEnd()) {
        for (const Row& row : reader.fetch(kBatch)) {
            text += QString::number(++number) + QLatin1Char('\t') + row.columnTexts().join(QLatin1Char('\t'))
                + QStringLiteral("\r\n");
        }
    }
    return text;
}

template class OverviewReader<OverviewEntryRow>;
template class OverviewReader<OverviewDayRow>;
template class OverviewReader<OverviewTotalRow>;
template QString OverviewCopyText<OverviewEntryRow>(Transaction&, const OverviewFilter&);
template QString OverviewCopyText<OverviewDayRow>(Transaction&, const OverviewFilter&);
template QString OverviewCopyText<OverviewTotalRow>(Transaction&, const OverviewFilter&);
template QString OverviewQuery<OverviewEntryRow>(const OverviewFilter&);
template QString OverviewQuery<OverviewDayRow>(const OverviewFilter&);
template QString OverviewQuery<OverviewTotalRow>(const OverviewFilter&);
template std::vector<OverviewGroup> LoadOverviewGroups<OverviewEntryRow>(Transaction&, const OverviewFilter&);
template std::vector<OverviewGroup> LoadOverviewGroups<OverviewDayRow>(Transaction&, const OverviewFilter&);
template std::vector<OverviewGroup> LoadOverviewGroups<OverviewTotalRow>(Transaction&, const OverviewFilter&);
