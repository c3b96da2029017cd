#include "masterdata/driver_list_query.h"

#include "common/name_order.h"
#include "db/statement.h"
#include "masterdata/record_write.h"

namespace {

constexpr int kLastCategory = 8;

const QStringList kConditions{
    QStringLiteral("WHERE VOZAC<>0 AND NOT VOZAC IS NULL"),
    QString(),
    QStringLiteral("WHERE VOZAC=0 OR VOZAC IS NULL"),
    QStringLiteral("WHERE AKTIVNOALL<>0 OR AKTIVNOALL IS NULL"),
    QStringLiteral("WHERE (AKTIVNOALL<>0 OR AKTIVNOALL IS NULL) AND (VOZAC<>0)"),
};
const QString kActive = QStringLiteral("((AKTIVNOALL IS NULL) OR (AKTIVNOALL=1))");

int Count(Transaction& write, const QString& sql, int id)
{
    Statement statement(write);
    statement.prepare(sql);
    statement.setInt(QStringLiteral("ID"), id);
    statement.execute();
    return statement.next() ? statement.intOr(0, 0) : 0;
}

}  // namespace

QStringList DriverFilterNames()
{
    return {QStringLiteral("Samo vozači"), QStringLiteral("Svi djelatnici"), QStringLiteral("Svi osim vozača"),
            QStringLiteral("Svi aktivni djelatnici"), QStringLiteral("Svi aktivni vozači")};
}

QString DriverListSql(int filter, bool onlyActive)
{
    QStringList lines{QStringLiteral("SELECT * FROM DJELATNICI")};
    const QString condition = filter >= 0 && filter < kConditions.size() ? kConditions[filter] : QString();
    if (onlyActive) {
        if (condition.isEmpty()) {
            lines << QStringLiteral("WHERE") << kActive;
        } else {
            // The filter's own condition taken as one unit.
            lines << QStringLiteral("WHERE (") + condition.mid(6) + QLatin1Char(')') << QStringLiteral("AND") << kActive;
        }
    } else if (!condition.isEmpty()) {
        lines << condition;
    }
    lines << QStringLiteral("ORDER BY IMEPREZIME");
    return lines.join(QLatin1Char('\n'));
}

std::vector<DriverListRow> ReadDriverList(Transaction& read, int filter, bool onlyActive)
{
    ReadScope scope(read);
    Statement sql(read);
    sql.prepare(DriverListSql(filter, onlyActive));
    sql.execute();
    std::vector<DriverListRow> rows;
    while (sql.next()) {
        DriverListRow row;
        row.id = sql.intOr(QStringLiteral("IDDJ"), 0);
        row.registrationNumber = sql.intOr(QStringLiteral("MBR"), 0);
        row.name = sql.textOr(QStringLiteral("IMEPREZIME"), QString());
        row.oib = sql.textOr(QStringLiteral("OIB"), QString());
        row.driver = sql.intOr(QStringLiteral("VOZAC"), 0) != 0;
        row.contact = sql.textOr(QStringLiteral("KONTAKT"), QString());
        row.card = sql.textOr(QStringLiteral("KARTICA"), QString());
        row.jobTitle = sql.textOr(QStringLiteral("RADNOMJESTO"), QString());
        row.title = sql.textOr(QStringLiteral("ZVANJE"), QString());
        row.idCard = sql.textOr(QStringLiteral("OSOBNA"), QString());
        row.category = sql.intOr(QStringLiteral("TIP"), 0);
        row.categoryText = sql.textOr(QStringLiteral("TIPS"), QString());
        row.address = sql.textOr(QStringLiteral("ADRESA"), QString());
        rows.push_back(std::move(row));
    }
    SortByName(rows, [](const DriverListRow& row) { return row.name; });
    return rows;
}

int CountOrders(Transaction& write, int id)
{
    const int asDriver = Count(write, QStringLiteral("SELECT COUNT(*) FROM VOZACI WHERE VOZACID=:ID"), id);
    if (asDriver > 0)
        return asDriver;
    return Count(write, QStringLiteral("SELECT COUNT(*) FROM UTOVARIVACI WHERE DJELATNIKID=:ID"), id);
}

WriteResult DeleteDriver(Transaction& write, int id)
{
    return RunWrite(write, [&] {
        Statement sql(write);
        sql.prepare(QStringLiteral("DELETE FROM DJELATNICI WHERE IDDJ=:ID"));
        sql.setInt(QStringLiteral("ID"), id);
        sql.execute();
        return id;
    });
}

QString CategoryLetter(int category)
{
    if (category < 1 || category > kLastCategory)
        return QString();
    return QString(QChar(u'A' + category - 1));
}

std::vector<RecordDriver> LoadRecordDrivers(Transaction& read)
{
    ReadScope scope(read);
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT DJELATNICI.IMEPREZIME,DJELATNICI.IDDJ, OIB FROM DJELATNICI\nORDER BY 1 ASC"));
    sql.execute();
    std::vector<RecordDriver> drivers;
    while (sql.next()) {
        drivers.push_back(RecordDriver{sql.intOr(1, -1), sql.textOr(0, QString()),
                                       sql.textOr(2, QString())});
    }
    SortByName(drivers, [](const RecordDriver& driver) { return driver.name; });
    return drivers;
}
