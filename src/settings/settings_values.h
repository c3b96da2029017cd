#pragma once

#include "common/night_window.h"
#include "common/pick_item.h"

#include <QColor>
#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>
#include <optional>
#include <span>
#include <variant>

class ProfileFile;

// The application's settings as plain values, named for what they hold. Their keys in
// postavke.dat are named only in SettingKeys(), the table that reads and writes the file.
struct SettingsValues {
    // [Tvrtka]: the company, printed on the attestation.
    QString companyName = QStringLiteral("Prijevoznik d.o.o.");
    QString companyAddress = QStringLiteral("Glavna ulica 1");
    QString companySeat = QStringLiteral("Zagreb");
    QString companyCountry = QStringLiteral("Hrvatska / Croatia");
    QString calculationPlace = QStringLiteral("Zagreb");
    QString signingPlace = QStringLiteral("Zagreb");
    QString postCode = QStringLiteral("10000");
    QString companyRegistrationNumber = QStringLiteral("0000000");
    QString companyTaxNumber = QStringLiteral("00000000000");
    QString phone = QStringLiteral("01 000 0000");
    QString fax = QStringLiteral("01 000 0001");
    QString email = QStringLiteral("info@prijevoznik.hr");

    // [Postavke]
    QString cardFileFolder;  // the executable's folder followed by "TahoDDD"
    // The European root public key of the digital tachograph, for checking driver card files'
    // signatures; empty when the office has none.
    QString europeanRootKey;

    // [Ispis]: printer names are empty when none is chosen.
    QString attestationPrinter;  // attestation printer
    bool attestationPreview = true;
    bool printAfterStore = false;
    QString reportPrinter;  // report printer
    bool reportPreview = true;
    QString rosterHeader;  // header text of the roster printout
    QString graphPrinter;  // graph printer; empty means the system's default printer
    bool graphPreview = true;
    bool notesOnSeveralLines = false;

    // [Boje]: activity colours as 0x00BBGGRR.
    int restColour = 8421504;   // grey
    int availabilityColour = 65535;     // yellow
    int workColour = 16776960;  // aqua
    int drivingColour = 255;       // red

    // [Print]
    bool summaryTwoByTwo = true;

    // [Zona]
    int zoneIndex = 13;  // index into the zone list (offset + 12); -1 when none is chosen
    bool zoneVehicle = true;
    bool zoneFromLast = true;
    bool zoneAutoLast = false;
    bool zoneSaveOriginal = false;

    // [Obracun]: the night window, kept in the file as "HH:MM" (NocniOd, NocniDo).
    NightWindow night;
    bool checkTypedTimes = false;
    // The checks of driving, rest and working time: months of the reference period of the
    // 48-hour average, and whether time without any record counts as rest.
    int referenceMonths = 4;
    bool timeWithoutRecordsIsRest = true;
    // The shortest time without records that is a gap in the record (hours): shorter time is
    // rest between records.
    int shortestGapHours = 24;

    // [KTS]: a chart geometry kept from the file and written back as read (apart from the
    // rounding), for other programs sharing the file; nothing here uses it. The chart geometry
    // the program works with is kept in ktspostavke.dat (charts/chart_geometry.h).
    double innerRadius = 10;
    double outerRadius = 20;
    double zeroAngle = 180;
    double centreX = 0;
    double centreY = 0;
    // The chart-reading options (charts/chart_reading_options.h).
    bool joinOneMinute = true;
    bool joinToDriving = true;
    bool keepShortDriving = true;
    bool shortRestIsAvailability = false;
    bool keepShortRest = true;
    bool radiusFollowsCentre = true;
    bool correctDisturbances = false;
    int disturbanceMinutes = 2;
    bool fineAlignment = true;

    // Held for the run only, never stored: the folder of scanned charts.
    QString scanFolder;

    friend bool operator==(const SettingsValues&, const SettingsValues&) = default;
};

// How a key's text is read into its value and written back.
enum class SettingForm {
    Text,            // as it is
    NightStart,      // the start of the night window, a time of day written as "HH:MM"
    NightEnd,        // its end
    PrinterName,     // a printer's name, trimmed
    YesNo,           // "1" / "0"
    WholeNumber,     // decimal digits
    ZoneIndex,       // a whole number 0..25, anything else meaning no zone
    Decimal,         // a decimal number (ProfileFile::readDecimal)
    RoundedDecimal,  // the same, rounded to a whole number (halves to even) on reading
};

struct SettingKey {
    const char* section;
    const char* key;
    SettingForm form;
    std::variant<QString SettingsValues::*, bool SettingsValues::*, int SettingsValues::*, double SettingsValues::*,
                 NightWindow SettingsValues::*>
        member;
};

// Every stored key, in the order in which they are written.
std::span<const SettingKey> SettingKeys();

// The defaults, with the executable's folder (where the settings file lives).
SettingsValues DefaultSettings(const QString& executableFolder);

// Reads every key, each with its default; a missing file or an unreadable value gives the default.
SettingsValues ReadSettings(const ProfileFile& file);

// Writes every key in table order. Returns false when the file could not be written.
bool WriteSettings(ProfileFile& file, const SettingsValues& values);

// postavke.dat in the executable's folder: the settings file of the program's runs.
QString DefaultSettingsPath();

// The day the program last measured its database's indexes, kept in postavke.dat ([Baza]
// StatistikaIndeksa, "dd.mm.yyyy") apart from the values the options window edits; none when
// the key is missing or unreadable.
std::optional<QDate> ReadIndexStatisticsDay(const QString& settingsPath);
bool WriteIndexStatisticsDay(const QString& settingsPath, const QDate& day);

// A time text as minutes of the day through the time-text parser; nothing when it is no time.
std::optional<int> TimeTextMinutes(const QString& text);

// The installed printer a saved name chooses (trimmed, letter case ignored), or -1 for none.
int ChoosePrinter(const QStringList& installed, const QString& saved);

// Settles the saved printer names against the installed printers: each becomes the installed
// name it chooses, or empty; then the attestation and report printers fall back to the first
// installed printer. The graph printer stays empty (the system's default) when none matches.
void ResolvePrinters(SettingsValues& values, const QStringList& installed);

// The 26 items of the zone list, offsets -12 to +13 as their ids: "GMT -12", "GMT 00", "GMT +01".
std::vector<PickItem> ZoneItems();

// A stored colour (0x00BBGGRR) as a colour.
QColor SettingColour(int bgr);

// The colours of the four activity kinds (T0..T3), indexed by activity code.
using ActivityColours = std::array<QColor, 4>;
ActivityColours ActivityColoursOf(const SettingsValues& values);
