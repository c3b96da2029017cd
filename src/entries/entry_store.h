#pragma once

#include "db/scopes.h"
#include "entries/manual_entry.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

class Transaction;

// The database conversation of an entry. Writes run in a write scope on the write transaction
// they are given and commit at the end; when a statement fails, the whole transaction is rolled
// back, so nothing of the failed work is left to be committed later with other work. Reads run
// on the read transaction they are given.
// A refused write's result says why: a missing driver or vehicle, or the database's own text.

inline const QString kNoDriverMessage = QStringLiteral("Nije definiran vozač!");
inline const QString kNoVehicleMessage = QStringLiteral("Nije definirano vozilo!");

// Writes the entry with its day and intervals (EntryWriter::write) after checking its driver
// and vehicle; the ids are set in `entry` only when the store succeeds.
WriteResult StoreManualEntry(Transaction& write, ManualEntry& entry);

// Reads an entry and its first entry day; nothing when there is no such entry. Intervals make
// it a detailed entry, none a summary entry, whose day and night minutes are split from the
// stored totals. A stored night window of 0 and 0 is replaced by `currentNight`.
// Throws DbError.
std::optional<LoadedEntry> LoadEntry(Transaction& read, int entryId, NightWindow currentNight);

// An entry already stored for a driver and day, as the manual entry window offers it.
struct DayEntry {
    int entryId = kNewId;
    int drivingMinutes = 0; // S4
    Decimal3 distance;      // DKM

    // "08:30 vožnje, 450,00 km"
    QString caption() const;
};

// The entries of the driver on the day. Throws DbError.
std::vector<DayEntry> EntriesOfDay(Transaction& read, int driverId, const QDate& date);

// Whether an entry of this TIP and PODTIP is a scanned chart.
bool IsScannedChart(std::optional<qint64> type, std::optional<qint64> subtype);

// Deletes the entry with its days and their intervals, and for a scanned chart its scan log.
WriteResult DeleteEntry(Transaction& write, int entryId, std::optional<qint64> type, std::optional<qint64> subtype);
// Its statements without committing, in the caller's write scope. Throws DbError.
void DeleteEntryRows(Transaction& write, int entryId, std::optional<qint64> type, std::optional<qint64> subtype);
