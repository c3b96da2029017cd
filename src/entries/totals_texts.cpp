#include "entries/totals_texts.h"

#include "common/decimal_text.h"
#include "common/time_text.h"
#include "entries/activity_interval.h"

QString DayTotalText(int totalMinutes)
{
    return totalMinutes == kMinutesPerDay ? FormatMinutes(totalMinutes) : ClockText(totalMinutes);
}

QString SummaryRowTotalText(int minutes)
{
    if (minutes <= kMinutesPerDay)
        return FormatMinutes(minutes);
    return QStringLiteral("%1 %2")
        .arg(minutes / kMinutesPerDay, 2, 10, QLatin1Char('0'))
        .arg(FormatMinutes(minutes % kMinutesPerDay));
}

QString SummaryTotalText(int totalMinutes)
{
    return totalMinutes > kMinutesPerDay ? QStringLiteral("24:00+") : FormatMinutes(totalMinutes);
}

QString SummaryKilometresText(Decimal3 distance)
{
    return distance > Decimal3{} ? FormatDecimalZero(distance.toText()) : QStringLiteral("N/A");
}
