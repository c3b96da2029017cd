#pragma once

#include <QDate>
#include <QString>

#include <functional>

// A database of some years of a transport company's records, for trying the lists, graphs and
// the working-time record at the size an office reaches: every driver has an entry for every
// day, most of them detailed manual entries, some summary entries and some scanned charts
// (a few of them two-day charts), with the intervals and day totals the program itself would
// store. The same arguments give the same database.
struct LargeDatabaseSize {
    int drivers = 50;
    int years = 10;
    int vehicles = 30;
    QDate lastDay = QDate(2026, 11, 30);
};

// Creates the database file (which must not exist), brings it up to date and fills it.
// `progress` is told each driver done. Throws DbError.
void CreateLargeDatabase(const QString& path, const LargeDatabaseSize& size,
                         const std::function<void(int driversDone)>& progress = {});
