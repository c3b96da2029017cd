#include "cards/card_text.h"

#include "cards/card_download.h"

#include <array>

namespace {

constexpr int kLatin1 = 1;
constexpr int kLatin2 = 2;
constexpr std::uint8_t kFirstHigh = 0xA0;

// ISO/IEC 8859-2 from 0xA0 to 0xFF.
constexpr std::array<char16_t, 96> kLatin2High = {
    0x00A0, 0x0104, 0x02D8, 0x0141, 0x00A4, 0x013D, 0x015A, 0x00A7, 0x00A8, 0x0160, 0x015E, 0x0164, 0x0179, 0x00AD, 0x017D, 0x017B,
    0x00B0, 0x0105, 0x02DB, 0x0142, 0x00B4, 0x013E, 0x015B, 0x02C7, 0x00B8, 0x0161, 0x015F, 0x0165, 0x017A, 0x02DD, 0x017E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

QChar CharOf(int codePage, std::uint8_t byte)
{
    if (byte < 0x80)
        return QChar(byte);
    if (codePage == kLatin1 && byte >= kFirstHigh)
        return QChar(byte);
    if (codePage == kLatin2 && byte >= kFirstHigh)
        return QChar(kLatin2High[byte - kFirstHigh]);
    return QChar(u'?');
}

QString Trimmed(QString text)
{
    // Unused bytes are spaces, zeros or 0xFF.
    text.replace(QChar(0), QChar(u' '));
    return text.trimmed();
}

} // namespace

QString Ia5Text(const std::uint8_t* bytes, int size)
{
    QString text;
    for (int i = 0; i < size; ++i)
        text += bytes[i] < 0x80 ? QChar(bytes[i]) : QChar(u' ');
    return Trimmed(text);
}

QString CardNameText(const std::uint8_t* bytes, int size)
{
    const int codePage = bytes[0];
    QString text;
    for (int i = 1; i < size; ++i)
        text += bytes[i] == 0xFF ? QChar(u' ') : CharOf(codePage, bytes[i]);
    return Trimmed(text);
}

QString NationText(int code)
{
    // NationNumeric codes and their distinguishing signs, from 0x01 on.
    static const std::array<const char*, 0x36> kSigns = {
        "",    "A",   "AL",  "AND", "ARM", "AZ",  "B",   "BG",  "BIH", "BY",  "CH",  "CY",  "CZ",  "D",
        "DK",  "E",   "EST", "F",   "FIN", "FL",  "FR",  "UK",  "GE",  "GR",  "H",   "HR",  "I",   "IRL",
        "IS",  "KZ",  "L",   "LT",  "LV",  "M",   "MC",  "MD",  "MK",  "N",   "NL",  "P",   "PL",  "RO",
        "RSM", "RUS", "S",   "SK",  "SLO", "TM",  "TR",  "UA",  "V",   "YU",  "MNE", "SRB",
    };
    if (code >= 0 && code < int(kSigns.size()))
        return QString::fromLatin1(kSigns[std::size_t(code)]);
    switch (code) {
    case 0xFD:
        return QStringLiteral("EC");
    case 0xFE:
        return QStringLiteral("EUR");
    case 0xFF:
        return QStringLiteral("WLD");
    }
    return QStringLiteral("#%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
}
