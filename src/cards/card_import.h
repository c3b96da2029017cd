#pragma once

#include "cards/card_days.h"
#include "cards/card_download.h"
#include "cards/card_signature.h"
#include "common/decimal3.h"
#include "entries/activity_interval.h"
#include "entries/manual_entry.h"
#include "masterdata/driver_store.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

class Transaction;

// Importing a driver card download: each local day of the card becomes one entry of the
// driver-card kind (PODTIP kSubtypeDriverCard), stored by the entries' own store, all of one
// file in one transaction. A day that already has an entry of the driver is either the same
// card day imported before (left as it is) or a conflict, kept unless the clerk replaces it.

// An entry day of the driver already stored on a card day's date.
struct ExistingDay {
    int entryId = 0;
    int dayId = 0;
    std::optional<int> type;    // UNOS.TIP
    std::optional<int> subtype; // UNOS.PODTIP
    Decimal3 distance;          // DKM
    std::array<int, 4> kindMinutes{}; // S1..S4
    bool spansOtherDays = false; // its entry has further days (a two-day chart)

    // "Skenirani listić: odmor 10:00, spremnost 00:00, rad 01:00, vožnja 09:00, 450,00 km"
    QString text() const;
};

enum class CardDayState {
    New,       // no entry on that date yet
    Unchanged, // this card day is stored already, just as the file has it
    Conflict,  // another entry (a disc, a hand entry, another card file) holds the date
};

struct CardImportDay {
    CardDay day;
    CardDayState state = CardDayState::New;
    std::vector<ExistingDay> existing;
    bool replace = false; // the clerk chose the card's day over the existing entries

    // Whether the existing entries can give way: none of them holds other days as well.
    bool replaceable() const;
    // "odmor 14:00, spremnost 00:00, rad 00:30, vožnja 09:30, 380 km"
    QString cardText() const;
};

struct CardImportPlan {
    CardDownload download;
    SignatureStatus signature;
    std::optional<int> driverId; // found by the card number; none: to be created from the holder
    QString driverName;          // the found driver's IMEPREZIME
    // Per vehicle of the download: the vehicle found by its registration, or none.
    std::vector<std::optional<int>> vehicleIds;
    std::vector<CardImportDay> days;

    // Registrations of the vehicles the days use that are not in the records, once each.
    QStringList unknownVehicles() const;
};

// Finds the driver and vehicles and the entries already stored on the card's days, on the read
// transaction. Throws DbError.
CardImportPlan PlanCardImport(Transaction& read, CardDownload download, SignatureStatus signature);

// The driver a card's holder would be recorded as: "SURNAME First names", a driver, with the
// birth date and the card number.
DriverRecord DriverFromHolder(const CardHolder& holder);

// The entry of one card day: its intervals with their crew flags (SCP) and vehicles, the day's
// distance, the vehicle of most of its minutes. `vehicleIds` per vehicle of the download.
ManualEntry CardDayEntry(const CardImportDay& day, const CardImportPlan& plan, int driverId,
                         const std::vector<int>& vehicleIds, NightWindow night);

struct CardImportResult {
    bool done = false;
    QString message; // why nothing was stored
    int stored = 0;
    int replaced = 0;
    int unchanged = 0;
    int conflictsKept = 0;
    bool driverCreated = false;
    int vehiclesCreated = 0;
};

// Stores the plan in one transaction: the driver and vehicles first when they are unknown and
// `createMissing` allows it (otherwise nothing is stored and the message says who is missing),
// then every new day, and every conflict the clerk chose to replace (its entries deleted first).
CardImportResult RunCardImport(Transaction& write, const CardImportPlan& plan, NightWindow night, bool createMissing);

// One line for the clerk: the file, the holder, what was done with its days, the signature.
QString CardImportSummary(const CardImportPlan& plan, const CardImportResult& result);

// The registration or card number as records are compared: letters and digits only, in
// capitals ("ZG 1234-AB" and "ZG1234AB" are one vehicle).
QString ComparableText(const QString& text);
