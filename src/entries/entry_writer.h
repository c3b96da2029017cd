#pragma once

#include "common/decimal3.h"
#include "db/statement.h"
#include "entries/activity_interval.h"
#include "entries/day_totals.h"
#include "entries/manual_entry.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>
#include <span>

class Transaction;

// The UNOS row of an entry (TIP 0).
struct EntryRecord {
    int id = kNewId;
    int driverId = kNoneChosen;
    std::optional<int> subtype; // PODTIP, kept as first stored: an update leaves it
    NightWindow night;          // NOD, NDO
    // DV: the moment the entry was stored; none leaves it to the database (the time of the insert).
    std::optional<QDateTime> storedAt;
};

// One DUNOS row of an entry.
struct EntryDayRecord {
    int id = kNewId;
    int entryId = kNewId;
    QDate date;
    Decimal3 startKm;  // KM1
    Decimal3 endKm;    // KM2
    Decimal3 distance; // DKM
    int vehicleId = kNoneChosen;
    DayTotals totals;  // S1..S6, N1, N2, and T1, T2 for a day without links
    std::optional<QString> remark; // NAP; NULL when none
    // The days of a chart: the two days of a chart that ran past midnight point to each other
    // (MF, IDMF, IDPF), a chart of one day has MF 0; and they keep no T1, T2. Other entries
    // have no links (all five NULL but T1 and T2).
    struct Links {
        std::optional<int> nextDayId;
        std::optional<int> previousDayId;
    };
    std::optional<Links> links;
};

// The intervals of one entry day (SATIUNOS) with their moments DT1 and DT2; an interval that
// does not end after its start is left out. Every interval gets `vehicleId` and `crewFlags`,
// or, when `perInterval` is not empty, its own from there (one per interval). `driverId`
// fills IDVOZAC when given.
struct DayIntervals {
    int dayId = kNewId;
    QDate date;
    std::span<const ActivityInterval> intervals;
    int vehicleId = kNoneChosen;
    int crewFlags = kCrewFlagBase;
    std::optional<int> driverId;
    std::span<const IntervalCrewAndVehicle> perInterval;
};

// Writes entries with their days and intervals on a write transaction, each statement prepared
// once (at its first use) and run as often as wanted: for one entry as for a whole database.
// The caller's write scope commits. Every method throws DbError.
class EntryWriter {
public:
    explicit EntryWriter(Transaction& write);

    void insertEntry(const EntryRecord& entry);
    // Changes the driver and the night window; the kind stays.
    void updateEntry(const EntryRecord& entry);
    void insertDay(const EntryDayRecord& day);
    // A day without links.
    void updateDay(const EntryDayRecord& day);
    // Deletes the day's intervals of the four known kinds; intervals of a kind the program does
    // not know (written by other software) are kept.
    void deleteKnownIntervals(int dayId);
    void insertIntervals(const DayIntervals& day);

    // Writes a manual entry (UNOS), its day (DUNOS, with the totals of EntryDayTotals) and, for
    // a detailed entry, its intervals (SATIUNOS, replacing those stored before). A new entry
    // gets its ids from the generators and an entry whose day went missing a new day; the ids
    // are set in `entry`. An existing entry keeps the kind (PODTIP) it was first stored as.
    void write(ManualEntry& entry);

private:
    Statement& prepared(std::optional<Statement>& statement, const QString& sql);

    Transaction& m_write;
    std::optional<Statement> m_insertEntry;
    std::optional<Statement> m_insertStampedEntry;
    std::optional<Statement> m_updateEntry;
    std::optional<Statement> m_insertDay;
    std::optional<Statement> m_insertLinkedDay;
    std::optional<Statement> m_insertFollowingDay;
    std::optional<Statement> m_updateDay;
    std::optional<Statement> m_deleteIntervals;
    std::optional<Statement> m_insertInterval;
    std::optional<Statement> m_insertDriversInterval;
};
