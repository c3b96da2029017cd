#include "attestation/attestation_register.h"

#include "attestation/attestation_record.h"
#include "common/name_order.h"
#include "db/statement.h"

#include <QSet>

namespace {

const QStringList kOrderClauses{
    QStringLiteral("ORDER BY RAZOD DESC, DATUM DESC"), QStringLiteral("ORDER BY RAZOD ASC, DATUM ASC"),
    QStringLiteral("ORDER BY DATUM DESC, RAZOD DESC"), QStringLiteral("ORDER BY DATUM ASC, RAZOD ASC"),
    QStringLiteral("ORDER BY IME2 ASC, RAZOD DESC"),   QStringLiteral("ORDER BY IME2 ASC, RAZOD ASC"),
};
constexpr int kFirstOrderByDriver = 4;
constexpr int kMinimumRangeDays = 10;
const QString kMoment = QStringLiteral("dd.MM.yyyy HH:mm");

QString RegisterSql(const RegisterFilter& filter)
{
    QStringList lines{QStringLiteral("SELECT * FROM AKTPOTVRDA"), QStringLiteral("WHERE"),
                      QStringLiteral("((CAST(RAZOD AS DATE)>=:D1 AND CAST(RAZOD AS DATE)<=:D2) OR "
                                     "(CAST(RAZDO AS DATE)>=:D1 AND CAST(RAZDO AS DATE)<=:D2) OR "
                                     "(CAST(RAZOD AS DATE)<:D1 AND CAST(RAZDO AS DATE)>:D2))")};
    if (filter.driverId)
        lines << QStringLiteral("AND IDVOZ=:IDV");
    if (filter.activity)
        lines << QStringLiteral("AND TIP=:TIP");
    if (filter.order >= 0 && filter.order < kOrderClauses.size())
        lines << kOrderClauses[filter.order];
    return lines.join(QLatin1Char('\n'));
}

// The orders by driver put the names in their alphabetical order (common/name_order.h); the
// statement's order stays among the attestations of one driver.
bool OrdersByDriver(const RegisterFilter& filter)
{
    return filter.order >= kFirstOrderByDriver && filter.order < kOrderClauses.size();
}

// Runs the register's statement on the read transaction.
void RunRegister(Statement& sql, const RegisterFilter& filter)
{
    sql.prepare(RegisterSql(filter));
    sql.setDate(QStringLiteral("D1"), filter.from);
    sql.setDate(QStringLiteral("D2"), filter.to);
    if (filter.driverId)
        sql.setInt(QStringLiteral("IDV"), *filter.driverId);
    if (filter.activity)
        sql.setInt(QStringLiteral("TIP"), *filter.activity);
    sql.execute();
}

// Band heights and positions of the list printout, in millimetres.
constexpr double kMargin = 10;
constexpr double kPageHeight = 297;
constexpr double kWidth = 190;
constexpr double kTitle = 24.3;
constexpr double kHeader = 5.8;
constexpr double kLine = 4.8;
constexpr double kSummary = 9.5;
constexpr double kFooter = 7.9;
const QString kArial = QStringLiteral("Arial");

}  // namespace

QStringList RegisterOrderNames()
{
    return {QStringLiteral("razdoblje od silazno"),  QStringLiteral("razdoblje od uzlazno"),
            QStringLiteral("datum potvrde silazno"), QStringLiteral("datum potvrde uzlazno"),
            QStringLiteral("vozač, razdoblje silazno"), QStringLiteral("vozač, razdoblje uzlazno")};
}

QString RegisterRow::periodText() const
{
    QString text = start.toString(kMoment);
    if (end)
        text += QStringLiteral(" - ") + end->toString(kMoment);
    return text;
}

QString RegisterRow::activityText() const
{
    return AttestedActivityTexts().value(activity);
}

std::vector<RegisterRow> LoadRegister(Transaction& read, const RegisterFilter& filter)
{
    ReadScope scope(read);
    Statement sql(read);
    RunRegister(sql, filter);
    std::vector<RegisterRow> rows;
    while (sql.next()) {
        RegisterRow row;
        row.id = sql.intOr(QStringLiteral("IDP"), 0);
        row.date = sql.dateValue(QStringLiteral("DATUM")).value_or(QDate());
        row.start = sql.timestampValue(QStringLiteral("RAZOD")).value_or(QDateTime());
        row.end = sql.timestampValue(QStringLiteral("RAZDO"));
        row.driverId = sql.intOr(QStringLiteral("IDVOZ"), -1);
        row.driverName = sql.textOr(QStringLiteral("IME2"), QString());
        row.fillerName = sql.textOr(QStringLiteral("IME1"), QString());
        row.activity = sql.intOr(QStringLiteral("TIP"), -1);
        rows.push_back(std::move(row));
    }
    if (OrdersByDriver(filter))
        SortByName(rows, [](const RegisterRow& row) { return row.driverName; });
    return rows;
}

int CountDrivers(const std::vector<RegisterRow>& rows)
{
    QSet<int> ids;
    QSet<QString> names;
    for (const RegisterRow& row : rows) {
        if (row.driverId > 0)
            ids.insert(row.driverId);
        else
            names.insert(row.driverName.toUpper());
    }
    return static_cast<int>(ids.size() + names.size());
}

std::pair<QDate, QDate> BoundaryDates(Transaction& read)
{
    ReadScope scope(read);
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT MIN(RAZOD),MAX(RAZDO),MAX(RAZOD) FROM AKTPOTVRDA"));
    sql.execute();
    QDate first = DayZero();
    QDate lastEnd = DayZero();
    QDate lastStart = DayZero();
    if (sql.next()) {
        first = sql.dateValue(0).value_or(DayZero());
        lastEnd = sql.dateValue(1).value_or(DayZero());
        lastStart = sql.dateValue(2).value_or(DayZero());
    }
    const QDate from = first.addDays(-1);
    QDate to = std::max(lastStart, lastEnd).addDays(1);
    if (from.daysTo(to) < kMinimumRangeDays)
        to = from.addDays(kMinimumRangeDays);
    return {from, to};
}

WriteResult DeleteAttestation(Transaction& write, int id)
{
    return RunWrite(write, [&] {
        Statement sql(write);
        sql.prepare(QStringLiteral("DELETE FROM AKTPOTVRDA WHERE IDP=:ID"));
        sql.setInt(QStringLiteral("ID"), id);
        sql.execute();
        return id;
    });
}

QString RegisterCopyText(Transaction& read, const RegisterFilter& filter)
{
    ReadScope scope(read);
    Statement sql(read);
    RunRegister(sql, filter);
    // Each row's fields with the driver's name, in the list's order.
    std::vector<std::pair<QString, QStringList>> lines;
    while (sql.next()) {
        QStringList fields;
        for (int column = 0; column < sql.columnCount(); ++column) {
            if (sql.isNull(column))
                fields << QString();
            else if (sql.columnType(column) == ColumnType::Date)
                fields << sql.dateValue(column)->toString(QStringLiteral("dd.MM.yyyy"));
            else if (sql.columnType(column) == ColumnType::Timestamp)
                fields << sql.timestampValue(column)->toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
            else
                fields << sql.textOr(column, QString());
        }
        lines.emplace_back(sql.textOr(QStringLiteral("IME2"), QString()), fields);
    }
    if (OrdersByDriver(filter))
        SortByName(lines, [](const std::pair<QString, QStringList>& line) { return line.first; });
    QString text;
    int number = 0;
    for (const auto& line : lines)
        text += QString::number(++number) + QLatin1Char('\t') + line.second.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    return text;
}

RegisterPrintout::RegisterPrintout(RegisterPrintData data) : m_data(std::move(data))
{
    const double bottom = kPageHeight - kMargin - kFooter;
    double top = kMargin + kTitle + kHeader;
    m_pages.emplace_back();
    for (int row = 0; row < static_cast<int>(m_data.rows.size()); ++row) {
        const bool last = row + 1 == static_cast<int>(m_data.rows.size());
        // The last line keeps the summary with it.
        const double needed = kLine + (last ? kSummary : 0);
        if (!m_pages.back().empty() && top + needed > bottom) {
            m_pages.emplace_back();
            top = kMargin + kHeader;
        }
        m_pages.back().push_back(row);
        top += kLine;
    }
}

void RegisterPrintout::paintPage(PageCanvas& canvas, int page) const
{
    QPainter& painter = canvas.painter();
    const auto x = [](double value) { return kMargin + value; };
    double top = kMargin;
    painter.setPen(Qt::black);
    if (page == 0) {
        canvas.setFont(kArial, 11, true);
        canvas.textCentred(x(0), x(kWidth), top, m_data.header);
        canvas.setFont(kArial + QStringLiteral(" Black"), 12, true);
        canvas.textCentred(x(0), x(kWidth), top + 6.9, QStringLiteral("Popis izdanih potvrda o aktivnosti vozača"));
        canvas.setFont(kArial, 11, true);
        canvas.textCentred(x(0), x(kWidth), top + 13.0, m_data.driverLine);
        canvas.textCentred(x(0), x(kWidth), top + 17.7, m_data.rangeLine);
        top += kTitle;
    }
    PaintHeaderBand(canvas, x(0), top, x(kWidth), kHeader);
    painter.setPen(Qt::black);
    canvas.setFont(kArial, 10, true);
    canvas.textAt(x(4.8), top + 1, QStringLiteral("Datum"));
    canvas.textAt(x(32.8), top + 1, QStringLiteral("Razdoblje od - do"));
    canvas.textAt(x(92.1), top + 1, QStringLiteral("Vozač"));
    canvas.textAt(x(142.1), top + 1, QStringLiteral("Vrsta aktivnosti"));
    top += kHeader;

    const std::vector<int>& rows = m_pages[static_cast<size_t>(page)];
    for (int index : rows) {
        const RegisterRow& row = m_data.rows[static_cast<size_t>(index)];
        canvas.setFont(kArial, 8);
        canvas.textCentred(x(1.1), x(1.1 + 16.4), top + 0.8, row.date.toString(QStringLiteral("dd.MM.yyyy")));
        canvas.setFont(kArial, 8, true);
        canvas.textCentred(x(18.5), x(18.5 + 57.1), top + 0.8, row.periodText());
        canvas.setFont(kArial, 8);
        canvas.textAt(x(76.7), top + 0.8, row.driverName);
        canvas.textAt(x(119.6), top + 0.8, row.activityText());
        PaintDottedRule(canvas, x(0), x(kWidth), top + kLine, QColor(192, 192, 192));
        top += kLine;
    }
    if (page + 1 == pageCount()) {
        painter.setPen(Qt::blue);
        canvas.line(x(0), top, x(kWidth), top, 0.3);
        painter.setPen(Qt::black);
        canvas.setFont(kArial, 10);
        canvas.textAt(x(1), top + 0.8, QStringLiteral("Stavki u popisu: "));
        canvas.textAt(x(1), top + 5.0, QStringLiteral("Djelatnika u popisu: "));
        canvas.setFont(kArial, 10, true);
        canvas.textAt(x(40), top + 0.8, QString::number(m_data.rows.size()));
        canvas.textAt(x(40), top + 5.0, QString::number(m_data.drivers));
    }
    const double footer = kPageHeight - kMargin - kFooter;
    PaintPageFooter(canvas, x(0), x(kWidth), footer + 2.5, page, pageCount(), m_data.printedAt, m_data.webAddress);
}

QString RegisterPrintout::fileName() const
{
    return PrintoutFileName({QStringLiteral("Popis izdanih potvrda"), m_data.rangeLine});
}
