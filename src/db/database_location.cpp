#include "db/database_location.h"

#include "common/win1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

// A path and little else: only a small regular file is read.
constexpr qint64 kMaxLocationBytes = 64 * 1024;
// How much of a named location a message quotes.
constexpr qsizetype kShownNameLength = 120;

QString LocationFilePath(const QString& workingFolder)
{
    return QDir(workingFolder).filePath(QStringLiteral("VTDB.DAT"));
}

bool ReadableLocationFile(const QFileInfo& info)
{
    return info.isFile() && info.size() <= kMaxLocationBytes;
}

QString TrimControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

}  // namespace

DatabaseTarget ReadDatabaseTarget(const QString& executableFolder, const QString& workingFolder)
{
    DatabaseTarget target{QDir(executableFolder).filePath(QStringLiteral("VT.FDB")), {}, {}};
    const QString locationPath = LocationFilePath(workingFolder);
    const QFileInfo info(locationPath);
    if (!info.exists())
        return target;
    const QString shown = QDir::toNativeSeparators(locationPath);
    const auto refused = [&](const QString& why) {
        target.problem = QStringLiteral("Datoteka %1 %2, pa se ne koristi: otvara se baza VT.FDB uz program.")
                             .arg(shown, why);
        return target;
    };
    if (!ReadableLocationFile(info))
        return refused(QStringLiteral("nije obična datoteka ili je veća od 64 KB"));
    QFile locationFile(locationPath);
    if (!locationFile.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("ne može se pročitati"));
    const QString text = FromWin1250(locationFile.read(kMaxLocationBytes));
    const QStringList lines = text.split(QLatin1Char('\n'));
    DatabaseAccount account;
    account.source = QStringLiteral("retci user= i password= u %1").arg(shown);
    bool accountLines = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString line = TrimControls(lines[i]);
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString key = line.left(eq).trimmed().toLower();
        if (eq > 0 && key == QLatin1String("user")) {
            account.user = line.mid(eq + 1).trimmed();
            accountLines = true;
        } else if (eq > 0 && key == QLatin1String("password")) {
            account.password = line.mid(eq + 1);
            accountLines = true;
        }
    }
    const QString named = TrimControls(accountLines ? lines.first() : text);
    if (named.isEmpty())
        return refused(QStringLiteral("je prazna"));
    if (std::any_of(named.begin(), named.end(), [](QChar c) { return c.unicode() < 32 || !c.isPrint(); }))
        return refused(QStringLiteral("ne sadrži samo putanju baze ili adresu poslužitelja: u njoj su i nevidljivi znakovi ili više redaka"));
    if (!accountLines)
        account = DatabaseAccount{};
    if (IsServerLocation(named))
        return DatabaseTarget{named, account, {}};
    if (!QFileInfo(named).isFile())
        return refused(QStringLiteral("navodi bazu »%1«, a takve datoteke nema").arg(named.left(kShownNameLength)));
    return DatabaseTarget{named, account, {}};
}

QString DatabaseLocation(const QString& executableFolder, const QString& workingFolder)
{
    return ReadDatabaseTarget(executableFolder, workingFolder).location;
}

bool IsServerLocation(const QString& location)
{
    return !ServerHost(location).isEmpty();
}

QString ServerHost(const QString& location)
{
    // "inet://host/path", "inet4://host:3051/path"; "host:/path" and "host/3051:path", where a
    // host has at least two characters, so that "C:/..." stays a drive.
    static const QRegularExpression url(QStringLiteral("^inet[46]?://(\\[[^\\]]+\\]|[^/:]+)"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression legacy(QStringLiteral("^(\\[[^\\]]+\\]|[A-Za-z0-9._-]{2,})(/[A-Za-z0-9_-]+)?:."));
    if (const QRegularExpressionMatch match = url.match(location); match.hasMatch())
        return match.captured(1);
    if (const QRegularExpressionMatch match = legacy.match(location); match.hasMatch())
        return match.captured(1);
    return QString();
}

QString ServerPort(const QString& location)
{
    static const QRegularExpression url(QStringLiteral("^inet[46]?://(?:\\[[^\\]]+\\]|[^/:]+):([^/]+)/"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression legacy(QStringLiteral("^(?:\\[[^\\]]+\\]|[A-Za-z0-9._-]{2,})/([A-Za-z0-9_-]+):."));
    for (const QRegularExpression* form : {&url, &legacy}) {
        if (const QRegularExpressionMatch match = form->match(location); match.hasMatch())
            return match.captured(1);
    }
    return QStringLiteral("3050");
}

QString DatabaseLocationProblem(const QString& workingFolder)
{
    return ReadDatabaseTarget(QString(), workingFolder).problem;
}

DatabaseAccount CommandLineAccount(const QString& location, const QString& executableFolder,
                                   const QString& workingFolder)
{
    const DatabaseTarget named = ReadDatabaseTarget(executableFolder, workingFolder);
    if (named.location == location)
        return named.account;
    DatabaseAccount account;
    QStringList sources;
    // The first of the two variables that is not empty.
    const auto take = [&](QString& value, const char* own, const char* firebirds) {
        for (const char* name : {own, firebirds}) {
            if (!qEnvironmentVariableIsEmpty(name)) {
                value = qEnvironmentVariable(name);
                sources << QLatin1String(name);
                return;
            }
        }
    };
    take(account.user, "VELTRA_USER", "ISC_USER");
    take(account.password, "VELTRA_PASSWORD", "ISC_PASSWORD");
    if (!sources.isEmpty())
        account.source = QStringLiteral("varijable okoline %1").arg(sources.join(QStringLiteral(" i ")));
    return account;
}
