#pragma once

#include "common/time_text.h"

#include <vector>

// Activity codes of a chart minute or interval.
enum ActivityCode : int {
    kRest = 0,         // "Odmor"
    kAvailability = 1, // "Spremnost"
    kOtherWork = 2,    // "Ostali rad"
    kDriving = 3,      // "Vožnja"
};

// One activity interval of a chart: minutes [start, end) of the day, 0 <= start < end <= 1440.
struct ChartInterval {
    int start = 0;
    int end = 0;
    int code = kRest;

    int length() const { return end - start; }
    bool operator==(const ChartInterval&) const = default;
};

using ChartIntervals = std::vector<ChartInterval>;
