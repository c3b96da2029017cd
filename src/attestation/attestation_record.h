#pragma once

#include "db/scopes.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class Statement;
class Transaction;

// One attestation of activities (a row of AKTPOTVRDA), as the attestation window holds it.
// Dates that a field holds on day 0 (30.12.1899) stand for a missing date.
struct Attestation {
    int fillerId = -1;   // IDDJ: the employee who fills in, -1 for none
    int driverId = -1;   // IDVOZ: the driver, -1 for none
    int activity = -1;   // TIP 0..5; -1 for none chosen (refused by storing)
    QString company;     // NAZIV
    QString street;      // ULICA
    QString country;     // DRZAVA
    QString telephone;   // TEL
    QString fax;         // FAKS
    QString email;       // MAIL
    QString fillerName;  // IME1
    QString fillerPosition;  // FUNKCIJA
    QString driverName;  // IME2
    QDate birthDate;     // DROD (day 0: NULL)
    QString documents;   // BROJEVI
    QDate employedSince; // DZAP (day 0: NULL)
    QDate from;          // RAZOD date
    QString fromTime;    // RAZOD time of day as typed ("08:00", empty for 00:00)
    bool hasEnd = false; // DoCheck: RAZDO is stored
    QDate to;            // RAZDO date
    QString toTime;      // RAZDO time of day
    QString place;       // MJESTO
    QDate date;          // DATUM
    QString signaturePlace;  // MPOTPIS
    QDate signatureDate;     // DPOTPIS
    bool printSignature = true;  // PISP: 1, or NULL
};

// The attested activities (AKTPOTVRDA.TIP 0..5), as the window, the record and the register
// show them.
QStringList AttestedActivityTexts();

inline const QString kNoActivityMessage = QStringLiteral("Niste definirali aktivnost!");

// The day that stands for a missing date.
QDate DayZero();

// The start and the end of the period as stored: the date with the time read from the typed
// text (empty: 00:00). Throws ConversionError for a text that is no time.
QDateTime PeriodStart(const Attestation& attestation);
std::optional<QDateTime> PeriodEnd(const Attestation& attestation);

// Stores the attestation: a new one (id -1) is inserted and its key returned in the result,
// an existing one is updated. No activity is refused with kNoActivityMessage; a time that
// cannot be read with its message. The database's refusal rolls back and gives its text.
WriteResult StoreAttestation(Transaction& write, int id, const Attestation& attestation);

// Reads a stored attestation; nothing when there is none of that key. Throws DbError.
std::optional<Attestation> LoadAttestation(Transaction& read, int id);
// The attestation of the current row of a "SELECT * FROM AKTPOTVRDA" statement.
Attestation AttestationOfRow(const Statement& sql);

// The person who filled in the most recently created attestation: name, position and key.
struct Filler {
    QString name;
    QString position;
    int id = -1;
};
std::optional<Filler> LatestFiller(Transaction& read);

// The documents of a driver as one text: the identity card, then "/" and the licence, then "/"
// and the passport, each only when it is there ("/V123" without an identity card).
QString DocumentNumbers(const QString& idCard, const QString& licence, const QString& passport);
