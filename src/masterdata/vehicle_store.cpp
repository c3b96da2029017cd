#include "masterdata/vehicle_store.h"

#include "db/statement.h"

namespace {

const QString kSelect = QStringLiteral("SELECT * FROM VOZILO WHERE IDVOZ=:ID");
const QString kInsert = QStringLiteral(
    "INSERT INTO VOZILO (IDVOZ,MARKAITIP,OZNAKA,MASA,NOSIVOST,UKUPNAMASA,VRSTA,NAPOMENA,GARBR,BRSASIJE,BRSJED,GODPRO,GODPREG,AKTIVNOALL)\n"
    "VALUES (:ID,:TIP,:OZ,:MA,:NO,:UK,:VR,:NA,:GBR,:BRS,:SJED,:GPRO,:GPREG,:AKT)");
const QString kUpdate = QStringLiteral(
    "UPDATE VOZILO SET MARKAITIP=:TIP,OZNAKA=:OZ,MASA=:MA,NOSIVOST=:NO,UKUPNAMASA=:UK,VRSTA=:VR,NAPOMENA=:NA,\n"
    "GARBR=:GBR,BRSASIJE=:BRS,BRSJED=:SJED,GODPRO=:GPRO,GODPREG=:GPREG,AKTIVNOALL=:AKT\n"
    " WHERE IDVOZ=:ID");
const QString kDelete = QStringLiteral("DELETE FROM VOZILO WHERE IDVOZ=:ID");

VehicleRecord ReadRow(const Statement& sql)
{
    VehicleRecord record;
    record.make = sql.textOr(QStringLiteral("MARKAITIP"), QString());
    record.plate = sql.textOr(QStringLiteral("OZNAKA"), QString());
    record.mass = sql.decimal3Value(QStringLiteral("MASA"));
    record.payload = sql.decimal3Value(QStringLiteral("NOSIVOST"));
    record.totalMass = sql.decimal3Value(QStringLiteral("UKUPNAMASA"));
    record.kind = sql.intOr(QStringLiteral("VRSTA"), 0);
    record.remark = sql.textOr(QStringLiteral("NAPOMENA"), QString());
    record.garageNumber = sql.textOr(QStringLiteral("GARBR"), QString());
    record.chassis = sql.textOr(QStringLiteral("BRSASIJE"), QString());
    record.seats = sql.intOr(QStringLiteral("BRSJED"), 0);
    record.yearMade = sql.intOr(QStringLiteral("GODPRO"), 0);
    record.yearRegistered = sql.intOr(QStringLiteral("GODPREG"), 0);
    record.active = sql.intOr(QStringLiteral("AKTIVNOALL"), 1) != 0;
    return record;
}

void SetParameters(Statement& sql, int id, const VehicleRecord& record)
{
    sql.setInt(QStringLiteral("ID"), id);
    sql.setText(QStringLiteral("TIP"), record.make);
    sql.setText(QStringLiteral("OZ"), record.plate);
    sql.setDecimal3(QStringLiteral("MA"), record.mass);
    sql.setDecimal3(QStringLiteral("NO"), record.payload);
    sql.setDecimal3(QStringLiteral("UK"), record.totalMass);
    sql.setInt(QStringLiteral("VR"), record.kind);
    sql.setText(QStringLiteral("NA"), record.remark);
    sql.setText(QStringLiteral("GBR"), record.garageNumber);
    sql.setText(QStringLiteral("BRS"), record.chassis);
    sql.setInt(QStringLiteral("SJED"), record.seats);
    sql.setInt(QStringLiteral("GPRO"), record.yearMade);
    sql.setInt(QStringLiteral("GPREG"), record.yearRegistered);
    sql.setInt(QStringLiteral("AKT"), record.active ? 1 : 0);
}

}  // namespace

QStringList VehicleKindNames()
{
    return {QStringLiteral("Kamion"), QStringLiteral("Priključno vozilo"), QStringLiteral("Osobno vozilo"),
            QStringLiteral("Autobus")};
}

std::optional<VehicleRecord> LoadVehicle(Transaction& read, int id)
{
    std::optional<VehicleRecord> record;
    ReadRecord(read, kSelect, id, [&](const Statement& row) { record = ReadRow(row); });
    return record;
}

int WriteVehicle(Transaction& write, int id, const VehicleRecord& record)
{
    return WriteRecord(write, id, QStringLiteral("GEN_VOZILO_ID"), kInsert, kUpdate,
                       [&](Statement& sql, int key) { SetParameters(sql, key, record); });
}

WriteResult StoreVehicle(Transaction& write, int id, const VehicleRecord& record)
{
    return RunWrite(write, [&] { return WriteVehicle(write, id, record); });
}

WriteResult DeleteVehicle(Transaction& write, int id)
{
    return RunWrite(write, [&] {
        Statement sql(write);
        sql.prepare(kDelete);
        sql.setInt(QStringLiteral("ID"), id);
        sql.execute();
        return id;
    });
}
