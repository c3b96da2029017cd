#include "entries/chart_entry.h"

#include "db/generators.h"
#include "db/statement.h"
#include "entries/day_totals.h"
#include "entries/entry_store.h"
#include "entries/entry_writer.h"

#include <QFileInfo>

namespace {

constexpr int kScanLogNameLength = 100;
const QString kDateFormat = QStringLiteral("dd.MM.yyyy.");

const QString kInsertScanLog =
    QStringLiteral("INSERT INTO SKENLOG (IDUNOS,FN,SX,SY,N,POM) VALUES (:IDU,:FN,:SX,:SY,:N,:POM)");

// One calendar day of a chart as it is written.
struct ChartDayRows {
    int id = kNewId;
    QDate date;
    Decimal3 km1;
    Decimal3 km2;
    std::span<const ActivityInterval> intervals;
};

std::span<const ActivityInterval> IntervalsOf(const std::optional<std::vector<ActivityInterval>>& day)
{
    return day ? std::span<const ActivityInterval>(*day) : std::span<const ActivityInterval>();
}

void WriteChartDay(EntryWriter& writer, const ChartEntry& entry, int entryId, const ChartDayRows& day,
                   std::optional<int> nextDayId, std::optional<int> previousDayId)
{
    writer.insertDay(EntryDayRecord{day.id, entryId, day.date, day.km1, day.km2, day.km2 - day.km1, entry.vehicleId,
                                    ComputeDayTotals(day.intervals, entry.night), entry.remark,
                                    EntryDayRecord::Links{nextDayId, previousDayId}});
    writer.insertIntervals(DayIntervals{day.id, day.date, day.intervals, entry.vehicleId,
                                        CrewFlags(entry.coDriver, entry.crew), entry.driverId, {}});
}

} // namespace

std::optional<ChartEntryProblem> CheckChartEntry(const ChartEntry& entry)
{
    using Field = ChartEntryProblem::Field;
    if (entry.driverId == kNoneChosen)
        return ChartEntryProblem{kNoDriverMessage, Field::None};
    if (entry.vehicleId == kNoneChosen)
        return ChartEntryProblem{kNoVehicleMessage, Field::None};
    if (!entry.day1)
        return ChartEntryProblem{kNoDay1ActivitiesMessage, Field::None};
    if (entry.endKm < entry.startKm)
        return ChartEntryProblem{kKmReversedMessage, Field::EndKm};
    if (entry.twoDay() && (entry.endOfDay1Km < entry.startKm || entry.endOfDay1Km > entry.endKm))
        return ChartEntryProblem{kEndOfDay1KmMessage, Field::EndOfDay1Km};
    return std::nullopt;
}

QString ScanLogFileName(const QString& scanFileName)
{
    // A name typed with Windows folders keeps only what follows the last of them too.
    QString name = QFileInfo(scanFileName).fileName();
    name = name.mid(name.lastIndexOf(QLatin1Char('\\')) + 1);
    return name.left(kScanLogNameLength);
}

WriteResult StoreChartEntry(Transaction& write, const ChartEntry& entry, StoredChart* stored)
{
    ChartDayRows first{kNewId, entry.date, entry.startKm, entry.twoDay() ? entry.endOfDay1Km : entry.endKm,
                       IntervalsOf(entry.day1)};
    ChartDayRows second{kNewId, entry.date.addDays(1), entry.endOfDay1Km, entry.endKm, IntervalsOf(entry.day2)};
    StoredChart ids;
    const WriteResult result = RunWrite(write, [&] {
        ids.entryId = NextKey(write, QStringLiteral("GEN_UNOS_ID"));
        ids.day1Id = NextKey(write, QStringLiteral("GEN_DUNOS_ID"));
        if (entry.twoDay())
            ids.day2Id = NextKey(write, QStringLiteral("GEN_DUNOS_ID"));
        first.id = ids.day1Id;
        second.id = ids.day2Id;

        EntryWriter writer(write);
        writer.insertEntry(EntryRecord{ids.entryId, entry.driverId, kSubtypeScannedChart, entry.night, std::nullopt});

        Statement sql(write);
        sql.prepare(kInsertScanLog);
        sql.setInt(QStringLiteral("IDU"), ids.entryId);
        sql.setText(QStringLiteral("FN"), ScanLogFileName(entry.scanFileName));
        sql.setInt(QStringLiteral("SX"), entry.scanWidth);
        sql.setInt(QStringLiteral("SY"), entry.scanHeight);
        sql.setInt(QStringLiteral("N"), entry.discNumber);
        sql.setInt(QStringLiteral("POM"), ids.day1Id);
        sql.execute();

        if (entry.twoDay()) {
            WriteChartDay(writer, entry, ids.entryId, first, ids.day2Id, std::nullopt);
            WriteChartDay(writer, entry, ids.entryId, second, std::nullopt, ids.day1Id);
        } else {
            WriteChartDay(writer, entry, ids.entryId, first, std::nullopt, std::nullopt);
        }
        return ids.entryId;
    });
    if (result.done && stored)
        *stored = ids;
    return result;
}

std::optional<Decimal3> EstimateEndOfDay1Km(Decimal3 startKm, Decimal3 endKm, int day1Minutes, int day2Minutes)
{
    if (endKm <= startKm)
        return std::nullopt;
    if (day1Minutes <= 0)
        return startKm;
    if (day2Minutes <= 0)
        return endKm;
    // In thousandths, rounded half up: the distance times a fraction below 1 stays far from overflow.
    const qint64 distance = (endKm - startKm).thousandths;
    const qint64 total = qint64(day1Minutes) + day2Minutes;
    const qint64 share = (2 * distance * day1Minutes + total) / (2 * total);
    return startKm + Decimal3{share};
}

QString TwoDayRangeText(const QDate& date, std::span<const ActivityInterval> day1,
                        std::span<const ActivityInterval> day2)
{
    if (day1.empty())
        return QString();
    QString text = date.toString(kDateFormat) + QLatin1Char(' ') + RowFromInterval(day1.front()).from
                   + QStringLiteral(" - ");
    if (day2.empty())
        return text + RowFromInterval(day1.back()).to;
    return text + date.addDays(1).toString(kDateFormat) + QLatin1Char(' ') + RowFromInterval(day2.back()).to;
}
