#pragma once

#include <QString>

class Transaction;

// The next value of a generator ("SELECT GEN_ID(<generator>,1) FROM RDB$DATABASE"), read in the
// transaction just before the insert that uses it.
int NextKey(Transaction& transaction, const QString& generator);
