#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Texts are kept in the database and in the settings files as Windows-1250 bytes;
// these convert at that boundary. A character the code page lacks becomes '?'.
QString FromWin1250(const QByteArray& bytes);
QByteArray ToWin1250(const QString& text);

// The characters of a text that Windows-1250 lacks, each once, in their order; empty when the
// whole text can be stored.
QStringList CharactersOutsideWin1250(const QString& text);
