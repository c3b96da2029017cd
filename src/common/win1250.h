#pragma once

#include <QByteArray>
#include <QString>

// Texts are kept in the database and in the settings files as Windows-1250 bytes;
// these convert at that boundary. A character the code page lacks becomes '?'.
QString FromWin1250(const QByteArray& bytes);
QByteArray ToWin1250(const QString& text);
