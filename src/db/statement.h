#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include "common/decimal3.h"

#include <optional>
#include <variant>
#include <vector>

namespace Firebird {
class IStatement;
class IResultSet;
class IMessageMetadata;
}
class Transaction;

// An exact decimal: units of 10^-scale (1234,5 as NUMERIC(15,3) is {1234500, 3}).
struct ScaledNumber {
    qint64 units = 0;
    int scale = 0;
};

// The text of a scaled decimal: comma, no trailing zeros ("1234,5", "0", "-0,25").
QString ScaledNumberText(qint64 units, int scale);

enum class ColumnType { Text, Integer, Numeric, Double, Date, Time, Timestamp, TextBlob, Blob, Boolean, Other };

// A statement on a transaction, with named parameters ":NAME" (a name may stand several
// times). Prepared once, it runs as often as wanted with new parameter values; the result's
// columns are described once at prepare, and a column by name is a map look-up. Texts cross to and from the database as Windows-1250 bytes. Timestamps carry no
// time zone: they are read and written as wall-clock date and time (QDateTime in UTC, so
// no daylight-saving shift ever applies to them).
class Statement {
public:
    explicit Statement(Transaction& transaction);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Transaction& transaction() const { return m_transaction; }

    // Prepares the text; every parameter is NULL until set.
    void prepare(const QString& sql);
    const QString& sql() const { return m_sql; }

    void setNull(const QString& name);
    void setInt(const QString& name, qint64 value);
    void setNumeric(const QString& name, ScaledNumber value);
    void setText(const QString& name, const QString& value);
    void setDate(const QString& name, const QDate& value);
    void setTimestamp(const QString& name, const QDateTime& value);
    void setOptionalInt(const QString& name, std::optional<qint64> value);
    // An exact decimal with three decimals, as NUMERIC(15,3) columns hold it.
    void setDecimal3(const QString& name, Decimal3 value);

    // The plan the engine chose for the prepared statement, as "PLAN ..." lines.
    QString plan() const;

    // Runs the statement. A query opens its cursor before its first row.
    void execute();
    // Moves to the next row; false (and the cursor closed) past the last one.
    bool next();
    void close();

    // The columns of the statement's result.
    int columnCount() const;
    QString columnName(int column) const;
    int columnIndex(const QString& name) const;
    ColumnType columnType(int column) const;
    bool columnNullable(int column) const;
    int columnScale(int column) const;

    // Values of the current row; std::nullopt for NULL.
    bool isNull(int column) const;
    std::optional<qint64> intValue(int column) const;
    std::optional<ScaledNumber> numericValue(int column) const;
    std::optional<double> doubleValue(int column) const;
    std::optional<QString> textValue(int column) const;
    std::optional<QDate> dateValue(int column) const;
    std::optional<QDateTime> timestampValue(int column) const;
    // A numeric column in thousandths; a column of more decimals is rounded half away from
    // zero, the program's one rounding of stored decimals. NULL is 0.
    Decimal3 decimal3Value(int column) const;
    // The same kept apart from NULL; and a whole number as a 32-bit integer.
    std::optional<Decimal3> optionalDecimal3(int column) const;
    std::optional<int> int32Value(int column) const;
    // A nullable column with its fallback for NULL: a text, and a whole number as a 32-bit integer.
    QString textOr(int column, const QString& fallback) const { return textValue(column).value_or(fallback); }
    int intOr(int column, int fallback) const { return int32Value(column).value_or(fallback); }

    auto intValue(const QString& name) const { return intValue(columnIndex(name)); }
    auto numericValue(const QString& name) const { return numericValue(columnIndex(name)); }
    auto doubleValue(const QString& name) const { return doubleValue(columnIndex(name)); }
    auto textValue(const QString& name) const { return textValue(columnIndex(name)); }
    auto dateValue(const QString& name) const { return dateValue(columnIndex(name)); }
    auto timestampValue(const QString& name) const { return timestampValue(columnIndex(name)); }
    auto decimal3Value(const QString& name) const { return decimal3Value(columnIndex(name)); }
    QString textOr(const QString& name, const QString& fallback) const { return textOr(columnIndex(name), fallback); }
    int intOr(const QString& name, int fallback) const { return intOr(columnIndex(name), fallback); }

private:
    friend class Connection;
    using Value = std::variant<std::monostate, qint64, ScaledNumber, QByteArray, QDate, QDateTime>;

    // What prepare reads of each result column.
    struct Column {
        QString name;
        unsigned type = 0;
        int subType = 0;
        int scale = 0;  // decimals
        unsigned length = 0;
        unsigned offset = 0;
        unsigned nullOffset = 0;
        bool nullable = false;
    };

    void setValue(const QString& name, Value value);
    const Column& column(int index) const;
    void release();
    void closeCursor();
    const unsigned char* field(int column) const;
    unsigned fieldType(int column) const;
    QByteArray readBlob(const unsigned char* blobId) const;

    Transaction& m_transaction;
    QString m_sql;
    QStringList m_positionNames;
    QHash<QString, Value> m_values;
    Firebird::IStatement* m_statement = nullptr;
    Firebird::IResultSet* m_cursor = nullptr;
    Firebird::IMessageMetadata* m_outputMetadata = nullptr;
    std::vector<Column> m_columns;
    QHash<QString, int> m_columnByName;  // upper-case names
    std::vector<unsigned char> m_row;
    bool m_hasRow = false;
    bool m_singletonPending = false;
    bool m_isQuery = false;
};
