#pragma once

#include "common/decimal3.h"

#include <QDate>
#include <QString>

// Ids of an entry or entry day that is not stored yet, and of a driver or vehicle not chosen.
inline constexpr int kNewId = -1;
inline constexpr int kNoneChosen = -1;

// The head of an entry, alike in a manual entry and an entry made from a chart: who drove,
// with which vehicle and how, on which day, the odometer readings and the remark.
struct EntryHeader {
    int driverId = kNoneChosen;
    int vehicleId = kNoneChosen;
    bool coDriver = false;
    bool crew = false;
    QDate date;       // of a chart, the first day; the second is the day after
    Decimal3 startKm; // KM1
    Decimal3 endKm;   // KM2
    QString remark;
};
