#include "temp_database.h"

#include "compliance/record_gaps.h"
#include "entries/entry_store.h"

#include <QtTest>

namespace {

// A moment of 2026 written "03-02T18:00".
Minute At(const QString& text)
{
    return MinuteOfMoment(QDateTime::fromString(QStringLiteral("2026-") + text, Qt::ISODate));
}

QString MomentText(Minute minute)
{
    return IsoMinuteText(minute).mid(5);
}

// What a driver has, as "; "-separated items: "V 03-02T06:00 03-02T18:00" an interval (V driving,
// N other work, M availability, B rest), "S 03-09" a summary day with 8 h of driving,
// "A3:1 03-03T00:00 03-05T00:00" attestation 3 of activity 1, "A3:1 03-03T00:00" one without an
// end.
struct Items {
    DriverTimeline timeline;
    std::vector<AttestedSpan> attestations;
};

Items Read(const QString& text)
{
    Items items;
    items.timeline.driverId = 7;
    for (const QString& item : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QChar letter = parts[0][0];
        if (letter == QLatin1Char('S')) {
            items.timeline.summaries.push_back(
                SummaryDay{DateOfMinute(At(parts[1] + QStringLiteral("T00:00"))), 480, 0, 0});
        } else if (letter == QLatin1Char('A')) {
            const QStringList key = parts[0].mid(1).split(QLatin1Char(':'));
            items.attestations.push_back(AttestedSpan{key[0].toInt(), key[1].toInt(), At(parts[1]),
                                                      parts.size() > 2 ? std::optional<Minute>(At(parts[2])) : std::nullopt});
        } else {
            items.timeline.intervals.push_back(
                TimelineInterval{At(parts[1]), At(parts[2]), *ActivityKindForQuickKey(letter), false, NightWindow{}});
        }
    }
    return items;
}

QString Side(const std::optional<GapNeighbour>& neighbour)
{
    if (!neighbour)
        return QStringLiteral("-");
    switch (neighbour->source) {
    case GapNeighbour::Source::Activity:
        return QString(ActivityQuickKey(*ActivityKindFromCode(neighbour->kind)));
    case GapNeighbour::Source::Summary:
        return QStringLiteral("S");
    case GapNeighbour::Source::Attestation:
        return QStringLiteral("A%1").arg(neighbour->kind);
    }
    return QString();
}

// A gap as "V 03-02T18:00..03-05T18:00 B": what lies before, the span, what follows; then what
// its attestation would cover when that differs from the span, and the suggested activity.
QString Described(const RecordGap& gap)
{
    QString text = Side(gap.before) + QLatin1Char(' ') + MomentText(gap.span.start) + QStringLiteral("..")
                 + MomentText(gap.span.end) + QLatin1Char(' ') + Side(gap.after);
    if (gap.attested() != gap.span)
        text += QStringLiteral(" attest ") + MomentText(gap.attested().start) + QStringLiteral("..") + MomentText(gap.attested().end);
    if (gap.suggestedActivity >= 0)
        text += QStringLiteral(" act %1").arg(gap.suggestedActivity);
    return text;
}

// A conflict as "overlap-work 03-10T06:00..03-10T14:00 #1" ("#1/#2" for two attestations).
QString Described(const RecordConflict& conflict)
{
    QString text = ConflictCode(conflict.kind) + QLatin1Char(' ') + MomentText(conflict.span.start) + QStringLiteral("..")
                 + MomentText(conflict.span.end) + QStringLiteral(" #%1").arg(conflict.attestationId);
    if (conflict.otherAttestationId >= 0)
        text += QStringLiteral("/#%1").arg(conflict.otherAttestationId);
    return text;
}

template <typename T>
QString Joined(const std::vector<T>& found)
{
    QStringList texts;
    for (const T& item : found)
        texts << Described(item);
    return texts.join(QStringLiteral("; "));
}

// The period 1 to 28 March 2026; what was read, February to April.
const GapScope kScope{Span{At("02-01T00:00"), At("04-30T00:00")}, Span{At("03-01T00:00"), At("03-29T00:00")},
                      kDefaultGapMinimum};

// Records of the whole time read but from `from` to `to`.
QString RestAround(const QString& from, const QString& to)
{
    return QStringLiteral("B 02-01T00:00 %1; B %2 04-30T00:00;").arg(from, to);
}

}  // namespace

class TestRecordGaps : public QObject {
    Q_OBJECT
private slots:
    void gapsAndConflicts_data();
    void gapsAndConflicts();
    void readsDriversRecordsAndAttestations();
};

void TestRecordGaps::gapsAndConflicts_data()
{
    QTest::addColumn<QString>("items");
    QTest::addColumn<QString>("gaps");
    QTest::addColumn<QString>("conflicts");

    const QString hole = RestAround("03-02T06:00", "03-05T18:00") + "V 03-02T06:00 03-02T18:00;";
    QTest::newRow("records on both sides of a 3-day hole") << hole << "V 03-02T18:00..03-05T18:00 B" << "";
    QTest::newRow("hole over the period's start") << "B 02-01T00:00 02-27T18:00; B 03-03T06:00 04-30T00:00"
                                                  << "B 03-01T00:00..03-03T06:00 B attest 02-27T18:00..03-03T06:00" << "";
    QTest::newRow("nothing known before the period") << "B 03-03T06:00 04-30T00:00" << "- 03-01T00:00..03-03T06:00 B" << "";
    QTest::newRow("hole at the period's end")
        << "B 02-01T00:00 03-26T12:00" << "B 03-26T12:00..03-29T00:00 -" << "";
    QTest::newRow("hole after the period's end") << RestAround("03-28T12:00", "03-30T12:00")
                                                 << "B 03-28T12:00..03-29T00:00 B attest 03-28T12:00..03-30T12:00" << "";
    QTest::newRow("20 hours are rest") << RestAround("03-02T18:00", "03-03T14:00") << "" << "";
    QTest::newRow("24 hours are a gap") << RestAround("03-02T18:00", "03-03T18:00") << "B 03-02T18:00..03-03T18:00 B" << "";
    QTest::newRow("hole covered by an attestation") << hole + "A1:1 03-02T18:00 03-05T18:00" << "" << "";
    QTest::newRow("hole half covered") << hole + "A1:1 03-02T18:00 03-04T06:00" << "A1 03-04T06:00..03-05T18:00 B act 1"
                                       << "";
    QTest::newRow("rest of the hole after an attestation too short") << hole + "A1:1 03-02T18:00 03-05T00:00" << ""
                                                                     << "";
    QTest::newRow("attestation starting after the hole's start")
        << hole + "A1:5 03-04T06:00 03-05T18:00" << "V 03-02T18:00..03-04T06:00 A5 act 5" << "";
    QTest::newRow("two overlapping attestations") << hole + "A1:1 03-02T18:00 03-04T18:00; A2:1 03-04T00:00 03-05T18:00"
                                                  << "" << "overlap-attestation 03-04T00:00..03-04T18:00 #1/#2";
    QTest::newRow("attestation across recorded driving")
        << RestAround("03-10T06:00", "03-10T14:00")
               + "V 03-10T06:00 03-10T09:00; M 03-10T09:00 03-10T12:00; N 03-10T12:00 03-10T14:00; A1:0 03-09T00:00 03-12T00:00"
        << "" << "overlap-work 03-10T06:00..03-10T14:00 #1";
    QTest::newRow("attestation over rest only") << RestAround("03-10T06:00", "03-10T06:00") + "A1:0 03-09T00:00 03-12T00:00"
                                                << "" << "";
    QTest::newRow("attestation over a summary day of work")
        << RestAround("03-09T00:00", "03-10T00:00") + "S 03-09; A1:4 03-09T12:00 03-09T20:00" << ""
        << "overlap-work 03-09T12:00..03-09T20:00 #1";
    // Without an end it covers its own day only; the records after it tell where it should end.
    QTest::newRow("open attestation followed by records")
        << RestAround("03-02T18:00", "03-06T06:00") + "A1:0 03-03T00:00" << "A0 03-04T00:00..03-06T06:00 B act 0"
        << "open-end 03-03T00:00..03-06T06:00 #1";
    QTest::newRow("open attestation, nothing after it")
        << "B 02-01T00:00 03-02T18:00; A1:0 03-03T08:00"
        << "A0 03-04T00:00..03-29T00:00 - act 0" << "";
    QTest::newRow("conflicts before the period are not listed")
        << RestAround("02-10T06:00", "02-10T14:00") + "V 02-10T06:00 02-10T14:00; A1:0 02-10T00:00 02-11T00:00" << "" << "";
    QTest::newRow("no records at all") << "" << "- 03-01T00:00..03-29T00:00 -" << "";
}

void TestRecordGaps::gapsAndConflicts()
{
    QFETCH(QString, items);
    const Items read = Read(items);
    const GapResult result = FindGaps(read.timeline, read.attestations, kScope);
    QTEST(Joined(result.gaps), "gaps");
    QTEST(Joined(result.conflicts), "conflicts");
    for (const RecordGap& gap : result.gaps)
        QCOMPARE(gap.driverId, 7);
}

void TestRecordGaps::readsDriversRecordsAndAttestations()
{
    TempDatabase file;
    TestConnection data;
    QCOMPARE(ConnectUpgraded(data, file.path()), QStringList());
    data.write.startIfNotActive();
    data.script.execute(
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC) VALUES (5, 'Šarić Ivo', 1);\n"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, AKTIVNOALL) VALUES (6, 'Babić Ana', 1, 0);\n"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, ZAPOD) VALUES (7, 'Čolić Eva', 1, '2026-03-10');\n"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC) VALUES (8, 'Cvitan Ante', 0);\n"
        "INSERT INTO AKTPOTVRDA (IDP, IDVOZ, TIP, RAZOD, RAZDO) VALUES (1, 5, 1, '2026-03-03 00:00', '2026-03-04 00:00');\n"
        "INSERT INTO AKTPOTVRDA (IDP, IDVOZ, TIP, RAZOD) VALUES (2, 5, 2, '2026-03-19 08:00');");
    data.write.commit();
    // Šarić: every day of March but the 3rd to the 5th has a record, the 20th one of day sums.
    for (int day = 1; day <= 31; ++day) {
        if (day >= 3 && day <= 5)
            continue;
        ManualEntry entry;
        entry.driverId = 5;
        entry.vehicleId = 1;
        entry.date = QDate(2026, 3, day);
        entry.detailed = day != 20;
        if (entry.detailed)
            entry.intervals = {ActivityInterval{ActivityKind::Rest, 0, 1440, {}, {}}};
        else
            entry.summary.day[3] = 480;
        QVERIFY(StoreManualEntry(data.write, entry).done);
    }

    // Every active driver (not the inactive one, not the employee who is no driver), by name;
    // Čolić from the day he started; the period cut at the moment given.
    const QDateTime now(QDate(2026, 3, 25), QTime(12, 0), Qt::UTC);
    const std::vector<DriverGaps> all = FindRecordGaps(data.read, QDate(2026, 3, 1), QDate(2026, 3, 31), std::nullopt,
                                                       kDefaultGapMinimum, now);
    QCOMPARE(all.size(), size_t(2));
    QCOMPARE(all[0].name, QStringLiteral("Čolić Eva"));
    QCOMPARE(Joined(all[0].result.gaps), QStringLiteral("- 03-10T00:00..03-25T12:00 -"));
    QCOMPARE(all[1].name, QStringLiteral("Šarić Ivo"));
    // The attestation of the 3rd covers that day; the one without an end covers the 19th only.
    QCOMPARE(Joined(all[1].result.gaps), QStringLiteral("A1 03-04T00:00..03-06T00:00 B act 1"));
    QCOMPARE(Joined(all[1].result.conflicts), QStringLiteral("open-end 03-19T08:00..03-20T00:00 #2"));

    // One driver by his key, active or not; nobody for a key without an employee.
    const std::vector<DriverGaps> one =
        FindRecordGaps(data.read, QDate(2026, 3, 1), QDate(2026, 3, 2), 6, kDefaultGapMinimum, now);
    QCOMPARE(one.size(), size_t(1));
    QCOMPARE(Joined(one[0].result.gaps), QStringLiteral("- 03-01T00:00..03-03T00:00 -"));
    QVERIFY(FindRecordGaps(data.read, QDate(2026, 3, 1), QDate(2026, 3, 2), 99, kDefaultGapMinimum, now).empty());
    // Before Čolić started nothing is missing.
    const std::vector<DriverGaps> before =
        FindRecordGaps(data.read, QDate(2026, 3, 1), QDate(2026, 3, 9), 7, kDefaultGapMinimum, now);
    QCOMPARE(before.size(), size_t(1));
    QVERIFY(before[0].result.gaps.empty());
}

QTEST_MAIN(TestRecordGaps)
#include "tst_record_gaps.moc"
