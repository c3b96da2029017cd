#include "masterdata/driver_store.h"

#include "common/day_serial.h"
#include "db/statement.h"

namespace {

const QString kSelect = QStringLiteral("SELECT * FROM DJELATNICI WHERE IDDJ=:ID");
const QString kInsert = QStringLiteral(
    "INSERT INTO DJELATNICI (IDDJ,IMEPREZIME,ZVANJE,RADNOMJESTO,VOZAC,AKTIVNOALL,NAPOMENA,OSOBNA,ADRESA,KONTAKT,MBR,TIP,TIPS,ZAP,\n"
    "VOZACKA, PUTOVNICA, ZAPOD, DATROD,OIB,KARTICA)\n"
    "VALUES (:ID,:IME,:ZV,:RM,:VO,:AK,:NAP,:OS,:ADR,:KON,:MBR,:TIP,:TPS,:ZAP,:VOZ,:PUT,:ZOD,:ROD,:OIB,:KAR)");
const QString kUpdate = QStringLiteral(
    "UPDATE DJELATNICI SET IMEPREZIME=:IME,ZVANJE=:ZV,RADNOMJESTO=:RM,VOZAC=:VO,\n"
    " NAPOMENA=:NAP,OSOBNA=:OS,ADRESA=:ADR,KONTAKT=:KON,AKTIVNOALL=:AK,MBR=:MBR,TIP=:TIP,TIPS=:TPS,ZAP=:ZAP,\n"
    " VOZACKA=:VOZ,PUTOVNICA=:PUT, ZAPOD=:ZOD,DATROD=:ROD,OIB=:OIB,KARTICA=:KAR\n"
    " WHERE IDDJ=:ID");

DriverRecord ReadRow(const Statement& sql)
{
    DriverRecord record;
    record.name = sql.textOr(QStringLiteral("IMEPREZIME"), QString());
    record.title = sql.textOr(QStringLiteral("ZVANJE"), QString());
    record.jobTitle = sql.textOr(QStringLiteral("RADNOMJESTO"), QString());
    record.driver = sql.intOr(QStringLiteral("VOZAC"), 0) != 0;
    record.active = sql.intOr(QStringLiteral("AKTIVNOALL"), 1) != 0;
    record.remark = sql.textOr(QStringLiteral("NAPOMENA"), QString());
    record.idCard = sql.textOr(QStringLiteral("OSOBNA"), QString());
    record.address = sql.textOr(QStringLiteral("ADRESA"), QString());
    record.contact = sql.textOr(QStringLiteral("KONTAKT"), QString());
    record.registrationNumber = sql.intOr(QStringLiteral("MBR"), 0);
    record.category = sql.intOr(QStringLiteral("TIP"), 0);
    record.categoryText = sql.textOr(QStringLiteral("TIPS"), QString());
    record.employment = sql.intOr(QStringLiteral("ZAP"), -1);
    record.licence = sql.textOr(QStringLiteral("VOZACKA"), QString());
    record.passport = sql.textOr(QStringLiteral("PUTOVNICA"), QString());
    record.employedSince = sql.dateValue(QStringLiteral("ZAPOD")).value_or(EmptyDate());
    record.birthDate = sql.dateValue(QStringLiteral("DATROD")).value_or(EmptyDate());
    record.oib = sql.textOr(QStringLiteral("OIB"), QString());
    record.card = sql.textOr(QStringLiteral("KARTICA"), QString());
    return record;
}

void SetParameters(Statement& sql, int id, const DriverRecord& record)
{
    sql.setInt(QStringLiteral("ID"), id);
    sql.setText(QStringLiteral("IME"), record.name);
    sql.setText(QStringLiteral("ZV"), record.title);
    sql.setText(QStringLiteral("RM"), record.jobTitle);
    sql.setInt(QStringLiteral("VO"), record.driver ? 1 : 0);
    sql.setInt(QStringLiteral("AK"), record.active ? 1 : 0);
    sql.setText(QStringLiteral("NAP"), record.remark);
    sql.setText(QStringLiteral("OS"), record.idCard);
    sql.setText(QStringLiteral("ADR"), record.address);
    sql.setText(QStringLiteral("KON"), record.contact);
    sql.setInt(QStringLiteral("MBR"), record.registrationNumber);
    sql.setInt(QStringLiteral("TIP"), record.category);
    sql.setText(QStringLiteral("TPS"), record.categoryText);
    sql.setInt(QStringLiteral("ZAP"), record.employment);
    sql.setText(QStringLiteral("VOZ"), record.licence);
    sql.setText(QStringLiteral("PUT"), record.passport);
    sql.setDate(QStringLiteral("ZOD"), record.employedSince);
    sql.setDate(QStringLiteral("ROD"), record.birthDate);
    sql.setText(QStringLiteral("OIB"), record.oib);
    sql.setText(QStringLiteral("KAR"), record.card);
}

}  // namespace

QDate EmptyDate()
{
    return DateFromSerial(0);
}

std::optional<DriverRecord> LoadDriver(Transaction& read, int id)
{
    std::optional<DriverRecord> record;
    ReadRecord(read, kSelect, id, [&](const Statement& row) { record = ReadRow(row); });
    return record;
}

int WriteDriver(Transaction& write, int id, const DriverRecord& record)
{
    return WriteRecord(write, id, QStringLiteral("GEN_DJELATNICI_ID"), kInsert, kUpdate,
                       [&](Statement& sql, int key) { SetParameters(sql, key, record); });
}

WriteResult StoreDriver(Transaction& write, int id, const DriverRecord& record)
{
    return RunWrite(write, [&] { return WriteDriver(write, id, record); });
}
