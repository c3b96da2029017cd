#pragma once

#include <QString>
#include <QStringList>

// "||" lists: several values in one text joined by "||" ("Horvat Ivan||12"), for example a
// list item's display text followed by its key. Field numbers count from 1; fields may be empty.

// Field k of the text; the last field when the text has fewer than k fields (the whole text
// when it has no "||"), and an empty text for k <= 0.
QString ListField(const QString& text, int k);

// The index of the first item whose field k equals value exactly (letter case counts), or -1.
int IndexOfField(const QStringList& items, const QString& value, int k);
