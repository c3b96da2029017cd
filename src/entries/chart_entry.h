#pragma once

#include "common/decimal3.h"
#include "db/scopes.h"
#include "entries/activity_interval.h"
#include "entries/manual_entry.h"

#include <QDate>
#include <QString>

#include <optional>
#include <span>
#include <vector>

class Transaction;

// An entry made from a digitised chart: always a new entry (PODTIP 1) of one calendar day, or
// of two when the chart ran past midnight, with the scan log row that ties it to its scan.
struct ChartEntry : EntryHeader {
    Decimal3 endOfDay1Km; // a two-day chart: the odometer at the end of the first day
    NightWindow night;
    // Each day's counted intervals in grid order (a row whose start equals its end is none), or
    // nothing when the day's grid holds no rows at all: a first day without rows is refused, and
    // a chart without a second day is a one-day chart. A day whose rows none count is stored
    // without intervals.
    std::optional<std::vector<ActivityInterval>> day1;
    std::optional<std::vector<ActivityInterval>> day2;

    // For the scan log.
    QString scanFileName;
    int scanWidth = 0;
    int scanHeight = 0;
    int discNumber = 0;

    bool twoDay() const { return day2.has_value(); }
};

// Why a chart cannot be stored, and which field the operator is sent to.
struct ChartEntryProblem {
    enum class Field { None, EndKm, EndOfDay1Km };
    QString message;
    Field field = Field::None;
};

inline const QString kNoDay1ActivitiesMessage = QStringLiteral("U prvom danu nema aktivnosti?! Pogreška!");
inline const QString kKmReversedMessage = QStringLiteral("Pogrešan unos početnog i završnog stanja kilometara!");
inline const QString kEndOfDay1KmMessage =
    QStringLiteral("Pogrešno definirano stanje kilometara na kraju prvog dana! Provjerite!");

// The checks before storing, in their order: driver, vehicle, activities of the first day, the
// odometer readings, and for a two-day chart the reading at the end of the first day, which
// may equal either end.
std::optional<ChartEntryProblem> CheckChartEntry(const ChartEntry& entry);

// The scan file's name as the scan log keeps it: without its folder, at most 100 characters.
QString ScanLogFileName(const QString& scanFileName);

// The ids a stored chart was given.
struct StoredChart {
    int entryId = kNewId;
    int day1Id = kNewId;
    int day2Id = kNewId; // kNewId for a one-day chart
};

// Writes the entry (UNOS), its scan log (SKENLOG), its day or two cross-linked days (DUNOS, with
// the totals of each day's rows and the crew flags) and their intervals (SATIUNOS) in one
// write; the database's refusal rolls all of it back and is the result's message. The checks
// of CheckChartEntry are the caller's. A day's totals are those of its intervals.
WriteResult StoreChartEntry(Transaction& write, const ChartEntry& entry, StoredChart* stored = nullptr);

// The odometer at the end of the first day, shared out by the minutes of activity of the two
// days: the start for a first day without activity, the end for a second day without any.
// Nothing when the end is not above the start.
std::optional<Decimal3> EstimateEndOfDay1Km(Decimal3 startKm, Decimal3 endKm, int day1Minutes, int day2Minutes);

// "15.03.2025. 05:10 - 16.03.2025. 03:00": the first day's first start, and the first day's
// last end when the second day has no intervals, else the day after and the second day's last
// end. The times as the day grids show them; empty without intervals on the first day.
QString TwoDayRangeText(const QDate& date, std::span<const ActivityInterval> day1,
                        std::span<const ActivityInterval> day2);
