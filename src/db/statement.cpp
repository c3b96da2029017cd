#include "db/statement.h"

#include "common/win1250.h"
#include "db/connection.h"
#include "db/db_error.h"
#include "db/firebird_api.h"
#include "db/sql_parameters.h"
#include "db/transaction.h"

#include <cmath>
#include <cstring>

using namespace Firebird;

namespace {

constexpr unsigned kSqlDialect = 3;
constexpr unsigned kBlobSegment = 32768;
constexpr int kFractionsPerMillisecond = 10;  // ISC_TIME counts 1/10000 s
constexpr unsigned kCharacterSetNone = 0;   // bytes as they are, no conversion

template <typename T>
T ReadAs(const unsigned char* p)
{
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

template <typename T>
void WriteAs(unsigned char* p, T value)
{
    std::memcpy(p, &value, sizeof value);
}

qint64 PowerOfTen(int exponent)
{
    qint64 result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}

QDate DecodeDate(ISC_DATE date)
{
    unsigned year = 0, month = 0, day = 0;
    FirebirdUtil()->decodeDate(date, &year, &month, &day);
    return QDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
}

QTime DecodeTime(ISC_TIME time)
{
    unsigned hours = 0, minutes = 0, seconds = 0, fractions = 0;
    FirebirdUtil()->decodeTime(time, &hours, &minutes, &seconds, &fractions);
    return QTime(static_cast<int>(hours), static_cast<int>(minutes), static_cast<int>(seconds),
                 static_cast<int>(fractions) / kFractionsPerMillisecond);
}

ISC_DATE EncodeDate(const QDate& date)
{
    return FirebirdUtil()->encodeDate(static_cast<unsigned>(date.year()), static_cast<unsigned>(date.month()),
                                      static_cast<unsigned>(date.day()));
}

ISC_TIME EncodeTime(const QTime& time)
{
    return FirebirdUtil()->encodeTime(static_cast<unsigned>(time.hour()), static_cast<unsigned>(time.minute()),
                                      static_cast<unsigned>(time.second()),
                                      static_cast<unsigned>(time.msec() * kFractionsPerMillisecond));
}

// Releases an interface pointer when the scope ends.
template <typename T>
struct Released {
    T* p = nullptr;
    ~Released()
    {
        if (p)
            p->release();
    }
};

// A BLOB being written or read: closed explicitly when done; one left open by a failure is
// cancelled (written) or closed (read) quietly, and released either way.
struct OpenBlob {
    IBlob* p = nullptr;
    bool writing = false;
    ~OpenBlob()
    {
        if (!p)
            return;
        FirebirdStatus status;
        writing ? p->cancel(status.get()) : p->close(status.get());
        if (status.get()->getState() & IStatus::STATE_ERRORS)
            p->release();
    }
    void close(Connection& connection)
    {
        FirebirdStatus status;
        p->close(status.get());
        connection.check(status);
        p = nullptr;
    }
};

// A scaled number in units of 10^-toScale, rounded half away from zero when decimals are cut.
qint64 Rescaled(qint64 units, int fromScale, int toScale)
{
    for (int scale = fromScale; scale < toScale; ++scale)
        units *= 10;
    if (fromScale > toScale) {
        const qint64 divisor = PowerOfTen(fromScale - toScale);
        const qint64 half = divisor / 2;
        units = units >= 0 ? (units + half) / divisor : (units - half) / divisor;
    }
    return units;
}

constexpr int kDecimal3Scale = 3;

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

Statement::Statement(Transaction& transaction) : m_transaction(transaction)
{
    m_transaction.connection().attachStatement(this);
}

Statement::~Statement()
{
    release();
    m_transaction.connection().detachStatement(this);
}

void Statement::release()
{
    closeCursor();
    if (m_outputMetadata) {
        m_outputMetadata->release();
        m_outputMetadata = nullptr;
    }
    if (m_statement) {
        FirebirdStatus status;
        m_statement->free(status.get());
        if (status.get()->getState() & IStatus::STATE_ERRORS)
            m_statement->release();
        m_statement = nullptr;
    }
    m_row.clear();
    m_columns.clear();
    m_columnByName.clear();
    m_hasRow = false;
    m_singletonPending = false;
}

void Statement::closeCursor()
{
    m_hasRow = false;
    m_singletonPending = false;
    if (!m_cursor)
        return;
    FirebirdStatus status;
    m_cursor->close(status.get());
    if (status.get()->getState() & IStatus::STATE_ERRORS)
        m_cursor->release();
    m_cursor = nullptr;
}

void Statement::prepare(const QString& sql)
{
    release();
    m_values.clear();
    m_sql = sql;
    const PositionalSql positional = ToPositionalSql(sql);
    m_positionNames = positional.positionNames;

    Connection& connection = m_transaction.connection();
    connection.notifyStatement(sql);
    m_transaction.startIfNotActive();
    FirebirdStatus status;
    IStatement* statement = connection.attachment()->prepare(
        status.get(), m_transaction.handle(), 0, ToWin1250(positional.sql).constData(), kSqlDialect,
        IStatement::PREPARE_PREFETCH_METADATA);
    m_transaction.connection().check(status);
    m_statement = statement;
    const unsigned type = m_statement->getType(status.get());
    m_transaction.connection().check(status);
    m_isQuery = type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
    m_outputMetadata = m_statement->getOutputMetadata(status.get());
    m_transaction.connection().check(status);
    m_row.assign(m_outputMetadata->getMessageLength(status.get()), 0);
    m_transaction.connection().check(status);
    const unsigned count = m_outputMetadata->getCount(status.get());
    m_transaction.connection().check(status);
    for (unsigned i = 0; i < count; ++i) {
        Column column;
        column.name = QString::fromUtf8(m_outputMetadata->getAlias(status.get(), i));
        column.type = m_outputMetadata->getType(status.get(), i);
        column.subType = m_outputMetadata->getSubType(status.get(), i);
        column.scale = -m_outputMetadata->getScale(status.get(), i);
        column.length = m_outputMetadata->getLength(status.get(), i);
        column.offset = m_outputMetadata->getOffset(status.get(), i);
        column.nullOffset = m_outputMetadata->getNullOffset(status.get(), i);
        column.nullable = m_outputMetadata->isNullable(status.get(), i);
        m_transaction.connection().check(status);
        // Of two columns of one name (SELECT A.*, B.*), the first is the one found by the name.
        const QString key = column.name.toUpper();
        if (!m_columnByName.contains(key))
            m_columnByName.insert(key, static_cast<int>(i));
        m_columns.push_back(std::move(column));
    }
}

QString Statement::plan() const
{
    if (!m_statement)
        throw DbError(QStringLiteral("Naredba nije pripremljena."), 0);
    FirebirdStatus status;
    const char* text = m_statement->getPlan(status.get(), false);
    status.check();
    return text ? QString::fromLatin1(text).trimmed() : QString();
}

void Statement::setValue(const QString& name, Value value)
{
    const QString key = name.toUpper();
    if (!m_positionNames.contains(key))
        throw DbError(QStringLiteral("Parametar %1 ne postoji u naredbi.").arg(name), 0);
    m_values.insert(key, std::move(value));
}

void Statement::setNull(const QString& name) { setValue(name, std::monostate{}); }
void Statement::setInt(const QString& name, qint64 value) { setValue(name, value); }
void Statement::setNumeric(const QString& name, ScaledNumber value) { setValue(name, value); }
void Statement::setText(const QString& name, const QString& value)
{
    // A character the database cannot hold would be stored as '?': the text is refused whole,
    // so the write fails before anything is stored and the window keeps what was typed.
    if (const QStringList outside = CharactersOutsideWin1250(value); !outside.isEmpty())
        throw DbError(QStringLiteral("Tekst »%1« sadrži znakove kojih nema u kodnoj stranici baze podataka "
                                     "(Windows-1250): %2\nZamijenite ih slovima hrvatske abecede ili ih izostavite, "
                                     "pa spremite ponovno.")
                          .arg(value, outside.join(QLatin1Char(' '))),
                      0);
    setValue(name, ToWin1250(value));
}
void Statement::setDate(const QString& name, const QDate& value) { setValue(name, value); }
void Statement::setTimestamp(const QString& name, const QDateTime& value) { setValue(name, value); }

void Statement::setDecimal3(const QString& name, Decimal3 value)
{
    setNumeric(name, ScaledNumber{value.thousandths, kDecimal3Scale});
}

void Statement::setOptionalInt(const QString& name, std::optional<qint64> value)
{
    if (value)
        setInt(name, *value);
    else
        setNull(name);
}

void Statement::execute()
{
    if (!m_statement)
        throw DbError(QStringLiteral("Naredba nije pripremljena."), 0);
    closeCursor();
    m_transaction.startIfNotActive();
    ITransaction* transaction = m_transaction.handle();
    IAttachment* attachment = m_transaction.connection().attachment();
    FirebirdStatus status;

    Released<IMessageMetadata> input;
    std::vector<unsigned char> inputBuffer;
    if (!m_positionNames.isEmpty()) {
        Released<IMessageMetadata> declared{m_statement->getInputMetadata(status.get())};
        m_transaction.connection().check(status);
        Released<IMetadataBuilder> builder{declared.p->getBuilder(status.get())};
        m_transaction.connection().check(status);
        for (int i = 0; i < m_positionNames.size(); ++i) {
            const auto index = static_cast<unsigned>(i);
            const Value value = m_values.value(m_positionNames[i]);
            const unsigned declaredType = declared.p->getType(status.get(), index);
            if (std::holds_alternative<qint64>(value) || std::holds_alternative<ScaledNumber>(value)) {
                builder.p->setType(status.get(), index, SQL_INT64);
                builder.p->setLength(status.get(), index, sizeof(ISC_INT64));
                const int scale = std::holds_alternative<ScaledNumber>(value) ? std::get<ScaledNumber>(value).scale : 0;
                builder.p->setScale(status.get(), index, -scale);
            } else if (std::holds_alternative<QByteArray>(value) && declaredType != SQL_BLOB) {
                builder.p->setType(status.get(), index, SQL_VARYING);
                builder.p->setLength(status.get(), index,
                                     static_cast<unsigned>(std::max<qsizetype>(1, std::get<QByteArray>(value).size())));
                builder.p->setCharSet(status.get(), index, kCharacterSetNone);
            } else if (std::holds_alternative<QDate>(value)) {
                builder.p->setType(status.get(), index, SQL_TYPE_DATE);
                builder.p->setLength(status.get(), index, sizeof(ISC_DATE));
            } else if (std::holds_alternative<QDateTime>(value)) {
                builder.p->setType(status.get(), index, SQL_TIMESTAMP);
                builder.p->setLength(status.get(), index, sizeof(ISC_TIMESTAMP));
            }
            m_transaction.connection().check(status);
        }
        input.p = builder.p->getMetadata(status.get());
        m_transaction.connection().check(status);
        inputBuffer.assign(input.p->getMessageLength(status.get()), 0);
        for (int i = 0; i < m_positionNames.size(); ++i) {
            const auto index = static_cast<unsigned>(i);
            const Value value = m_values.value(m_positionNames[i]);
            unsigned char* data = inputBuffer.data() + input.p->getOffset(status.get(), index);
            WriteAs<short>(inputBuffer.data() + input.p->getNullOffset(status.get(), index),
                           std::holds_alternative<std::monostate>(value) ? -1 : 0);
            if (const auto* v = std::get_if<qint64>(&value)) {
                WriteAs<ISC_INT64>(data, *v);
            } else if (const auto* n = std::get_if<ScaledNumber>(&value)) {
                WriteAs<ISC_INT64>(data, n->units);
            } else if (const auto* t = std::get_if<QByteArray>(&value)) {
                if (input.p->getType(status.get(), index) == SQL_BLOB) {
                    ISC_QUAD blobId{};
                    OpenBlob blob{attachment->createBlob(status.get(), transaction, &blobId, 0, nullptr), true};
                    m_transaction.connection().check(status);
                    for (qsizetype at = 0; at < t->size(); at += kBlobSegment) {
                        const auto length = static_cast<unsigned>(std::min<qsizetype>(kBlobSegment, t->size() - at));
                        blob.p->putSegment(status.get(), length, t->constData() + at);
                        m_transaction.connection().check(status);
                    }
                    blob.close(m_transaction.connection());
                    WriteAs<ISC_QUAD>(data, blobId);
                } else {
                    WriteAs<unsigned short>(data, static_cast<unsigned short>(t->size()));
                    std::memcpy(data + sizeof(unsigned short), t->constData(), static_cast<size_t>(t->size()));
                }
            } else if (const auto* date = std::get_if<QDate>(&value)) {
                WriteAs<ISC_DATE>(data, EncodeDate(*date));
            } else if (const auto* stamp = std::get_if<QDateTime>(&value)) {
                WriteAs<ISC_TIMESTAMP>(data, ISC_TIMESTAMP{EncodeDate(stamp->date()), EncodeTime(stamp->time())});
            }
        }
        m_transaction.connection().check(status);
    }

    if (m_isQuery) {
        m_cursor = m_statement->openCursor(status.get(), transaction, input.p, inputBuffer.data(), m_outputMetadata, 0);
        m_transaction.connection().check(status);
        return;
    }
    const bool returnsRow = columnCount() > 0;
    m_statement->execute(status.get(), transaction, input.p, inputBuffer.data(),
                         returnsRow ? m_outputMetadata : nullptr, returnsRow ? m_row.data() : nullptr);
    m_transaction.connection().check(status);
    m_singletonPending = returnsRow;
}

bool Statement::next()
{
    if (m_singletonPending) {
        m_singletonPending = false;
        m_hasRow = true;
        return true;
    }
    if (!m_cursor)
        return false;
    FirebirdStatus status;
    const int result = m_cursor->fetchNext(status.get(), m_row.data());
    m_transaction.connection().check(status);
    if (result == IStatus::RESULT_OK) {
        m_hasRow = true;
        return true;
    }
    closeCursor();
    return false;
}

void Statement::close()
{
    closeCursor();
}

int Statement::columnCount() const
{
    return static_cast<int>(m_columns.size());
}

const Statement::Column& Statement::column(int index) const
{
    if (index < 0 || index >= columnCount())
        throw DbError(QStringLiteral("Stupac %1 ne postoji u rezultatu.").arg(index), 0);
    return m_columns[static_cast<size_t>(index)];
}

QString Statement::columnName(int index) const
{
    return column(index).name;
}

int Statement::columnIndex(const QString& name) const
{
    const auto found = m_columnByName.constFind(name.toUpper());
    if (found == m_columnByName.constEnd())
        throw DbError(QStringLiteral("Stupac %1 ne postoji u rezultatu.").arg(name), 0);
    return *found;
}

unsigned Statement::fieldType(int index) const
{
    return column(index).type;
}

ColumnType Statement::columnType(int column) const
{
    const unsigned type = fieldType(column);
    switch (type) {
    case SQL_TEXT:
    case SQL_VARYING:
        return ColumnType::Text;
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return columnScale(column) == 0 ? ColumnType::Integer : ColumnType::Numeric;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return ColumnType::Double;
    case SQL_TYPE_DATE:
        return ColumnType::Date;
    case SQL_TYPE_TIME:
        return ColumnType::Time;
    case SQL_TIMESTAMP:
        return ColumnType::Timestamp;
    case SQL_BLOB:
        return this->column(column).subType == isc_blob_text ? ColumnType::TextBlob : ColumnType::Blob;
    case SQL_BOOLEAN:
        return ColumnType::Boolean;
    default:
        return ColumnType::Other;
    }
}

bool Statement::columnNullable(int index) const
{
    return column(index).nullable;
}

int Statement::columnScale(int index) const
{
    return column(index).scale;
}

const unsigned char* Statement::field(int index) const
{
    if (!m_hasRow)
        throw DbError(QStringLiteral("Nema tekućeg retka."), 0);
    const Column& c = column(index);
    if (ReadAs<short>(m_row.data() + c.nullOffset))
        return nullptr;
    return m_row.data() + c.offset;
}

bool Statement::isNull(int column) const
{
    return field(column) == nullptr;
}

std::optional<ScaledNumber> Statement::numericValue(int column) const
{
    const unsigned char* p = field(column);
    if (!p)
        return std::nullopt;
    const int scale = columnScale(column);
    switch (fieldType(column)) {
    case SQL_SHORT:
        return ScaledNumber{ReadAs<short>(p), scale};
    case SQL_LONG:
        return ScaledNumber{ReadAs<ISC_LONG>(p), scale};
    case SQL_INT64:
        return ScaledNumber{ReadAs<ISC_INT64>(p), scale};
    case SQL_BOOLEAN:
        return ScaledNumber{*p ? 1 : 0, 0};
    default:
        throw DbError(QStringLiteral("Stupac %1 nije brojčani.").arg(columnName(column)), 0);
    }
}

std::optional<qint64> Statement::intValue(int column) const
{
    const std::optional<ScaledNumber> number = numericValue(column);
    if (!number)
        return std::nullopt;
    return Rescaled(number->units, number->scale, 0);
}

std::optional<Decimal3> Statement::optionalDecimal3(int column) const
{
    return isNull(column) ? std::nullopt : std::optional<Decimal3>(decimal3Value(column));
}

std::optional<int> Statement::int32Value(int column) const
{
    const std::optional<qint64> value = intValue(column);
    return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
}

Decimal3 Statement::decimal3Value(int column) const
{
    const std::optional<ScaledNumber> number = numericValue(column);
    return number ? Decimal3{Rescaled(number->units, number->scale, kDecimal3Scale)} : Decimal3{};
}

std::optional<double> Statement::doubleValue(int column) const
{
    const unsigned char* p = field(column);
    if (!p)
        return std::nullopt;
    switch (fieldType(column)) {
    case SQL_FLOAT:
        return ReadAs<float>(p);
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return ReadAs<double>(p);
    default: {
        const ScaledNumber number = *numericValue(column);
        return static_cast<double>(number.units) / static_cast<double>(PowerOfTen(number.scale));
    }
    }
}

std::optional<QString> Statement::textValue(int column) const
{
    const unsigned char* p = field(column);
    if (!p)
        return std::nullopt;
    switch (fieldType(column)) {
    case SQL_TEXT: {
        const unsigned length = this->column(column).length;
        return FromWin1250(QByteArray(reinterpret_cast<const char*>(p), static_cast<int>(length)));
    }
    case SQL_VARYING: {
        const auto length = ReadAs<unsigned short>(p);
        return FromWin1250(QByteArray(reinterpret_cast<const char*>(p + sizeof(unsigned short)), length));
    }
    case SQL_BLOB:
        return FromWin1250(readBlob(p));
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        if (columnScale(column) == 0)
            return QString::number(*intValue(column));
        [[fallthrough]];
    default:
        throw DbError(QStringLiteral("Stupac %1 nije tekstualni.").arg(columnName(column)), 0);
    }
}

std::optional<QDate> Statement::dateValue(int column) const
{
    const unsigned char* p = field(column);
    if (!p)
        return std::nullopt;
    switch (fieldType(column)) {
    case SQL_TYPE_DATE:
        return DecodeDate(ReadAs<ISC_DATE>(p));
    case SQL_TIMESTAMP:
        return DecodeDate(ReadAs<ISC_TIMESTAMP>(p).timestamp_date);
    default:
        throw DbError(QStringLiteral("Stupac %1 nije datum.").arg(columnName(column)), 0);
    }
}

std::optional<QDateTime> Statement::timestampValue(int column) const
{
    const unsigned char* p = field(column);
    if (!p)
        return std::nullopt;
    switch (fieldType(column)) {
    case SQL_TYPE_DATE:
        return QDateTime(DecodeDate(ReadAs<ISC_DATE>(p)), QTime(0, 0), Qt::UTC);
    case SQL_TIMESTAMP: {
        const auto stamp = ReadAs<ISC_TIMESTAMP>(p);
        return QDateTime(DecodeDate(stamp.timestamp_date), DecodeTime(stamp.timestamp_time), Qt::UTC);
    }
    default:
        throw DbError(QStringLiteral("Stupac %1 nije vremenski.").arg(columnName(column)), 0);
    }
}

QByteArray Statement::readBlob(const unsigned char* blobId) const
{
    FirebirdStatus status;
    ISC_QUAD id = ReadAs<ISC_QUAD>(blobId);
    OpenBlob blob{m_transaction.connection().attachment()->openBlob(status.get(), m_transaction.handle(), &id, 0, nullptr)};
    m_transaction.connection().check(status);
    QByteArray bytes;
    std::vector<char> segment(kBlobSegment);
    for (;;) {
        unsigned length = 0;
        const int result = blob.p->getSegment(status.get(), kBlobSegment, segment.data(), &length);
        if (result == IStatus::RESULT_OK || result == IStatus::RESULT_SEGMENT) {
            bytes.append(segment.data(), length);
            continue;
        }
        break;
    }
    m_transaction.connection().check(status);
    blob.close(m_transaction.connection());
    return bytes;
}
