#include "db/database_location.h"

#include "common/win1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// A path and little else: only a small regular file is read.
constexpr qint64 kMaxLocationBytes = 64 * 1024;

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
    DatabaseTarget target{QDir(executableFolder).filePath(QStringLiteral("VT.FDB")), {}};
    const QString locationPath = LocationFilePath(workingFolder);
    if (!ReadableLocationFile(QFileInfo(locationPath)))
        return target;
    QFile locationFile(locationPath);
    if (!locationFile.open(QIODevice::ReadOnly))
        return target;
    const QString text = FromWin1250(locationFile.read(kMaxLocationBytes));
    const QStringList lines = text.split(QLatin1Char('\n'));
    DatabaseAccount account;
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
        return target;
    if (IsServerLocation(named))
        return DatabaseTarget{named, account};
    if (!QFileInfo(named).isFile())
        return target;
    return DatabaseTarget{named, account};
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

QString DatabaseLocationProblem(const QString& workingFolder)
{
    const QFileInfo info(LocationFilePath(workingFolder));
    if (!info.exists() || ReadableLocationFile(info))
        return QString();
    return QStringLiteral("Datoteka %1 nije obična datoteka ili je veća od 64 KB, pa se ne čita: otvara se baza "
                          "VT.FDB uz program.")
        .arg(QDir::toNativeSeparators(info.filePath()));
}

DatabaseAccount CommandLineAccount(const QString& location, const QString& executableFolder, const QString& workingFolder)
{
    const DatabaseTarget named = ReadDatabaseTarget(executableFolder, workingFolder);
    if (named.location == location)
        return named.account;
    DatabaseAccount account;
    if (const QString user = qEnvironmentVariable("VELTRA_USER"); !user.isEmpty())
        account.user = user;
    if (qEnvironmentVariableIsSet("VELTRA_PASSWORD"))
        account.password = qEnvironmentVariable("VELTRA_PASSWORD");
    return account;
}
