#pragma once

#include "entries/activity_interval.h"
#include "entries/activity_kind.h"

#include <QString>

#include <cstddef>
#include <vector>

// How the activity grid of a manual entry treats what the operator types: every cell text is
// rewritten into the form the grid shows, and an end time carries over to the next row.

// A newly added row: Ostali rad from 00:00 to 04:00.
IntervalRow NewIntervalRow(ActivityKind kind = kNewIntervalKind);

// A typed start or end time as the grid shows it ("7" -> "07:00", "830" -> "08:30").
// Throws ConversionError for a text that is not a time.
QString StartCellText(const QString& typed);
// The same for an end, where "24:00" is the midnight that ends the day, shown as "00:00";
// after a start of 00:00 it stays "24:00", so that the row holds the whole day.
QString EndCellText(const QString& typed, const QString& startText);

// The extra check of typed ends (setting AddCheck): an end after 00:00 but before its start is
// read as a duration when it is before 04:00 (08:00 and "2:30" give 10:30), and otherwise as
// that far past the start again (10:00 and 08:00 give 12:00); an end at or past 24:00 becomes
// "00:00". Any other end is returned unchanged. Takes and gives grid texts.
QString CheckedEndText(const QString& startText, const QString& endText);

// A new start for a row: a row that ran to the midnight ending the day still does, shown as
// "24:00" after a start of 00:00 and as "00:00" after any other start.
void SetRowStart(IntervalRow& row, const QString& startText);

// A row whose start and end are both 00:00 is empty: its times show as empty texts.
void ClearIfEmpty(IntervalRow& row);

// The duration shown beside a row ("04:00"); empty for an empty row.
QString DurationText(const IntervalRow& row);

// Carries the end of row r over to the next row: its start becomes r's end, and when the next
// row then ends at 00:00 or before its start, it runs to 24:00. Nothing happens for the last
// row or for a row ending at midnight.
void ChainRow(std::vector<IntervalRow>& rows, std::size_t r);

// Appends a new row of the kind and chains the row `chainFrom` (the one selected before) into
// the rows that follow it; `chainFrom` past the end chains nothing. Returns the new row's index.
std::size_t AppendRow(std::vector<IntervalRow>& rows, ActivityKind kind, std::size_t chainFrom);

// Kilometres typed into a row: the whole number ("450", "100,00" -> "100"), anything else "0".
QString KilometresCellText(const QString& typed);
// Litres typed into a row, with two decimals ("55,5" -> "55,50"), empty for 0.
QString LitresCellText(const QString& typed);
