#include "attestation/attestation_record.h"

#include "common/conversion_error.h"
#include "common/day_serial.h"
#include "common/time_text.h"
#include "db/statement.h"

#include <QTime>

namespace {

const QString kInsert = QStringLiteral(
    "INSERT INTO AKTPOTVRDA (IDDJ,IDVOZ,MODEL,TIP,NAZIV,ULICA,DRZAVA,TEL,FAKS,MAIL,IME1,FUNKCIJA,\n"
    " IME2, DROD, BROJEVI, DZAP, RAZOD, RAZDO, MJESTO, DATUM,MPOTPIS,DPOTPIS,PISP)\n"
    "VALUES (:IDDJ,:IDV,0,:TIP,:NAZIV,:ULICA,:DRZAVA,:TEL,:FAKS,:MAIL,:IME1,:FUNKCIJA,:IME2,:DROD,\n"
    " :BROJEVI,:DZAP,:RAZOD,:RAZDO,:MJESTO,:DATUM,:MPOTPIS,:DPOTPIS,:PISP)\n"
    "RETURNING IDP");
const QString kUpdate = QStringLiteral(
    "UPDATE AKTPOTVRDA\n"
    "SET IDDJ=:IDDJ,IDVOZ=:IDV,MODEL=0,TIP=:TIP,NAZIV=:NAZIV,ULICA=:ULICA,DRZAVA=:DRZAVA,\n"
    "TEL=:TEL,FAKS=:FAKS,MAIL=:MAIL,IME1=:IME1,FUNKCIJA=:FUNKCIJA,IME2=:IME2,DROD=:DROD,BROJEVI=:BROJEVI,\n"
    "DZAP=:DZAP,RAZOD=:RAZOD,RAZDO=:RAZDO,MJESTO=:MJESTO,DATUM=:DATUM,MPOTPIS=:MPOTPIS,DPOTPIS=:DPOTPIS,PISP=:PISP\n"
    "WHERE IDP=:ID");

QDateTime AtTime(const QDate& date, const QString& time)
{
    const int minutes = time.trimmed().isEmpty() ? 0 : MinutesBetween(ParseTimeText(time), 0);
    return QDateTime(date, QTime(0, 0), Qt::UTC).addSecs(qint64(minutes) * 60);
}

void SetDate(Statement& sql, const QString& name, const QDate& date)
{
    if (date.isValid() && date != DayZero())
        sql.setDate(name, date);
    else
        sql.setNull(name);
}

QString TimeOfDay(const QDateTime& moment)
{
    return moment.time().toString(QStringLiteral("HH:mm"));
}

}  // namespace

QStringList AttestedActivityTexts()
{
    return {QStringLiteral("bio na bolovanju"), QStringLiteral("bio na godišnjem odmoru"), QStringLiteral("ostali izostanci"),
            QStringLiteral("upravljao vozilom izuzetim iz primjene Uredbe 561/2006"),
            QStringLiteral("obavljao druge poslove osim upravljanja vozilom"), QStringLiteral("bio na raspolaganju")};
}

QDate DayZero()
{
    return DateFromSerial(0);
}

QDateTime PeriodStart(const Attestation& attestation)
{
    return AtTime(attestation.from, attestation.fromTime);
}

std::optional<QDateTime> PeriodEnd(const Attestation& attestation)
{
    if (!attestation.hasEnd)
        return std::nullopt;
    return AtTime(attestation.to, attestation.toTime);
}

WriteResult StoreAttestation(Transaction& write, int id, const Attestation& a)
{
    if (a.activity < 0)
        return WriteResult{false, kNoActivityMessage};
    QDateTime start;
    std::optional<QDateTime> end;
    try {
        start = PeriodStart(a);
        end = PeriodEnd(a);
    } catch (const ConversionError& error) {
        return WriteResult{false, error.text()};
    }
    return RunWrite(write, [&] {
        Statement sql(write);
        sql.prepare(id < 0 ? kInsert : kUpdate);
        if (id >= 0)
            sql.setInt(QStringLiteral("ID"), id);
        sql.setInt(QStringLiteral("IDDJ"), a.fillerId);
        sql.setInt(QStringLiteral("IDV"), a.driverId);
        sql.setInt(QStringLiteral("TIP"), a.activity);
        sql.setText(QStringLiteral("NAZIV"), a.company);
        sql.setText(QStringLiteral("ULICA"), a.street);
        sql.setText(QStringLiteral("DRZAVA"), a.country);
        sql.setText(QStringLiteral("TEL"), a.telephone);
        sql.setText(QStringLiteral("FAKS"), a.fax);
        sql.setText(QStringLiteral("MAIL"), a.email);
        sql.setText(QStringLiteral("IME1"), a.fillerName);
        sql.setText(QStringLiteral("FUNKCIJA"), a.fillerPosition);
        sql.setText(QStringLiteral("IME2"), a.driverName);
        SetDate(sql, QStringLiteral("DROD"), a.birthDate);
        sql.setText(QStringLiteral("BROJEVI"), a.documents);
        SetDate(sql, QStringLiteral("DZAP"), a.employedSince);
        sql.setTimestamp(QStringLiteral("RAZOD"), start);
        if (end)
            sql.setTimestamp(QStringLiteral("RAZDO"), *end);
        else
            sql.setNull(QStringLiteral("RAZDO"));
        sql.setText(QStringLiteral("MJESTO"), a.place);
        sql.setDate(QStringLiteral("DATUM"), a.date);
        sql.setText(QStringLiteral("MPOTPIS"), a.signaturePlace);
        sql.setDate(QStringLiteral("DPOTPIS"), a.signatureDate);
        sql.setOptionalInt(QStringLiteral("PISP"), a.printSignature ? std::optional<qint64>(1) : std::nullopt);
        sql.execute();
        if (id >= 0)
            return id;
        return sql.next() ? sql.intOr(0, -1) : -1;
    });
}

std::optional<Attestation> LoadAttestation(Transaction& read, int id)
{
    ReadScope scope(read);
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT * FROM AKTPOTVRDA WHERE IDP=:ID"));
    sql.setInt(QStringLiteral("ID"), id);
    sql.execute();
    if (!sql.next())
        return std::nullopt;
    return AttestationOfRow(sql);
}

Attestation AttestationOfRow(const Statement& sql)
{
    Attestation a;
    a.fillerId = sql.intOr(QStringLiteral("IDDJ"), -1);
    a.driverId = sql.intOr(QStringLiteral("IDVOZ"), -1);
    a.activity = sql.intOr(QStringLiteral("TIP"), -1);
    a.company = sql.textOr(QStringLiteral("NAZIV"), QString());
    a.street = sql.textOr(QStringLiteral("ULICA"), QString());
    a.country = sql.textOr(QStringLiteral("DRZAVA"), QString());
    a.telephone = sql.textOr(QStringLiteral("TEL"), QString());
    a.fax = sql.textOr(QStringLiteral("FAKS"), QString());
    a.email = sql.textOr(QStringLiteral("MAIL"), QString());
    a.fillerName = sql.textOr(QStringLiteral("IME1"), QString());
    a.fillerPosition = sql.textOr(QStringLiteral("FUNKCIJA"), QString());
    a.driverName = sql.textOr(QStringLiteral("IME2"), QString());
    a.birthDate = sql.dateValue(QStringLiteral("DROD")).value_or(DayZero());
    a.documents = sql.textOr(QStringLiteral("BROJEVI"), QString());
    a.employedSince = sql.dateValue(QStringLiteral("DZAP")).value_or(DayZero());
    const QDateTime start = sql.timestampValue(QStringLiteral("RAZOD")).value_or(QDateTime(DayZero(), QTime(0, 0), Qt::UTC));
    a.from = start.date();
    a.fromTime = TimeOfDay(start);
    if (const std::optional<QDateTime> end = sql.timestampValue(QStringLiteral("RAZDO"))) {
        a.hasEnd = true;
        a.to = end->date();
        a.toTime = TimeOfDay(*end);
    } else {
        // Without an end the "Do:" fields show the start.
        a.to = a.from;
        a.toTime = a.fromTime;
    }
    a.place = sql.textOr(QStringLiteral("MJESTO"), QString());
    a.date = sql.dateValue(QStringLiteral("DATUM")).value_or(DayZero());
    a.signaturePlace = sql.textOr(QStringLiteral("MPOTPIS"), QString());
    a.signatureDate = sql.dateValue(QStringLiteral("DPOTPIS")).value_or(DayZero());
    a.printSignature = sql.intValue(QStringLiteral("PISP")) == 1;
    return a;
}

std::optional<Filler> LatestFiller(Transaction& read)
{
    ReadScope scope(read);
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT FIRST 1 IME1,FUNKCIJA,IDDJ FROM AKTPOTVRDA ORDER BY IDP DESC"));
    sql.execute();
    if (!sql.next())
        return std::nullopt;
    return Filler{sql.textOr(0, QString()), sql.textOr(1, QString()),
                  sql.intOr(2, -1)};
}

QString DocumentNumbers(const QString& idCard, const QString& licence, const QString& passport)
{
    QString text = idCard;
    if (!licence.isEmpty())
        text += QLatin1Char('/') + licence;
    if (!passport.isEmpty())
        text += QLatin1Char('/') + passport;
    return text;
}
