#pragma once

#include "reviews/day_chart.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class Transaction;

// The driver of the period graph: name, and the first and last day recorded for him.
struct PeriodDriver {
    QString name;
    std::optional<QDate> firstDay;
    std::optional<QDate> lastDay;
};

// One line of the period graph: a calendar day with its intervals, in start order.
struct PeriodDay {
    QDate date;
    std::vector<ChartInterval> intervals;
};

// Reads the driver on the read transaction. Throws DbError.
PeriodDriver LoadPeriodDriver(Transaction& read, int driverId);

// The days from `from` to `to`, both included, each with the driver's intervals of all entries
// of that day; without `onlyWithActivities`, days without intervals are listed with none.
// Throws DbError.
std::vector<PeriodDay> LoadPeriodDays(Transaction& read, int driverId, const QDate& from, const QDate& to,
                                      bool onlyWithActivities);

// The statements of LoadPeriodDriver (parameter :IDV) and of LoadPeriodDays (:IDV, :D1, :D2).
QStringList PeriodDriverStatements();
QString PeriodDaysStatement();

// The range the period graph opens with: the last recorded day and the 28 days before it.
std::pair<QDate, QDate> InitialPeriod(const QDate& lastDay);

// The short name of the day of the week, as the lines show it ("pon", "uto", ...).
QString ShortWeekdayName(const QDate& date);

inline const QString kWrongDatesMessage = QStringLiteral("Pogrešno definirani datumi!");
