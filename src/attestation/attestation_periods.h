#pragma once

#include "attestation/attestation_record.h"

#include <QDate>
#include <QDateTime>

#include <optional>
#include <vector>

class Transaction;

// When a stored attestation is for: its key, driver, attested activity, start and end.
struct AttestationPeriod {
    int id = -1;                   // IDP
    int driverId = -1;             // IDVOZ
    int activity = -1;             // TIP
    QDateTime start;               // RAZOD
    std::optional<QDateTime> end;  // RAZDO; none for an attestation without an end
};

// The attestations of the driver (or of every driver) that reach into [from, to): those with an
// end that overlap it, and those without one that start in it. By start, then key. Throws
// DbError.
std::vector<AttestationPeriod> LoadAttestationPeriods(Transaction& read, const QDateTime& from, const QDateTime& to,
                                                      std::optional<int> driverId);

// Every attestation made for the days from `from` to `to`: starting or ending in them or running
// across them, and one without an end when it starts in them; of one driver (IDVOZ) when given.
// In the order of the drivers' names (common/name_order.h), then of their starts. Throws DbError.
std::vector<Attestation> LoadAttestationsOfDays(Transaction& read, const QDate& from, const QDate& to,
                                                std::optional<int> driverId);
