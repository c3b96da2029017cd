#include "worktime/worktime_record.h"

#include "common/time_text.h"
#include "db/scopes.h"
#include "db/statement.h"

namespace {

constexpr int kDaysPerWeek = 7;
const QString kFillerValues = QStringLiteral("---");

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

// The week of seven rows from `first`, every day's values counted, filler days included.
WorkTimeRow WeekOf(const std::vector<WorkTimeRow>& rows, size_t first, const std::map<QDate, DaySums>& sums)
{
    WorkTimeRow week;
    week.kind = WorkTimeRow::Kind::Week;
    for (size_t row = first; row < first + kDaysPerWeek; ++row) {
        const auto found = sums.find(rows[row].date);
        if (found == sums.end() || !HasValues(found->second))
            continue;
        const DayValues values = ValuesOf(found->second);
        const std::array<int, 7> positions{values.dayWork, values.nightWork, values.total, values.s1,
                                           values.s2,      values.s3,        values.s4};
        for (size_t position = 0; position < positions.size(); ++position)
            week.weekSums[position] += positions[position];
        week.outsideDaysCounted = week.outsideDaysCounted || rows[row].kind == WorkTimeRow::Kind::Filler;
    }
    week.excess = week.weekSums[2] - kWeekLimitMinutes;
    return week;
}

// The average week of the reference period from `first` to `last`: its working time times seven
// over its days.
WorkTimeRow AverageOf(const QDate& first, const QDate& last, const std::map<QDate, DaySums>& sums)
{
    WorkTimeRow row;
    row.kind = WorkTimeRow::Kind::Average;
    row.date = first;
    row.periodEnd = last;
    qint64 total = 0;
    for (auto day = sums.lower_bound(first); day != sums.end() && day->first <= last; ++day) {
        if (HasValues(day->second))
            total += day->second.s3 + day->second.s4;
    }
    row.average = total * kDaysPerWeek / (first.daysTo(last) + 1);
    return row;
}

QString WeekMarks(const WorkTimeRow& row)
{
    QStringList marks;
    if (row.weekSums[2] > kLongestWeekMinutes)
        marks << QStringLiteral("više od 60 sati u tjednu!");
    if (row.outsideDaysCounted)
        marks << QStringLiteral("zbroj cijelog tjedna, i dana izvan razdoblja");
    return marks.isEmpty() ? QString() : QStringLiteral(" - ") + marks.join(QStringLiteral(", "));
}

}  // namespace

std::vector<WorkTimeRow> BuildWorkTimeRows(const QDate& from, const QDate& to, const std::map<QDate, DaySums>& sums,
                                           const std::vector<AttestedPeriod>& attestations, int referenceMonths)
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
        withWeeks.push_back(WeekOf(rows, first, sums));
    }
    for (QDate first = ReferencePeriod(from, referenceMonths).first; from <= to && first <= to;) {
        const QDate last = ReferencePeriod(first, referenceMonths).second;
        withWeeks.push_back(AverageOf(first, last, sums));
        first = last.addDays(1);
    }
    return withWeeks;
}

std::pair<QDate, QDate> WorkTimeReadDays(const QDate& from, const QDate& to, int referenceMonths)
{
    return {std::min(from.addDays(1 - from.dayOfWeek()), ReferencePeriod(from, referenceMonths).first),
            std::max(to.addDays(kDaysPerWeek - to.dayOfWeek()), ReferencePeriod(to, referenceMonths).second)};
}

std::vector<WorkTimeRow> LoadWorkTimeRecord(Transaction& read, int driverId, const QDate& from, const QDate& to,
                                            int referenceMonths)
{
    if (to < from)
        return BuildWorkTimeRows(from, to, {}, {}, referenceMonths);
    const auto [firstDay, lastDay] = WorkTimeReadDays(from, to, referenceMonths);
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
    sql.setDate(QStringLiteral("D1"), firstDay);
    sql.setDate(QStringLiteral("D2"), lastDay);
    sql.execute();
    std::map<QDate, DaySums> sums;
    while (sql.next()) {
        const std::optional<QDate> date = sql.dateValue(0);
        if (!date)
            continue;
        DaySums& day = sums[*date];
        day.s1 += sql.intOr(1, 0);
        day.s2 += sql.intOr(2, 0);
        day.s3 += sql.intOr(3, 0);
        day.s4 += sql.intOr(4, 0);
        day.s5 += sql.intOr(5, 0);
        day.n1 += sql.intOr(6, 0);
        day.n2 += sql.intOr(7, 0);
        const QString note = sql.textOr(8, QString());
        if (!note.isEmpty())
            day.notes = day.notes.isEmpty() ? note : day.notes + QLatin1Char(' ') + note;
    }
    // Attestations of the driver that reach into the period, the earliest start first: where
    // two cover a day, the one that began first is shown, whatever order the database keeps.
    sql.prepare(QStringLiteral("SELECT TIP,RAZOD,RAZDO FROM AKTPOTVRDA WHERE IDVOZ=:IDV AND CAST(RAZOD AS DATE)<=:D2 AND\n"
                               "((RAZDO IS NULL AND CAST(RAZOD AS DATE)>=:D1) OR CAST(RAZDO AS DATE)>=:D1)\n"
                               "ORDER BY RAZOD,IDP"));
    sql.setInt(QStringLiteral("IDV"), driverId);
    sql.setDate(QStringLiteral("D1"), from);
    sql.setDate(QStringLiteral("D2"), to);
    sql.execute();
    std::vector<AttestedPeriod> attestations;
    while (sql.next()) {
        const std::optional<QDate> start = sql.dateValue(1);
        if (!start)
            continue;
        attestations.push_back(AttestedPeriod{sql.intOr(0, 0), *start, sql.dateValue(2)});
    }
    return BuildWorkTimeRows(from, to, sums, attestations, referenceMonths);
}

int WorkTimeItemCount(const std::vector<WorkTimeRow>& rows)
{
    int count = 0;
    for (const WorkTimeRow& row : rows)
        count += row.kind == WorkTimeRow::Kind::Day || row.kind == WorkTimeRow::Kind::Filler ? 1 : 0;
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
        return (row.excess > 0 ? QStringLiteral("Višak (iznad 48 sati): ") + HoursText(row.excess)
                               : QStringLiteral("manje od 48 sati tjedno"))
             + WeekMarks(row);
    case WorkTimeRow::Kind::Average:
        return QStringLiteral("Prosjek tjedno %1 - %2 (najviše 48 sati)%3")
            .arg(row.date.toString(QStringLiteral("dd.MM.yyyy")), row.periodEnd.toString(QStringLiteral("dd.MM.yyyy")),
                 row.average > kWeekLimitMinutes ? QStringLiteral(": premašen!") : QString());
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
    // An attestation is for time without records: recorded work beside it is a contradiction.
    if (row.values && row.values->total > 0)
        text += QStringLiteral(" - potvrda uz zabilježeni rad!");
    return text;
}

QString WorkTimeDateText(const WorkTimeRow& row)
{
    switch (row.kind) {
    case WorkTimeRow::Kind::Week:
        return QStringLiteral("Tjedan ukupno");
    case WorkTimeRow::Kind::Average:
        return QStringLiteral("Prosjek");
    case WorkTimeRow::Kind::Day:
    case WorkTimeRow::Kind::Filler:
        break;
    }
    return row.date.toString(QStringLiteral("dd.MM.yyyy"));
}

QString NightWindowText(int nightFrom, int nightTo)
{
    const auto text = [](int minute) {
        return minute % kMinutesPerHour == 0 ? QStringLiteral("%1").arg(minute / kMinutesPerHour, 2, 10, QLatin1Char('0'))
                                             : HoursText(minute);
    };
    return text(nightFrom) + QLatin1Char('-') + text(nightTo);
}

QString WorkTimeValueText(const WorkTimeRow& row, int position)
{
    switch (row.kind) {
    case WorkTimeRow::Kind::Filler:
        return QString();
    case WorkTimeRow::Kind::Week:
        return HoursText(row.weekSums[static_cast<size_t>(position - 1)]);
    case WorkTimeRow::Kind::Average:
        return position == 3 ? HoursText(row.average) : QString();
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
            fields << kWeekPrintLabel << QStringLiteral(" ");
            for (int position = 1; position <= 3; ++position)
                fields << WorkTimeValueText(row, position);
            // As the grid: exactly 48 hours is no excess.
            fields << (row.excess > 0 ? QStringLiteral(" Višak (iznad 48 sati): ") + HoursText(row.excess) : QStringLiteral(" "))
                          + WeekMarks(row);
            break;
        case WorkTimeRow::Kind::Average:
            fields << QStringLiteral("PROSJEK") << QStringLiteral(" ") << QStringLiteral(" ") << QStringLiteral(" ")
                   << WorkTimeValueText(row, 3) << WorkTimeNotesText(row);
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
