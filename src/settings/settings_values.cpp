#include "settings/settings_values.h"

#include "common/conversion_error.h"
#include "common/profile_file.h"
#include "common/rounding.h"
#include "common/time_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <array>
#include <cmath>

namespace {

using S = SettingsValues;
using F = SettingForm;

const std::array kSettingKeys = {
    SettingKey{"Tvrtka", "Naziv", F::Text, &S::companyName},
    SettingKey{"Tvrtka", "Adresa", F::Text, &S::companyAddress},
    SettingKey{"Tvrtka", "Sjediste", F::Text, &S::companySeat},
    SettingKey{"Tvrtka", "Drzava", F::Text, &S::companyCountry},
    SettingKey{"Tvrtka", "MjObracuna", F::Text, &S::calculationPlace},
    SettingKey{"Tvrtka", "MjPotpisa", F::Text, &S::signingPlace},
    SettingKey{"Tvrtka", "Posta", F::Text, &S::postCode},
    SettingKey{"Tvrtka", "MBR", F::Text, &S::companyRegistrationNumber},
    SettingKey{"Tvrtka", "OIB", F::Text, &S::companyTaxNumber},
    SettingKey{"Tvrtka", "Telefon", F::Text, &S::phone},
    SettingKey{"Tvrtka", "Faks", F::Text, &S::fax},
    SettingKey{"Tvrtka", "EMail", F::Text, &S::email},
    SettingKey{"Postavke", "DDDFolder", F::Text, &S::cardFileFolder},
    SettingKey{"Postavke", "EuropskiKljuc", F::Text, &S::europeanRootKey},
    SettingKey{"Ispis", "Printer", F::PrinterName, &S::attestationPrinter},
    SettingKey{"Ispis", "Preview", F::YesNo, &S::attestationPreview},
    SettingKey{"Ispis", "Auto", F::YesNo, &S::printAfterStore},
    SettingKey{"Ispis", "IPrinter", F::PrinterName, &S::reportPrinter},
    SettingKey{"Ispis", "IPreview", F::YesNo, &S::reportPreview},
    SettingKey{"Ispis", "Zaglavlje", F::Text, &S::rosterHeader},
    SettingKey{"Ispis", "GRPrinter", F::PrinterName, &S::graphPrinter},
    SettingKey{"Ispis", "GRPreview", F::YesNo, &S::graphPreview},
    SettingKey{"Ispis", "Stretch", F::YesNo, &S::notesOnSeveralLines},
    SettingKey{"Boje", "T0", F::WholeNumber, &S::restColour},
    SettingKey{"Boje", "T1", F::WholeNumber, &S::availabilityColour},
    SettingKey{"Boje", "T2", F::WholeNumber, &S::workColour},
    SettingKey{"Boje", "T3", F::WholeNumber, &S::drivingColour},
    SettingKey{"Print", "Sumarno2x2", F::YesNo, &S::summaryTwoByTwo},
    SettingKey{"Zona", "Vrijeme", F::ZoneIndex, &S::zoneIndex},
    SettingKey{"Zona", "Vozilo", F::YesNo, &S::zoneVehicle},
    SettingKey{"Zona", "OdZadnjeg", F::YesNo, &S::zoneFromLast},
    SettingKey{"Zona", "AutoZadnji", F::YesNo, &S::zoneAutoLast},
    SettingKey{"Zona", "SnimiOriginal", F::YesNo, &S::zoneSaveOriginal},
    SettingKey{"Obracun", "NocniOd", F::NightStart, &S::night},
    SettingKey{"Obracun", "NocniDo", F::NightEnd, &S::night},
    SettingKey{"Obracun", "AddCheck", F::YesNo, &S::checkTypedTimes},
    SettingKey{"Obracun", "RefMjeseci", F::WholeNumber, &S::referenceMonths},
    SettingKey{"Obracun", "PraznineOdmor", F::YesNo, &S::timeWithoutRecordsIsRest},
    SettingKey{"Obracun", "PrazninaSati", F::WholeNumber, &S::shortestGapHours},
    SettingKey{"KTS", "R1", F::RoundedDecimal, &S::innerRadius},
    SettingKey{"KTS", "R2", F::RoundedDecimal, &S::outerRadius},
    SettingKey{"KTS", "Pos0", F::Decimal, &S::zeroAngle},
    SettingKey{"KTS", "CX", F::RoundedDecimal, &S::centreX},
    SettingKey{"KTS", "CY", F::RoundedDecimal, &S::centreY},
    SettingKey{"KTS", "Min1", F::YesNo, &S::joinOneMinute},
    SettingKey{"KTS", "MinVoznja", F::YesNo, &S::joinToDriving},
    SettingKey{"KTS", "NeminVoznja", F::YesNo, &S::keepShortDriving},
    SettingKey{"KTS", "Odmor15", F::YesNo, &S::shortRestIsAvailability},
    SettingKey{"KTS", "NeminOdmor", F::YesNo, &S::keepShortRest},
    SettingKey{"KTS", "CentarRadijus", F::YesNo, &S::radiusFollowsCentre},
    SettingKey{"KTS", "SpecKorekt", F::YesNo, &S::correctDisturbances},
    SettingKey{"KTS", "MinKorekt", F::WholeNumber, &S::disturbanceMinutes},
    SettingKey{"KTS", "FinoPoravnaj", F::YesNo, &S::fineAlignment},
};

constexpr int kZoneCount = 26;
constexpr int kLowestZoneOffset = -12;
QString ReadText(const ProfileFile& file, const SettingKey& key, const QString& defaultValue)
{
    const QString text = file.readString(QLatin1String(key.section), QLatin1String(key.key), defaultValue);
    return key.form == F::PrinterName ? text.trimmed() : text;
}

// The start or the end of the night window: an unreadable time keeps the default.
int& NightTime(const SettingKey& key, NightWindow& night)
{
    return key.form == F::NightStart ? night.from : night.to;
}

int ReadWhole(const ProfileFile& file, const SettingKey& key, int defaultValue)
{
    const int value = file.readInteger(QLatin1String(key.section), QLatin1String(key.key), defaultValue);
    if (key.form == F::ZoneIndex && (value < 0 || value >= kZoneCount)) {
        return -1;
    }
    return value;
}

double ReadDecimal(const ProfileFile& file, const SettingKey& key, double defaultValue)
{
    const double value = file.readDecimal(QLatin1String(key.section), QLatin1String(key.key), defaultValue);
    return key.form == F::RoundedDecimal ? RoundHalfEven(value) : value;
}

void ReadKey(const ProfileFile& file, const SettingKey& key, SettingsValues& values)
{
    std::visit(
        [&](auto member) {
            auto& value = values.*member;
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, QString>) {
                value = ReadText(file, key, value);
            } else if constexpr (std::is_same_v<T, bool>) {
                value = file.readBool(QLatin1String(key.section), QLatin1String(key.key), value);
            } else if constexpr (std::is_same_v<T, int>) {
                value = ReadWhole(file, key, value);
            } else if constexpr (std::is_same_v<T, double>) {
                value = ReadDecimal(file, key, value);
            } else {
                int& minutes = NightTime(key, value);
                const QString text =
                    file.readString(QLatin1String(key.section), QLatin1String(key.key), FormatMinutes(minutes));
                minutes = TimeTextMinutes(text).value_or(minutes);
            }
        },
        key.member);
}

bool WriteKey(ProfileFile& file, const SettingKey& key, const SettingsValues& values)
{
    const QString section = QLatin1String(key.section);
    const QString name = QLatin1String(key.key);
    return std::visit(
        [&](auto member) {
            const auto& value = values.*member;
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, QString>) {
                return file.writeString(section, name, value);
            } else if constexpr (std::is_same_v<T, bool>) {
                return file.writeBool(section, name, value);
            } else if constexpr (std::is_same_v<T, int>) {
                return file.writeInteger(section, name, value);
            } else if constexpr (std::is_same_v<T, double>) {
                return file.writeDecimal(section, name, value);
            } else {
                NightWindow night = value;
                return file.writeString(section, name, FormatMinutes(NightTime(key, night)));
            }
        },
        key.member);
}

}  // namespace

std::span<const SettingKey> SettingKeys()
{
    return kSettingKeys;
}

SettingsValues DefaultSettings(const QString& executableFolder)
{
    SettingsValues values;
    values.cardFileFolder = QDir(executableFolder).filePath(QStringLiteral("TahoDDD"));
    return values;
}

SettingsValues ReadSettings(const ProfileFile& file)
{
    SettingsValues values = DefaultSettings(QFileInfo(file.path()).absolutePath());
    for (const SettingKey& key : kSettingKeys) {
        ReadKey(file, key, values);
    }
    return values;
}

bool WriteSettings(ProfileFile& file, const SettingsValues& values)
{
    bool written = true;
    for (const SettingKey& key : kSettingKeys) {
        written = WriteKey(file, key, values) && written;
    }
    return written;
}

QString DefaultSettingsPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("postavke.dat"));
}

namespace {

const QString kBaseSection = QStringLiteral("Baza");
const QString kStatisticsDayKey = QStringLiteral("StatistikaIndeksa");
const QString kDayFormat = QStringLiteral("dd.MM.yyyy");

}  // namespace

std::optional<QDate> ReadIndexStatisticsDay(const QString& settingsPath)
{
    const QDate day =
        QDate::fromString(ProfileFile(settingsPath).readString(kBaseSection, kStatisticsDayKey, QString()), kDayFormat);
    return day.isValid() ? std::optional<QDate>(day) : std::nullopt;
}

bool WriteIndexStatisticsDay(const QString& settingsPath, const QDate& day)
{
    ProfileFile file(settingsPath);
    return file.writeString(kBaseSection, kStatisticsDayKey, day.toString(kDayFormat));
}

std::optional<int> TimeTextMinutes(const QString& text)
{
    try {
        return MinutesBetween(ParseTimeText(text), 0);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

int ChoosePrinter(const QStringList& installed, const QString& saved)
{
    const QString name = saved.trimmed();
    if (name.isEmpty()) {
        return -1;
    }
    for (int i = 0; i < installed.size(); ++i) {
        if (installed[i].compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

void ResolvePrinters(SettingsValues& values, const QStringList& installed)
{
    const auto resolve = [&](QString& printer, bool firstWhenNone) {
        int chosen = ChoosePrinter(installed, printer);
        if (chosen < 0 && firstWhenNone && !installed.isEmpty()) {
            chosen = 0;
        }
        printer = chosen < 0 ? QString() : installed[chosen];
    };
    resolve(values.attestationPrinter, true);
    resolve(values.reportPrinter, true);
    resolve(values.graphPrinter, false);
}

std::vector<PickItem> ZoneItems()
{
    std::vector<PickItem> items;
    for (int offset = kLowestZoneOffset; offset < kLowestZoneOffset + kZoneCount; ++offset) {
        const QString sign = offset < 0 ? QStringLiteral("-") : offset > 0 ? QStringLiteral("+") : QString();
        items.push_back(PickItem{offset, QStringLiteral("GMT %1%2").arg(sign).arg(std::abs(offset), 2, 10, QLatin1Char('0')), {}});
    }
    return items;
}

QColor SettingColour(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

ActivityColours ActivityColoursOf(const SettingsValues& values)
{
    return {SettingColour(values.restColour), SettingColour(values.availabilityColour), SettingColour(values.workColour), SettingColour(values.drivingColour)};
}
