#pragma once

#include "cards/card_download.h"

#include <QDate>

#include <optional>
#include <vector>

// The card's record as local calendar days (Europe/Zagreb): the card's UTC days are cut anew at
// local midnights, so a local day comes out whole although two UTC daily records hold it.
// Times are minutes after local 00:00 as clock times show them: on the day summer time starts,
// 02:00 to 03:00 does not occur; on the day it ends, 02:00 to 03:00 occurs twice, once in each
// offset, as two intervals that overlap on the clock.

// One stretch of one activity.
struct CardInterval {
    int start = 0; // 0..1439
    int end = 0;   // after the start, up to 1440
    int activity = kCardRest;
    bool crew = false;     // crew driving (the driver did not drive alone)
    bool coDriver = false; // the card was in the co-driver slot
    bool manual = false;   // entered by hand while the card was out
    std::optional<std::size_t> vehicle; // index into CardDownload::vehicles

    friend bool operator==(const CardInterval&, const CardInterval&) = default;
};

struct CardDay {
    QDate date;
    std::vector<CardInterval> intervals; // by start
    int distanceKm = 0;
    std::optional<std::size_t> vehicle;  // the vehicle of most of the day's minutes
};

// The local days that have recorded activity. A local day only partly in the file (the first,
// which begins in the UTC day before the oldest record, and the last, which ends after the
// newest) is left out: a download before or after holds it whole. Time with the card out is left out, unless the
// driver entered its activity by hand. A UTC day's distance is shared out among the local days
// it touches by their minutes of driving that day.
std::vector<CardDay> LocalCardDays(const CardDownload& download);
