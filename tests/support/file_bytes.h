#pragma once

#include <QByteArray>
#include <QString>

// A file's whole contents; empty when it cannot be read.
QByteArray ReadAll(const QString& path);
// Writes the contents as the whole file; false when it cannot be written.
bool WriteAll(const QString& path, const QByteArray& data);
