#include "large_database.h"

#include "db/base_schema.h"
#include "db/connection.h"
#include "db/script.h"
#include "db/transaction.h"
#include "db/db_error.h"
#include "db/index_statistics.h"
#include "db/scopes.h"
#include "db/schema_upgrade.h"
#include "db/statement.h"
#include "entries/entry_writer.h"
#include "entries/manual_entry.h"

#include <QDateTime>
#include <QStringList>
#include <QTime>

#include <random>

namespace {

constexpr int kSeed = 20261210;
constexpr int kPercent = 100;
constexpr int kSummaryShare = 10;       // per cent of the days entered as day sums
constexpr int kChartShare = 25;         // per cent of the days read from a scanned chart
constexpr int kTwoDayChartShare = 5;    // per cent of the charts that run over two days
constexpr int kCoDriverShare = 8;       // per cent of the entries driven as co-driver

const QStringList kSurnames{QStringLiteral("Horvat"), QStringLiteral("Kovačević"), QStringLiteral("Babić"),
                            QStringLiteral("Marić"),  QStringLiteral("Jurić"),     QStringLiteral("Novak"),
                            QStringLiteral("Knežević"), QStringLiteral("Vuković"), QStringLiteral("Šarić"),
                            QStringLiteral("Petrović"), QStringLiteral("Matić"),   QStringLiteral("Žužić")};
const QStringList kNames{QStringLiteral("Ivan"),  QStringLiteral("Marko"), QStringLiteral("Željko"),
                         QStringLiteral("Josip"), QStringLiteral("Đuro"),  QStringLiteral("Ante"),
                         QStringLiteral("Čedo"),  QStringLiteral("Tomislav")};

// The connection the generator fills the database on, with its write transaction and the
// statement and script it runs its steps with.
struct GeneratorWork {
    Connection connection;
    Transaction write{connection};
    Statement sql{write};
    Script script{write};
};

class Generator {
public:
    Generator(GeneratorWork& data, const LargeDatabaseSize& size)
        : m_data(data), m_size(size), m_random(kSeed), m_entries(data.write)
    {
    }

    void masterData()
    {
        WriteScope scope(m_data.write);
        Statement driver(m_data.write);
        driver.prepare(QStringLiteral("INSERT INTO DJELATNICI (IDDJ,IMEPREZIME,VOZAC,AKTIVNOALL,MBR,OIB,KARTICA) "
                                      "VALUES (:ID,:IME,1,:AK,:MBR,:OIB,:KAR)"));
        for (int id = 1; id <= m_size.drivers; ++id) {
            driver.setInt(QStringLiteral("ID"), id);
            driver.setText(QStringLiteral("IME"), kSurnames[id % kSurnames.size()] + QLatin1Char(' ')
                                                      + kNames[(id / kSurnames.size() + id) % kNames.size()]
                                                      + QStringLiteral(" %1").arg(id));
            driver.setOptionalInt(QStringLiteral("AK"), id % 7 == 0 ? std::optional<qint64>(0) : std::nullopt);
            driver.setInt(QStringLiteral("MBR"), 1000 + id);
            driver.setText(QStringLiteral("OIB"), QStringLiteral("%1").arg(10000000000LL + id * 7919LL));
            driver.setText(QStringLiteral("KAR"), QStringLiteral("HR%1").arg(id, 14, 10, QLatin1Char('0')));
            driver.execute();
        }
        Statement vehicle(m_data.write);
        vehicle.prepare(QStringLiteral("INSERT INTO VOZILO (IDVOZ,MARKAITIP,OZNAKA,VRSTA,AKTIVNOALL) "
                                       "VALUES (:ID,:TIP,:OZ,:VR,1)"));
        const QStringList makes{QStringLiteral("MAN TGX"), QStringLiteral("Volvo FH"), QStringLiteral("Scania R"),
                                QStringLiteral("DAF XF"), QStringLiteral("Iveco S-Way")};
        for (int id = 1; id <= m_size.vehicles; ++id) {
            vehicle.setInt(QStringLiteral("ID"), id);
            vehicle.setText(QStringLiteral("TIP"), makes[id % makes.size()]);
            vehicle.setText(QStringLiteral("OZ"), QStringLiteral("ZG-%1-AB").arg(1000 + id));
            vehicle.setInt(QStringLiteral("VR"), id % 4);
            vehicle.execute();
        }
        scope.commit();
    }

    void driverYears(int driverId)
    {
        WriteScope scope(m_data.write);
        const QDate first = m_size.lastDay.addYears(-m_size.years).addDays(1);
        Decimal3 odometer = Decimal3::fromWhole(100000 + 1000 * driverId);
        const int vehicleId = 1 + driverId % m_size.vehicles;
        for (QDate date = first; date <= m_size.lastDay; date = date.addDays(1)) {
            const int roll = percent();
            const bool summary = roll < kSummaryShare;
            const bool chart = !summary && roll < kSummaryShare + kChartShare;
            const bool twoDays = chart && percent() < kTwoDayChartShare && date < m_size.lastDay;
            const int entryId = ++m_entryId;
            writeEntry(entryId, driverId, date, summary ? std::optional<int>(kSubtypeSummary)
                                                        : chart ? std::optional<int>(kSubtypeScannedChart)
                                                                : std::nullopt);
            ManualEntry day = dayOf(driverId, vehicleId, date, summary, odometer);
            writeDay(entryId, day);
            if (twoDays) {
                date = date.addDays(1);
                ManualEntry second = dayOf(driverId, vehicleId, date, false, odometer);
                writeDay(entryId, second);
            }
        }
        scope.commit();
    }

    void setGenerators()
    {
        WriteScope scope(m_data.write);
        m_data.script.execute(QStringLiteral("SET GENERATOR GEN_UNOS_ID TO %1;\nSET GENERATOR GEN_DUNOS_ID TO %2;\n"
                                                "SET GENERATOR GEN_DJELATNICI_ID TO %3;\nSET GENERATOR GEN_VOZILO_ID TO %4;\n")
                                     .arg(m_entryId)
                                     .arg(m_dayId)
                                     .arg(m_size.drivers)
                                     .arg(m_size.vehicles));
        scope.commit();
    }

private:
    int percent() { return std::uniform_int_distribution<int>(0, kPercent - 1)(m_random); }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    // A working day: rest until the start, driving stretches with breaks, other work and
    // availability between them, rest from the end to midnight; now and then a day off.
    std::vector<ActivityInterval> workingDay()
    {
        if (percent() < 12)
            return {ActivityInterval{ActivityKind::Rest, 0, kMinutesPerDay, {}, {}}};
        std::vector<ActivityInterval> intervals;
        int now = between(4, 9) * 60 + between(0, 3) * 15;
        intervals.push_back(ActivityInterval{ActivityKind::Rest, 0, now, {}, {}});
        const int end = std::min(now + between(8, 13) * 60, kMinutesPerDay - 30);
        intervals.push_back(ActivityInterval{ActivityKind::OtherWork, now, now + 30, {}, {}});
        now += 30;
        while (now < end) {
            const int drive = std::min(between(60, 270), end - now);
            intervals.push_back(
                ActivityInterval{ActivityKind::Driving, now, now + drive, Decimal3::fromWhole(drive * 70 / 60), {}});
            now += drive;
            if (now >= end)
                break;
            const ActivityKind pause = percent() < 50 ? ActivityKind::Availability : ActivityKind::Rest;
            const int length = std::min(between(15, 60), end - now);
            intervals.push_back(ActivityInterval{pause, now, now + length, {}, {}});
            now += length;
        }
        intervals.push_back(ActivityInterval{ActivityKind::Rest, now, kMinutesPerDay, {}, {}});
        return intervals;
    }

    ManualEntry dayOf(int driverId, int vehicleId, QDate date, bool summary, Decimal3& odometer)
    {
        ManualEntry day;
        day.driverId = driverId;
        day.vehicleId = vehicleId;
        day.date = date;
        day.coDriver = percent() < kCoDriverShare;
        day.intervals = workingDay();
        int kilometres = 0;
        for (const ActivityInterval& interval : day.intervals)
            kilometres += WholeKilometres(interval.kilometres);
        day.startKm = odometer;
        odometer += Decimal3::fromWhole(kilometres);
        day.endKm = odometer;
        day.distance = DayDistance(day.startKm, day.endKm);
        if (summary) {
            const DayTotals totals = ComputeDayTotals(day.intervals, day.night);
            day.summary = SplitDayTotals(totals);
            day.workStart = day.intervals.size() > 1 ? day.intervals[1].start : 0;
            day.detailed = false;
            day.intervals.clear();
        }
        return day;
    }

    void writeEntry(int entryId, int driverId, QDate date, std::optional<int> subtype)
    {
        const QDateTime storedAt(date.addDays(1), QTime(between(7, 15), between(0, 59), between(0, 59)), Qt::UTC);
        m_entries.insertEntry(EntryRecord{entryId, driverId, subtype, NightWindow{}, storedAt});
    }

    void writeDay(int entryId, const ManualEntry& day)
    {
        const int dayId = ++m_dayId;
        m_entries.insertDay(EntryDayRecord{dayId, entryId, day.date, day.startKm, day.endKm, day.distance,
                                           day.vehicleId, EntryDayTotals(day), std::nullopt, std::nullopt});
        m_entries.insertIntervals(
            DayIntervals{dayId, day.date, day.intervals, day.vehicleId, CrewFlags(day.coDriver, false), std::nullopt, {}});
    }

    GeneratorWork& m_data;
    LargeDatabaseSize m_size;
    std::mt19937 m_random;
    EntryWriter m_entries;
    int m_entryId = 0;
    int m_dayId = 0;
};

// The indexes of the entry tables other than their keys: kept up to date row by row they
// cost more than the rows themselves, built afresh from the data at the end they cost little
// and come with their selectivity measured.
QStringList EntryIndexes(GeneratorWork& data)
{
    data.sql.prepare(QStringLiteral("SELECT TRIM(RDB$INDEX_NAME) FROM RDB$INDICES WHERE RDB$RELATION_NAME IN "
                                       "('UNOS', 'DUNOS', 'SATIUNOS') AND COALESCE(RDB$UNIQUE_FLAG, 0) = 0 "
                                       "AND RDB$FOREIGN_KEY IS NULL ORDER BY 1"));
    data.sql.execute();
    QStringList indexes;
    while (data.sql.next())
        indexes << data.sql.textOr(0, QString());
    return indexes;
}

void SetIndexesActive(GeneratorWork& data, const QStringList& indexes, bool active)
{
    WriteScope scope(data.write);
    for (const QString& index : indexes) {
        data.sql.prepare(QStringLiteral("ALTER INDEX \"%1\" %2").arg(index, active ? "ACTIVE" : "INACTIVE"));
        data.sql.execute();
    }
    scope.commit();
}

// Whether the engine writes each page to the disc at once (the safe way, which a database
// for everyday work keeps) or leaves it to the operating system, as for filling a new file.
void SetForcedWrites(const QString& path, bool forced)
{
    Connection connection;
    connection.setDatabaseName(path);
    const DatabaseAccount account;
    connection.params() << QStringLiteral("user_name=") + account.user << QStringLiteral("password=") + account.password
                        << QStringLiteral("force_write=%1").arg(forced ? 1 : 0);
    connection.open();
    connection.close();
}

}  // namespace

void CreateLargeDatabase(const QString& path, const LargeDatabaseSize& size,
                         const std::function<void(int driversDone)>& progress)
{
    CreateBaseDatabase(path);
    SetForcedWrites(path, false);
    {
        GeneratorWork data;
        QString failure;
        if (!ConnectAndUpgrade(data.connection, path, [&](const QString& message, const QString& error) {
                failure = message + QLatin1Char(' ') + error;
            }))
            throw DbError(failure, 0);
        const QStringList indexes = EntryIndexes(data);
        SetIndexesActive(data, indexes, false);
        Generator generator(data, size);
        generator.masterData();
        for (int driver = 1; driver <= size.drivers; ++driver) {
            generator.driverYears(driver);
            if (progress)
                progress(driver);
        }
        generator.setGenerators();
        SetIndexesActive(data, indexes, true);
        RecomputeIndexStatistics(data.write);
    }
    SetForcedWrites(path, true);
}
