#include "pdf_text.h"
#include "temp_database.h"
#include "worktime_reference.h"

#include "temp_database.h"
#include "entries/entry_store.h"
#include "large_database.h"
#include "masterdata/driver_list_query.h"
#include "print/pdf_output.h"
#include "worktime/worktime_printout.h"

#include <QtTest>

namespace {

// One day of driving and other work with the given minutes, with a note.
void StoreDay(TestConnection& data, int driver, QDate date, int drivingMinutes, const QString& note = {})
{
    ManualEntry entry;
    entry.driverId = driver;
    entry.vehicleId = 1;
    entry.date = date;
    entry.remark = note;
    entry.intervals = {ActivityInterval{ActivityKind::Driving, 0, std::min(drivingMinutes, 1440), {}, {}}};
    if (drivingMinutes > 1440)
        entry.intervals.push_back(ActivityInterval{ActivityKind::OtherWork, 0, drivingMinutes - 1440, {}, {}});
    QVERIFY(StoreManualEntry(data.write, entry).done);
}

void Attest(TestConnection& data, int driver, int activity, const QString& from, const QString& to)
{
    data.write.startIfNotActive();
    data.sql.prepare(QStringLiteral("INSERT INTO AKTPOTVRDA (IDVOZ, TIP, RAZOD, RAZDO) VALUES (%1, %2, '%3', %4)")
                            .arg(driver)
                            .arg(activity)
                            .arg(from, to.isEmpty() ? QStringLiteral("NULL") : "'" + to + "'"));
    data.sql.execute();
    data.write.commit();
}

}  // namespace

class TestWorkTimeRecord : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void wednesdayToTuesday();
    void oneDayPeriod();
    void weekLimitOnScreenAndInPrint_data();
    void weekLimitOnScreenAndInPrint();
    void attestationsAndNotes();
    void sameRowsAsTheDayByDayWay_data();
    void sameRowsAsTheDayByDayWay();
    void printoutReadsBack();
    void weekCutByThePeriodIsSummedWhole();
    void weekOverSixtyHoursAndTheAverage_data();
    void weekOverSixtyHoursAndTheAverage();
    void overlappingAttestationsEarliestFirst();
    void nightCaptionFollowsTheWindow();
    void employeesInAlphabeticalOrder();

private:
    QTemporaryDir m_folder;
    std::unique_ptr<TestConnection> m_data;
};

void TestWorkTimeRecord::initTestCase()
{
    const QString path = m_folder.filePath("VT.FDB");
    CreateLargeDatabase(path, LargeDatabaseSize{.drivers = 3, .years = 1, .vehicles = 2, .lastDay = QDate(2025, 6, 30)});
    m_data = std::make_unique<TestConnection>();
    QCOMPARE(ConnectUpgraded(*m_data, path), QStringList());
    // Driver 3's attestations over the generated days: overlapping, without an end, reaching past.
    Attest(*m_data, 3, 0, "2025-03-10 08:00", "2025-03-12 06:00");
    Attest(*m_data, 3, 1, "2025-03-11 00:00", "2025-03-20 00:00");
    Attest(*m_data, 3, 2, "2025-04-01 10:00", "");
    Attest(*m_data, 3, 5, "2025-02-25 00:00", "2025-03-02 00:00");
    // Driver 9 exists only for the cases below.
    m_data->write.startIfNotActive();
    m_data->script.execute("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, OIB) VALUES (9, 'Čulić Iva', '12345678901');");
    m_data->write.commit();
}

void TestWorkTimeRecord::wednesdayToTuesday()
{
    // 3.9.2025 is a Wednesday.
    const std::vector<WorkTimeRow> rows = LoadWorkTimeRecord(m_data->read, 9, QDate(2025, 9, 3), QDate(2025, 9, 9));
    QCOMPARE(rows.size(), size_t(17));  // and the average of September to December
    QCOMPARE(rows[16].kind, WorkTimeRow::Kind::Average);
    QCOMPARE(WorkTimeItemCount(rows), 14);
    QCOMPARE(rows[0].kind, WorkTimeRow::Kind::Filler);
    QCOMPARE(rows[0].date, QDate(2025, 9, 1));
    QCOMPARE(rows[1].kind, WorkTimeRow::Kind::Filler);
    QCOMPARE(rows[2].date, QDate(2025, 9, 3));
    QCOMPARE(rows[7].kind, WorkTimeRow::Kind::Week);
    QCOMPARE(rows[8].date, QDate(2025, 9, 8));
    for (int filler = 10; filler <= 14; ++filler)
        QCOMPARE(rows[size_t(filler)].kind, WorkTimeRow::Kind::Filler);
    QCOMPARE(rows[14].date, QDate(2025, 9, 14));
    QCOMPARE(rows[15].kind, WorkTimeRow::Kind::Week);
    QCOMPARE(WorkTimeNotesText(rows[0]), QStringLiteral("---"));
    QCOMPARE(WorkTimeValueText(rows[0], 1), QString());
    QCOMPARE(WorkTimeValueText(rows[2], 1), QStringLiteral("00:00"));
    QCOMPARE(WorkTimePrintLines(rows)[0], QStringLiteral("01.09.2025||pon||----"));
}

void TestWorkTimeRecord::oneDayPeriod()
{
    const std::vector<WorkTimeRow> rows = LoadWorkTimeRecord(m_data->read, 9, QDate(2025, 9, 4), QDate(2025, 9, 4));
    QCOMPARE(rows.size(), size_t(9));
    QCOMPARE(WorkTimeItemCount(rows), 7);
    QCOMPARE(rows[3].kind, WorkTimeRow::Kind::Day);
    QCOMPARE(WeekdayAbbreviation(rows[3].date), QStringLiteral("čet"));
}

void TestWorkTimeRecord::weekLimitOnScreenAndInPrint_data()
{
    QTest::addColumn<int>("lastDayMinutes");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("print");
    // Four days of 600 minutes and one more: 2880, 2881 and 3150 minutes in the week. The print
    // says what the grid says: exactly 48 hours is no excess.
    QTest::newRow("2880") << 480 << "manje od 48 sati tjedno" << " ";
    QTest::newRow("2881") << 481 << "Višak (iznad 48 sati): 00:01" << " Višak (iznad 48 sati): 00:01";
    QTest::newRow("3150") << 750 << "Višak (iznad 48 sati): 04:30" << " Višak (iznad 48 sati): 04:30";
    QTest::newRow("below") << 60 << "manje od 48 sati tjedno" << " ";
}

void TestWorkTimeRecord::weekLimitOnScreenAndInPrint()
{
    QFETCH(int, lastDayMinutes);
    QFETCH(QString, screen);
    QFETCH(QString, print);
    std::map<QDate, DaySums> sums;
    const QDate monday(2025, 10, 6);
    for (int day = 0; day < 5; ++day)
        sums[monday.addDays(day)] = DaySums{0, 0, 0, day < 4 ? 600 : lastDayMinutes, 0, 0, 0, {}};
    const std::vector<WorkTimeRow> rows = BuildWorkTimeRows(monday, monday.addDays(6), sums, {});
    QCOMPARE(rows.size(), size_t(9));
    QCOMPARE(WorkTimeNotesText(rows[7]), screen);
    QCOMPARE(WorkTimeValueText(rows[7], 3), HoursText(2400 + lastDayMinutes));
    QVERIFY(WorkTimePrintLines(rows)[7].endsWith("||" + print));
    QVERIFY(WorkTimePrintLines(rows)[7].startsWith("UKUPNO (tjedno)|| ||"));
    QCOMPARE(HoursText(3150), QStringLiteral("52:30"));
    QCOMPARE(HoursText(61), QStringLiteral("01:01"));
}

void TestWorkTimeRecord::attestationsAndNotes()
{
    // Two entry days on one date, and sick leave from 10.11. 08:00 to 12.11. 06:00.
    StoreDay(*m_data, 9, QDate(2025, 11, 11), 300, QStringLiteral("Rijeka"));
    StoreDay(*m_data, 9, QDate(2025, 11, 11), 200, QStringLiteral("Pula"));
    StoreDay(*m_data, 9, QDate(2025, 11, 13), 100);
    Attest(*m_data, 9, 0, "2025-11-10 08:00", "2025-11-12 06:00");
    Attest(*m_data, 9, 1, "2025-11-14 08:00", "");
    const std::vector<WorkTimeRow> rows = LoadWorkTimeRecord(m_data->read, 9, QDate(2025, 11, 10), QDate(2025, 11, 16));
    QCOMPARE(rows[0].date, QDate(2025, 11, 10));
    QCOMPARE(WorkTimeNotesText(rows[0]), QStringLiteral("Potvrda - bio na bolovanju"));
    QCOMPARE(WorkTimeValueText(rows[0], 3), QStringLiteral("00:00"));
    // Recorded work on a day of sick leave contradicts the attestation.
    QCOMPARE(WorkTimeNotesText(rows[1]),
             QStringLiteral("Potvrda - bio na bolovanju [Rijeka Pula] - potvrda uz zabilježeni rad!"));
    QCOMPARE(WorkTimeValueText(rows[1], 3), QStringLiteral("08:20"));
    QCOMPARE(rows[2].attested, 0);
    QCOMPARE(rows[3].attested, -1);
    QCOMPARE(rows[4].attested, 1);  // without an end: its start date only
    QCOMPARE(rows[5].attested, -1);
    QCOMPARE(WorkTimeNotesText(rows[3]), QString());
}

void TestWorkTimeRecord::sameRowsAsTheDayByDayWay_data()
{
    QTest::addColumn<int>("driver");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::newRow("a year") << 1 << QDate(2024, 7, 1) << QDate(2025, 6, 30);
    QTest::newRow("attested March") << 3 << QDate(2025, 2, 20) << QDate(2025, 4, 5);
    QTest::newRow("past the records") << 2 << QDate(2025, 6, 20) << QDate(2025, 7, 10);
    QTest::newRow("backwards") << 2 << QDate(2025, 6, 20) << QDate(2025, 6, 10);
    QTest::newRow("nobody") << 77 << QDate(2025, 1, 1) << QDate(2025, 1, 31);
}

void TestWorkTimeRecord::sameRowsAsTheDayByDayWay()
{
    QFETCH(int, driver);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    const std::vector<WorkTimeRow> rows = LoadWorkTimeRecord(m_data->read, driver, from, to);
    const std::vector<WorkTimeRow> reference = PerDayWorkTimeRecord(*m_data, driver, from, to);
    QCOMPARE(rows.size(), reference.size());
    for (size_t row = 0; row < rows.size(); ++row)
        QVERIFY2(rows[row] == reference[row], qPrintable(QString("row %1").arg(row)));
    QCOMPARE(WorkTimePrintLines(rows), WorkTimePrintLines(reference));
}

void TestWorkTimeRecord::printoutReadsBack()
{
    const std::vector<WorkTimeRow> rows = LoadWorkTimeRecord(m_data->read, 3, QDate(2025, 3, 5), QDate(2025, 5, 5));
    WorkTimePrintData data{WorkTimePrintLines(rows), QDate(2025, 3, 5), QDate(2025, 5, 5), QStringLiteral("Šarić Ivo"),
                           QStringLiteral("12345678901"), QDateTime(QDate(2025, 5, 6), QTime(14, 7)), false, QString()};
    const WorkTimePrintout printout(data);
    QVERIFY(printout.pageCount() >= 2);
    QTemporaryDir folder;
    const QString path = folder.filePath("evidencija.pdf");
    QVERIFY(WritePdf(printout, path, nullptr));
    const QStringList pages = PdfPageTexts(path);
    QCOMPARE(pages.size(), printout.pageCount());
    QVERIFY(pages[0].contains("VELTRA - evidencija radnih sati"));
    QVERIFY(pages[0].contains("Evidencija radnog vremena osobe koja obavlja mobilnu djelatnost"));
    QVERIFY(pages[0].contains("Razdoblje: 05.03.2025 - 05.05.2025"));
    QVERIFY(pages[0].contains("Šarić Ivo") && pages[0].contains("12345678901"));
    QVERIFY(!pages[1].contains("mobilnu djelatnost"));
    for (int page = 0; page < pages.size(); ++page) {
        QVERIFY(pages[page].contains("Nadnevak") && pages[page].contains("Bilješke"));
        QVERIFY(pages[page].contains(QStringLiteral("Str. %1 od %2").arg(page + 1).arg(pages.size())));
        QVERIFY(pages[page].contains("Datum i vrijeme ispisa: 06.05.2025 14:07"));
    }
    // The filler Monday and Tuesday print "----" in the four value columns.
    const QString filler = pages[0].split('\n').filter("03.03.2025").first().simplified();
    QCOMPARE(filler, QStringLiteral("03.03.2025 pon ---- ---- ---- ----"));
    QVERIFY(pages[0].contains("Potvrda - bio na bolovanju"));
    QVERIFY(pages[0].contains("UKUPNO (tjedno)"));
}

void TestWorkTimeRecord::weekCutByThePeriodIsSummedWhole()
{
    // The week of Monday 26.01.2026: 62:59 in all, of which Monday and Tuesday lie before the
    // record of 28.01. to 03.02.
    StoreDay(*m_data, 9, QDate(2026, 1, 26), 600);
    StoreDay(*m_data, 9, QDate(2026, 1, 27), 625);
    for (int day = 28; day <= 31; ++day)
        StoreDay(*m_data, 9, QDate(2026, 1, day), 600);
    StoreDay(*m_data, 9, QDate(2026, 2, 1), 154);
    const std::vector<WorkTimeRow> rows = LoadWorkTimeRecord(m_data->read, 9, QDate(2026, 1, 28), QDate(2026, 2, 3));
    QCOMPARE(rows[0].kind, WorkTimeRow::Kind::Filler);
    QCOMPARE(WorkTimeValueText(rows[0], 3), QString());  // counted, not listed
    QCOMPARE(rows[7].kind, WorkTimeRow::Kind::Week);
    QCOMPARE(WorkTimeValueText(rows[7], 3), QStringLiteral("62:59"));
    QCOMPARE(WorkTimeNotesText(rows[7]), QStringLiteral("Višak (iznad 48 sati): 14:59 - više od 60 sati u tjednu!, "
                                                        "zbroj cijelog tjedna, i dana izvan razdoblja"));
    QVERIFY(WorkTimePrintLines(rows)[7].endsWith("|| Višak (iznad 48 sati): 14:59 - više od 60 sati u tjednu!, "
                                                 "zbroj cijelog tjedna, i dana izvan razdoblja"));
    QCOMPARE(rows, PerDayWorkTimeRecord(*m_data, 9, QDate(2026, 1, 28), QDate(2026, 2, 3)));
}

void TestWorkTimeRecord::weekOverSixtyHoursAndTheAverage_data()
{
    QTest::addColumn<int>("dailyMinutes");
    QTest::addColumn<QString>("weekNotes");
    QTest::addColumn<QString>("average");
    // Six days a week over all of January to April 2026 (120 days): 600 minutes a day make 60 h
    // a week, 601 make a minute more.
    QTest::newRow("60 h") << 600 << "Višak (iznad 48 sati): 12:00" << "Prosjek tjedno 01.01.2026 - 30.04.2026 (najviše 48 sati): premašen!";
    QTest::newRow("60 h and a minute") << 601 << "Višak (iznad 48 sati): 12:06 - više od 60 sati u tjednu!"
                                       << "Prosjek tjedno 01.01.2026 - 30.04.2026 (najviše 48 sati): premašen!";
    QTest::newRow("40 h") << 400 << "manje od 48 sati tjedno" << "Prosjek tjedno 01.01.2026 - 30.04.2026 (najviše 48 sati)";
}

void TestWorkTimeRecord::weekOverSixtyHoursAndTheAverage()
{
    QFETCH(int, dailyMinutes);
    QFETCH(QString, weekNotes);
    QFETCH(QString, average);
    std::map<QDate, DaySums> sums;
    for (QDate day(2026, 1, 1); day <= QDate(2026, 4, 30); day = day.addDays(1)) {
        if (day.dayOfWeek() != 7)
            sums[day] = DaySums{0, 0, 0, dailyMinutes, 0, 0, 0, {}};
    }
    const std::vector<WorkTimeRow> rows = BuildWorkTimeRows(QDate(2026, 3, 2), QDate(2026, 3, 8), sums, {});
    QCOMPARE(rows.size(), size_t(9));
    QCOMPARE(WorkTimeNotesText(rows[7]), weekNotes);
    QCOMPARE(rows[8].kind, WorkTimeRow::Kind::Average);
    QCOMPARE(WorkTimeDateText(rows[8]), QStringLiteral("Prosjek"));
    QCOMPARE(WorkTimeNotesText(rows[8]), average);
    // The days of the period: 103 working days of the 120.
    QCOMPARE(rows[8].average, qint64(103) * dailyMinutes * 7 / 120);
    QCOMPARE(WorkTimePrintLines(rows)[8], "PROSJEK|| || || ||" + HoursText(rows[8].average) + "||" + average);
    // A period over two reference periods closes with both.
    const std::vector<WorkTimeRow> two = BuildWorkTimeRows(QDate(2026, 4, 27), QDate(2026, 5, 3), sums, {});
    QCOMPARE(two.size(), size_t(10));
    QCOMPARE(two[9].date, QDate(2026, 5, 1));
    QCOMPARE(two[9].periodEnd, QDate(2026, 8, 31));
    QCOMPARE(WorkTimeItemCount(two), 7);
}

void TestWorkTimeRecord::overlappingAttestationsEarliestFirst()
{
    // Made in the opposite order of their starts; on 11.12. both cover the day, and there is
    // recorded work beside the one that began first.
    Attest(*m_data, 9, 4, "2025-12-11 00:00", "2025-12-12 00:00");
    Attest(*m_data, 9, 3, "2025-12-10 00:00", "2025-12-11 12:00");
    StoreDay(*m_data, 9, QDate(2025, 12, 11), 480);
    const std::vector<WorkTimeRow> rows = LoadWorkTimeRecord(m_data->read, 9, QDate(2025, 12, 8), QDate(2025, 12, 14));
    QCOMPARE(rows[2].attested, 3);
    QCOMPARE(rows[3].attested, 3);
    QCOMPARE(rows[4].attested, 4);
    QCOMPARE(WorkTimeNotesText(rows[3]),
             QStringLiteral("Potvrda - upravljao vozilom izuzetim iz primjene Uredbe 561/2006 - potvrda uz zabilježeni rad!"));
    QCOMPARE(WorkTimeNotesText(rows[2]), QStringLiteral("Potvrda - upravljao vozilom izuzetim iz primjene Uredbe 561/2006"));
}

void TestWorkTimeRecord::nightCaptionFollowsTheWindow()
{
    QCOMPARE(NightWindowText(22 * 60, 6 * 60), QStringLiteral("22-06"));
    QCOMPARE(NightWindowText(21 * 60 + 30, 5 * 60), QStringLiteral("21:30-05"));
    WorkTimePrintData data{WorkTimePrintLines(LoadWorkTimeRecord(m_data->read, 9, QDate(2025, 9, 1), QDate(2025, 9, 7))),
                           QDate(2025, 9, 1), QDate(2025, 9, 7), QStringLiteral("Čulić Iva"), QString(),
                           QDateTime(QDate(2025, 9, 8), QTime(8, 0)), false, QString(), 21 * 60 + 30, 5 * 60};
    QTemporaryDir folder;
    const QString path = folder.filePath("noc.pdf");
    QVERIFY(WritePdf(WorkTimePrintout(data), path, nullptr));
    const QString page = PdfPageTexts(path).value(0);
    QVERIFY2(page.contains(QStringLiteral("(između 21:30 i 05)")), qPrintable(page));
    QVERIFY(!page.contains(QStringLiteral("između 22 i 06")));
}

void TestWorkTimeRecord::employeesInAlphabeticalOrder()
{
    // "Babić Željko 2", "Čulić Iva", "Kovačević Marko 1", "Marić Josip 3": Č between B and K.
    QList<int> ids;
    for (const RecordDriver& driver : LoadRecordDrivers(m_data->read))
        ids << driver.id;
    QCOMPARE(ids, (QList<int>{2, 9, 1, 3}));
}

QTEST_MAIN(TestWorkTimeRecord)
#include "tst_worktime_record.moc"
