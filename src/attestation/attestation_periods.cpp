#include "attestation/attestation_periods.h"

#include "common/name_order.h"
#include "db/scopes.h"
#include "db/statement.h"

std::vector<AttestationPeriod> LoadAttestationPeriods(Transaction& read, const QDateTime& from, const QDateTime& to,
                                                      std::optional<int> driverId)
{
    ReadScope scope(read);
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT IDP,IDVOZ,TIP,RAZOD,RAZDO FROM AKTPOTVRDA\n"
                               "WHERE RAZOD<:T2 AND ((RAZDO IS NULL AND RAZOD>=:T1) OR RAZDO>:T1)%1\n"
                               "ORDER BY RAZOD,IDP")
                    .arg(driverId ? QStringLiteral(" AND IDVOZ=:IDV") : QString()));
    sql.setTimestamp(QStringLiteral("T1"), from);
    sql.setTimestamp(QStringLiteral("T2"), to);
    if (driverId)
        sql.setInt(QStringLiteral("IDV"), *driverId);
    sql.execute();
    std::vector<AttestationPeriod> periods;
    while (sql.next()) {
        const std::optional<qint64> id = sql.intValue(0);
        const std::optional<QDateTime> start = sql.timestampValue(3);
        if (!id || !start)
            continue;
        periods.push_back(AttestationPeriod{static_cast<int>(*id), sql.intOr(1, -1),
                                            sql.intOr(2, -1), *start, sql.timestampValue(4)});
    }
    return periods;
}

std::vector<Attestation> LoadAttestationsOfDays(Transaction& read, const QDate& from, const QDate& to,
                                                std::optional<int> driverId)
{
    ReadScope scope(read);
    Statement sql(read);
    sql.prepare(QStringLiteral("SELECT * FROM AKTPOTVRDA WHERE CAST(RAZOD AS DATE)<=:D2 AND\n"
                               "((RAZDO IS NULL AND CAST(RAZOD AS DATE)>=:D1) OR CAST(RAZDO AS DATE)>=:D1)%1\n"
                               "ORDER BY RAZOD,IDP")
                    .arg(driverId ? QStringLiteral(" AND IDVOZ=:IDV") : QString()));
    sql.setDate(QStringLiteral("D1"), from);
    sql.setDate(QStringLiteral("D2"), to);
    if (driverId)
        sql.setInt(QStringLiteral("IDV"), *driverId);
    sql.execute();
    std::vector<Attestation> attestations;
    while (sql.next())
        attestations.push_back(AttestationOfRow(sql));
    SortByName(attestations, [](const Attestation& attestation) { return attestation.driverName; });
    return attestations;
}
