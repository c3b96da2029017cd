#include "entries/activity_grid_rules.h"

#include "common/decimal3.h"
#include "common/decimal_text.h"
#include "common/time_text.h"

namespace {

const QString kMidnight = QStringLiteral("00:00");
// A typed end before this is read as a duration by the extra check.
constexpr int kLongestDurationTyped = 4 * kMinutesPerHour;

int CellMinutes(const QString& text)
{
    return MinutesBetween(ParseTimeText(text), 0);
}

// An end in minutes, "24:00" being 1440.
int EndMinutes(const QString& text)
{
    return IsEndOfDayText(text) ? kMinutesPerDay : CellMinutes(text);
}

} // namespace

IntervalRow NewIntervalRow(ActivityKind kind)
{
    return IntervalRow{kind, kMidnight, QStringLiteral("04:00"), QString(), QString()};
}

QString StartCellText(const QString& typed)
{
    return FormatMinutes(CellMinutes(typed));
}

QString EndCellText(const QString& typed, const QString& startText)
{
    if (!IsEndOfDayText(typed))
        return StartCellText(typed);
    return CellMinutes(startText) == 0 ? kEndOfDayText : kMidnight;
}

QString CheckedEndText(const QString& startText, const QString& endText)
{
    const int start = CellMinutes(startText);
    const int end = EndMinutes(endText);
    if (end <= 0 || end >= start)
        return endText;
    const int corrected = end < kLongestDurationTyped ? start + end : start + (start - end);
    return corrected >= kMinutesPerDay ? kMidnight : FormatMinutes(corrected);
}

void SetRowStart(IntervalRow& row, const QString& startText)
{
    const bool endOfDay = !row.from.isEmpty() && EndMinutes(row.to) % kMinutesPerDay == 0;
    row.from = startText;
    if (endOfDay)
        row.to = CellMinutes(startText) == 0 ? kEndOfDayText : kMidnight;
}

void ClearIfEmpty(IntervalRow& row)
{
    if (NormaliseInterval(row.from, row.to).empty) {
        row.from.clear();
        row.to.clear();
    }
}

QString DurationText(const IntervalRow& row)
{
    const IntervalTimes times = NormaliseInterval(row.from, row.to);
    return times.empty ? QString() : FormatMinutes(times.duration());
}

void ChainRow(std::vector<IntervalRow>& rows, std::size_t r)
{
    if (r + 1 >= rows.size())
        return;
    const int end = EndMinutes(rows[r].to);
    if (end == 0 || end == kMinutesPerDay)
        return;
    IntervalRow& next = rows[r + 1];
    if (next.from.isEmpty() || CellMinutes(next.from) != end)
        next.from = rows[r].to;
    // The next row now starts at `end`, after 00:00.
    const int nextEnd = EndMinutes(next.to);
    if (nextEnd == 0 || nextEnd < end)
        next.to = kMidnight;
}

std::size_t AppendRow(std::vector<IntervalRow>& rows, ActivityKind kind, std::size_t chainFrom)
{
    rows.push_back(NewIntervalRow(kind));
    ChainRow(rows, chainFrom);
    return rows.size() - 1;
}

QString KilometresCellText(const QString& typed)
{
    return QString::number(WholeKilometres(Decimal3::fromText(typed)));
}

QString LitresCellText(const QString& typed)
{
    return FormatDecimal(Decimal3::fromText(typed).toText());
}
