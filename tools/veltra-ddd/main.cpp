// veltra-ddd: driver card download files read (and imported) from the command line with the
// application's own card code.
//
//   veltra-ddd [--json] [--key EUR.PK] FILE...          prints each card's holder and days
//   veltra-ddd --import DATABASE [--key EUR.PK] FILE...  imports them into the database
//
// Days and times are local (Europe/Zagreb). The signature check takes the European root public
// key from --key, else from the settings (postavke.dat beside the program, key EuropskiKljuc).
// An import records an unknown driver or vehicle from the card, stores the days that have no
// entry yet, and prints the days that have one (conflicts), leaving them as they are. A file
// that cannot be read or imported does not stop the others; the exit code is then 1.

#include "cards/card_download.h"
#include "cards/card_import.h"
#include "cards/card_listing.h"
#include "cards/card_signature.h"
#include "common/profile_file.h"
#include "common/time_text.h"
#include "db/connection.h"
#include "db/transaction.h"
#include "db/database_location.h"
#include "db/db_error.h"
#include "db/schema_upgrade.h"
#include "settings/settings_values.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <optional>

namespace {

constexpr int kExitFileError = 1;
constexpr int kExitUsage = 2;

const QString kUsage = QStringLiteral("Upotreba: veltra-ddd [--json] [--key EUR.PK] DATOTEKA...\n"
                                      "         veltra-ddd --import BAZA [--key EUR.PK] DATOTEKA...");

struct Arguments {
    bool json = false;
    QString database; // set: import into it
    QString keyPath;
    bool keyGiven = false;
    QStringList files;
};

std::optional<Arguments> ParseArguments(const QStringList& args, QString& error)
{
    Arguments parsed;
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--json")) {
            parsed.json = true;
        } else if (arg == QLatin1String("--import") || arg == QLatin1String("--key")) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("Nedostaje vrijednost iza %1").arg(arg);
                return std::nullopt;
            }
            if (arg == QLatin1String("--import")) {
                parsed.database = args[++i];
            } else {
                parsed.keyPath = args[++i];
                parsed.keyGiven = true;
            }
        } else if (arg.startsWith(QLatin1String("--"))) {
            error = QStringLiteral("Nepoznata opcija: %1").arg(arg);
            return std::nullopt;
        } else {
            parsed.files << arg;
        }
    }
    if (parsed.files.isEmpty()) {
        error = QStringLiteral("Nije navedena ni jedna datoteka kartice.");
        return std::nullopt;
    }
    if (parsed.json && !parsed.database.isEmpty()) {
        error = QStringLiteral("--json se ne može uz --import.");
        return std::nullopt;
    }
    return parsed;
}

QJsonObject DownloadJson(const QString& path, const CardDownload& download, const SignatureStatus& signature)
{
    QJsonArray days;
    for (const CardDay& day : LocalCardDays(download)) {
        QJsonArray intervals;
        for (const CardInterval& i : day.intervals) {
            QJsonObject interval{{QStringLiteral("start"), FormatMinutes(i.start)},
                                 {QStringLiteral("end"), FormatMinutes(i.end)},
                                 {QStringLiteral("activity"), i.activity},
                                 {QStringLiteral("crew"), i.crew},
                                 {QStringLiteral("slot"), i.coDriver ? QStringLiteral("co-driver") : QStringLiteral("driver")},
                                 {QStringLiteral("manual"), i.manual}};
            if (i.vehicle)
                interval.insert(QStringLiteral("vehicle"), download.vehicles[*i.vehicle].registration);
            intervals.append(interval);
        }
        days.append(QJsonObject{{QStringLiteral("date"), day.date.toString(Qt::ISODate)},
                                {QStringLiteral("intervals"), intervals},
                                {QStringLiteral("km"), day.distanceKm}});
    }
    const CardHolder& holder = download.holder;
    return QJsonObject{{QStringLiteral("file"), path},
                       {QStringLiteral("card"), holder.cardNumber},
                       {QStringLiteral("holder"), (holder.surname + QLatin1Char(' ') + holder.firstNames).trimmed()},
                       {QStringLiteral("birthDate"), holder.birthDate.toString(Qt::ISODate)},
                       {QStringLiteral("issuingState"), holder.issuingState},
                       {QStringLiteral("generation"), download.generation == CardGeneration::First ? 1 : 2},
                       {QStringLiteral("signature"), signature.text},
                       {QStringLiteral("days"), days}};
}

void PrintDownload(QTextStream& out, const QString& path, const CardDownload& download, const SignatureStatus& signature)
{
    out << "== " << path << '\n';
    out << CardHolderText(download.holder) << '\n';
    out << signature.text << '\n';
    for (const CardDay& day : LocalCardDays(download)) {
        out << "-- " << day.date.toString(Qt::ISODate) << '\t' << day.distanceKm << " km";
        if (day.vehicle)
            out << '\t' << download.vehicles[*day.vehicle].registration;
        out << '\n';
        for (const QString& line : CardDayLines(day, download))
            out << line << '\n';
    }
}

int Import(const Arguments& args, const QString& keyPath, NightWindow night, QTextStream& out, QTextStream& err)
{
    Connection connection;
    bool told = false;
    const bool open = ConnectAndUpgrade(
        connection, args.database,
        [&](const QString& message, const QString& databaseError) {
            err << message << '\n' << databaseError << Qt::endl;
            told = true;
        },
        CommandLineAccount(args.database, QCoreApplication::applicationDirPath(), QDir::currentPath()));
    if (!open || told)
        return kExitFileError;

    int exitCode = 0;
    for (const QString& path : args.files) {
        try {
            const CardDownload download = ReadCardDownload(path);
            const SignatureStatus signature = CheckCardSignatures(download, keyPath);
            Transaction read(connection, TransactionAccess::ReadOnly);
            const CardImportPlan plan = PlanCardImport(read, download, signature);
            Transaction write(connection);
            const CardImportResult result = RunCardImport(write, plan, night, true);
            for (const CardImportDay& day : plan.days) {
                if (day.state != CardDayState::Conflict)
                    continue;
                out << "Sukob " << day.day.date.toString(QStringLiteral("dd.MM.yyyy")) << ": kartica " << day.cardText() << '\n';
                for (const ExistingDay& existing : day.existing)
                    out << "    postoji " << existing.text() << '\n';
            }
            out << CardImportSummary(plan, result) << Qt::endl;
            if (!result.done)
                exitCode = kExitFileError;
        } catch (const CardFileError& error) {
            err << error.text() << Qt::endl;
            exitCode = kExitFileError;
        } catch (const DbError& error) {
            err << path << ": " << error.text() << Qt::endl;
            exitCode = kExitFileError;
        }
    }
    return exitCode;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QString error;
    const std::optional<Arguments> args = ParseArguments(QCoreApplication::arguments(), error);
    if (!args) {
        err << error << '\n' << kUsage << '\n';
        return kExitUsage;
    }
    const SettingsValues settings = ReadSettings(ProfileFile(DefaultSettingsPath()));
    const QString keyPath = args->keyGiven ? args->keyPath : settings.europeanRootKey;
    if (!args->database.isEmpty()) {
        return Import(*args, keyPath, settings.night, out, err);
    }

    int exitCode = 0;
    QJsonArray files;
    for (const QString& path : args->files) {
        try {
            const CardDownload download = ReadCardDownload(path);
            const SignatureStatus signature = CheckCardSignatures(download, keyPath);
            if (args->json)
                files.append(DownloadJson(path, download, signature));
            else
                PrintDownload(out, path, download, signature);
        } catch (const CardFileError& cardError) {
            err << cardError.text() << Qt::endl;
            exitCode = kExitFileError;
        }
    }
    if (args->json) {
        const QJsonDocument document = files.size() == 1 ? QJsonDocument(files.first().toObject()) : QJsonDocument(files);
        out << document.toJson(QJsonDocument::Indented);
    }
    return exitCode;
}
