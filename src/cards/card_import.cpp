#include "cards/card_import.h"

#include "common/decimal_text.h"
#include "common/time_text.h"
#include "db/db_error.h"
#include "db/scopes.h"
#include "db/statement.h"
#include "entries/entry_store.h"
#include "entries/entry_writer.h"
#include "masterdata/vehicle_store.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace {

// The driver identification: the card number without its replacement and renewal index, the
// same on every card the driver is issued.
constexpr int kDriverIdentificationLength = 14;
constexpr int kRemarkLength = 250;
const QString kNewVehicleMake = QStringLiteral("(s kartice vozača)");

QString KindMinutesText(const std::array<int, 4>& minutes)
{
    return QStringLiteral("odmor %1, spremnost %2, rad %3, vožnja %4")
        .arg(FormatMinutes(minutes[0]), FormatMinutes(minutes[1]), FormatMinutes(minutes[2]), FormatMinutes(minutes[3]));
}

QString SubtypeText(std::optional<int> type, std::optional<int> subtype)
{
    if (type.value_or(0) != kTypeOwnEntry)
        return QStringLiteral("Unos drugog programa");
    if (subtype == kSubtypeScannedChart)
        return QStringLiteral("Skenirani listić");
    if (subtype == kSubtypeDriverCard)
        return QStringLiteral("Digitalna kartica");
    if (subtype == kSubtypeSummary)
        return QStringLiteral("Sumarni unos");
    return QStringLiteral("Ručni unos");
}

bool SameCardNumber(const QString& stored, const QString& card)
{
    const QString a = ComparableText(stored);
    const QString b = ComparableText(card);
    if (a.isEmpty())
        return false;
    if (a.size() >= kDriverIdentificationLength && b.size() >= kDriverIdentificationLength)
        return a.left(kDriverIdentificationLength) == b.left(kDriverIdentificationLength);
    return a == b;
}

void FindDriver(Transaction& read, CardImportPlan& plan)
{
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT IDDJ,IMEPREZIME,KARTICA FROM DJELATNICI WHERE KARTICA IS NOT NULL ORDER BY IDDJ"));
    sql.execute();
    while (sql.next()) {
        if (SameCardNumber(sql.textOr(2, QString()), plan.download.holder.cardNumber)) {
            plan.driverId = sql.intOr(0, kNoneChosen);
            plan.driverName = sql.textOr(1, QString());
            return;
        }
    }
}

void FindVehicles(Transaction& read, CardImportPlan& plan)
{
    std::map<QString, int> byPlate;
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT IDVOZ,OZNAKA FROM VOZILO ORDER BY IDVOZ DESC"));
    sql.execute();
    while (sql.next())
        byPlate[ComparableText(sql.textOr(1, QString()))] = sql.intOr(0, kNoneChosen);
    for (const VehicleUse& use : plan.download.vehicles) {
        const auto found = byPlate.find(ComparableText(use.registration));
        plan.vehicleIds.push_back(found == byPlate.end() ? std::nullopt : std::optional<int>(found->second));
    }
}

// An interval as stored: start, end, kind, crew flags, vehicle.
using StoredInterval = std::tuple<int, int, int, int, int>;

std::vector<StoredInterval> StoredIntervals(Transaction& read, int dayId)
{
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT TOD,TDO,TAKT,SCP,IDVOZILO FROM SATIUNOS WHERE IDDUNOS=:IDD"));
    sql.setInt(QStringLiteral("IDD"), dayId);
    sql.execute();
    std::vector<StoredInterval> intervals;
    while (sql.next()) {
        intervals.emplace_back(sql.intOr(0, 0), sql.intOr(1, 0), sql.intOr(2, -1),
                               sql.intOr(3, 0), sql.intOr(4, kNoneChosen));
    }
    std::sort(intervals.begin(), intervals.end());
    return intervals;
}

std::vector<StoredInterval> EntryIntervals(const ManualEntry& entry)
{
    std::vector<StoredInterval> intervals;
    for (std::size_t i = 0; i < entry.intervals.size(); ++i) {
        const ActivityInterval& a = entry.intervals[i];
        intervals.emplace_back(a.start, a.end, ActivityCode(a.kind), entry.perInterval[i].crewFlags, entry.perInterval[i].vehicleId);
    }
    std::sort(intervals.begin(), intervals.end());
    return intervals;
}

// Whether the only entry on the date is this very card day, stored before.
bool StoredAlready(Transaction& read, const CardImportDay& day, const CardImportPlan& plan)
{
    if (day.existing.size() != 1 || day.existing.front().subtype != kSubtypeDriverCard || !plan.driverId)
        return false;
    std::vector<int> vehicleIds;
    for (const std::optional<int>& id : plan.vehicleIds)
        vehicleIds.push_back(id.value_or(kNoneChosen));
    const ManualEntry entry = CardDayEntry(day, plan, *plan.driverId, vehicleIds, NightWindow{});
    return day.existing.front().distance == entry.distance
        && StoredIntervals(read, day.existing.front().dayId) == EntryIntervals(entry);
}

void FindExistingDays(Transaction& read, CardImportPlan& plan)
{
    if (!plan.driverId || plan.days.empty())
        return;
    std::map<QDate, std::vector<ExistingDay>> byDate;
    Statement sql(read);
    sql.prepare(QStringLiteral(
        "SELECT DUNOS.DATUM,DUNOS.IDUNOS,DUNOS.IDD,UNOS.TIP,UNOS.PODTIP,DUNOS.DKM,DUNOS.S1,DUNOS.S2,DUNOS.S3,DUNOS.S4,"
        "(SELECT COUNT(*) FROM DUNOS D2 WHERE D2.IDUNOS=DUNOS.IDUNOS) FROM DUNOS JOIN UNOS ON UNOS.IDUNOS=DUNOS.IDUNOS "
        "WHERE UNOS.IDVOZAC=:IDV AND DUNOS.DATUM BETWEEN :D1 AND :D2"));
    sql.setInt(QStringLiteral("IDV"), *plan.driverId);
    sql.setDate(QStringLiteral("D1"), plan.days.front().day.date);
    sql.setDate(QStringLiteral("D2"), plan.days.back().day.date);
    sql.execute();
    while (sql.next()) {
        ExistingDay day;
        day.entryId = sql.intOr(1, 0);
        day.dayId = sql.intOr(2, 0);
        const auto number = [&](int column) { return sql.intValue(column) ? std::optional<int>(int(*sql.intValue(column))) : std::nullopt; };
        day.type = number(3);
        day.subtype = number(4);
        day.distance = sql.decimal3Value(5);
        for (int k = 0; k < 4; ++k)
            day.kindMinutes[std::size_t(k)] = number(6 + k).value_or(0);
        day.spansOtherDays = number(10).value_or(1) > 1;
        byDate[sql.dateValue(0).value_or(QDate())].push_back(day);
    }
    sql.close();
    for (CardImportDay& day : plan.days) {
        const auto found = byDate.find(day.day.date);
        if (found == byDate.end())
            continue;
        day.existing = found->second;
        day.state = StoredAlready(read, day, plan) ? CardDayState::Unchanged : CardDayState::Conflict;
    }
}

// The vehicles the days to store use, by index in the download.
std::set<std::size_t> VehiclesInUse(const CardImportPlan& plan)
{
    std::set<std::size_t> used;
    for (const CardImportDay& day : plan.days) {
        if (day.day.vehicle)
            used.insert(*day.day.vehicle);
        for (const CardInterval& interval : day.day.intervals) {
            if (interval.vehicle)
                used.insert(*interval.vehicle);
        }
    }
    return used;
}

QString Plural(int count, const char* one, const char* few, const char* many)
{
    const int lastTwo = count % 100;
    const int last = count % 10;
    const char* word = last == 1 && lastTwo != 11 ? one : last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14) ? few : many;
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromUtf8(word));
}

} // namespace

QString ComparableText(const QString& text)
{
    QString comparable;
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            comparable += c.toUpper();
    }
    return comparable;
}

QString ExistingDay::text() const
{
    return SubtypeText(type, subtype) + QStringLiteral(": ") + KindMinutesText(kindMinutes) + QStringLiteral(", ")
        + FormatDecimalZero(distance.toText()) + QStringLiteral(" km");
}

bool CardImportDay::replaceable() const
{
    return std::none_of(existing.begin(), existing.end(), [](const ExistingDay& e) { return e.spansOtherDays; });
}

QString CardImportDay::cardText() const
{
    std::array<int, 4> minutes{};
    for (const CardInterval& interval : day.intervals)
        minutes[std::size_t(interval.activity)] += interval.end - interval.start;
    return KindMinutesText(minutes) + QStringLiteral(", %1 km").arg(day.distanceKm);
}

QStringList CardImportPlan::unknownVehicles() const
{
    QStringList plates;
    QStringList seen;
    for (const std::size_t i : VehiclesInUse(*this)) {
        const QString comparable = ComparableText(download.vehicles[i].registration);
        if (!vehicleIds[i] && !seen.contains(comparable)) {
            seen << comparable;
            plates << download.vehicles[i].registration;
        }
    }
    return plates;
}

CardImportPlan PlanCardImport(Transaction& read, CardDownload download, SignatureStatus signature)
{
    ReadScope scope(read);
    CardImportPlan plan;
    plan.signature = std::move(signature);
    plan.download = std::move(download);
    for (CardDay& day : LocalCardDays(plan.download)) {
        CardImportDay imported;
        imported.day = std::move(day);
        plan.days.push_back(std::move(imported));
    }
    FindDriver(read, plan);
    FindVehicles(read, plan);
    FindExistingDays(read, plan);
    return plan;
}

DriverRecord DriverFromHolder(const CardHolder& holder)
{
    DriverRecord driver;
    driver.name = (holder.surname.toUpper() + QLatin1Char(' ') + holder.firstNames).trimmed();
    driver.driver = true;
    driver.employedSince = EmptyDate();
    driver.birthDate = holder.birthDate.isValid() ? holder.birthDate : EmptyDate();
    driver.card = holder.cardNumber;
    return driver;
}

ManualEntry CardDayEntry(const CardImportDay& day, const CardImportPlan& plan, int driverId, const std::vector<int>& vehicleIds,
                         NightWindow night)
{
    ManualEntry entry;
    entry.driverId = driverId;
    entry.vehicleId = day.day.vehicle ? vehicleIds[*day.day.vehicle] : kNoneChosen;
    entry.date = day.day.date;
    entry.distance = Decimal3::fromWhole(day.day.distanceKm);
    entry.remark = (QStringLiteral("Digitalna kartica ") + plan.download.holder.cardNumber).left(kRemarkLength);
    entry.night = night;
    entry.detailed = true;
    entry.subtype = kSubtypeDriverCard;
    for (const CardInterval& interval : day.day.intervals) {
        entry.intervals.push_back(ActivityInterval{*ActivityKindFromCode(interval.activity), interval.start, interval.end, {}, {}});
        entry.perInterval.push_back(IntervalCrewAndVehicle{CrewFlags(interval.coDriver, interval.crew),
                                                           interval.vehicle ? vehicleIds[*interval.vehicle] : entry.vehicleId});
    }
    return entry;
}

CardImportResult RunCardImport(Transaction& write, const CardImportPlan& plan, NightWindow night, bool createMissing)
{
    CardImportResult result;
    const QStringList unknownVehicles = plan.unknownVehicles();
    if (!createMissing && !plan.driverId) {
        result.message = QStringLiteral("Vozač s karticom %1 (%2 %3) nije u evidenciji.")
                             .arg(plan.download.holder.cardNumber, plan.download.holder.surname, plan.download.holder.firstNames);
        return result;
    }
    if (!createMissing && !unknownVehicles.isEmpty()) {
        result.message = QStringLiteral("Vozila nisu u evidenciji: %1.").arg(unknownVehicles.join(QStringLiteral(", ")));
        return result;
    }
    if (std::any_of(plan.days.begin(), plan.days.end(), [](const CardImportDay& d) { return !d.day.vehicle; })) {
        result.message = QStringLiteral("Datoteka %1 ne navodi ni jedno vozilo.").arg(plan.download.fileName);
        return result;
    }

    CardImportResult counts;
    try {
        WriteScope scope(write);
        const int driverId = plan.driverId ? *plan.driverId : WriteDriver(write, kNewId, DriverFromHolder(plan.download.holder));
        counts.driverCreated = !plan.driverId;

        std::vector<int> vehicleIds(plan.download.vehicles.size(), kNoneChosen);
        std::map<QString, int> created;
        for (const std::size_t i : VehiclesInUse(plan)) {
            if (plan.vehicleIds[i]) {
                vehicleIds[i] = *plan.vehicleIds[i];
                continue;
            }
            const QString comparable = ComparableText(plan.download.vehicles[i].registration);
            if (!created.count(comparable)) {
                VehicleRecord vehicle;
                vehicle.make = kNewVehicleMake;
                vehicle.plate = plan.download.vehicles[i].registration;
                created[comparable] = WriteVehicle(write, kNewId, vehicle);
            }
            vehicleIds[i] = created[comparable];
        }
        counts.vehiclesCreated = int(created.size());

        EntryWriter entries(write);

        for (const CardImportDay& day : plan.days) {
            if (day.state == CardDayState::Unchanged) {
                ++counts.unchanged;
                continue;
            }
            if (day.state == CardDayState::Conflict) {
                if (!day.replace || !day.replaceable()) {
                    ++counts.conflictsKept;
                    continue;
                }
                for (const ExistingDay& existing : day.existing) {
                    DeleteEntryRows(write, existing.entryId, existing.type, existing.subtype);
                }
                ++counts.replaced;
            } else {
                ++counts.stored;
            }
            ManualEntry entry = CardDayEntry(day, plan, driverId, vehicleIds, night);
            entries.write(entry);
        }
        scope.commit();
    } catch (const DbError& error) {
        result.message = error.text();
        return result;
    }
    counts.done = true;
    return counts;
}

QString CardImportSummary(const CardImportPlan& plan, const CardImportResult& result)
{
    const CardHolder& holder = plan.download.holder;
    QString text = QStringLiteral("%1: %2 %3 (%4), %5")
                       .arg(plan.download.fileName, holder.surname, holder.firstNames, holder.cardNumber,
                            Plural(int(plan.days.size()), "dan", "dana", "dana"));
    if (!result.done) {
        text += QStringLiteral(" — ništa nije uvezeno: ") + result.message;
    } else {
        QStringList done;
        done << QStringLiteral("uvezeno %1").arg(result.stored);
        if (result.replaced)
            done << QStringLiteral("zamijenjeno %1").arg(result.replaced);
        if (result.unchanged)
            done << QStringLiteral("već uvezeno %1").arg(result.unchanged);
        if (result.conflictsKept)
            done << QStringLiteral("sukoba zadržano %1").arg(result.conflictsKept);
        if (result.driverCreated)
            done << QStringLiteral("novi vozač");
        if (result.vehiclesCreated)
            done << QStringLiteral("novih vozila %1").arg(result.vehiclesCreated);
        text += QStringLiteral(": ") + done.join(QStringLiteral(", "));
    }
    return text + QStringLiteral("; ") + plan.signature.text + QLatin1Char('.');
}
