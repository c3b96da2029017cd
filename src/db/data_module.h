#pragma once

#include "common/latest_instance.h"
#include "db/connection.h"
#include "db/script.h"
#include "db/statement.h"
#include "db/transaction.h"

// The process-wide data module: the one connection and what every window shares on it.
// IBTransaction1 is the write transaction (every insert, update, delete and schema change),
// Read the read-only transaction of lists and loads; IBSQL1 and IBScript1 run on IBTransaction1
// (the upgrade and the pick lists use them). Other work makes its own statements and runs in a
// WriteScope or a ReadScope.
class TDataModule1 : public LatestInstance<TDataModule1> {
public:
    // The instance created at start-up (the latest one alive).
    static TDataModule1& instance();

    Connection DB;
    Transaction IBTransaction1{DB};
    Transaction Read{DB, TransactionAccess::ReadOnly};
    Statement IBSQL1{IBTransaction1};
    Script IBScript1{IBTransaction1};
};
