#include "db/query_to_list.h"

#include "common/day_serial.h"
#include "db/connection.h"
#include "db/statement.h"
#include "db/transaction.h"

#include <QLocale>

namespace {

QString ValueText(const Statement& sql, int column)
{
    if (sql.isNull(column))
        return QString();
    switch (sql.columnType(column)) {
    case ColumnType::Numeric: {
        const ScaledNumber number = *sql.numericValue(column);
        return ScaledNumberText(number.units, number.scale);
    }
    case ColumnType::Double:
        return QString::number(*sql.doubleValue(column), 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
    case ColumnType::Date:
        if (sql.columnNullable(column))
            return QString::number(DaySerial(*sql.dateValue(column)));
        return QLocale::system().toString(*sql.dateValue(column), QLocale::ShortFormat);
    case ColumnType::Timestamp: {
        const QDateTime stamp = *sql.timestampValue(column);
        return QLocale::system().toString(stamp.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
               stamp.time().toString(QStringLiteral("HH:mm:ss"));
    }
    case ColumnType::Time:
        return sql.timestampValue(column)->time().toString(QStringLiteral("HH:mm:ss"));
    default:
        return *sql.textValue(column);
    }
}

}  // namespace

QString ScaledNumberText(qint64 units, int scale)
{
    const bool negative = units < 0;
    QString digits = QString::number(negative ? -units : units).rightJustified(scale + 1, QLatin1Char('0'));
    QString text = digits.left(digits.size() - scale);
    QString fraction = digits.right(scale);
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (!fraction.isEmpty())
        text += QLatin1Char(',') + fraction;
    return negative ? QLatin1Char('-') + text : text;
}

void QueryToList(Connection& connection, const QString& sql, const QString& separator, QStringList& items)
{
    items.clear();
    Transaction read(connection, TransactionAccess::ReadOnly);
    Statement statement(read);
    statement.prepare(sql);
    statement.execute();
    const int columns = statement.columnCount();
    while (statement.next()) {
        QStringList values;
        for (int column = 0; column < columns; ++column)
            values << ValueText(statement, column);
        items << values.join(separator);
    }
}
