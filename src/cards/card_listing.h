#pragma once

#include "cards/card_days.h"

#include <QString>
#include <QStringList>

// A card's record as text, the way the chart text export lists a disc's intervals.

// "Horvat Ivan, kartica H100000012345601 (HR), rođen 17.05.1980."
QString CardHolderText(const CardHolder& holder);

// What sets an interval apart besides its activity: "posada", "suvozač", "ručni unos" and the
// vehicle's registration, joined by ", ".
QString CardIntervalNotes(const CardInterval& interval, const CardDownload& download);

// The column titles and one tab-separated line per interval, each ending with a tab:
// activity code, start, end, duration, activity name, notes.
QStringList CardDayLines(const CardDay& day, const CardDownload& download);
