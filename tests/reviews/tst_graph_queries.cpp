#include "temp_database.h"

#include "temp_database.h"
#include "db/statement.h"
#include "graph_reference.h"
#include "large_database.h"
#include "reviews/day_record.h"
#include "reviews/period_record.h"

#include <QtTest>

#include <algorithm>

namespace {

const QDate kLastDay(2025, 3, 31);
const QDate kCornerDay(2025, 3, 10);

QString Text(const std::optional<int>& value)
{
    return value ? QString::number(*value) : QString();
}

QString Text(const std::optional<Decimal3>& value)
{
    return value ? value->toText() : QString();
}

// A written row with the columns the program reads as 0 when NULL (SCP, NOD, NDO) made 0.
QString ZeroForNull(const QString& row, std::initializer_list<int> columns)
{
    QStringList texts = row.split('\t');
    for (int column : columns) {
        if (texts[column].isEmpty())
            texts[column] = "0";
    }
    return texts.join('\t');
}

QStringList Sorted(QStringList rows)
{
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace

// The day and period graphs read with inner joins and written-out plans: the rows must be
// those of the queries as first written, on generated data with the odd rows a database may
// hold.
class TestGraphQueries : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void dayHoldsTheWrittenQueriesRows_data();
    void dayHoldsTheWrittenQueriesRows();
    void periodHoldsTheWrittenQueriesRows_data();
    void periodHoldsTheWrittenQueriesRows();
    void generatedDatabaseHasItsIndexesMeasured();

private:
    QTemporaryDir m_folder;
    std::unique_ptr<TestConnection> m_data;
};

void TestGraphQueries::initTestCase()
{
    const QString path = m_folder.filePath("VT.FDB");
    CreateLargeDatabase(path, LargeDatabaseSize{.drivers = 3, .years = 1, .vehicles = 2, .lastDay = kLastDay});
    m_data = std::make_unique<TestConnection>();
    QCOMPARE(ConnectUpgraded(*m_data, path), QStringList());
    // A second entry of driver 2 on the corner day with its own night window, an interval
    // without a start and one without SCP; an entry day of driver 1 without a date; an entry
    // without a driver, an entry day without an entry and an interval without an entry day,
    // all three on the corner day.
    m_data->write.startIfNotActive();
    m_data->script.execute(
        "INSERT INTO UNOS (IDUNOS,IDVOZAC,DV,TIP,NOD,NDO) VALUES (90001,2,'2025-03-11 10:00:00',0,0,420);"
        "INSERT INTO DUNOS (IDD,IDUNOS,DATUM,DKM) VALUES (90001,90001,'2025-03-10',12.5);"
        "INSERT INTO SATIUNOS (IDDUNOS,TOD,TDO,TAKT,SCP,KM) VALUES (90001,300,420,2,NULL,3.25);"
        "INSERT INTO SATIUNOS (IDDUNOS,TOD,TDO,TAKT,SCP) VALUES (90001,NULL,100,1,1);"
        "INSERT INTO UNOS (IDUNOS,IDVOZAC,DV,TIP) VALUES (90002,1,'2025-03-12 10:00:00',0);"
        "INSERT INTO DUNOS (IDD,IDUNOS,DATUM) VALUES (90002,90002,NULL);"
        "INSERT INTO SATIUNOS (IDDUNOS,TOD,TDO,TAKT,SCP) VALUES (90002,0,60,0,1);"
        "INSERT INTO UNOS (IDUNOS,IDVOZAC,DV,TIP) VALUES (90003,NULL,'2025-03-12 11:00:00',0);"
        "INSERT INTO DUNOS (IDD,IDUNOS,DATUM) VALUES (90003,90003,'2025-03-10');"
        "INSERT INTO SATIUNOS (IDDUNOS,TOD,TDO,TAKT,SCP) VALUES (90003,0,1440,0,1);"
        "INSERT INTO DUNOS (IDD,IDUNOS,DATUM) VALUES (90004,99999,'2025-03-10');"
        "INSERT INTO SATIUNOS (IDDUNOS,TOD,TDO,TAKT,SCP) VALUES (90004,0,1440,0,1);"
        "INSERT INTO SATIUNOS (IDDUNOS,TOD,TDO,TAKT,SCP) VALUES (99998,0,1440,0,1);");
    m_data->write.commit();
}

void TestGraphQueries::dayHoldsTheWrittenQueriesRows_data()
{
    QTest::addColumn<int>("driver");
    QTest::addColumn<QDate>("date");
    QTest::newRow("a generated day") << 1 << QDate(2024, 11, 5);
    QTest::newRow("two entries with their own nights") << 2 << kCornerDay;
    QTest::newRow("driver with an undated day") << 1 << kCornerDay;
    QTest::newRow("the last day") << 3 << kLastDay;
    QTest::newRow("no record that day") << 3 << kLastDay.addDays(1);
    QTest::newRow("driver without a record") << 77 << kCornerDay;
}

void TestGraphQueries::dayHoldsTheWrittenQueriesRows()
{
    QFETCH(int, driver);
    QFETCH(QDate, date);
    const WrittenDay written = WrittenDayRecord(*m_data, driver, date);
    const DayRecord day = LoadDayRecord(m_data->read, driver, date);

    QStringList intervals;
    for (const DayInterval& interval : day.intervals) {
        intervals << QStringList{Text(interval.chart.start), Text(interval.chart.end), Text(interval.chart.kind),
                                 QString::number(interval.chart.crewFlags), Text(interval.kilometres),
                                 Text(interval.litres), QString::number(interval.night.from),
                                 QString::number(interval.night.to)}
                         .join('\t');
    }
    QStringList writtenIntervals;
    for (const QString& row : written.intervals)
        writtenIntervals << ZeroForNull(row, {3, 6, 7});
    // Rows of the same start and end may come in either order, as the written query allows.
    QCOMPARE(Sorted(intervals), Sorted(writtenIntervals));
    QVERIFY(std::is_sorted(day.intervals.begin(), day.intervals.end(), [](const auto& a, const auto& b) {
        return std::pair{a.chart.start, a.chart.end} < std::pair{b.chart.start, b.chart.end};
    }));
    QCOMPARE(Text(day.distance), written.distance);
    QStringList otherDates;
    for (const QDate& other : day.otherDates)
        otherDates << other.toString("dd.MM.yyyy");
    QCOMPARE(otherDates, written.otherDates);
}

void TestGraphQueries::periodHoldsTheWrittenQueriesRows_data()
{
    QTest::addColumn<int>("driver");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::newRow("29 days to the last") << 2 << kLastDay.addDays(-28) << kLastDay;
    QTest::newRow("the whole record") << 1 << kLastDay.addYears(-1) << kLastDay;
    QTest::newRow("the corner day alone") << 2 << kCornerDay << kCornerDay;
    QTest::newRow("after the record") << 3 << kLastDay.addDays(1) << kLastDay.addDays(40);
    QTest::newRow("driver without a record") << 77 << kCornerDay.addDays(-5) << kCornerDay;
}

void TestGraphQueries::periodHoldsTheWrittenQueriesRows()
{
    QFETCH(int, driver);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QStringList rows;
    for (const PeriodDay& day : LoadPeriodDays(m_data->read, driver, from, to, true)) {
        for (const ChartInterval& interval : day.intervals) {
            rows << QStringList{Text(interval.start), Text(interval.end), Text(interval.kind),
                                QString::number(interval.crewFlags), day.date.toString("dd.MM.yyyy")}
                        .join('\t');
        }
    }
    QStringList written;
    for (const QString& row : WrittenPeriodIntervals(*m_data, driver, from, to))
        written << ZeroForNull(row, {3});
    // Days in order, and within a day rows of the same start and end in either order.
    const auto byDay = [](QStringList list) {
        std::stable_sort(list.begin(), list.end(), [](const QString& a, const QString& b) {
            return QDate::fromString(a.section('\t', 4), "dd.MM.yyyy") < QDate::fromString(b.section('\t', 4), "dd.MM.yyyy");
        });
        return list;
    };
    QCOMPARE(Sorted(rows), Sorted(written));
    QCOMPARE(byDay(rows), rows);

    const PeriodDriver periodDriver = LoadPeriodDriver(m_data->read, driver);
    const auto dateText = [](const std::optional<QDate>& date) { return date ? date->toString("dd.MM.yyyy") : QString(); };
    QCOMPARE(dateText(periodDriver.firstDay) + '\t' + dateText(periodDriver.lastDay), WrittenPeriodDriver(*m_data, driver));
}

// The generator builds the entry indexes after the data and measures every index, so that a
// generated database plans as an office's long-used one; and it leaves the pages written to the
// disc at once again.
void TestGraphQueries::generatedDatabaseHasItsIndexesMeasured()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("GEN.FDB");
    CreateLargeDatabase(path, LargeDatabaseSize{.drivers = 2, .years = 1, .vehicles = 2, .lastDay = kLastDay});
    // As the generator left it, before an upgrade could measure anything.
    Connection connection;
    connection.setDatabaseName(path);
    connection.params() << "user_name=SYSDBA" << "password=corbelwin";
    connection.open();
    Transaction read(connection, TransactionAccess::ReadOnly);
    Statement sql(read);
    sql.prepare("SELECT TRIM(RDB$INDEX_NAME), RDB$STATISTICS, COALESCE(RDB$INDEX_INACTIVE, 0) FROM RDB$INDICES "
                "WHERE RDB$RELATION_NAME IN ('UNOS', 'DUNOS', 'SATIUNOS', 'DJELATNICI', 'VOZILO')");
    sql.execute();
    int indexes = 0;
    while (sql.next()) {
        ++indexes;
        QVERIFY2(sql.doubleValue(1).value_or(0) > 0, qPrintable(*sql.textValue(0)));
        QCOMPARE(sql.intValue(2), 0);
    }
    QCOMPARE(indexes, 16);
    sql.prepare("SELECT MON$FORCED_WRITES FROM MON$DATABASE");
    sql.execute();
    QVERIFY(sql.next());
    QCOMPARE(sql.intValue(0), 1);
}

QTEST_GUILESS_MAIN(TestGraphQueries)
#include "tst_graph_queries.moc"
