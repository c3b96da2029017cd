#pragma once

#include "common/time_text.h"

// The night: two minutes of the day. When `from` > `to` the night runs over midnight (the
// default 22:00 to 06:00); when they are equal there is no night. The settings hold the one
// the program counts with; an entry keeps the one it was counted with.
struct NightWindow {
    int from = 22 * kMinutesPerHour;
    int to = 6 * kMinutesPerHour;

    friend bool operator==(NightWindow, NightWindow) = default;
};
