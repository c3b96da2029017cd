#pragma once

#include "entries/activity_interval.h"

#include <QDate>
#include <QDateTime>

#include <optional>
#include <span>

class Statement;
class Transaction;
struct DayTotals;

// The pieces of an entry's rows that every kind of entry writes alike.

// The moment a minute of the entry day stands for; 1440 and beyond lie on the next day.
QDateTime MomentOfDay(const QDate& date, int minutes);

// Binds S1..S6, N1 and N2 of a DUNOS statement.
void BindDayTotals(Statement& sql, const DayTotals& totals);

// Crew flags (SCP) and vehicle of one interval, where they differ within a day (a driver card
// records them per change).
struct IntervalCrewAndVehicle {
    int crewFlags = 1;
    int vehicleId = -1;

    friend bool operator==(const IntervalCrewAndVehicle&, const IntervalCrewAndVehicle&) = default;
};

// Inserts a day's intervals (SATIUNOS) with their moments DT1 and DT2; an interval that does
// not end after its start is left out. Every interval gets `vehicleId` and `crewFlags`, or, when
// `perInterval` is not empty, its own from there (one per interval). `driverId` fills IDVOZAC
// when given.
void InsertIntervals(Transaction& write, int dayId, const QDate& date, std::span<const ActivityInterval> intervals,
                     int vehicleId, int crewFlags, std::optional<int> driverId,
                     std::span<const IntervalCrewAndVehicle> perInterval = {});
