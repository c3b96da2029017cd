#include "db/database_location.h"

#include "common/win1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

QString DatabaseLocation(const QString& executableFolder, const QString& workingFolder)
{
    const QString defaultPath = QDir(executableFolder).filePath(QStringLiteral("VT.FDB"));
    const QString locationPath = LocationFilePath(workingFolder);
    if (!ReadableLocationFile(QFileInfo(locationPath)))
        return defaultPath;
    QFile locationFile(locationPath);
    if (!locationFile.open(QIODevice::ReadOnly))
        return defaultPath;
    const QString named = TrimControls(FromWin1250(locationFile.read(kMaxLocationBytes)));
    if (named.isEmpty() || !QFileInfo(named).isFile())
        return defaultPath;
    return named;
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
