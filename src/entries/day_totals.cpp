#include "entries/day_totals.h"

#include "common/decimal_text.h"

#include <QtGlobal>

#include <stdexcept>

namespace {

void AddInterval(DayTotals& totals, const ActivityInterval& interval, NightWindow window)
{
    const int duration = interval.end - interval.start;
    if (duration <= 0)
        return;
    totals.kindMinutes[static_cast<size_t>(ActivityCode(interval.kind))] += duration;
    totals.totalMinutes += duration;

    const int night = NightMinutes(interval.start, interval.end, window);
    totals.nightAll += night;
    if (interval.kind != ActivityKind::Rest)
        totals.nightWork += night;
    if (interval.kind == ActivityKind::Driving)
        totals.nightDriving += night;
    if (interval.kind == ActivityKind::OtherWork)
        totals.nightOtherWork += night;

    totals.kilometres += WholeKilometres(interval.kilometres);
    totals.litres += interval.litres;
}

constexpr size_t Index(ActivityKind kind)
{
    return static_cast<size_t>(ActivityCode(kind));
}

} // namespace

DayTotals ComputeDayTotals(std::span<const ActivityInterval> intervals, NightWindow window)
{
    DayTotals totals;
    for (const ActivityInterval& interval : intervals)
        AddInterval(totals, interval, window);
    return totals;
}

DayTotals ComputeDayTotals(std::span<const ActivityInterval> intervals, std::span<const NightWindow> windows)
{
    if (windows.size() != intervals.size())
        throw std::invalid_argument("ComputeDayTotals: one night window per interval expected");
    DayTotals totals;
    for (size_t i = 0; i < intervals.size(); ++i)
        AddInterval(totals, intervals[i], windows[i]);
    return totals;
}

DayTotals SummaryToDayTotals(const SummaryMinutes& minutes, int startMinute)
{
    DayTotals totals;
    for (size_t k = 0; k < kActivityKindCount; ++k) {
        totals.kindMinutes[k] = minutes.day[k] + minutes.night[k];
        totals.totalMinutes += totals.kindMinutes[k];
    }
    totals.nightDriving = minutes.night[Index(ActivityKind::Driving)];
    totals.nightOtherWork = minutes.night[Index(ActivityKind::OtherWork)];
    totals.nightWork = minutes.night[Index(ActivityKind::Availability)] + totals.nightOtherWork + totals.nightDriving;
    totals.nightAll = totals.nightWork + minutes.night[Index(ActivityKind::Rest)];
    totals.workStart = startMinute;
    totals.workEnd = startMinute + totals.totalMinutes;
    return totals;
}

SummaryMinutes SplitDayTotals(const DayTotals& totals)
{
    SummaryMinutes split;
    split.night[Index(ActivityKind::Driving)] = totals.nightDriving;
    split.night[Index(ActivityKind::OtherWork)] = totals.nightOtherWork;
    split.night[Index(ActivityKind::Rest)] = totals.nightAll - totals.nightWork;
    split.night[Index(ActivityKind::Availability)] = totals.nightWork - totals.nightDriving - totals.nightOtherWork;
    for (size_t k = 0; k < kActivityKindCount; ++k)
        split.day[k] = totals.kindMinutes[k] - split.night[k];
    return split;
}

QString SummaryWarning(int startMinute, int totalMinutes)
{
    QString warning;
    if (ExceedsOneDay(totalMinutes))
        warning = QStringLiteral("Ukupno trajanje aktivnosti više od 24h!");
    if (startMinute + totalMinutes > kMinutesPerDay)
        warning += QStringLiteral("  Provjerite početak puta - početak + aktivnosti dulje od 24h!");
    return warning.trimmed();
}

Decimal3 DayDistance(Decimal3 km1, Decimal3 km2)
{
    return km2 > km1 ? km2 - km1 : Decimal3{};
}

Decimal3 SpeedKilometres(int intervalKilometres, Decimal3 dayDistance)
{
    return intervalKilometres >= 1 ? Decimal3::fromWhole(intervalKilometres) : dayDistance;
}

QString AverageSpeed(Decimal3 kilometres, int drivingMinutes)
{
    if (drivingMinutes < 1)
        return QStringLiteral("N/A");
    // km / (minutes / 60) in hundredths, rounded half away from zero: thousandths * 60 / 10
    // per driving minute.
    const qint64 numerator = kilometres.thousandths * kMinutesPerHour;
    const qint64 denominator = qint64(drivingMinutes) * 10;
    const qint64 half = denominator / 2;
    const qint64 hundredths = numerator >= 0 ? (numerator + half) / denominator : (numerator - half) / denominator;
    return FormatDecimal(Decimal3{hundredths * 10}.toText());
}
