#pragma once

#include <QString>
#include <QStringList>

class Connection;

// Runs a query in a read-only transaction of its own and returns one item a row: the row's
// values in select order joined by the separator. NULL is an empty text, a nullable DATE the
// day's serial number, a decimal has a comma and no trailing zeros. A database error is passed
// on; `items` then holds the rows read before it.
void QueryToList(Connection& connection, const QString& sql, const QString& separator, QStringList& items);

// The text of a scaled decimal: comma, no trailing zeros ("1234,5", "0", "-0,25").
QString ScaledNumberText(qint64 units, int scale);
