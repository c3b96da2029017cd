#pragma once

#include "common/decimal3.h"
#include "masterdata/record_write.h"

#include <QString>
#include <QStringList>

#include <optional>

class Transaction;

// The kinds of vehicle, as VOZILO.VRSTA indexes them ("Kamion" 0 .. "Autobus" 3).
QStringList VehicleKindNames();

// Defaults for number fields that do not hold a whole number.
inline constexpr int kDefaultSeats = 2;
inline constexpr int kDefaultYear = 2007;

// One vehicle as VOZILO holds it.
struct VehicleRecord {
    QString make;        // MARKAITIP
    QString plate;       // OZNAKA
    Decimal3 mass;       // MASA
    Decimal3 payload;    // NOSIVOST
    Decimal3 totalMass;  // UKUPNAMASA
    int kind = 0;        // VRSTA
    QString remark;      // NAPOMENA
    QString garageNumber; // GARBR
    QString chassis;     // BRSASIJE
    int seats = kDefaultSeats;  // BRSJED
    int yearMade = kDefaultYear;       // GODPRO
    int yearRegistered = kDefaultYear; // GODPREG
    bool active = true;  // AKTIVNOALL (NULL reads as active)
};

// Reads one vehicle in the statement's transaction (started when not active, committed after
// reading); nothing when there is no such row. A database error rolls the transaction back and
// is passed on as DbError.
std::optional<VehicleRecord> LoadVehicle(Transaction& read, int id);

// Stores the vehicle: id -1 inserts a new row under the next key of GEN_VOZILO_ID, otherwise
// the row with that IDVOZ is updated.
WriteResult StoreVehicle(Transaction& write, int id, const VehicleRecord& record);
// Its statements without committing, in the caller's write scope; returns the key. Throws DbError.
int WriteVehicle(Transaction& write, int id, const VehicleRecord& record);

// Deletes the vehicle; the entry days and intervals that name it stay as they are.
WriteResult DeleteVehicle(Transaction& read, int id);
