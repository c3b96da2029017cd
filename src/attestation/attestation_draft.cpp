#include "attestation/attestation_draft.h"

#include "attestation/attestation_record.h"
#include "db/scopes.h"
#include "db/statement.h"

std::optional<AttestationDriver> LoadAttestationDriver(Transaction& read, int driverId)
{
    ReadScope scope(read);
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT IMEPREZIME,OSOBNA,VOZACKA,PUTOVNICA,DATROD,ZAPOD FROM DJELATNICI WHERE IDDJ=:ID"));
    sql.setInt(QStringLiteral("ID"), driverId);
    sql.execute();
    if (!sql.next())
        return std::nullopt;
    return AttestationDriver{sql.textOr(0, QString()),
                             DocumentNumbers(sql.textOr(1, QString()), sql.textOr(2, QString()), sql.textOr(3, QString())),
                             sql.dateValue(4).value_or(DayZero()), sql.dateValue(5).value_or(DayZero())};
}
