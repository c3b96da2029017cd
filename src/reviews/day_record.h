#pragma once

#include "common/decimal3.h"
#include "entries/day_totals.h"
#include "reviews/day_chart.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class Transaction;

// One interval of a driver's day, from whichever entry it was stored with.
struct DayInterval {
    ChartInterval chart;              // TOD, TDO, TAKT, SCP
    std::optional<Decimal3> kilometres;  // KM
    std::optional<Decimal3> litres;      // LIT
    NightWindow night;                // NOD and NDO of its entry; NULL counts as 0
};

// What the day graph shows of one driver and date, from all entries of that day.
struct DayRecord {
    QString driverName;
    std::vector<DayInterval> intervals;  // by start, then end
    std::optional<Decimal3> distance;    // the sum of DKM
    std::vector<QDate> otherDates;       // the driver's other recorded dates, oldest first
};

// Reads the day on the read transaction. Throws DbError.
DayRecord LoadDayRecord(Transaction& read, int driverId, const QDate& date);
// The statements it runs, in order; their parameters are :IDV (the driver) and :D (the date).
QStringList DayRecordStatements();

// The totals of the day, each interval counted with its own entry's night window; intervals
// of a kind the program does not know, or without both times, count nothing.
DayTotals DayRecordTotals(const std::vector<DayInterval>& intervals);
