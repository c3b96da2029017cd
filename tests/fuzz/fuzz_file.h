#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

// The fuzzer's bytes as a file in a temporary folder that lives as long as the harness.
inline QString WriteFuzzFile(const char* name, const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    return path;
}
