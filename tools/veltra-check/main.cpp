// veltra-check: the infringements of the driving, break and rest rules (Regulation (EC)
// No 561/2006) and of the working time rules (Directive 2002/15/EC) in a database; with --gaps
// instead the time without records or attestations (at least PrazninaSati hours long) and the
// conflicts of attestations, of the driver or of every active one.
//
//   veltra-check [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--driver IDDJ] [--gaps] [--json] DATABASE
//
// Without dates the last 28 days up to today are checked. The database is named and opened as
// `veltra --upgrade-database` takes it (a file, or host:path on a server with the account of
// VTDB.DAT or VELTRA_USER/VELTRA_PASSWORD); the settings are read from postavke.dat beside the
// program. Exit 0 after a check, with infringements or without; 2 when it could not run.

#include "common/profile_file.h"
#include "common/time_text.h"
#include "compliance/compliance_check.h"
#include "compliance/record_gaps.h"
#include "db/connection.h"
#include "db/transaction.h"
#include "db/db_error.h"
#include "db/schema_upgrade.h"
#include "settings/settings_values.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace {

constexpr int kExitChecked = 0;
constexpr int kExitCannotRun = 2;
constexpr int kDefaultDays = 28;

const QString kUsage = QStringLiteral(
    "Upotreba: veltra-check [--from GGGG-MM-DD] [--to GGGG-MM-DD] [--driver IDDJ] [--gaps] [--json] BAZA");

struct Arguments {
    std::optional<QDate> from;
    std::optional<QDate> to;
    std::optional<int> driver;
    bool json = false;
    bool gaps = false;
    QString database;
};

// One option of the command line: its name, whether a value follows it, and what it sets. A
// new option is one more row.
struct Option {
    const char* name;
    bool takesValue;
    std::function<QString(Arguments&, const QString& value)> apply;  // an error text, or empty
};

QString ReadDate(const QString& value, std::optional<QDate>& date)
{
    date = QDate::fromString(value, Qt::ISODate);
    return date->isValid() ? QString() : QStringLiteral("Datum nije oblika GGGG-MM-DD: %1").arg(value);
}

const std::vector<Option>& Options()
{
    static const std::vector<Option> options{
        {"--from", true, [](Arguments& a, const QString& v) { return ReadDate(v, a.from); }},
        {"--to", true, [](Arguments& a, const QString& v) { return ReadDate(v, a.to); }},
        {"--driver", true,
         [](Arguments& a, const QString& v) {
             bool number = false;
             a.driver = v.toInt(&number);
             return number ? QString() : QStringLiteral("Iza --driver treba šifra djelatnika (IDDJ): %1").arg(v);
         }},
        {"--json", false, [](Arguments& a, const QString&) { a.json = true; return QString(); }},
        {"--gaps", false, [](Arguments& a, const QString&) { a.gaps = true; return QString(); }},
    };
    return options;
}

std::optional<Arguments> ParseArguments(const QStringList& args, QString& error)
{
    Arguments parsed;
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            if (!parsed.database.isEmpty()) {
                error = QStringLiteral("Navedena je više od jedne baze.");
                return std::nullopt;
            }
            parsed.database = arg;
            continue;
        }
        const auto option = std::find_if(Options().begin(), Options().end(),
                                         [&](const Option& o) { return arg == QLatin1String(o.name); });
        if (option == Options().end()) {
            error = QStringLiteral("Nepoznata opcija: %1").arg(arg);
            return std::nullopt;
        }
        if (option->takesValue && i + 1 >= args.size()) {
            error = QStringLiteral("Nedostaje vrijednost iza %1").arg(arg);
            return std::nullopt;
        }
        error = option->apply(parsed, option->takesValue ? args[++i] : QString());
        if (!error.isEmpty())
            return std::nullopt;
    }
    if (parsed.database.isEmpty()) {
        error = QStringLiteral("Nije navedena baza.");
        return std::nullopt;
    }
    return parsed;
}

QJsonObject InfringementJson(const Infringement& infringement)
{
    return {{QStringLiteral("driver"), infringement.driverId},
            {QStringLiteral("rule"), RuleCode(infringement.rule)},
            {QStringLiteral("start"), IsoMinuteText(infringement.span.start)},
            {QStringLiteral("end"), IsoMinuteText(infringement.span.end)},
            {QStringLiteral("value"), infringement.value},
            {QStringLiteral("limit"), infringement.limit},
            {QStringLiteral("severity"), infringement.severity ? QJsonValue(SeverityCode(*infringement.severity))
                                                               : QJsonValue(QJsonValue::Null)}};
}

QString InfringementLine(const DriverCheck& driver, const Infringement& infringement)
{
    return QStringList{QString::number(driver.driverId), driver.name, RuleCode(infringement.rule),
                       MinuteText(infringement.span.start) + QStringLiteral(" - ") + MinuteText(infringement.span.end),
                       FormatMinutes(static_cast<int>(infringement.value)) + QStringLiteral(" / ")
                           + FormatMinutes(static_cast<int>(infringement.limit)),
                       infringement.severity ? SeverityCode(*infringement.severity) : QStringLiteral("-"),
                       InfringementSentence(infringement)}
        .join(QLatin1Char('\t'));
}

// A gap or a conflict of a driver, as --gaps reports them.
struct GapItem {
    QString kind;   // "gap" or the conflict's code
    Span span;
    QStringList texts;  // what the text line shows after the driver
};

std::vector<GapItem> GapItems(const GapResult& result)
{
    std::vector<GapItem> items;
    for (const RecordGap& gap : result.gaps) {
        items.push_back(GapItem{QStringLiteral("gap"), gap.span,
                                {QStringLiteral("Praznina"), FormatMinutes(static_cast<int>(gap.span.length())),
                                 NeighbourText(gap.before, true), NeighbourText(gap.after, false)}});
    }
    for (const RecordConflict& conflict : result.conflicts) {
        QString attestations = QStringLiteral("potvrda %1").arg(conflict.attestationId);
        if (conflict.otherAttestationId >= 0)
            attestations += QStringLiteral(", %1").arg(conflict.otherAttestationId);
        items.push_back(GapItem{ConflictCode(conflict.kind), conflict.span, {ConflictTitle(conflict.kind), attestations}});
    }
    std::stable_sort(items.begin(), items.end(), [](const GapItem& a, const GapItem& b) { return a.span.start < b.span.start; });
    return items;
}

int ReportGaps(Connection& connection, const Arguments& arguments, const QDate& from, const QDate& to, Minute minimum,
               QTextStream& out, QTextStream& err)
{
    std::vector<DriverGaps> found;
    try {
        Transaction read(connection, TransactionAccess::ReadOnly);
        found = FindRecordGaps(read, from, to, arguments.driver, minimum, QDateTime::currentDateTime());
    } catch (const DbError& failure) {
        err << failure.text() << Qt::endl;
        return kExitCannotRun;
    }
    QJsonArray array;
    int gaps = 0;
    int conflicts = 0;
    for (const DriverGaps& driver : found) {
        for (const GapItem& item : GapItems(driver.result)) {
            if (arguments.json) {
                array.append(QJsonObject{{QStringLiteral("driver"), driver.driverId},
                                         {QStringLiteral("kind"), item.kind},
                                         {QStringLiteral("start"), IsoMinuteText(item.span.start)},
                                         {QStringLiteral("end"), IsoMinuteText(item.span.end)}});
            } else {
                out << (QStringList{QString::number(driver.driverId), driver.name, item.texts.value(0),
                                    MinuteText(item.span.start) + QStringLiteral(" - ") + MinuteText(item.span.end)}
                        + item.texts.mid(1))
                           .join(QLatin1Char('\t'))
                    << Qt::endl;
            }
        }
        gaps += static_cast<int>(driver.result.gaps.size());
        conflicts += static_cast<int>(driver.result.conflicts.size());
    }
    if (arguments.json) {
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
        return kExitChecked;
    }
    out << QStringLiteral("Razdoblje %1 - %2: praznina %3, sukoba %4, vozača %5.")
               .arg(from.toString(QStringLiteral("dd.MM.yyyy")), to.toString(QStringLiteral("dd.MM.yyyy")))
               .arg(gaps)
               .arg(conflicts)
               .arg(found.size())
        << Qt::endl;
    return kExitChecked;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QString error;
    const std::optional<Arguments> arguments = ParseArguments(application.arguments(), error);
    if (!arguments) {
        err << error << Qt::endl << kUsage << Qt::endl;
        return kExitCannotRun;
    }
    const QDate to = arguments->to.value_or(QDate::currentDate());
    const QDate from = arguments->from.value_or(to.addDays(-kDefaultDays));
    if (to < from) {
        err << QStringLiteral("Razdoblje završava prije nego što počinje.") << Qt::endl;
        return kExitCannotRun;
    }
    const ProfileFile settingsFile(DefaultSettingsPath());
    const SettingsValues values = ReadSettings(settingsFile);

    Connection connection;
    bool told = false;
    const QString location = arguments->database;
    const bool open = ConnectAndUpgrade(
        connection, location,
        [&](const QString& message, const QString& databaseError) {
            err << message << Qt::endl << databaseError << Qt::endl;
            told = true;
        },
        CommandLineAccount(location, QCoreApplication::applicationDirPath(), QDir::currentPath()));
    if (!open || told)
        return kExitCannotRun;
    if (arguments->gaps)
        return ReportGaps(connection, *arguments, from, to, GapMinimumOf(values), out, err);
    std::vector<DriverCheck> checks;
    try {
        Transaction read(connection, TransactionAccess::ReadOnly);
        checks = CheckDrivers(read, from, to, arguments->driver, CheckSettingsOf(values));
    } catch (const DbError& failure) {
        err << failure.text() << Qt::endl;
        return kExitCannotRun;
    }
    if (arguments->json) {
        QJsonArray array;
        for (const Infringement& infringement : AllInfringements(checks))
            array.append(InfringementJson(infringement));
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
        return kExitChecked;
    }
    int count = 0;
    for (const DriverCheck& driver : checks) {
        for (const Infringement& infringement : driver.result.infringements) {
            out << InfringementLine(driver, infringement) << Qt::endl;
            ++count;
        }
    }
    out << QStringLiteral("Razdoblje %1 - %2: prekršaja %3, vozača %4.")
               .arg(from.toString(QStringLiteral("dd.MM.yyyy")), to.toString(QStringLiteral("dd.MM.yyyy")))
               .arg(count)
               .arg(checks.size())
        << Qt::endl;
    return kExitChecked;
}
