#include "entries/entry_store.h"

#include "common/decimal_text.h"
#include "common/time_text.h"
#include "db/statement.h"
#include "entries/entry_writer.h"

#include <QTime>

WriteResult StoreManualEntry(Transaction& write, ManualEntry& entry)
{
    if (entry.driverId == kNoneChosen)
        return WriteResult{false, kNoDriverMessage};
    if (entry.vehicleId == kNoneChosen)
        return WriteResult{false, kNoVehicleMessage};

    // The ids are the entry's only once the store is committed.
    ManualEntry written = entry;
    const WriteResult result = RunWrite(write, [&] {
        EntryWriter(write).write(written);
        return written.entryId;
    });
    if (result.done) {
        entry.entryId = written.entryId;
        entry.entryDayId = written.entryDayId;
    }
    return result;
}

std::optional<LoadedEntry> LoadEntry(Transaction& read, int entryId, NightWindow currentNight)
{
    ReadScope scope(read);
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT UNOS.*,DUNOS.* FROM UNOS LEFT JOIN DUNOS ON DUNOS.IDUNOS=UNOS.IDUNOS "
                               "WHERE UNOS.IDUNOS=:IDU"));
    sql.setInt(QStringLiteral("IDU"), entryId);
    sql.execute();
    if (!sql.next())
        return std::nullopt;

    LoadedEntry found;
    ManualEntry& entry = found.entry;
    entry.entryId = sql.intOr(QStringLiteral("IDUNOS"), 0);
    entry.entryDayId = sql.intOr(QStringLiteral("IDD"), kNewId);
    found.storedAt = sql.timestampValue(QStringLiteral("DV")).value_or(QDateTime());
    found.scannedChart = IsScannedChart(sql.intValue(QStringLiteral("TIP")), sql.intValue(QStringLiteral("PODTIP")));
    entry.driverId = sql.intOr(QStringLiteral("IDVOZAC"), kNoneChosen);
    entry.vehicleId = sql.intOr(QStringLiteral("IDVOZILO"), kNoneChosen);
    entry.startKm = sql.decimal3Value(QStringLiteral("KM1"));
    entry.endKm = sql.decimal3Value(QStringLiteral("KM2"));
    entry.distance = sql.decimal3Value(QStringLiteral("DKM"));
    entry.date = sql.dateValue(QStringLiteral("DATUM")).value_or(QDate());
    entry.remark = sql.textOr(QStringLiteral("NAP"), QString());

    DayTotals& stored = found.storedTotals;
    stored.kindMinutes = {sql.intOr(QStringLiteral("S1"), 0), sql.intOr(QStringLiteral("S2"), 0),
                          sql.intOr(QStringLiteral("S3"), 0), sql.intOr(QStringLiteral("S4"), 0)};
    for (int minutes : stored.kindMinutes)
        stored.totalMinutes += minutes;
    stored.nightWork = sql.intOr(QStringLiteral("S5"), 0);
    stored.nightAll = sql.intOr(QStringLiteral("S6"), 0);
    stored.nightDriving = sql.intOr(QStringLiteral("N1"), 0);
    stored.nightOtherWork = sql.intOr(QStringLiteral("N2"), 0);
    stored.workStart = sql.intOr(QStringLiteral("T1"), 0);
    stored.workEnd = sql.intOr(QStringLiteral("T2"), 0);

    const NightWindow storedNight{sql.intOr(QStringLiteral("NOD"), 0), sql.intOr(QStringLiteral("NDO"), 0)};
    entry.night = storedNight == NightWindow{0, 0} ? currentNight : storedNight;
    sql.close();

    sql.prepare(QStringLiteral("SELECT * FROM SATIUNOS WHERE IDDUNOS=:IDD"));
    sql.setInt(QStringLiteral("IDD"), entry.entryDayId);
    sql.execute();
    int lastCrewFlags = 0;
    while (sql.next()) {
        const std::optional<qint64> code = sql.intValue(QStringLiteral("TAKT"));
        const std::optional<ActivityKind> kind = code ? ActivityKindFromCode(static_cast<int>(*code)) : std::nullopt;
        if (!kind) {
            found.foreignIntervals.push_back(
                ForeignInterval{code ? std::optional<int>(static_cast<int>(*code)) : std::nullopt,
                                sql.intOr(QStringLiteral("TOD"), 0), sql.intOr(QStringLiteral("TDO"), 0)});
            continue;
        }
        entry.intervals.push_back(ActivityInterval{*kind, sql.intOr(QStringLiteral("TOD"), 0),
                                                   sql.intOr(QStringLiteral("TDO"), 0),
                                                   sql.decimal3Value(QStringLiteral("KM")),
                                                   sql.decimal3Value(QStringLiteral("LIT"))});
        lastCrewFlags = sql.intOr(QStringLiteral("SCP"), 0);
    }
    entry.detailed = !entry.intervals.empty();
    entry.coDriver = (lastCrewFlags & kCrewFlagCoDriver) != 0;
    entry.crew = (lastCrewFlags & kCrewFlagCrew) != 0;
    if (!entry.detailed) {
        entry.summary = SplitDayTotals(stored);
        entry.workStart = stored.workStart;
    }
    return found;
}

QString DayEntry::caption() const
{
    return FormatMinutes(drivingMinutes) + QStringLiteral(" vožnje, ") + FormatDecimalZero(distance.toText())
        + QStringLiteral(" km");
}

std::vector<DayEntry> EntriesOfDay(Transaction& read, int driverId, const QDate& date)
{
    ReadScope scope(read);
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT UNOS.IDUNOS,DKM,S4 FROM DUNOS LEFT JOIN UNOS ON UNOS.IDUNOS=DUNOS.IDUNOS "
                               "WHERE UNOS.IDVOZAC=:IDV AND CAST(DATUM AS DATE)=:D"));
    sql.setInt(QStringLiteral("IDV"), driverId);
    sql.setDate(QStringLiteral("D"), date);
    sql.execute();
    std::vector<DayEntry> entries;
    while (sql.next()) {
        entries.push_back(DayEntry{sql.intOr(0, kNewId),
                                   sql.intOr(2, 0), sql.decimal3Value(1)});
    }
    return entries;
}

bool IsScannedChart(std::optional<qint64> type, std::optional<qint64> subtype)
{
    return type == kTypeOwnEntry && subtype == kSubtypeScannedChart;
}

void DeleteEntryRows(Transaction& write, int entryId, std::optional<qint64> type, std::optional<qint64> subtype)
{
    QStringList statements{
        QStringLiteral("delete from unos where idunos=:IDU"),
        QStringLiteral("delete from satiunos where iddunos in (select distinct idd from dunos where idunos=:IDU)"),
        QStringLiteral("delete from dunos where idunos=:IDU"),
    };
    if (IsScannedChart(type, subtype))
        statements << QStringLiteral("delete from skenlog where idunos=:IDU");
    Statement sql(write);
    for (const QString& statement : statements) {
        sql.prepare(statement);
        sql.setInt(QStringLiteral("IDU"), entryId);
        sql.execute();
    }
}

WriteResult DeleteEntry(Transaction& write, int entryId, std::optional<qint64> type, std::optional<qint64> subtype)
{
    return RunWrite(write, [&] {
        DeleteEntryRows(write, entryId, type, subtype);
        return entryId;
    });
}
