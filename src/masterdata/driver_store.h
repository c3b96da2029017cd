#pragma once

#include "masterdata/record_write.h"

#include <QDate>
#include <QString>

#include <optional>

class Transaction;

// One employee as DJELATNICI holds it (drivers and other staff alike).
struct DriverRecord {
    QString name;          // IMEPREZIME
    QString title;         // ZVANJE
    QString jobTitle;      // RADNOMJESTO
    bool driver = true;    // VOZAC
    bool active = true;    // AKTIVNOALL (NULL reads as active)
    QString remark;        // NAPOMENA
    QString idCard;        // OSOBNA
    QString address;       // ADRESA
    QString contact;       // KONTAKT
    int registrationNumber = 0; // MBR, 0 = none
    int category = 0;      // TIP: 0 none, 1..8 the letters A to H
    QString categoryText;  // TIPS
    int employment = -1;   // ZAP: 0 permanent, 1 contract, -1 not chosen
    QString licence;       // VOZACKA
    QString passport;      // PUTOVNICA
    QDate employedSince;   // ZAPOD
    QDate birthDate;       // DATROD
    QString oib;           // OIB
    QString card;          // KARTICA
};

// The day a missing date reads as: day 0 of the day serial scale.
QDate EmptyDate();

// Reads one employee in the statement's transaction (started when not active, committed after
// reading); nothing when there is no such row. A database error rolls the transaction back and
// is passed on as DbError.
std::optional<DriverRecord> LoadDriver(Transaction& read, int id);

// Stores the employee: id -1 inserts a new row under the next key of GEN_DJELATNICI_ID,
// otherwise the row with that IDDJ is updated.
WriteResult StoreDriver(Transaction& write, int id, const DriverRecord& record);
// Its statements without committing, in the caller's write scope; returns the key. Throws DbError.
int WriteDriver(Transaction& write, int id, const DriverRecord& record);
