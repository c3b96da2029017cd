#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <cstdint>
#include <stdexcept>
#include <vector>

// A driver card download file (.ddd, .C1B, .esm, .TGD) as its data dictionary defines it, read
// into plain values. Moments are seconds since 1970-01-01 00:00 UTC, as the card keeps them.

enum class CardGeneration { First, Second };

// The elementary files of a driver card, by file identifier.
namespace CardFileId {
inline constexpr std::uint16_t kIcc = 0x0002;
inline constexpr std::uint16_t kIc = 0x0005;
inline constexpr std::uint16_t kApplicationIdentification = 0x0501;
inline constexpr std::uint16_t kEventsData = 0x0502;
inline constexpr std::uint16_t kFaultsData = 0x0503;
inline constexpr std::uint16_t kDriverActivityData = 0x0504;
inline constexpr std::uint16_t kVehiclesUsed = 0x0505;
inline constexpr std::uint16_t kPlaces = 0x0506;
inline constexpr std::uint16_t kCurrentUsage = 0x0507;
inline constexpr std::uint16_t kControlActivityData = 0x0508;
inline constexpr std::uint16_t kCardDownload = 0x050E;
inline constexpr std::uint16_t kIdentification = 0x0520;
inline constexpr std::uint16_t kDrivingLicenceInfo = 0x0521;
inline constexpr std::uint16_t kSpecificConditions = 0x0522;
inline constexpr std::uint16_t kVehicleUnitsUsed = 0x0523;
inline constexpr std::uint16_t kGnssPlaces = 0x0524;
inline constexpr std::uint16_t kApplicationIdentificationV2 = 0x0525;
inline constexpr std::uint16_t kCardCertificate = 0xC100;  // generation 2: the card's authentication certificate
inline constexpr std::uint16_t kCardSignCertificate = 0xC101;
inline constexpr std::uint16_t kCaCertificate = 0xC108;    // the member state's certificate
inline constexpr std::uint16_t kLinkCertificate = 0xC109;
} // namespace CardFileId

// The type byte after a file identifier in the download: the data of an elementary file or
// its signature, of the generation 1 or the generation 2 application.
namespace CardFileType {
inline constexpr std::uint8_t kDataFirst = 0;
inline constexpr std::uint8_t kSignatureFirst = 1;
inline constexpr std::uint8_t kDataSecond = 2;
inline constexpr std::uint8_t kSignatureSecond = 3;
} // namespace CardFileType

// The activity codes of an ActivityChangeInfo, which are the program's own activity codes.
inline constexpr int kCardRest = 0;
inline constexpr int kCardAvailability = 1;
inline constexpr int kCardWork = 2;
inline constexpr int kCardDriving = 3;

struct CardHolder {
    QString cardNumber;   // 16 characters: driver identification, replacement and renewal index
    QString surname;
    QString firstNames;
    QDate birthDate;      // invalid when the card has none
    QString issuingState; // the nation's distinguishing sign ("HR")
};

// One ActivityChangeInfo: from `minute` of its day on, until the next change.
struct ActivityChange {
    int minute = 0;            // 0..1439 after 00:00 UTC
    bool coDriverSlot = false; // 's': the card was in the co-driver slot
    // 'c': with the card inserted, crew driving; with the card out, the activity that
    // follows is known because the driver entered it by hand.
    bool crewOrKnown = false;
    bool cardOut = false;      // 'p': the card was not inserted (or was withdrawn)
    int activity = kCardRest;  // 'aa'

    friend bool operator==(const ActivityChange&, const ActivityChange&) = default;
};

// One CardActivityDailyRecord: a calendar day in UTC.
struct CardDayRecord {
    qint64 dayStart = 0;       // 00:00 UTC of the day
    int presenceCounter = 0;
    int distanceKm = 0;
    std::vector<ActivityChange> changes;
};

// One CardVehicleRecord: a period of use of a vehicle.
struct VehicleUse {
    QString registration; // as the card holds it, trimmed
    QString nation;       // the registering state's distinguishing sign
    int odometerBegin = 0;
    int odometerEnd = 0;
    qint64 firstUse = 0;
    qint64 lastUse = 0;
};

// One PlaceRecord: where a daily work period began or ended.
struct WorkPlace {
    qint64 time = 0;
    bool begin = true;    // begin or end of the daily work period
    bool manual = false;  // entered by hand (or assumed by the vehicle unit)
    QString country;
    int odometer = 0;
};

// An elementary file and the signature that followed it, for checking.
struct SignedFile {
    std::uint16_t fileId = 0;
    CardGeneration generation = CardGeneration::First;
    QByteArray data;
    QByteArray signature; // empty when the download had none
};

struct CardDownload {
    QString fileName;     // without its folder, for messages
    CardGeneration generation = CardGeneration::First;
    bool version2 = false; // generation 2, version 2
    CardHolder holder;
    std::vector<CardDayRecord> days; // oldest first
    std::vector<VehicleUse> vehicles; // by first use
    std::vector<WorkPlace> places;    // by time
    std::vector<SignedFile> files;    // every elementary file of the application read
    QByteArray cardCertificate;       // generation 1
    QByteArray memberStateCertificate; // generation 1
};

// A file that cannot be read: its Croatian message names the file and what is wrong.
class CardFileError : public std::runtime_error {
public:
    explicit CardFileError(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

// The largest download file read: a driver card holds well under a tenth of this.
inline constexpr qint64 kMaxCardFileSize = 4 * 1024 * 1024;

// Reads a download from its bytes; `fileName` names it in messages. Throws CardFileError.
CardDownload ParseCardDownload(const QByteArray& bytes, const QString& fileName);
// Reads a download file. Throws CardFileError.
CardDownload ReadCardDownload(const QString& path);

// The distinguishing sign of a NationNumeric ("HR" for 0x19), or its number in hex when unknown.
QString NationText(int code);
// "12.03.2025 08:15" in UTC, for messages and listings.
QString UtcMomentText(qint64 moment);
