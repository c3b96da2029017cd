#include "worktime/worktime_record.h"

#include "common/name_order.h"
#include "db/scopes.h"
#include "db/statement.h"

namespace {

constexpr int kDaysPerWeek = 7;
const QString kFillerValues = QStringLiteral("---");

int IntOrZero(const Statement& sql, int column)
{
    return static_cast<int>(sql.intValue(column).value_or(0));
}

DayValues ValuesOf(const DaySums& sums)
{
    DayValues values;
    values.dayWork = sums.s3 + sums.s4 - sums.n1 - sums.n2;
    values.nightWork = sums.n1 + sums.n2;
    values.total = sums.s3 + sums.s4;
    values.s1 = sums.s1;
    values.s2 = sums.s2;
    values.s3 = sums.s3;
    values.s4 = sums.s4;
    values.notes = sums.notes;
    values.n1 = sums.n1;
    values.n2 = sums.n2;
    return values;
}

bool HasValues(const DaySums& sums)
{
    return sums.s1 != 0 || sums.s2 != 0 || sums.s3 != 0 || sums.s4 != 0 || sums.s5 != 0;
}

WorkTimeRow WeekOf(const std::vector<WorkTimeRow>& rows, size_t first)
{
    WorkTimeRow week;
    week.kind = WorkTimeRow::Kind::Week;
    for (size_t row = first; row < first + kDaysPerWeek; ++row) {
        const std::optional<DayValues>& values = rows[row].values;
        if (!values)
            continue;
        const std::array<int, 7> positions{values->dayWork, values->nightWork, values->total, values->s1,
                                           values->s2,      values->s3,        values->s4};
        for (size_t position = 0; position < positions.size(); ++position)
            week.weekSums[position] += positions[position];
    }
    week.excess = week.weekSums[2] - kWeekLimitMinutes;
    return week;
}

}  // namespace

std::vector<WorkTimeRow> BuildWorkTimeRows(const QDate& from, const QDate& to, const std::map<QDate, DaySums>& sums,
                                           const std::vector<AttestedPeriod>& attestations)
{
    std::vector<WorkTimeRow> days;
    for (QDate date = from; date <= to; date = date.addDays(1)) {
        WorkTimeRow row;
        row.date = date;
        for (const AttestedPeriod& attestation : attestations) {
            if (attestation.covers(date)) {
                row.attested = attestation.activity;
                break;
            }
        }
        if (const auto found = sums.find(date); found != sums.end() && HasValues(found->second))
            row.values = ValuesOf(found->second);
        days.push_back(std::move(row));
    }
    // Filler days complete the first and the last week.
    std::vector<WorkTimeRow> rows;
    const auto filler = [](const QDate& date) {
        WorkTimeRow row;
        row.kind = WorkTimeRow::Kind::Filler;
        row.date = date;
        return row;
    };
    for (int before = from.dayOfWeek() - 1; before > 0; --before)
        rows.push_back(filler(from.addDays(-before)));
    rows.insert(rows.end(), days.begin(), days.end());
    for (int after = 1; after <= kDaysPerWeek - to.dayOfWeek(); ++after)
        rows.push_back(filler(to.addDays(after)));

    std::vector<WorkTimeRow> withWeeks;
    const size_t weeks = rows.size() / kDaysPerWeek;
    for (size_t week = 0; week < weeks; ++week) {
        const size_t first = week * kDaysPerWeek;
        withWeeks.insert(withWeeks.end(), rows.begin() + static_cast<std::ptrdiff_t>(first),
                         rows.begin() + static_cast<std::ptrdiff_t>(first + kDaysPerWeek));
        withWeeks.push_back(WeekOf(rows, first));
    }
    return withWeeks;
}

std::vector<WorkTimeRow> LoadWorkTimeRecord(Transaction& read, int driverId, const QDate& from, const QDate& to)
{
    if (to < from)
        return BuildWorkTimeRows(from, to, {}, {});
    ReadScope scope(read);
    Statement sql(read);
    // Entry days of the period, each date's in the order they were stored. The plan goes from
    // the driver's entries to their days: by the date the database would read every driver's
    // days of the period.
    sql.prepare(QStringLiteral("SELECT DUNOS.DATUM,S1,S2,S3,S4,S5,N1,N2,NAP FROM UNOS\n"
                               "JOIN DUNOS ON UNOS.IDUNOS=DUNOS.IDUNOS\n"
                               "WHERE UNOS.IDVOZAC=:IDDJ AND DUNOS.DATUM>=:D1 AND DUNOS.DATUM<=:D2\n"
                               "PLAN SORT (JOIN (UNOS INDEX (UN_IDX1), DUNOS INDEX (DUN_IDX1)))\n"
                               "ORDER BY DUNOS.DATUM,DUNOS.IDD"));
    sql.setInt(QStringLiteral("IDDJ"), driverId);
    sql.setDate(QStringLiteral("D1"), from);
    sql.setDate(QStringLiteral("D2"), to);
    sql.execute();
    std::map<QDate, DaySums> sums;
    while (sql.next()) {
        const std::optional<QDate> date = sql.dateValue(0);
        if (!date)
            continue;
        DaySums& day = sums[*date];
        day.s1 += IntOrZero(sql, 1);
        day.s2 += IntOrZero(sql, 2);
        day.s3 += IntOrZero(sql, 3);
        day.s4 += IntOrZero(sql, 4);
        day.s5 += IntOrZero(sql, 5);
        day.n1 += IntOrZero(sql, 6);
        day.n2 += IntOrZero(sql, 7);
        const QString note = sql.textValue(8).value_or(QString());
        if (!note.isEmpty())
            day.notes = day.notes.isEmpty() ? note : day.notes + QLatin1Char(' ') + note;
    }
    // Attestations of the driver that reach into the period, in the order they were made.
    sql.prepare(QStringLiteral("SELECT TIP,RAZOD,RAZDO FROM AKTPOTVRDA WHERE IDVOZ=:IDV AND CAST(RAZOD AS DATE)<=:D2 AND\n"
                               "((RAZDO IS NULL AND CAST(RAZOD AS DATE)>=:D1) OR CAST(RAZDO AS DATE)>=:D1)\n"
                               "ORDER BY IDP"));
    sql.setInt(QStringLiteral("IDV"), driverId);
    sql.setDate(QStringLiteral("D1"), from);
    sql.setDate(QStringLiteral("D2"), to);
    sql.execute();
    std::vector<AttestedPeriod> attestations;
    while (sql.next()) {
        const std::optional<QDate> start = sql.dateValue(1);
        if (!start)
            continue;
        attestations.push_back(AttestedPeriod{IntOrZero(sql, 0), *start, sql.dateValue(2)});
    }
    return BuildWorkTimeRows(from, to, sums, attestations);
}

std::vector<RecordDriver> LoadRecordDrivers(Transaction& read)
{
    ReadScope scope(read);
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT DJELATNICI.IMEPREZIME,DJELATNICI.IDDJ, OIB FROM DJELATNICI\nORDER BY 1 ASC"));
    sql.execute();
    std::vector<RecordDriver> drivers;
    while (sql.next()) {
        drivers.push_back(RecordDriver{static_cast<int>(sql.intValue(1).value_or(-1)), sql.textValue(0).value_or(QString()),
                                       sql.textValue(2).value_or(QString())});
    }
    SortByName(drivers, [](const RecordDriver& driver) { return driver.name; });
    return drivers;
}

int WorkTimeItemCount(const std::vector<WorkTimeRow>& rows)
{
    int count = 0;
    for (const WorkTimeRow& row : rows)
        count += row.kind != WorkTimeRow::Kind::Week ? 1 : 0;
    return count;
}

QString HoursText(qint64 minutes)
{
    return QStringLiteral("%1:%2").arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString WeekdayAbbreviation(const QDate& date)
{
    static const QStringList names{QStringLiteral("pon"), QStringLiteral("uto"), QStringLiteral("sri"), QStringLiteral("čet"),
                                   QStringLiteral("pet"), QStringLiteral("sub"), QStringLiteral("ned")};
    return names.value(date.dayOfWeek() - 1);
}

QString WorkTimeNotesText(const WorkTimeRow& row)
{
    switch (row.kind) {
    case WorkTimeRow::Kind::Week:
        return row.excess > 0 ? QStringLiteral("Višak (iznad 48 sati): ") + HoursText(row.excess)
                              : QStringLiteral("manje od 48 sati tjedno");
    case WorkTimeRow::Kind::Filler:
        return kFillerValues;
    case WorkTimeRow::Kind::Day:
        break;
    }
    const QString notes = row.values ? row.values->notes : QString();
    if (row.attested < 0)
        return notes;
    QString text = QStringLiteral("Potvrda - ") + AttestedActivityTexts().value(row.attested);
    if (!notes.trimmed().isEmpty())
        text += QStringLiteral(" [") + notes + QLatin1Char(']');
    return text;
}

QString WorkTimeValueText(const WorkTimeRow& row, int position)
{
    switch (row.kind) {
    case WorkTimeRow::Kind::Filler:
        return QString();
    case WorkTimeRow::Kind::Week:
        return HoursText(row.weekSums[static_cast<size_t>(position - 1)]);
    case WorkTimeRow::Kind::Day:
        break;
    }
    if (!row.values)
        return HoursText(0);
    const std::array<int, 3> values{row.values->dayWork, row.values->nightWork, row.values->total};
    return HoursText(values[static_cast<size_t>(position - 1)]);
}

QStringList WorkTimePrintLines(const std::vector<WorkTimeRow>& rows)
{
    QStringList lines;
    for (const WorkTimeRow& row : rows) {
        QStringList fields;
        switch (row.kind) {
        case WorkTimeRow::Kind::Filler:
            fields << row.date.toString(QStringLiteral("dd.MM.yyyy")) << WeekdayAbbreviation(row.date) << QStringLiteral("----");
            break;
        case WorkTimeRow::Kind::Week:
            fields << QStringLiteral("UKUPNO (tjedno)") << QStringLiteral(" ");
            for (int position = 1; position <= 3; ++position)
                fields << WorkTimeValueText(row, position);
            fields << (row.excess >= 0 ? QStringLiteral(" Višak (iznad 48 sati): ") + HoursText(row.excess) : QStringLiteral(" "));
            break;
        case WorkTimeRow::Kind::Day:
            fields << row.date.toString(QStringLiteral("dd.MM.yyyy")) << WeekdayAbbreviation(row.date);
            for (int position = 1; position <= 3; ++position)
                fields << WorkTimeValueText(row, position);
            fields << WorkTimeNotesText(row);
            break;
        }
        lines << fields.join(QStringLiteral("||"));
    }
    return lines;
}
