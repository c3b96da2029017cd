#pragma once

#include <QDate>

// Dates as day serial numbers: whole days since 30.12.1899 (25.9.2009 is 40081).
int DaySerial(const QDate& date);
QDate DateFromSerial(int serial);
