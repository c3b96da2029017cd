#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

class Transaction;

// What a new attestation is filled with beside the defaults of a new one: the driver (his
// fields from the employee record), the period, and the attested activity when one is known.
struct AttestationDraft {
    int driverId = -1;
    QDateTime from;
    std::optional<QDateTime> to;  // none: the period is left without an end
    int activity = -1;            // -1: none chosen
};

// A driver's fields on an attestation, as picking him from the employee record fills them.
struct AttestationDriver {
    QString name;
    QString documents;    // identity card / licence / passport (DocumentNumbers)
    QDate birthDate;      // day 0 when the record has none
    QDate employedSince;  // day 0 when the record has none
};
// Nothing when there is no employee of that key. Throws DbError.
std::optional<AttestationDriver> LoadAttestationDriver(Transaction& read, int driverId);
