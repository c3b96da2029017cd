#pragma once

#include "cards/card_download.h"

#include <QString>

// Checking a download's signatures. Generation 1: the member state's certificate (in the file)
// is opened with the European root public key, the card's certificate with the member state's
// key (both RSA with partial message recovery, ISO/IEC 9796-2, SHA-1), and each elementary
// file's signature with the card's key (RSA, PKCS #1 v1.5, SHA-1). Generation 2 signatures
// (elliptic curves) are not checked here.

enum class SignatureCheck { NotChecked, Verified, Invalid };

struct SignatureStatus {
    SignatureCheck check = SignatureCheck::NotChecked;
    QString text; // "potpis provjeren", "potpis nije provjeren (...)" or "potpis NIJE ispravan: ..."
};

// `europeanKeyPath`: the European root public key file (EUR.PK: key identifier, modulus and
// exponent, 144 bytes), or empty when the office has none.
SignatureStatus CheckCardSignatures(const CardDownload& download, const QString& europeanKeyPath);
