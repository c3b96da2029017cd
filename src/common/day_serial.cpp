#include "common/day_serial.h"

namespace {

const QDate kDayZero(1899, 12, 30);

}  // namespace

int DaySerial(const QDate& date)
{
    return int(kDayZero.daysTo(date));
}

QDate DateFromSerial(int serial)
{
    return kDayZero.addDays(serial);
}
