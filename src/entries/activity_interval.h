#pragma once

#include "common/decimal3.h"
#include "common/night_window.h"
#include "common/time_text.h"
#include "entries/activity_kind.h"

#include <QString>

#include <span>
#include <vector>

// Times of an interval are whole minutes from 00:00 of the entry day: the start lies in
// 0..1439; the end is after the start, 1440 being the midnight that ends the day and larger
// values running into the next day, up to 2879.

// Night minutes of the interval [start, end) within the window. A window over midnight counts
// its morning part from 00:00 to `to` and its evening part from `from` onwards, past midnight
// too, so 20:00 to 08:00 of the next day gives 600 with the default window.
int NightMinutes(int start, int end, int nightFrom, int nightTo);
inline int NightMinutes(int start, int end, NightWindow window)
{
    return NightMinutes(start, end, window.from, window.to);
}

// One grid row's start and end once normalised.
struct IntervalTimes {
    // Both times read as 00:00: the row's texts are cleared, and it is neither counted nor stored.
    bool empty = true;
    int start = 0;
    int end = 0;

    int duration() const { return end - start; }
    // Only rows with a start before their end are counted and stored (08:00 to 08:00 is not).
    bool counts() const { return !empty && end > start; }
};

// Normalises two minutes of the day (0..1439): an end of 00:00 after a later start is 24:00,
// and an end before the start lies on the next day.
IntervalTimes NormaliseMinutes(int fromMinute, int toMinute);

// The end of a row that runs over the whole day from 00:00: the midnight that ends the day,
// shown as "24:00" there, since 00:00 to 00:00 is an empty row.
inline const QString kEndOfDayText = QStringLiteral("24:00");

// Whether a typed time is the midnight that ends the day ("24:00", "24.00", "2400"), which the
// time parser cannot give.
bool IsEndOfDayText(const QString& typed);

// Normalises a row's two time texts as typed or shown ("22:00", "830", empty for 00:00; an
// end of "24:00" is the end of the day). Throws ConversionError for a text that is not a time.
IntervalTimes NormaliseInterval(const QString& fromText, const QString& toText);

// One interval as the day totals take it and as it is stored.
struct ActivityInterval {
    ActivityKind kind = kNewIntervalKind;
    int start = 0;
    int end = 0;
    Decimal3 kilometres;
    Decimal3 litres;
};

// Kilometres of an interval count as a whole number: 100,00 (as loaded) counts as 100, and
// anything that is not a whole number (12,5) as 0.
int WholeKilometres(Decimal3 kilometres);

// An activity grid row as typed or shown.
struct IntervalRow {
    ActivityKind kind = kNewIntervalKind;
    QString from;
    QString to;
    QString kilometres;
    QString litres;
};

// Clock text of a minute count as a grid shows it: 1440 shows as "00:00", and an end on the
// next day as its clock time there.
QString ClockText(int minutes);

// The grid row that shows a stored interval: times as clock texts (a whole day from 00:00 ends
// at "24:00"), kilometres and litres with two decimals and empty for 0.
IntervalRow RowFromInterval(const ActivityInterval& interval);

// The rows that count (neither empty nor of equal start and end), normalised, in grid order.
// Throws ConversionError for a time text that is not a time.
std::vector<ActivityInterval> IntervalsFromRows(std::span<const IntervalRow> rows);
