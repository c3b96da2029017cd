#include "worktime/reference_period.h"

#include <algorithm>

namespace {

constexpr int kMonthsPerYear = 12;

}  // namespace

std::pair<QDate, QDate> ReferencePeriod(const QDate& date, int months)
{
    const int length = std::clamp(months, 1, kMonthsPerYear);
    const int index = date.year() * kMonthsPerYear + date.month() - 1;
    const int first = index - index % length;
    const QDate start(first / kMonthsPerYear, first % kMonthsPerYear + 1, 1);
    return {start, start.addMonths(length).addDays(-1)};
}
