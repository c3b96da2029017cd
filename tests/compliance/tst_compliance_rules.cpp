#include "temp_database.h"

#include "compliance/compliance_rules.h"
#include "temp_database.h"
#include "entries/entry_store.h"

#include <QtTest>

namespace {

// A driver's time written as the rules' examples are: "@2026-03-04T06:00" sets the clock (the
// time jumped over has no record), "V4:30" driving, "N" other work, "M" availability, "B" rest,
// "?0:45" time without any record; "crew" marks the following intervals as multi-manning,
// "nonight" gives them an entry without a night window; "S2026-03-04:601/0/30" is a summary day
// of 601 minutes of driving, 0 of other work and 30 of night work.
DriverTimeline Timeline(const QString& text)
{
    DriverTimeline timeline;
    timeline.driverId = 7;
    Minute clock = 0;
    bool crew = false;
    NightWindow night;
    for (const QString& token : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (token.startsWith(QLatin1Char('@'))) {
            const QDateTime at = QDateTime::fromString(token.mid(1), Qt::ISODate);
            clock = MinuteOf(at.date(), at.time().hour() * 60 + at.time().minute());
        } else if (token == QLatin1String("crew")) {
            crew = true;
        } else if (token == QLatin1String("nonight")) {
            night = NightWindow{0, 0};
        } else if (token.startsWith(QLatin1Char('S'))) {
            const QStringList parts = token.mid(1).split(QLatin1Char(':'));
            const QStringList sums = parts[1].split(QLatin1Char('/'));
            timeline.summaries.push_back(SummaryDay{QDate::fromString(parts[0], Qt::ISODate), sums[0].toInt(),
                                                    sums[1].toInt(), sums[2].toInt()});
        } else {
            const QStringList hm = token.mid(1).split(QLatin1Char(':'));
            const Minute length = hm[0].toInt() * 60 + hm[1].toInt();
            const QChar letter = token[0];
            if (letter != QLatin1Char('?'))
                timeline.intervals.push_back(TimelineInterval{clock, clock + length, *ActivityKindForQuickKey(letter), crew, night});
            clock += length;
        }
    }
    return timeline;
}

// The infringements as "rule value>limit severity", joined by "; ".
QString Found(const CheckResult& result)
{
    QStringList found;
    for (const Infringement& infringement : result.infringements) {
        found << QStringLiteral("%1 %2>%3%4")
                     .arg(RuleCode(infringement.rule))
                     .arg(infringement.value)
                     .arg(infringement.limit)
                     .arg(infringement.severity ? QLatin1Char(' ') + SeverityCode(*infringement.severity) : QString());
    }
    return found.join(QStringLiteral("; "));
}

// A working day from 06:00: 4 h 30 of driving, a break of 45 minutes, then `more`.
QString Day(const QDate& date, const QString& more = QStringLiteral("V4:00"))
{
    return QStringLiteral(" @%1T06:00 V4:30 B0:45 %2").arg(date.toString(Qt::ISODate), more);
}

// Monday to Saturday: 10 h of driving on Monday and Tuesday, 9 h on the other days (56 h).
QString FullDrivingWeek(const QDate& monday)
{
    QString text;
    for (int day = 0; day < 6; ++day)
        text += Day(monday.addDays(day), day < 2 ? QStringLiteral("V4:30 B0:45 V1:00") : QStringLiteral("V4:30"));
    return text;
}

// Monday to Friday, 8 h 30 of driving a day; the weekend without records.
QString WorkingWeek(const QDate& monday)
{
    QString text;
    for (int day = 0; day < 5; ++day)
        text += Day(monday.addDays(day));
    return text;
}

const QDate kMonday(2026, 3, 2);
const QDate kWednesday(2026, 3, 4);

}  // namespace

class TestComplianceRules : public QObject {
    Q_OBJECT
private slots:
    void rules_data();
    void rules();
    void gapsAndSummariesAreListed();
    void weekAcrossTheYearEndIsReadWhole();
    void readsIntervalsFromTheDatabase();
};

void TestComplianceRules::rules_data()
{
    QTest::addColumn<QString>("timeline");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<bool>("gapsAsRest");
    QTest::addColumn<QString>("found");

    const QString wednesday = QStringLiteral("@2026-03-04T06:00 ");
    // Art. 6(1): 9 h, twice a week 10 h; the day runs from one daily rest to the next.
    QTest::newRow("Art. 6(1) extended day of 10 h kept")
        << Day(kWednesday, "V4:30 B0:45 V1:00") << kWednesday << kWednesday << true << "";
    QTest::newRow("Art. 6(1) extended day broken by a minute")
        << Day(kWednesday, "V4:30 B0:45 V1:01") << kWednesday << kWednesday << true << "561/6.1 601>600";
    QTest::newRow("Art. 6(1) third extension of the week")
        << Day(kMonday, "V4:30 B0:45 V0:30") + Day(kMonday.addDays(1), "V4:30 B0:45 V0:30")
               + Day(kWednesday, "V4:30 B0:45 V0:30")
        << kMonday << kWednesday
        << true << "561/6.1 570>540";
    QTest::newRow("Annex I point 5: 11 h with the extension is SI")
        << Day(kWednesday, "V4:30 B0:45 V2:00") << kWednesday << kWednesday << true << "561/6.1 660>600 SI";
    QTest::newRow("Art. 4(k) daily driving across midnight, night work of Dir. Art. 7")
        << "@2026-03-04T18:00 V4:30 B0:45 V4:30 B0:45 V1:01" << kWednesday << kWednesday.addDays(1) << true
        << "561/6.1 601>600; 2002/15/7 601>600";
    // Art. 6(2), 6(3): fixed weeks from Monday 00:00 to Sunday 24:00.
    QTest::newRow("Art. 6(2) 56 h kept") << FullDrivingWeek(kMonday) << kMonday << kMonday.addDays(6) << true << "";
    QTest::newRow("Art. 6(2) broken by a minute after a reduced weekly rest")
        << FullDrivingWeek(kMonday) + " @2026-03-08T17:00 V0:01" << kMonday << kMonday.addDays(6) << true
        << "561/6.2 3361>3360";
    QTest::newRow("Art. 6(3) 90 h in two weeks kept")
        << FullDrivingWeek(kMonday) + Day(kMonday.addDays(7), "V4:30") + Day(kMonday.addDays(8), "V4:30")
               + Day(kMonday.addDays(9), "V4:30") + Day(kMonday.addDays(10), "V2:30")
        << kMonday << kMonday.addDays(13) << true << "";
    QTest::newRow("Art. 6(3) broken by a minute")
        << FullDrivingWeek(kMonday) + Day(kMonday.addDays(7), "V4:30") + Day(kMonday.addDays(8), "V4:30")
               + Day(kMonday.addDays(9), "V4:30") + Day(kMonday.addDays(10), "V2:31")
        << kMonday << kMonday.addDays(13) << true << "561/6.3 5401>5400";
    // Art. 7: 45 minutes after 4 h 30, or 15 and then 30 minutes.
    QTest::newRow("Art. 7 break of 45 min after 4 h 30 kept")
        << wednesday + "V4:30 B0:45 V4:30" << kWednesday << kWednesday << true << "";
    QTest::newRow("Art. 7 broken by a minute") << wednesday + "V4:31 B0:45 V4:29" << kWednesday << kWednesday << true
                                               << "561/7 271>270";
    QTest::newRow("Art. 7 second subparagraph: split break 15 + 30 kept")
        << wednesday + "V2:00 B0:15 V2:30 B0:30 V4:30" << kWednesday << kWednesday << true << "";
    QTest::newRow("Art. 7 split break in the wrong order, 30 + 15")
        << wednesday + "V2:00 B0:30 V2:30 B0:15 V1:00" << kWednesday << kWednesday << true << "561/7 330>270";
    // Art. 8(2): a new daily rest within 24 hours of the end of the last one (Guidance Note 7).
    QTest::newRow("Art. 8(2) regular daily rest of 11 h kept")
        << wednesday + "V4:30 B0:45 V4:30 B11:00 V4:00 B1:00 V2:00" << kWednesday << kWednesday.addDays(1) << true << "";
    QTest::newRow("Art. 8(2) daily rest short of 9 h by a minute")
        << wednesday + "V4:30 B0:45 V4:30 B8:59 V4:00 B1:00 V2:00" << kWednesday << kWednesday.addDays(1) << true
        << "561/8.2 539>540";
    QTest::newRow("Art. 8(2) split daily rest 3 h + 9 h kept")
        << wednesday + "V4:30 B3:00 V4:30 B9:00 V1:00" << kWednesday << kWednesday.addDays(1) << true << "";
    QTest::newRow("Art. 8(4) fourth reduced daily rest between weekly rests")
        << Day(kMonday, "V4:00 B0:15 N4:30 B10:00") + Day(kMonday.addDays(1), "V4:00 B0:15 N4:30 B10:00")
               + Day(kMonday.addDays(2), "V4:00 B0:15 N4:30 B10:00") + Day(kMonday.addDays(3), "V4:00 B0:15 N4:30 B10:00")
               + Day(kMonday.addDays(4), "V1:00")
        << kMonday << kMonday.addDays(6) << true << "561/8.2 600>660";
    // Art. 8(5): multi-manning, 9 h of rest within 30 hours.
    const QString longDuty = QStringLiteral("@2026-03-02T06:00 V4:30 B4:30 V4:30 B4:30 N0:30 B9:00 V1:00");
    QTest::newRow("Art. 8(5) multi-manning, 9 h within 30 h kept")
        << "crew " + longDuty << kMonday << kMonday.addDays(1) << true << "";
    QTest::newRow("Art. 8(2) the same day driven alone") << longDuty << kMonday << kMonday.addDays(1) << true
                                                         << "561/8.2 330>540";
    // Art. 8(6): weekly rests, compensation of a reduced one by the end of the third week after.
    const QString reducedWeek = WorkingWeek(kMonday) + " @2026-03-07T15:15 V2:00 @2026-03-08T06:00 V2:00";
    const QString laterWeeks = WorkingWeek(kMonday.addDays(7)) + WorkingWeek(kMonday.addDays(14))
                             + WorkingWeek(kMonday.addDays(21)) + " @2026-03-30T06:00 V1:00";
    QTest::newRow("Art. 8(6) reduced weekly rest not compensated")
        << reducedWeek + laterWeeks << kMonday << kMonday.addDays(6) << true << "561/8.6 1065>1260";
    QTest::newRow("Art. 8(6) reduced weekly rest compensated en bloc")
        << reducedWeek + QString(laterWeeks).replace("@2026-03-16T06:00", "@2026-03-16T12:15") << kMonday << kMonday.addDays(6)
        << true << "";
    QTest::newRow("Art. 8(6) weekly rest started after six 24-hour periods exactly")
        << WorkingWeek(kMonday) + Day(kMonday.addDays(5)) + " @2026-03-08T04:00 N2:00" << kMonday << kMonday.addDays(6)
        << true << "";
    QTest::newRow("Art. 8(6) weekly rest started a minute late")
        << WorkingWeek(kMonday) + Day(kMonday.addDays(5)) + " @2026-03-08T04:00 N2:01" << kMonday << kMonday.addDays(6)
        << true << "561/8.6 8641>8640";
    // Time without any record: rest only when the setting says so.
    QTest::newRow("Gap of 45 min taken as a break") << wednesday + "V4:30 ?0:45 V4:30" << kWednesday << kWednesday << true
                                                    << "";
    QTest::newRow("Gap of 45 min unknown")
        << wednesday + "V4:30 ?0:45 V4:30" << kWednesday << kWednesday << false
        << "561/7 540>270; 2002/15/5 540>360; 2002/15/5 0>30";
    // Directive 2002/15/EC.
    QString sixtyHours;
    for (int day = 0; day < 6; ++day)
        sixtyHours += Day(kMonday.addDays(day), day < 5 ? "V4:30 B0:45 N1:00" : "V4:30 B0:45 N1:01");
    QTest::newRow("Dir. Art. 4(b) 60 h in one week broken by a minute")
        << sixtyHours << kMonday << kMonday.addDays(6) << true << "2002/15/4b 3601>3600";
    QTest::newRow("Dir. Art. 5 breaks of 30 min up to 9 h kept")
        << wednesday + "N3:00 B0:15 N3:00 B0:15 N3:00" << kWednesday << kWednesday << true << "";
    QTest::newRow("Dir. Art. 5 above 9 h 45 min, short by 15")
        << wednesday + "N3:00 B0:15 N3:00 B0:15 N3:01" << kWednesday << kWednesday << true << "2002/15/5 30>45";
    QTest::newRow("Dir. Art. 5(2) parts under 15 min are no break")
        << wednesday + "N3:00 B0:14 N3:00 B0:16 N0:30" << kWednesday << kWednesday << true << "2002/15/5 16>30";
    QTest::newRow("Dir. Art. 5(1) six hours without a break broken by a minute")
        << wednesday + "N6:01 B0:30 N1:59" << kWednesday << kWednesday << true << "2002/15/5 361>360";
    QTest::newRow("Dir. Art. 7 10 h with night work kept")
        << "@2026-03-04T20:00 N4:00 B0:30 N4:00 B0:30 N2:00" << kWednesday << kWednesday.addDays(1) << true << "";
    QTest::newRow("Dir. Art. 7 broken by a minute")
        << "@2026-03-04T20:00 N4:00 B0:30 N4:00 B0:30 N2:01" << kWednesday << kWednesday.addDays(1) << true
        << "2002/15/7 601>600";
    QTest::newRow("Dir. Art. 7 an entry without a night window has no night work")
        << "nonight @2026-03-04T20:00 N4:00 B0:30 N4:00 B0:30 N2:01" << kWednesday << kWednesday.addDays(1) << true << "";
    // Summary entries: day sums only.
    QTest::newRow("Summary day: daily driving and night work from its sums")
        << "S2026-03-04:601/0/30" << kWednesday << kWednesday << true << "561/6.1 601>600; 2002/15/7 601>600";
}

void TestComplianceRules::rules()
{
    QFETCH(QString, timeline);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(bool, gapsAsRest);
    QFETCH(QString, found);
    const CheckResult result = CheckTimeline(Timeline(timeline), from, to, CheckSettings{4, gapsAsRest});
    QCOMPARE(Found(result), found);
}

void TestComplianceRules::gapsAndSummariesAreListed()
{
    const CheckResult result =
        CheckTimeline(Timeline("@2026-03-04T06:00 V4:30 ?0:45 V4:30 S2026-03-05:300/60/0 @2026-03-06T06:00 V1:00"),
                      kWednesday, kWednesday.addDays(2), CheckSettings{});
    QCOMPARE(result.gaps.size(), size_t(4));
    QCOMPARE(IsoMinuteText(result.gaps[0].start), QStringLiteral("2026-03-04T00:00"));
    QCOMPARE(IsoMinuteText(result.gaps[1].start), QStringLiteral("2026-03-04T10:30"));
    QCOMPARE(IsoMinuteText(result.gaps[1].end), QStringLiteral("2026-03-04T11:15"));
    QCOMPARE(IsoMinuteText(result.gaps[2].end), QStringLiteral("2026-03-05T00:00"));
    QCOMPARE(IsoMinuteText(result.gaps[3].start), QStringLiteral("2026-03-06T00:00"));
    QCOMPARE(result.notCheckable, (std::vector<Span>{Span{MinuteOf(QDate(2026, 3, 5)), MinuteOf(QDate(2026, 3, 6))}}));
}

void TestComplianceRules::weekAcrossTheYearEndIsReadWhole()
{
    // 29.12.2025 is a Monday; only the days of the new year are asked for.
    const QDate monday(2025, 12, 29);
    const auto [first, last] = CheckedDays(QDate(2026, 1, 1), QDate(2026, 1, 4), CheckSettings{});
    QVERIFY(first <= monday.addDays(-21));
    QVERIFY(last >= QDate(2026, 4, 30));
    const CheckResult result = CheckTimeline(Timeline(FullDrivingWeek(monday) + " @2026-01-04T17:00 V0:01"),
                                             QDate(2026, 1, 1), QDate(2026, 1, 4), CheckSettings{});
    QCOMPARE(Found(result), QStringLiteral("561/6.2 3361>3360"));
    QCOMPARE(IsoMinuteText(result.infringements[0].span.start), QStringLiteral("2025-12-29T00:00"));
    QCOMPARE(IsoMinuteText(result.infringements[0].span.end), QStringLiteral("2026-01-05T00:00"));
}

void TestComplianceRules::readsIntervalsFromTheDatabase()
{
    TempDatabase file;
    TestConnection data;
    QCOMPARE(ConnectUpgraded(data, file.path()), QStringList());
    // A detailed day that ends past midnight (TDO 1560), a summary day, and another driver.
    ManualEntry night;
    night.driverId = 3;
    night.vehicleId = 1;
    night.date = QDate(2026, 3, 4);
    night.crew = true;
    night.intervals = {ActivityInterval{ActivityKind::Driving, 1320, 1560, {}, {}},
                       ActivityInterval{ActivityKind::Rest, 1200, 1320, {}, {}}};
    QVERIFY(StoreManualEntry(data.write, night).done);
    ManualEntry summary;
    summary.driverId = 3;
    summary.vehicleId = 1;
    summary.date = QDate(2026, 3, 6);
    summary.detailed = false;
    summary.summary.day[3] = 500;
    summary.summary.night[3] = 30;
    summary.summary.day[2] = 40;
    QVERIFY(StoreManualEntry(data.write, summary).done);
    ManualEntry other = night;
    other.entryId = other.entryDayId = kNewId;
    other.driverId = 4;
    QVERIFY(StoreManualEntry(data.write, other).done);

    const std::map<int, DriverTimeline> one = LoadDriverTimelines(data.read, QDate(2026, 3, 1), QDate(2026, 3, 31), 3);
    QCOMPARE(one.size(), size_t(1));
    const DriverTimeline& timeline = one.at(3);
    QCOMPARE(timeline.intervals.size(), size_t(2));
    const auto driving = std::find_if(timeline.intervals.begin(), timeline.intervals.end(),
                                      [](const TimelineInterval& i) { return i.kind == ActivityKind::Driving; });
    QCOMPARE(IsoMinuteText(driving->start), QStringLiteral("2026-03-04T22:00"));
    QCOMPARE(IsoMinuteText(driving->end), QStringLiteral("2026-03-05T02:00"));
    QVERIFY(driving->multiManning);
    QCOMPARE(driving->night, (NightWindow{1320, 360}));
    QCOMPARE(timeline.summaries.size(), size_t(1));
    QCOMPARE(timeline.summaries[0].date, QDate(2026, 3, 6));
    QCOMPARE(timeline.summaries[0].driving, 530);
    QCOMPARE(timeline.summaries[0].otherWork, 40);
    QCOMPARE(timeline.summaries[0].nightWork, 30);

    const std::map<int, DriverTimeline> all = LoadDriverTimelines(data.read, QDate(2026, 3, 5), QDate(2026, 3, 31), {});
    QCOMPARE(all.size(), size_t(1));  // the days of 4 March lie before
    QCOMPARE(all.at(3).summaries.size(), size_t(1));
    QCOMPARE(LoadDriverTimelines(data.read, QDate(2026, 3, 1), QDate(2026, 3, 31), {}).size(), size_t(2));
}

QTEST_MAIN(TestComplianceRules)
#include "tst_compliance_rules.moc"
