#include "card_file_writer.h"

#include <QFile>

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>

#include <array>
#include <memory>

namespace {

constexpr int kRsaBytes = 128;
constexpr int kGen2SignatureBytes = 64;
const QByteArray kSha1DigestInfo = QByteArray::fromHex("3021300906052b0e03021a05000414");

// ISO/IEC 8859-2 from 0xA0 on, for names with Croatian letters.
const QString kLatin2High = QString::fromUtf8("\u00A0Ą˘Ł¤ĽŚ§¨ŠŞŤŹ\u00ADŽŻ"
                                              "°ą˛ł´ľśˇ¸šşťź˝žż"
                                              "ŔÁÂĂÄĹĆÇČÉĘËĚÍÎĎ"
                                              "ĐŃŇÓÔŐÖ×ŘŮÚŰÜÝŢß"
                                              "ŕáâăäĺćçčéęëěíîď"
                                              "đńňóôőö÷řůúűüýţ˙");

class Bytes {
public:
    Bytes& u8(int v) { m_b += char(v & 0xFF); return *this; }
    Bytes& be16(int v) { return u8(v >> 8).u8(v); }
    Bytes& be24(int v) { return u8(v >> 16).u8(v >> 8).u8(v); }
    Bytes& be32(qint64 v) { return u8(int(v >> 24)).u8(int(v >> 16)).u8(int(v >> 8)).u8(int(v)); }
    Bytes& raw(const QByteArray& b) { m_b += b; return *this; }
    Bytes& fill(int count, int value = 0) { m_b += QByteArray(count, char(value)); return *this; }
    // TimeReal: seconds since 1970-01-01 00:00 UTC.
    Bytes& timeReal(const QDateTime& t) { return be32(t.isValid() ? t.toSecsSinceEpoch() : 0); }
    // BCDString of `digits` digits.
    Bytes& bcd(int value, int digits)
    {
        QByteArray text = QByteArray::number(value).rightJustified(digits, '0');
        return raw(QByteArray::fromHex(text));
    }
    // Datef: yyyy mm dd in BCD.
    Bytes& datef(const QDate& d) { return bcd(d.year(), 4).bcd(d.month(), 2).bcd(d.day(), 2); }
    // IA5String padded with spaces.
    Bytes& ia5(const QString& text, int size) { return raw(text.toLatin1().leftJustified(size, ' ', true)); }
    // Name: code page 2 (ISO/IEC 8859-2) and 35 bytes, padded with spaces.
    Bytes& name(const QString& text, int size = 35)
    {
        QByteArray latin2;
        for (const QChar c : text) {
            const qsizetype high = kLatin2High.indexOf(c);
            latin2 += c.unicode() < 0x80 ? char(c.unicode()) : high >= 0 ? char(0xA0 + high) : '?';
        }
        return u8(2).raw(latin2.leftJustified(size, ' ', true));
    }
    // VehicleRegistrationIdentification: the nation and a VehicleRegistrationNumber of 13 bytes.
    Bytes& registration(int nation, const QString& number) { return u8(nation).name(number, 13); }
    const QByteArray& bytes() const { return m_b; }

private:
    QByteArray m_b;
};

using BnPtr = std::unique_ptr<BIGNUM, decltype(&BN_free)>;
BnPtr Bn(const QByteArray& bytes)
{
    return BnPtr(BN_bin2bn(reinterpret_cast<const unsigned char*>(bytes.constData()), int(bytes.size()), nullptr), &BN_free);
}

QByteArray Padded(const BIGNUM* value, int size)
{
    QByteArray out(size, 0);
    BN_bn2binpad(value, reinterpret_cast<unsigned char*>(out.data()), size);
    return out;
}

// The RSA private operation of a key: message^d mod n.
QByteArray RsaPrivate(const TestRsaKey& key, const QByteArray& message)
{
    std::unique_ptr<BN_CTX, decltype(&BN_CTX_free)> context(BN_CTX_new(), &BN_CTX_free);
    BnPtr result(BN_new(), &BN_free);
    BN_mod_exp(result.get(), Bn(message).get(), Bn(key.privateExponent).get(), Bn(key.modulus).get(), context.get());
    return Padded(result.get(), kRsaBytes);
}

QByteArray Sha1(const QByteArray& data)
{
    QByteArray hash(20, 0);
    unsigned int size = 0;
    EVP_Digest(data.constData(), std::size_t(data.size()), reinterpret_cast<unsigned char*>(hash.data()), &size,
               EVP_sha1(), nullptr);
    return hash;
}

// Signature of an elementary file: RSA over SHA-1 with the padding of PKCS #1 v1.5.
QByteArray FileSignature(const TestCard& card, const QByteArray& data)
{
    if (card.generation == CardGeneration::Second)
        return QByteArray(kGen2SignatureBytes, char(0x5A));
    if (!card.signing)
        return QByteArray(kRsaBytes, char(0x5A));
    const QByteArray digest = kSha1DigestInfo + Sha1(data);
    const QByteArray padded =
        QByteArray::fromHex("0001") + QByteArray(kRsaBytes - 3 - int(digest.size()), char(0xFF)) + QByteArray(1, 0) + digest;
    return RsaPrivate(card.signing->card, padded);
}

class FileBuilder {
public:
    explicit FileBuilder(const TestCard& card) : m_card(card) {}

    void add(std::uint16_t id, int type, const QByteArray& data)
    {
        Bytes header;
        header.be16(id).u8(type).be16(int(data.size()));
        m_file.bytes += header.bytes() + data;
        m_file.boundaries.push_back(m_file.bytes.size());
    }
    // A file of the application with its signature; `second` for the generation 2 part.
    void addSigned(std::uint16_t id, const QByteArray& data, bool second)
    {
        if (id == CardFileId::kDriverActivityData)
            m_file.activityHeader = m_file.bytes.size();
        add(id, second ? CardFileType::kDataSecond : CardFileType::kDataFirst, data);
        add(id, second ? CardFileType::kSignatureSecond : CardFileType::kSignatureFirst,
            second ? QByteArray(kGen2SignatureBytes, char(0x5A)) : FileSignature(m_card, data));
    }
    TestCardFile result() const { return m_file; }

private:
    const TestCard& m_card;
    TestCardFile m_file;
};

// CardIdentification and DriverCardHolderIdentification.
QByteArray Identification(const TestCard& card)
{
    Bytes b;
    b.u8(card.nation).ia5(card.cardNumber, 16).name(QStringLiteral("MUP RH"));
    b.timeReal(Utc(2022, 1, 10)).timeReal(Utc(2022, 1, 10)).timeReal(Utc(2027, 1, 9));
    b.name(card.surname).name(card.firstNames).datef(card.birthDate).ia5(QStringLiteral("hr"), 2);
    return b.bytes();
}

// CardDriverActivity: the daily records laid one after the other into the cyclic buffer from
// `oldestAt`, going on at its first byte at the end.
QByteArray DriverActivity(const TestCard& card)
{
    QByteArray ring(card.activityBufferSize, 0);
    int pos = card.oldestAt;
    int newest = pos;
    int previousLength = 0;
    for (const TestDay& day : card.days) {
        Bytes record;
        const int length = 12 + 2 * int(day.changes.size());
        record.be16(previousLength).be16(length).timeReal(QDateTime(day.date, QTime(0, 0), Qt::UTC));
        record.bcd(int(&day - card.days.data()) + 1, 4).be16(day.distanceKm);
        for (const TestChange& c : day.changes)
            record.be16((c.coDriver ? 0x8000 : 0) | (c.crew ? 0x4000 : 0) | (c.cardOut ? 0x2000 : 0) | c.activity << 11 | c.minute);
        newest = pos;
        for (const char byte : record.bytes()) {
            ring[pos] = byte;
            pos = (pos + 1) % card.activityBufferSize;
        }
        previousLength = length;
    }
    Bytes b;
    b.be16(card.oldestAt).be16(newest).raw(ring);
    return b.bytes();
}

// CardVehiclesUsed: records of 31 bytes, 48 in generation 2 (with the VIN).
QByteArray VehiclesUsed(const TestCard& card)
{
    const bool second = card.generation == CardGeneration::Second;
    Bytes b;
    b.be16(card.vehicles.empty() ? 0 : int(card.vehicles.size()) - 1);
    for (int i = 0; i < card.vehicleRecords; ++i) {
        if (i >= int(card.vehicles.size())) {
            b.fill(second ? 48 : 31);
            continue;
        }
        const TestVehicle& v = card.vehicles[std::size_t(i)];
        b.be24(v.odometerBegin).be24(v.odometerEnd).timeReal(v.firstUse).timeReal(v.lastUse);
        b.registration(v.nation, v.registration).bcd(i, 4);
        if (second)
            b.ia5(QStringLiteral("WDB9634031L123456"), 17);
    }
    return b.bytes();
}

// CardPlaceDailyWorkPeriod: a pointer of one byte and records of 10 bytes, in generation 2 a
// pointer of two bytes and records of 21 (with a GNSSPlaceRecord).
QByteArray Places(const TestCard& card)
{
    const bool second = card.generation == CardGeneration::Second;
    Bytes b;
    const int newest = card.places.empty() ? 0 : int(card.places.size()) - 1;
    second ? b.be16(newest) : b.u8(newest);
    for (int i = 0; i < card.placeRecords; ++i) {
        if (i >= int(card.places.size())) {
            b.fill(second ? 21 : 10);
            continue;
        }
        const TestPlace& p = card.places[std::size_t(i)];
        b.timeReal(p.time).u8(p.entryType).u8(p.country).u8(0).be24(p.odometer);
        if (second)
            b.timeReal(p.time).u8(3).be24(45 * 600 + 48).be24(15 * 600 + 58);
    }
    return b.bytes();
}

void AddApplication(FileBuilder& file, const TestCard& card, bool second)
{
    Bytes appId;
    appId.u8(1).u8(second ? 1 : 0).u8(second && card.version2 ? 1 : 0).u8(12).u8(24).be16(card.activityBufferSize);
    appId.be16(card.vehicleRecords);
    second ? appId.be16(card.placeRecords).be16(252).be16(56).be16(200) : appId.u8(card.placeRecords);
    file.addSigned(CardFileId::kApplicationIdentification, appId.bytes(), second);
    if (second && card.version2) {
        Bytes appIdV2;
        appIdV2.be16(10).be16(1120).be16(1120).be16(1120).be16(1120).be16(0);
        file.addSigned(CardFileId::kApplicationIdentificationV2, appIdV2.bytes(), second);
    }
    file.addSigned(CardFileId::kIdentification, Identification(card), second);
    file.addSigned(CardFileId::kCardDownload, Bytes().timeReal(Utc(2025, 2, 1)).bytes(), second);
    file.addSigned(CardFileId::kDrivingLicenceInfo,
                   Bytes().name(QStringLiteral("PU zagrebačka")).u8(card.nation).ia5(QStringLiteral("12345678"), 16).bytes(),
                   second);
    file.addSigned(CardFileId::kEventsData, Bytes().fill(6 * 12 * 24).bytes(), second);
    file.addSigned(CardFileId::kFaultsData, Bytes().fill(2 * 24 * 24).bytes(), second);
    TestCard own = card;
    own.generation = second ? CardGeneration::Second : CardGeneration::First;
    file.addSigned(CardFileId::kDriverActivityData, DriverActivity(own), second);
    file.addSigned(CardFileId::kVehiclesUsed, VehiclesUsed(own), second);
    file.addSigned(CardFileId::kPlaces, Places(own), second);
    file.addSigned(CardFileId::kCurrentUsage, Bytes().fill(4).registration(0, QString()).bytes(), second);
    file.addSigned(CardFileId::kControlActivityData, Bytes().fill(46).bytes(), second);
    file.addSigned(CardFileId::kSpecificConditions, Bytes().fill(56 * 5).bytes(), second);
    if (second) {
        file.addSigned(CardFileId::kVehicleUnitsUsed, Bytes().be16(0).fill(200 * 10).bytes(), second);
        file.addSigned(CardFileId::kGnssPlaces, Bytes().be16(0).fill(252 * 18).bytes(), second);
    }
}

} // namespace

TestRsaKey MakeTestRsaKey(const QByteArray& keyId)
{
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> pkey(EVP_RSA_gen(1024), &EVP_PKEY_free);
    TestRsaKey key;
    const auto get = [&](const char* name, int size) {
        BIGNUM* value = nullptr;
        EVP_PKEY_get_bn_param(pkey.get(), name, &value);
        BnPtr owned(value, &BN_free);
        return Padded(value, size);
    };
    key.modulus = get(OSSL_PKEY_PARAM_RSA_N, kRsaBytes);
    key.publicExponent = get(OSSL_PKEY_PARAM_RSA_E, 8);
    key.privateExponent = get(OSSL_PKEY_PARAM_RSA_D, kRsaBytes);
    key.keyId = keyId;
    return key;
}

QByteArray EuropeanKeyFile(const TestRsaKey& root)
{
    return root.keyId + root.modulus + root.publicExponent;
}

QByteArray TestCertificate(const TestRsaKey& issuer, const TestRsaKey& holder)
{
    // CertificateContent: profile, issuer's reference, holder's authorisation (the tachograph
    // application and the equipment type), end of validity, holder's reference, public key.
    Bytes content;
    content.u8(0x01).raw(issuer.keyId).raw(QByteArray::fromHex("FF544143484F")).u8(holder.keyId.size() == 8 ? 1 : 0);
    content.be32(0xFFFFFFFF).raw(holder.keyId).raw(holder.modulus).raw(holder.publicExponent);
    const QByteArray c = content.bytes();
    const QByteArray recovered = QByteArray(1, char(0x6A)) + c.left(106) + Sha1(c) + QByteArray(1, char(0xBC));
    return RsaPrivate(issuer, recovered) + c.mid(106) + issuer.keyId;
}

TestSigning MakeTestSigning()
{
    return TestSigning{MakeTestRsaKey(QByteArray::fromHex("FD45432001FFFF01")),
                       MakeTestRsaKey(QByteArray::fromHex("19485220010000" "01")),
                       MakeTestRsaKey(QByteArray::fromHex("0000123456010203"))};
}

TestCardFile WriteTestCard(const TestCard& card)
{
    FileBuilder file(card);
    file.add(CardFileId::kIcc, CardFileType::kDataFirst, Bytes().u8(0).fill(8, 1).ia5("e1-00001", 8).u8(1).fill(5).fill(2).bytes());
    file.add(CardFileId::kIc, CardFileType::kDataFirst, Bytes().fill(8, 7).bytes());
    if (card.signing) {
        file.add(CardFileId::kCardCertificate, CardFileType::kDataFirst, TestCertificate(card.signing->memberState, card.signing->card));
        file.add(CardFileId::kCaCertificate, CardFileType::kDataFirst, TestCertificate(card.signing->root, card.signing->memberState));
    } else {
        file.add(CardFileId::kCardCertificate, CardFileType::kDataFirst, Bytes().fill(194, 0x33).bytes());
        file.add(CardFileId::kCaCertificate, CardFileType::kDataFirst, Bytes().fill(194, 0x44).bytes());
    }
    AddApplication(file, card, false);
    if (card.generation == CardGeneration::Second) {
        file.add(CardFileId::kCardCertificate, CardFileType::kDataSecond, Bytes().fill(205, 0x7F).bytes());
        file.add(CardFileId::kCardSignCertificate, CardFileType::kDataSecond, Bytes().fill(205, 0x7F).bytes());
        file.add(CardFileId::kCaCertificate, CardFileType::kDataSecond, Bytes().fill(204, 0x7F).bytes());
        AddApplication(file, card, true);
    }
    return file.result();
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
