#pragma once

#include "common/decimal3.h"
#include "db/statement.h"
#include "db/transaction.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>
#include <vector>


// The filters of the entry overview. Every one is off unless set.
struct OverviewFilter {
    std::optional<int> driverId;                    // UNOS.IDVOZAC
    std::optional<std::pair<QDate, QDate>> entered; // the days UNOS.DV falls on, both included
    std::optional<std::pair<QDate, QDate>> days;    // DUNOS.DATUM

    friend bool operator==(const OverviewFilter&, const OverviewFilter&) = default;
};

// The driver list: every driver who has an entry, in the order of their names
// (common/name_order.h), as key and name. Throws DbError.
std::vector<std::pair<int, QString>> LoadOverviewDrivers(Transaction& read);

// The lines of a list come in groups, one per date, newest first: entries by the day of their
// moment of entry, entry days and day totals by their date; entry days without a date come
// last, as one group.
struct OverviewGroup {
    std::optional<QDate> date;  // none for the group of entry days without a date
    int lines = 0;

    friend bool operator==(const OverviewGroup&, const OverviewGroup&) = default;
};

// Where a read starts: the first line of a group, or further in it after `skip` of its lines
// (in the day lists a group is read whole, so there `skip` is a whole number of groups' lines
// starting at this one).
struct OverviewStart {
    std::optional<QDate> group;
    int skip = 0;
};

// The query a list reads its first lines from, and the filter values it takes as parameters.
template <typename Row>
QString OverviewQuery(const OverviewFilter& filter);
void BindOverviewFilter(Statement& statement, const OverviewFilter& filter);

// How many lines each group of a list has, in list order: a list's length and where each of
// its lines lies, without reading the lines. Throws DbError.
template <typename Row>
std::vector<OverviewGroup> LoadOverviewGroups(Transaction& read, const OverviewFilter& filter);

// How an entry came to be, as the lists show it by an icon.
enum class EntryMark { Manual, Summary, ScannedChart, DriverCard, OtherType };

// One line of the entries list, with the columns of its query in their order.
struct OverviewEntryRow {
    int entryId = 0;
    std::optional<int> driverId;
    std::optional<int> type;  // UNOS.TIP
    QString driverName;
    QDateTime enteredAt;      // UNOS.DV
    std::optional<Decimal3> kilometres;  // sum of DKM; none without days
    std::optional<QDate> firstDay;
    std::optional<QDate> lastDay;
    std::optional<int> subtype;  // UNOS.PODTIP

    EntryMark mark() const;
    // "12.03.2025", "12.03.2025 - 13.03.2025", or "N/A" for an entry without days.
    QString periodText() const;
    QStringList columnTexts() const;
};

// One line of the entry-days list.
struct OverviewDayRow {
    QDate date;
    std::optional<Decimal3> kilometres;  // DKM
    std::array<std::optional<int>, 4> kindMinutes{};  // S1..S4
    std::optional<int> firstMinute;      // M1: earliest TOD of the day's intervals
    std::optional<int> lastMinute;       // M2: latest TDO
    std::optional<int> driverId;
    std::optional<int> type;
    QDateTime enteredAt;
    QString driverName;
    int entryId = 0;
    int dayId = 0;
    std::optional<int> workStart;  // T1
    std::optional<int> workEnd;    // T2
    std::optional<int> subtype;

    EntryMark mark() const;
    // "Od" and "Do": M1 and M2, or for a day without intervals T1 and T2 when either is not 0,
    // otherwise "N/A".
    QString startText() const;
    QString endText() const;
    QStringList columnTexts() const;
};

// One line of the day-totals list: the entry days of one driver and date added up.
struct OverviewTotalRow {
    QDate date;
    std::optional<Decimal3> kilometres;
    std::array<std::optional<qint64>, 4> kindMinutes{};
    std::optional<int> driverId;
    QString driverName;
    std::optional<qint64> totalMinutes;  // SUK: S1 + S2 + S3 + S4 of the days that have all four
    int entryDays = 0;                   // BR

    bool exceedsOneDay() const;
    QStringList columnTexts() const;
};

// The group a line belongs to.
std::optional<QDate> OverviewGroupOf(const OverviewEntryRow& row);
std::optional<QDate> OverviewGroupOf(const OverviewDayRow& row);
std::optional<QDate> OverviewGroupOf(const OverviewTotalRow& row);

// What a double click on an entry line does.
enum class EntryOpening { Nothing, TwoDayChartMessage, Edit };
EntryOpening OpeningOfEntry(std::optional<int> type, std::optional<int> subtype);
inline const QString kTwoDayChartMessage =
    QStringLiteral("Omogućen isključivo pregled po danima - radi se o unosu skeniranog \"noćnog dvodnevnog\" listića!");
// A double click on an entry-day line opens the entry for editing, whatever its kind.
bool OpensDayForEditing(std::optional<int> type);

// A list of the overview read in batches on a read transaction, from its first line or from a
// start. The lines come in the overview's order: entries by the moment of entry, newest first;
// entry days by date, newest first, and within a date by their first minute; day totals by
// date, newest first, and within a date by the driver's name. A database error is thrown as
// DbError.
template <typename Row>
class OverviewReader {
public:
    OverviewReader(Transaction& read, const OverviewFilter& filter, const std::optional<OverviewStart>& start = {});
    OverviewReader(const OverviewReader&) = delete;
    OverviewReader& operator=(const OverviewReader&) = delete;

    // At least `count` more lines (a whole date more for the day lists), fewer at the end.
    std::vector<Row> fetch(int count);
    bool atEnd() const { return m_atEnd; }

private:
    // The next line of the query, or nothing past the last.
    bool nextQueryRow();
    void execute(const std::optional<OverviewStart>& start);

    OverviewFilter m_filter;
    Statement m_sql;
    bool m_atEnd = false;
    bool m_pending = false;    // the query's current row is read but not handed out yet
    bool m_undatedNext = false;  // entry days without a date still to be read after the dated ones
};

using EntriesReader = OverviewReader<OverviewEntryRow>;
using EntryDaysReader = OverviewReader<OverviewDayRow>;
using DayTotalsReader = OverviewReader<OverviewTotalRow>;

// Every line of a list, numbered from 1, each followed by its query's columns, tab-separated,
// with CR LF line ends: what "Kopiraj u međuspremnik" puts on the clipboard.
template <typename Row>
QString OverviewCopyText(Transaction& read, const OverviewFilter& filter);
