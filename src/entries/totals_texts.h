#pragma once

#include "common/decimal3.h"

#include <QString>

// The texts in which the entry windows and the day graph show their totals.

// A day's total as its "Ukupno:" and the lines of its totals grid show it: "24:00" for exactly
// a day, otherwise the clock time, hours taken modulo 24 ("04:00"; 1500 minutes show
// "01:00"). A day above 24 hours is told by the red "!!" beside its total, the whole minutes
// by the grid's "min" column.
QString DayTotalText(int totalMinutes);

// "Ukupno" of one row of the summary grid (day plus night): "24:00" for exactly a day, whole
// days and the rest above a day ("01 01:30"), "hh:mm" below.
QString SummaryRowTotalText(int minutes);

// The summary entry's total: "24:00+" above 24 hours, otherwise "hh:mm".
QString SummaryTotalText(int totalMinutes);

// "Kilometara:" of a summary entry: the day's distance ("450,00"), "N/A" without one.
QString SummaryKilometresText(Decimal3 distance);
