#pragma once

#include <QStringList>

struct DayTotals;
class QTableWidget;
class QWidget;

// The read-only grid of a day's totals: "Aktivnost", "Trajanje" and "min" for the four kinds
// and the four night totals (S1..S4, S5, S6, N1, N2), the night lines and the times on cream.
// "Trajanje" is a day's time (DayTotalText), "min" the whole minutes.
QTableWidget* NewDayTotalsGrid(QWidget* parent, const QStringList& lineNames);
void ShowDayTotals(QTableWidget* grid, const DayTotals& totals);
