#pragma once

#include "common/night_window.h"

#include <QColor>
#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <span>
#include <variant>

class ProfileFile;

// The application's settings as plain values, named after their keys in postavke.dat.
// The settings object holds the live copy for the whole run; this struct only knows the
// keys, their defaults, and how they are read from and written to the file.
struct SettingsValues {
    // [Tvrtka]: the company, printed on the attestation.
    QString Naziv = QStringLiteral("Prijevoznik d.o.o.");
    QString Adresa = QStringLiteral("Glavna ulica 1");
    QString Sjediste = QStringLiteral("Zagreb");
    QString Drzava = QStringLiteral("Hrvatska / Croatia");
    QString MjObracuna = QStringLiteral("Zagreb");
    QString MjPotpisa = QStringLiteral("Zagreb");
    QString Posta = QStringLiteral("10000");
    QString MBR = QStringLiteral("0000000");
    QString OIB = QStringLiteral("00000000000");
    QString Telefon = QStringLiteral("01 000 0000");
    QString Faks = QStringLiteral("01 000 0001");
    QString EMail = QStringLiteral("info@prijevoznik.hr");

    // [Postavke]
    QString DDDFolder;  // the executable's folder followed by "TahoDDD"
    // The European root public key of the digital tachograph, for checking driver card files'
    // signatures; empty when the office has none.
    QString EuropskiKljuc;

    // [Ispis]: printer names are empty when none is chosen.
    QString Printer;  // attestation printer
    bool Preview = true;
    bool Auto = false;
    QString IPrinter;  // report printer
    bool IPreview = true;
    QString Zaglavlje;  // header text of the roster printout
    QString GRPrinter;  // graph printer; empty means the system's default printer
    bool GRPreview = true;
    bool Stretch = false;

    // [Boje]: activity colours as 0x00BBGGRR.
    int T0 = 8421504;   // grey
    int T1 = 65535;     // yellow
    int T2 = 16776960;  // aqua
    int T3 = 255;       // red

    // [Print]
    bool Sumarno2x2 = true;

    // [Zona]
    int Vrijeme = 13;  // index into the zone list (offset + 12); -1 when none is chosen
    bool Vozilo = true;
    bool OdZadnjeg = true;
    bool AutoZadnji = false;
    bool SnimiOriginal = false;

    // [Obracun]: the night window, kept in the file as "HH:MM" (NocniOd, NocniDo).
    NightWindow night;
    bool AddCheck = false;
    // The checks of driving, rest and working time: months of the reference period of the
    // 48-hour average, and whether time without any record counts as rest.
    int RefMjeseci = 4;
    bool PraznineOdmor = true;
    // The shortest time without records that is a gap in the record (hours): shorter time is
    // rest between records.
    int PrazninaSati = 24;

    // [KTS]: a chart geometry kept from the file and written back as read (apart from the
    // rounding), for other programs sharing the file; nothing here uses it. The chart geometry
    // the program works with is kept in ktspostavke.dat (charts/chart_geometry.h).
    double R1 = 10;
    double R2 = 20;
    double Pos0 = 180;
    double CX = 0;
    double CY = 0;
    // The chart-reading options (charts/chart_reading_options.h).
    bool Min1 = true;
    bool MinVoznja = true;
    bool NeminVoznja = true;
    bool Odmor15 = false;
    bool NeminOdmor = true;
    bool CentarRadijus = true;
    bool SpecKorekt = false;
    int MinKorekt = 2;
    bool FinoPoravnaj = true;

    // Held for the run only, never stored: the folder of scanned charts.
    QString SkenFolder;

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

// The 26 items of the zone list, offsets -12 to +13: "-12||GMT -12", "0||GMT 00", "1||GMT +01".
QStringList ZoneItems();

// A stored colour (0x00BBGGRR) as a colour.
QColor SettingColour(int bgr);

// The colours of the four activity kinds (T0..T3), indexed by activity code.
using ActivityColours = std::array<QColor, 4>;
ActivityColours ActivityColoursOf(const SettingsValues& values);
