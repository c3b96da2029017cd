#pragma once

#include "attestation/attestation_record.h"
#include "worktime/reference_period.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <optional>
#include <vector>

class Transaction;

// The sums of a driver's entry days of one date (NULL counting as 0) and their notes.
struct DaySums {
    int s1 = 0;
    int s2 = 0;
    int s3 = 0;
    int s4 = 0;
    int s5 = 0;
    int n1 = 0;
    int n2 = 0;
    QString notes;  // the NAP texts joined by one blank, empty ones left out
};

// The values a day row shows.
struct DayValues {
    int dayWork = 0;    // S3 + S4 - N1 - N2
    int nightWork = 0;  // N1 + N2
    int total = 0;      // S3 + S4
    int s1 = 0;
    int s2 = 0;
    int s3 = 0;
    int s4 = 0;
    QString notes;
    int n1 = 0;
    int n2 = 0;

    friend bool operator==(const DayValues&, const DayValues&) = default;
};

// One row of the working-time record.
struct WorkTimeRow {
    // Average: the average week of a reference period, after the last week.
    enum class Kind { Day, Filler, Week, Average };
    Kind kind = Kind::Day;
    QDate date;                       // day and filler rows; the first day of an average's period
    int attested = -1;                // TIP of the attestation covering the day, -1 for none
    std::optional<DayValues> values;  // a day row with any of S1..S5 not 0
    std::array<qint64, 7> weekSums{}; // week rows: sums of positions 1..7 of the week's seven days
    qint64 excess = 0;                // week rows: the week's total less 48 hours
    bool outsideDaysCounted = false;  // week rows: days outside the period are in the sums
    QDate periodEnd;                  // average rows: the last day of the reference period
    qint64 average = 0;               // average rows: working time a week, in minutes

    friend bool operator==(const WorkTimeRow&, const WorkTimeRow&) = default;
};

// An attestation as the record matches it to days: it covers its start date to its end date,
// both included, or its start date alone without an end.
struct AttestedPeriod {
    int activity = 0;
    QDate start;
    std::optional<QDate> end;

    bool covers(const QDate& day) const { return end ? day >= start && day <= *end : day == start; }
};

// The record of a period from its data: a day row per date (values from `sums`, the first
// attestation in `attestations` that covers the day), filler days completing the first and
// last week from Monday to Sunday, a week row after every Sunday summing the whole week (the
// filler days' values from `sums` counted, not shown), and after the last week one row per
// reference period of `referenceMonths` months that the period reaches into, with the average
// week of the whole reference period (its days' values from `sums`).
std::vector<WorkTimeRow> BuildWorkTimeRows(const QDate& from, const QDate& to, const std::map<QDate, DaySums>& sums,
                                           const std::vector<AttestedPeriod>& attestations,
                                           int referenceMonths = kDefaultReferenceMonths);

// The days the record of [from, to] reads: its whole weeks and whole reference periods.
std::pair<QDate, QDate> WorkTimeReadDays(const QDate& from, const QDate& to, int referenceMonths);

// Reads the period with two statements whatever its length: the entry days of the driver in
// WorkTimeReadDays, and his attestations that reach into the period, earliest start first
// (then by id); then builds the rows. Throws DbError.
std::vector<WorkTimeRow> LoadWorkTimeRecord(Transaction& read, int driverId, const QDate& from, const QDate& to,
                                            int referenceMonths = kDefaultReferenceMonths);

// "Broj stavki u popisu:": the rows that are not week rows.
int WorkTimeItemCount(const std::vector<WorkTimeRow>& rows);

// Minutes as hours and minutes, the hours with at least two digits and no upper limit
// ("00:00", "01:01", "52:30").
QString HoursText(qint64 minutes);
// "pon", "uto", "sri", "čet", "pet", "sub", "ned".
QString WeekdayAbbreviation(const QDate& date);

// What the notes column shows: the week's verdict, "Potvrda - " with the attested activity and
// the day's notes in brackets, the notes, or "---" for a filler day.
QString WorkTimeNotesText(const WorkTimeRow& row);
// Columns 1 to 3: day work, night work and total ("00:00" for a day without values, nothing
// for a filler day).
QString WorkTimeValueText(const WorkTimeRow& row, int position);

// The lines the printout is made of, one per row, fields joined by "||".
QStringList WorkTimePrintLines(const std::vector<WorkTimeRow>& rows);
// The first field of a week's print line.
inline const QString kWeekPrintLabel = QStringLiteral("UKUPNO (tjedno)");

// Column 0 of a row: the date, "Tjedan ukupno", or "Prosjek" for a reference period.
QString WorkTimeDateText(const WorkTimeRow& row);

inline constexpr qint64 kWeekLimitMinutes = 48 * 60;
// A single week may not go over 60 hours (Directive 2002/15/EC, Art. 4(b)).
inline constexpr qint64 kLongestWeekMinutes = 60 * 60;

// The night window as the record's captions name it: "22-06", "21:30-06".
QString NightWindowText(int nightFrom, int nightTo);
