#include "worktime_reference.h"

#include "temp_database.h"

std::vector<WorkTimeRow> PerDayWorkTimeRecord(TestConnection& data, int driverId, const QDate& from, const QDate& to)
{
    std::map<QDate, DaySums> sums;
    std::vector<AttestedPeriod> attestations;
    std::map<QDate, int> attested;
    data.write.startIfNotActive();
    Statement days(data.write);
    days.prepare("SELECT S1,S2,S3,S4,S5,S6,DKM,NAP,N1,N2 FROM DUNOS\nLEFT JOIN UNOS ON UNOS.IDUNOS=DUNOS.IDUNOS\n"
                 "WHERE UNOS.IDVOZAC=:IDDJ AND DUNOS.DATUM=:D");
    Statement covering(data.write);
    covering.prepare("SELECT * FROM AKTPOTVRDA\nWHERE\n(((:D>=CAST(RAZOD AS DATE)) AND (:D<=CAST(RAZDO AS DATE)))\n"
                     " OR ((RAZDO IS NULL) AND (:D=CAST(RAZOD AS DATE))))\nAND IDVOZ="
                     + QString::number(driverId) + "\nORDER BY RAZOD,IDP");
    // Every day of the whole weeks and reference periods counts; attestations only in the period.
    const auto [firstDay, lastDay] = WorkTimeReadDays(from, to, kDefaultReferenceMonths);
    for (QDate date = firstDay; date <= lastDay && from <= to; date = date.addDays(1)) {
        days.setInt("IDDJ", driverId);
        days.setDate("D", date);
        days.execute();
        DaySums day;
        while (days.next()) {
            const auto value = [&](int column) { return int(days.intValue(column).value_or(0)); };
            day.s1 += value(0);
            day.s2 += value(1);
            day.s3 += value(2);
            day.s4 += value(3);
            day.s5 += value(4);
            day.n1 += value(8);
            day.n2 += value(9);
            const QString note = days.textValue(7).value_or(QString());
            if (!note.isEmpty())
                day.notes = day.notes.isEmpty() ? note : day.notes + ' ' + note;
        }
        sums[date] = day;
        if (date < from || date > to)
            continue;
        covering.setDate("D", date);
        covering.execute();
        if (covering.next()) {
            // The first attestation that covers the day, as one that covers exactly this day.
            attestations.push_back(AttestedPeriod{int(covering.intValue("TIP").value_or(0)), date, date});
        }
        covering.close();
    }
    data.write.commit();
    return BuildWorkTimeRows(from, to, sums, attestations);
}
