#pragma once

#include "common/decimal3.h"

#include <QString>

// The texts in which a manual entry window shows its totals.

// A detailed day's total of all activity ("04:00", "24:00"); above 24 hours it keeps counting
// ("25:00"), so the operator sees by how much the day is over.
QString DayTotalText(int totalMinutes);

// "Ukupno" of one row of the summary grid (day plus night): "24:00" for exactly a day, whole
// days and the rest above a day ("01 01:30"), "hh:mm" below.
QString SummaryRowTotalText(int minutes);

// The summary entry's total: "24:00+" above 24 hours, otherwise "hh:mm".
QString SummaryTotalText(int totalMinutes);

// "Kilometara:" of a summary entry: the day's distance ("450,00"), "N/A" without one.
QString SummaryKilometresText(Decimal3 distance);
