#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class TestConnection;

// The day and period graphs' queries as the record of the program writes them (the driver id
// appended as decimal text, every join a left join, the dates cast): the reference the
// rewritten queries are held to. Each row as its columns' texts joined by tabs.
struct WrittenDay {
    QStringList intervals;  // TOD, TDO, TAKT, SCP, KM, LIT, NOD, NDO by TOD, TDO
    QString distance;       // the sum of DKM
    QStringList otherDates;
};
WrittenDay WrittenDayRecord(TestConnection& data, int driverId, const QDate& date);

// The first and last recorded date, and the intervals TOD, TDO, TAKT, SCP, DATUM of a range by
// DATUM, TOD, TDO.
QString WrittenPeriodDriver(TestConnection& data, int driverId);
QStringList WrittenPeriodIntervals(TestConnection& data, int driverId, const QDate& from, const QDate& to);
