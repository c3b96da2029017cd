#pragma once

#include "common/decimal3.h"
#include "entries/activity_interval.h"
#include "entries/day_totals.h"
#include "entries/entry_header.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

// UNOS.PODTIP: NULL for a detailed manual entry, and these.
inline constexpr int kSubtypeScannedChart = 1;
inline constexpr int kSubtypeDriverCard = 2; // a day imported from a digital tachograph's driver card
inline constexpr int kSubtypeSummary = 100;

// UNOS.TIP of every entry this program writes.
inline constexpr int kTypeOwnEntry = 0;

// Crew flags of an interval (SATIUNOS.SCP): the base flag is always set.
inline constexpr int kCrewFlagBase = 1;
inline constexpr int kCrewFlagCrew = 2;     // crew: the driver did not drive alone
inline constexpr int kCrewFlagCoDriver = 4; // the driver was co-driver

int CrewFlags(bool coDriver, bool crew);

// Crew flags (SCP) and vehicle of one interval, where they differ within a day (a driver card
// records them per change).
struct IntervalCrewAndVehicle {
    int crewFlags = kCrewFlagBase;
    int vehicleId = kNoneChosen;

    friend bool operator==(const IntervalCrewAndVehicle&, const IntervalCrewAndVehicle&) = default;
};

// An entry as a manual entry window holds it: one driver, one day, one vehicle.
struct ManualEntry : EntryHeader {
    int entryId = kNewId;    // UNOS.IDUNOS
    int entryDayId = kNewId; // DUNOS.IDD
    Decimal3 distance;       // DKM
    NightWindow night;
    // A detailed entry stores its intervals; a summary entry only its day and night minutes.
    bool detailed = true;
    // The kind a new detailed entry is stored as (PODTIP): none for one typed by hand.
    std::optional<int> subtype;
    std::vector<ActivityInterval> intervals; // detailed: the counted rows in grid order
    // Empty, or one per interval when its crew flags and vehicle differ from the entry's
    // (a day from a driver card); the entry's flags and vehicle are then those of its day.
    std::vector<IntervalCrewAndVehicle> perInterval;
    SummaryMinutes summary;                  // summary: minutes per kind by day and by night
    int workStart = 0;                       // summary: start of the working day, minutes

    bool isNew() const { return entryId == kNewId; }
};

// The totals stored with the entry's day: from the intervals of a detailed entry (T1 = T2 = 0),
// from the day and night minutes and the start of a summary entry.
DayTotals EntryDayTotals(const ManualEntry& entry);

// An entry read back from the database.
// An interval of a code outside 0..3 (or none), written by other software. The program
// neither shows it in the grid nor counts it; storing the entry again leaves it as it is.
struct ForeignInterval {
    std::optional<int> code;  // SATIUNOS.TAKT
    int start = 0;
    int end = 0;
};

struct LoadedEntry {
    ManualEntry entry;
    QDateTime storedAt;     // UNOS.DV
    bool scannedChart = false;
    DayTotals storedTotals; // S1..S6, N1, N2 and T1 as stored
    std::vector<ForeignInterval> foreignIntervals;
};

// The line that tells the operator of intervals of unknown kind, each shown with "?":
// "Intervali nepoznate aktivnosti (?), spremaju se nepromijenjeni: 10:00-12:00 (7), ...".
// Empty when there are none.
QString ForeignIntervalsText(const std::vector<ForeignInterval>& intervals);

// "Uneseno u sustav: " followed by the moment the entry was first stored.
QString StoredAtText(const QDateTime& storedAt);

// A new entry on the pattern of a loaded one: not stored yet, for the given day, and counted
// with the current night window.
ManualEntry EntryFromTemplate(const LoadedEntry& pattern, NightWindow currentNight, QDate date);
