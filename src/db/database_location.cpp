#include "db/database_location.h"

#include "common/win1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

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
    // A path and little else: only a small regular file is read.
    constexpr qint64 kMaxLocationBytes = 64 * 1024;
    const QString locationPath = QDir(workingFolder).filePath(QStringLiteral("VTDB.DAT"));
    const QFileInfo info(locationPath);
    if (!info.isFile() || info.size() > kMaxLocationBytes)
        return defaultPath;
    QFile locationFile(locationPath);
    if (!locationFile.open(QIODevice::ReadOnly))
        return defaultPath;
    const QString named = TrimControls(FromWin1250(locationFile.read(kMaxLocationBytes)));
    if (named.isEmpty() || !QFileInfo(named).isFile())
        return defaultPath;
    return named;
}
