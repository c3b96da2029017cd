#include "entries/entry_writer.h"

#include "db/generators.h"

#include <QTime>

namespace {

const QString kInsertEntry =
    QStringLiteral("INSERT INTO UNOS (IDUNOS,IDVOZAC,TIP,PODTIP,NOD,NDO) VALUES (:IDU,:IDV,0,:PT,:NOD,:NDO)");
const QString kInsertStampedEntry =
    QStringLiteral("INSERT INTO UNOS (IDUNOS,IDVOZAC,DV,TIP,PODTIP,NOD,NDO) VALUES (:IDU,:IDV,:DV,0,:PT,:NOD,:NDO)");
const QString kUpdateEntry = QStringLiteral("UPDATE UNOS SET IDVOZAC=:IDV, TIP=0, NOD=:NOD,NDO=:NDO WHERE IDUNOS=:IDU");
const QString kInsertDay =
    QStringLiteral("INSERT INTO DUNOS (IDD,IDUNOS,DATUM,KM1,KM2,DKM,IDVOZILO,S1,S2,S3,S4,S5,S6,NAP,N1,N2,T1,T2)\n"
                   "VALUES\n"
                   " (:IDD,:IDU,:DATUM,:KM1,:KM2,:DKM,:IDV,:S1,:S2,:S3,:S4,:S5,:S6,:NAP,:N1,:N2,:T1,:T2)");
// The days of a chart, linked to the day after (the first day) or to the day before.
const QString kInsertLinkedDay =
    QStringLiteral("INSERT INTO DUNOS (IDD,IDUNOS,DATUM,KM1,KM2,DKM,IDVOZILO,S1,S2,S3,S4,S5,S6,NAP,N1,N2,MF,IDMF)\n"
                   "VALUES\n"
                   " (:IDD,:IDU,:DATUM,:KM1,:KM2,:DKM,:IDV,:S1,:S2,:S3,:S4,:S5,:S6,:NAP,:N1,:N2,:MF,:IDMF)");
const QString kInsertFollowingDay =
    QStringLiteral("INSERT INTO DUNOS (IDD,IDUNOS,DATUM,KM1,KM2,DKM,IDVOZILO,S1,S2,S3,S4,S5,S6,NAP,N1,N2,MF,IDMF,IDPF)\n"
                   "VALUES\n"
                   " (:IDD,:IDU,:DATUM,:KM1,:KM2,:DKM,:IDV,:S1,:S2,:S3,:S4,:S5,:S6,:NAP,:N1,:N2,:MF,:IDMF,:IDPF)");
const QString kUpdateDay =
    QStringLiteral("UPDATE DUNOS SET IDUNOS=:IDU,DATUM=:DATUM,KM1=:KM1,KM2=:KM2,DKM=:DKM,IDVOZILO=:IDV,\n"
                   " S1=:S1,S2=:S2,S3=:S3,S4=:S4,S5=:S5,S6=:S6,NAP=:NAP,N1=:N1,N2=:N2,T1=:T1,T2=:T2 WHERE IDD=:IDD");
const QString kDeleteIntervals = QStringLiteral("DELETE FROM SATIUNOS WHERE IDDUNOS=:IDD AND TAKT BETWEEN 0 AND 3");
const QString kInsertInterval =
    QStringLiteral("INSERT INTO SATIUNOS (IDDUNOS,TOD,TDO,TAKT,KM,LIT,IDVOZILO,SCP,DT1,DT2) "
                   "VALUES (:IDD,:TOD,:TDO,:TAKT,:KM,:LIT,:IDV,:SCP,:DT1,:DT2)");
const QString kInsertDriversInterval =
    QStringLiteral("INSERT INTO SATIUNOS (IDDUNOS,TOD,TDO,TAKT,KM,LIT,IDVOZILO,SCP,DT1,DT2,IDVOZAC) "
                   "VALUES (:IDD,:TOD,:TDO,:TAKT,:KM,:LIT,:IDV,:SCP,:DT1,:DT2,:IDVOZ)");

std::optional<qint64> Optional(std::optional<int> value)
{
    return value ? std::optional<qint64>(*value) : std::nullopt;
}

void BindEntry(Statement& sql, const EntryRecord& entry)
{
    sql.setInt(QStringLiteral("IDU"), entry.id);
    sql.setInt(QStringLiteral("IDV"), entry.driverId);
    sql.setInt(QStringLiteral("NOD"), entry.night.from);
    sql.setInt(QStringLiteral("NDO"), entry.night.to);
}

void BindDay(Statement& sql, const EntryDayRecord& day)
{
    sql.setInt(QStringLiteral("IDD"), day.id);
    sql.setInt(QStringLiteral("IDU"), day.entryId);
    sql.setDate(QStringLiteral("DATUM"), day.date);
    sql.setDecimal3(QStringLiteral("KM1"), day.startKm);
    sql.setDecimal3(QStringLiteral("KM2"), day.endKm);
    sql.setDecimal3(QStringLiteral("DKM"), day.distance);
    sql.setInt(QStringLiteral("IDV"), day.vehicleId);
    const DayTotals& totals = day.totals;
    sql.setInt(QStringLiteral("S1"), totals.minutes(ActivityKind::Rest));
    sql.setInt(QStringLiteral("S2"), totals.minutes(ActivityKind::Availability));
    sql.setInt(QStringLiteral("S3"), totals.minutes(ActivityKind::OtherWork));
    sql.setInt(QStringLiteral("S4"), totals.minutes(ActivityKind::Driving));
    sql.setInt(QStringLiteral("S5"), totals.nightWork);
    sql.setInt(QStringLiteral("S6"), totals.nightAll);
    sql.setInt(QStringLiteral("N1"), totals.nightDriving);
    sql.setInt(QStringLiteral("N2"), totals.nightOtherWork);
    if (day.remark)
        sql.setText(QStringLiteral("NAP"), *day.remark);
    else
        sql.setNull(QStringLiteral("NAP"));
    if (!day.links) {
        sql.setInt(QStringLiteral("T1"), totals.workStart);
        sql.setInt(QStringLiteral("T2"), totals.workEnd);
    }
}

} // namespace

EntryWriter::EntryWriter(Transaction& write) : m_write(write) {}

Statement& EntryWriter::prepared(std::optional<Statement>& statement, const QString& sql)
{
    if (!statement) {
        statement.emplace(m_write);
        statement->prepare(sql);
    }
    return *statement;
}

void EntryWriter::insertEntry(const EntryRecord& entry)
{
    Statement& sql = entry.storedAt ? prepared(m_insertStampedEntry, kInsertStampedEntry)
                                    : prepared(m_insertEntry, kInsertEntry);
    BindEntry(sql, entry);
    sql.setOptionalInt(QStringLiteral("PT"), Optional(entry.subtype));
    if (entry.storedAt)
        sql.setTimestamp(QStringLiteral("DV"), *entry.storedAt);
    sql.execute();
}

void EntryWriter::updateEntry(const EntryRecord& entry)
{
    Statement& sql = prepared(m_updateEntry, kUpdateEntry);
    BindEntry(sql, entry);
    sql.execute();
}

void EntryWriter::insertDay(const EntryDayRecord& day)
{
    const std::optional<EntryDayRecord::Links>& links = day.links;
    Statement& sql = !links                 ? prepared(m_insertDay, kInsertDay)
                     : links->previousDayId ? prepared(m_insertFollowingDay, kInsertFollowingDay)
                                            : prepared(m_insertLinkedDay, kInsertLinkedDay);
    BindDay(sql, day);
    if (links) {
        sql.setInt(QStringLiteral("MF"), links->nextDayId ? 1 : 0);
        sql.setOptionalInt(QStringLiteral("IDMF"), Optional(links->nextDayId));
        if (links->previousDayId)
            sql.setInt(QStringLiteral("IDPF"), *links->previousDayId);
    }
    sql.execute();
}

void EntryWriter::updateDay(const EntryDayRecord& day)
{
    Statement& sql = prepared(m_updateDay, kUpdateDay);
    BindDay(sql, day);
    sql.execute();
}

void EntryWriter::deleteKnownIntervals(int dayId)
{
    Statement& sql = prepared(m_deleteIntervals, kDeleteIntervals);
    sql.setInt(QStringLiteral("IDD"), dayId);
    sql.execute();
}

void EntryWriter::insertIntervals(const DayIntervals& day)
{
    Statement& sql = day.driverId ? prepared(m_insertDriversInterval, kInsertDriversInterval)
                                  : prepared(m_insertInterval, kInsertInterval);
    int vehicleId = day.vehicleId;
    int crewFlags = day.crewFlags;
    // The moment a minute of the entry day stands for; 1440 and beyond lie on the next day.
    const QDateTime midnight(day.date, QTime(0, 0), Qt::UTC);
    for (std::size_t i = 0; i < day.intervals.size(); ++i) {
        const ActivityInterval& interval = day.intervals[i];
        if (interval.end <= interval.start)
            continue;
        if (i < day.perInterval.size()) {
            vehicleId = day.perInterval[i].vehicleId;
            crewFlags = day.perInterval[i].crewFlags;
        }
        sql.setInt(QStringLiteral("IDD"), day.dayId);
        sql.setInt(QStringLiteral("TOD"), interval.start);
        sql.setInt(QStringLiteral("TDO"), interval.end);
        sql.setInt(QStringLiteral("TAKT"), ActivityCode(interval.kind));
        sql.setDecimal3(QStringLiteral("KM"), interval.kilometres);
        sql.setDecimal3(QStringLiteral("LIT"), interval.litres);
        sql.setInt(QStringLiteral("IDV"), vehicleId);
        sql.setInt(QStringLiteral("SCP"), crewFlags);
        sql.setTimestamp(QStringLiteral("DT1"), midnight.addSecs(qint64(interval.start) * 60));
        sql.setTimestamp(QStringLiteral("DT2"), midnight.addSecs(qint64(interval.end) * 60));
        if (day.driverId)
            sql.setInt(QStringLiteral("IDVOZ"), *day.driverId);
        sql.execute();
    }
}

void EntryWriter::write(ManualEntry& entry)
{
    const bool newEntry = entry.isNew();
    const bool newDay = newEntry || entry.entryDayId == kNewId;
    const int entryId = newEntry ? NextKey(m_write, QStringLiteral("GEN_UNOS_ID")) : entry.entryId;
    const int dayId = newDay ? NextKey(m_write, QStringLiteral("GEN_DUNOS_ID")) : entry.entryDayId;

    const EntryRecord record{entryId, entry.driverId,
                             entry.detailed ? entry.subtype : std::optional<int>(kSubtypeSummary), entry.night,
                             std::nullopt};
    if (newEntry)
        insertEntry(record);
    else
        updateEntry(record);

    const EntryDayRecord day{dayId,          entryId,        entry.date,   entry.startKm, entry.endKm,
                             entry.distance, entry.vehicleId, EntryDayTotals(entry), entry.remark, std::nullopt};
    if (newDay)
        insertDay(day);
    else
        updateDay(day);

    if (!newEntry)
        deleteKnownIntervals(dayId);
    if (entry.detailed)
        insertIntervals(DayIntervals{dayId, entry.date, entry.intervals, entry.vehicleId,
                                     CrewFlags(entry.coDriver, entry.crew), std::nullopt, entry.perInterval});
    entry.entryId = entryId;
    entry.entryDayId = dayId;
}
