#include "cards/card_signature.h"

#include <QFile>

#include <openssl/bn.h>
#include <openssl/evp.h>

#include <memory>
#include <optional>

namespace {

constexpr int kRsaBytes = 128;
constexpr int kKeyIdBytes = 8;
constexpr int kExponentBytes = 8;
constexpr int kEuropeanKeyFileBytes = kKeyIdBytes + kRsaBytes + kExponentBytes;
constexpr int kCertificateBytes = 194;
constexpr int kCertificateRemainder = 58;
constexpr int kRecoveredPart = 106;
constexpr int kSha1Bytes = 20;
constexpr std::uint8_t kRecoveryHeader = 0x6A;
constexpr std::uint8_t kRecoveryTrailer = 0xBC;
// CertificateContent: profile (1), issuer's reference (8), authorisation (7), end of validity
// (4), holder's reference (8), modulus (128), exponent (8).
constexpr int kContentIssuer = 1;
constexpr int kContentHolder = 20;
constexpr int kContentModulus = 28;
constexpr int kContentExponent = kContentModulus + kRsaBytes;

const QString kNotChecked = QStringLiteral("potpis nije provjeren");
const QByteArray kSha1DigestInfo = QByteArray::fromHex("3021300906052b0e03021a05000414");

struct RsaKey {
    QByteArray keyId;
    QByteArray modulus;
    QByteArray exponent;
};

using BnPtr = std::unique_ptr<BIGNUM, decltype(&BN_free)>;

BnPtr Bn(const QByteArray& bytes)
{
    return BnPtr(BN_bin2bn(reinterpret_cast<const unsigned char*>(bytes.constData()), int(bytes.size()), nullptr), &BN_free);
}

// The RSA public operation: value^e mod n, as many bytes as the modulus; nothing when the value
// is not below the modulus.
std::optional<QByteArray> RsaPublic(const RsaKey& key, const QByteArray& value)
{
    std::unique_ptr<BN_CTX, decltype(&BN_CTX_free)> context(BN_CTX_new(), &BN_CTX_free);
    BnPtr result(BN_new(), &BN_free);
    const BnPtr n = Bn(key.modulus);
    const BnPtr x = Bn(value);
    if (!context || !result || !n || !x || BN_is_zero(n.get()) || BN_cmp(x.get(), n.get()) >= 0)
        return std::nullopt;
    if (!BN_mod_exp(result.get(), x.get(), Bn(key.exponent).get(), n.get(), context.get()))
        return std::nullopt;
    QByteArray out(key.modulus.size(), 0);
    BN_bn2binpad(result.get(), reinterpret_cast<unsigned char*>(out.data()), int(out.size()));
    return out;
}

QByteArray Sha1(const QByteArray& data)
{
    QByteArray hash(kSha1Bytes, 0);
    unsigned int size = 0;
    EVP_Digest(data.constData(), std::size_t(data.size()), reinterpret_cast<unsigned char*>(hash.data()), &size,
               EVP_sha1(), nullptr);
    return hash;
}

// Opens a certificate with its issuer's key; the holder's key, or nothing when the certificate
// is not the issuer's or does not verify.
std::optional<RsaKey> OpenCertificate(const QByteArray& certificate, const RsaKey& issuer)
{
    if (certificate.size() != kCertificateBytes || certificate.right(kKeyIdBytes) != issuer.keyId)
        return std::nullopt;
    const std::optional<QByteArray> recovered = RsaPublic(issuer, certificate.left(kRsaBytes));
    if (!recovered || recovered->size() != kRsaBytes || std::uint8_t(recovered->front()) != kRecoveryHeader
        || std::uint8_t(recovered->back()) != kRecoveryTrailer)
        return std::nullopt;
    const QByteArray content = recovered->mid(1, kRecoveredPart) + certificate.mid(kRsaBytes, kCertificateRemainder);
    if (Sha1(content) != recovered->mid(1 + kRecoveredPart, kSha1Bytes) || content.mid(kContentIssuer, kKeyIdBytes) != issuer.keyId)
        return std::nullopt;
    return RsaKey{content.mid(kContentHolder, kKeyIdBytes), content.mid(kContentModulus, kRsaBytes),
                  content.mid(kContentExponent, kExponentBytes)};
}

bool FileSignatureHolds(const SignedFile& file, const RsaKey& card)
{
    if (file.signature.size() != kRsaBytes)
        return false;
    const std::optional<QByteArray> opened = RsaPublic(card, file.signature);
    const QByteArray digest = kSha1DigestInfo + Sha1(file.data);
    const QByteArray expected = QByteArray::fromHex("0001")
        + QByteArray(kRsaBytes - 3 - int(digest.size()), char(0xFF)) + QByteArray(1, 0) + digest;
    return opened && *opened == expected;
}

SignatureStatus Invalid(const QString& what)
{
    return SignatureStatus{SignatureCheck::Invalid, QStringLiteral("potpis NIJE ispravan: ") + what};
}

SignatureStatus NotChecked(const QString& why)
{
    return SignatureStatus{SignatureCheck::NotChecked, kNotChecked + QStringLiteral(" (") + why + QLatin1Char(')')};
}

} // namespace

SignatureStatus CheckCardSignatures(const CardDownload& download, const QString& europeanKeyPath)
{
    if (download.generation == CardGeneration::Second)
        return NotChecked(QStringLiteral("provjera potpisa kartica 2. generacije nije podržana"));
    if (europeanKeyPath.isEmpty())
        return NotChecked(QStringLiteral("nije zadan europski javni ključ"));
    QFile keyFile(europeanKeyPath);
    if (!keyFile.open(QIODevice::ReadOnly))
        return NotChecked(QStringLiteral("europski javni ključ se ne može pročitati"));
    const QByteArray keyBytes = keyFile.read(kEuropeanKeyFileBytes + 1);
    if (keyBytes.size() != kEuropeanKeyFileBytes)
        return NotChecked(QStringLiteral("datoteka europskog ključa nema 144 bajta"));
    const RsaKey root{keyBytes.left(kKeyIdBytes), keyBytes.mid(kKeyIdBytes, kRsaBytes), keyBytes.right(kExponentBytes)};

    if (download.memberStateCertificate.isEmpty() || download.cardCertificate.isEmpty())
        return Invalid(QStringLiteral("u datoteci nema certifikata kartice i države članice"));
    const std::optional<RsaKey> memberState = OpenCertificate(download.memberStateCertificate, root);
    if (!memberState)
        return Invalid(QStringLiteral("certifikat države članice nije potpisan europskim ključem"));
    const std::optional<RsaKey> card = OpenCertificate(download.cardCertificate, *memberState);
    if (!card)
        return Invalid(QStringLiteral("certifikat kartice nije potpisan ključem države članice"));
    for (const SignedFile& file : download.files) {
        if (file.signature.isEmpty())
            continue;
        if (!FileSignatureHolds(file, *card))
            return Invalid(QStringLiteral("potpis EF %1 ne odgovara sadržaju")
                               .arg(QStringLiteral("%1").arg(file.fileId, 4, 16, QLatin1Char('0')).toUpper()));
    }
    return SignatureStatus{SignatureCheck::Verified, QStringLiteral("potpis provjeren")};
}
