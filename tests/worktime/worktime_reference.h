#pragma once

#include "worktime/worktime_record.h"

class TestConnection;

// The working-time record built as the record of the program describes it: two statements per
// day of the period (one per day of its whole weeks and reference periods around it), on the
// write transaction. The reference the set-based way is held to.
std::vector<WorkTimeRow> PerDayWorkTimeRecord(TestConnection& data, int driverId, const QDate& from, const QDate& to);
