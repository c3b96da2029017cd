#include "entries/entry_store.h"

#include "common/decimal_text.h"
#include "common/time_text.h"
#include "db/generators.h"
#include "db/statement.h"
#include "entries/entry_rows.h"

#include <QTime>

namespace {

const QString kInsertEntry =
    QStringLiteral("INSERT INTO UNOS (IDUNOS,IDVOZAC,TIP,PODTIP,NOD,NDO) VALUES (:IDU,:IDV,0,:PT,:NOD,:NDO)");
const QString kUpdateEntry = QStringLiteral("UPDATE UNOS SET IDVOZAC=:IDV, TIP=0, NOD=:NOD,NDO=:NDO WHERE IDUNOS=:IDU");
const QString kInsertDay =
    QStringLiteral("INSERT INTO DUNOS (IDD,IDUNOS,DATUM,KM1,KM2,DKM,IDVOZILO,S1,S2,S3,S4,S5,S6,NAP,N1,N2,T1,T2)\n"
                   "VALUES\n"
                   " (:IDD,:IDU,:DATUM,:KM1,:KM2,:DKM,:IDV,:S1,:S2,:S3,:S4,:S5,:S6,:NAP,:N1,:N2,:T1,:T2)");
const QString kUpdateDay =
    QStringLiteral("UPDATE DUNOS SET IDUNOS=:IDU,DATUM=:DATUM,KM1=:KM1,KM2=:KM2,DKM=:DKM,IDVOZILO=:IDV,\n"
                   " S1=:S1,S2=:S2,S3=:S3,S4=:S4,S5=:S5,S6=:S6,NAP=:NAP,N1=:N1,N2=:N2,T1=:T1,T2=:T2 WHERE IDD=:IDD");
// Intervals of a kind the program does not know (written by other software) are kept.
const QString kDeleteIntervals = QStringLiteral("DELETE FROM SATIUNOS WHERE IDDUNOS=:IDD AND TAKT BETWEEN 0 AND 3");
void WriteDay(Transaction& write, const ManualEntry& entry, int entryId, int dayId, bool newDay)
{
    const DayTotals totals = EntryDayTotals(entry);
    Statement sql(write);
    sql.prepare(newDay ? kInsertDay : kUpdateDay);
    sql.setInt(QStringLiteral("IDD"), dayId);
    sql.setInt(QStringLiteral("IDU"), entryId);
    sql.setDate(QStringLiteral("DATUM"), entry.date);
    sql.setDecimal3(QStringLiteral("KM1"), entry.startKm);
    sql.setDecimal3(QStringLiteral("KM2"), entry.endKm);
    sql.setDecimal3(QStringLiteral("DKM"), entry.distance);
    sql.setInt(QStringLiteral("IDV"), entry.vehicleId);
    BindDayTotals(sql, totals);
    sql.setText(QStringLiteral("NAP"), entry.remark);
    sql.setInt(QStringLiteral("T1"), totals.workStart);
    sql.setInt(QStringLiteral("T2"), totals.workEnd);
    sql.execute();
}

int IntColumn(const Statement& sql, const QString& name)
{
    return static_cast<int>(sql.intValue(name).value_or(0));
}

} // namespace

void WriteManualEntry(Transaction& write, ManualEntry& entry)
{
    const bool newEntry = entry.isNew();
    // An entry whose day went missing gets a new day rather than an update of nothing.
    const bool newDay = newEntry || entry.entryDayId == kNewId;
    const int entryId = newEntry ? NextKey(write, QStringLiteral("GEN_UNOS_ID")) : entry.entryId;
    const int dayId = newDay ? NextKey(write, QStringLiteral("GEN_DUNOS_ID")) : entry.entryDayId;

    Statement sql(write);
    sql.prepare(newEntry ? kInsertEntry : kUpdateEntry);
    sql.setInt(QStringLiteral("IDU"), entryId);
    sql.setInt(QStringLiteral("IDV"), entry.driverId);
    if (newEntry)
        sql.setOptionalInt(QStringLiteral("PT"), entry.detailed ? entry.subtype : std::optional<int>(kSubtypeSummary));
    sql.setInt(QStringLiteral("NOD"), entry.night.from);
    sql.setInt(QStringLiteral("NDO"), entry.night.to);
    sql.execute();

    WriteDay(write, entry, entryId, dayId, newDay);

    if (!newEntry) {
        sql.prepare(kDeleteIntervals);
        sql.setInt(QStringLiteral("IDD"), dayId);
        sql.execute();
    }
    if (entry.detailed)
        InsertIntervals(write, dayId, entry.date, entry.intervals, entry.vehicleId,
                        CrewFlags(entry.coDriver, entry.crew), std::nullopt, entry.perInterval);
    entry.entryId = entryId;
    entry.entryDayId = dayId;
}

WriteResult StoreManualEntry(Transaction& write, ManualEntry& entry)
{
    if (entry.driverId == kNoneChosen)
        return WriteResult{false, kNoDriverMessage};
    if (entry.vehicleId == kNoneChosen)
        return WriteResult{false, kNoVehicleMessage};

    // The ids are the entry's only once the store is committed.
    ManualEntry written = entry;
    const WriteResult result = RunWrite(write, [&] {
        WriteManualEntry(write, written);
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
    entry.entryId = IntColumn(sql, QStringLiteral("IDUNOS"));
    entry.entryDayId = sql.intValue(QStringLiteral("IDD")) ? IntColumn(sql, QStringLiteral("IDD")) : kNewId;
    found.storedAt = sql.timestampValue(QStringLiteral("DV")).value_or(QDateTime());
    found.scannedChart = IsScannedChart(sql.intValue(QStringLiteral("TIP")), sql.intValue(QStringLiteral("PODTIP")));
    entry.driverId = sql.intValue(QStringLiteral("IDVOZAC")).value_or(kNoneChosen);
    entry.vehicleId = sql.intValue(QStringLiteral("IDVOZILO")).value_or(kNoneChosen);
    entry.startKm = sql.decimal3Value(QStringLiteral("KM1"));
    entry.endKm = sql.decimal3Value(QStringLiteral("KM2"));
    entry.distance = sql.decimal3Value(QStringLiteral("DKM"));
    entry.date = sql.dateValue(QStringLiteral("DATUM")).value_or(QDate());
    entry.remark = sql.textValue(QStringLiteral("NAP")).value_or(QString());

    DayTotals& stored = found.storedTotals;
    stored.kindMinutes = {IntColumn(sql, QStringLiteral("S1")), IntColumn(sql, QStringLiteral("S2")),
                          IntColumn(sql, QStringLiteral("S3")), IntColumn(sql, QStringLiteral("S4"))};
    for (int minutes : stored.kindMinutes)
        stored.totalMinutes += minutes;
    stored.nightWork = IntColumn(sql, QStringLiteral("S5"));
    stored.nightAll = IntColumn(sql, QStringLiteral("S6"));
    stored.nightDriving = IntColumn(sql, QStringLiteral("N1"));
    stored.nightOtherWork = IntColumn(sql, QStringLiteral("N2"));
    stored.workStart = IntColumn(sql, QStringLiteral("T1"));
    stored.workEnd = IntColumn(sql, QStringLiteral("T2"));

    const NightWindow storedNight{IntColumn(sql, QStringLiteral("NOD")), IntColumn(sql, QStringLiteral("NDO"))};
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
                                IntColumn(sql, QStringLiteral("TOD")), IntColumn(sql, QStringLiteral("TDO"))});
            continue;
        }
        entry.intervals.push_back(ActivityInterval{*kind, IntColumn(sql, QStringLiteral("TOD")),
                                                   IntColumn(sql, QStringLiteral("TDO")),
                                                   sql.decimal3Value(QStringLiteral("KM")),
                                                   sql.decimal3Value(QStringLiteral("LIT"))});
        lastCrewFlags = IntColumn(sql, QStringLiteral("SCP"));
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
        entries.push_back(DayEntry{static_cast<int>(sql.intValue(0).value_or(kNewId)),
                                   static_cast<int>(sql.intValue(2).value_or(0)), sql.decimal3Value(1)});
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
