#pragma once

#include <QDate>

#include <utility>

// The reference period of the 48-hour weekly average of working time (setting RefMjeseci, four
// months unless set otherwise): calendar months counted from January, so that with four months
// the periods are January to April, May to August and September to December.
inline constexpr int kDefaultReferenceMonths = 4;

// The first and last day of the reference period of `months` months (1 to 12) that holds the date.
std::pair<QDate, QDate> ReferencePeriod(const QDate& date, int months);
