#pragma once

#include <QStringList>

class Statement;
class Transaction;

// The engine plans a query by the selectivity of each index, which it measures only when an
// index is built or when asked to. An index made on an empty table (as the upgrade makes every
// index of the entry tables) keeps the selectivity 0 however many rows come later, and with it
// the engine takes a scan of a whole table for a look-up of one driver's day.

// The indexes of the tables the program reads and writes: its own tables and the two base
// tables it joins to (DJELATNICI, AKTPOTVRDA). Active indexes only, by name.
QStringList ProgramIndexes(Statement& statement);

// Whether an index of a table that holds rows has never been measured (selectivity 0).
// Reads only the catalogue and the first row of such a table.
bool IndexStatisticsMissing(Statement& statement);

// Measures every index of ProgramIndexes anew (SET STATISTICS INDEX), committing after each
// one. A walk over the leaf pages of each index: well under a second on ten years of fifty
// drivers. Throws DbError (an account that may not alter the tables gets one).
void RecomputeIndexStatistics(Transaction& transaction);
