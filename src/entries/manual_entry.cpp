#include "entries/manual_entry.h"

int CrewFlags(bool coDriver, bool crew)
{
    return kCrewFlagBase | (coDriver ? kCrewFlagCoDriver : 0) | (crew ? kCrewFlagCrew : 0);
}

DayTotals EntryDayTotals(const ManualEntry& entry)
{
    if (entry.detailed)
        return ComputeDayTotals(entry.intervals, entry.night);
    return SummaryToDayTotals(entry.summary, entry.workStart);
}

QString StoredAtText(const QDateTime& storedAt)
{
    return QStringLiteral("Uneseno u sustav: ") + storedAt.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

ManualEntry EntryFromTemplate(const LoadedEntry& pattern, NightWindow currentNight, QDate date)
{
    ManualEntry entry = pattern.entry;
    entry.entryId = kNewId;
    entry.entryDayId = kNewId;
    entry.night = currentNight;
    entry.date = date;
    return entry;
}

QString ForeignIntervalsText(const std::vector<ForeignInterval>& intervals)
{
    if (intervals.empty())
        return QString();
    QStringList parts;
    for (const ForeignInterval& interval : intervals) {
        parts << QStringLiteral("%1-%2 (%3)")
                     .arg(ClockText(interval.start), ClockText(interval.end),
                          interval.code ? QString::number(*interval.code) : QStringLiteral("?"));
    }
    return QStringLiteral("Intervali nepoznate aktivnosti (?), spremaju se nepromijenjeni: ") + parts.join(QStringLiteral(", "));
}
