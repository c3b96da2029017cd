#pragma once

#include "cards/card_download.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

#include <vector>

// Driver card download files for tests, written field by field after the data dictionary of
// the tachograph regulations (Annex IB appendix 1 and 7; Annex IC appendix 1 and 7), so that
// the reader is checked against the published layout rather than against itself. Moments are
// given in UTC.

// One ActivityChangeInfo, bits 'scpaattttttttttt'.
struct TestChange {
    int minute = 0;
    int activity = kCardRest;
    bool coDriver = false;
    bool crew = false;     // with the card out: the activity is known (entered by hand)
    bool cardOut = false;
};

struct TestDay {
    QDate date; // the UTC day
    int distanceKm = 0;
    std::vector<TestChange> changes;
};

struct TestVehicle {
    QString registration;
    int nation = 0x19;
    int odometerBegin = 0;
    int odometerEnd = 0;
    QDateTime firstUse;
    QDateTime lastUse;
};

struct TestPlace {
    QDateTime time;
    int entryType = 0; // 0 begin, 1 end
    int country = 0x19;
    int odometer = 0;
};

// An RSA key of the first generation's size (1024 bits) with its key identifier.
struct TestRsaKey {
    QByteArray modulus;          // 128 bytes
    QByteArray publicExponent;   // 8 bytes
    QByteArray privateExponent;  // 128 bytes
    QByteArray keyId;            // 8 bytes: CertificationAuthorityKID or the card's KeyIdentifier
};
TestRsaKey MakeTestRsaKey(const QByteArray& keyId);
// The European root public key file: key identifier, modulus and exponent (144 bytes).
QByteArray EuropeanKeyFile(const TestRsaKey& root);
// A certificate of `holder`'s public key issued by `issuer` (194 bytes: signature with partial
// recovery of the content, the content's remainder, the issuer's reference).
QByteArray TestCertificate(const TestRsaKey& issuer, const TestRsaKey& holder);

// Keys for a download whose generation 1 signatures are real.
struct TestSigning {
    TestRsaKey root;
    TestRsaKey memberState;
    TestRsaKey card;
};
TestSigning MakeTestSigning();

struct TestCard {
    CardGeneration generation = CardGeneration::First;
    bool version2 = false;
    int nation = 0x19;
    QString cardNumber = QStringLiteral("H1000000123456") + QStringLiteral("01");
    QString surname = QStringLiteral("Horvat");
    QString firstNames = QStringLiteral("Ivan");
    QDate birthDate = QDate(1980, 5, 17);
    std::vector<TestDay> days;   // oldest first
    int activityBufferSize = 5544;
    int oldestAt = 0;            // where the oldest record starts in the cyclic buffer
    std::vector<TestVehicle> vehicles;
    int vehicleRecords = 84;
    std::vector<TestPlace> places;
    int placeRecords = 84;
    const TestSigning* signing = nullptr; // real generation 1 signatures, else filler bytes
};

// The download file, and where each of its elementary files (data or signature) ends.
struct TestCardFile {
    QByteArray bytes;
    std::vector<qsizetype> boundaries;
    qsizetype activityHeader = 0; // where the activity file's header starts
};
TestCardFile WriteTestCard(const TestCard& card);

// A moment as the card's TimeReal counts it.
inline QDateTime Utc(int year, int month, int day, int hour = 0, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC);
}

// Writes bytes to a file; false when it could not be written.
bool WriteBytes(const QString& path, const QByteArray& bytes);
