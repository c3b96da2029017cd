#pragma once

#include "common/pick_item.h"

#include <QString>

#include <vector>

// Where the window kit's pick lists read their items: one item a row of a query that selects,
// in this order, the name the item shows, its key (a whole number), and optionally a detail
// shown beside the name. The kit knows no database: whoever opens a pick list gives it one.
class RowSource {
public:
    struct Rows {
        std::vector<PickItem> items;
        QString failure; // why the rows could not be read; empty when they were
    };

    virtual ~RowSource() = default;
    virtual Rows rows(const QString& sql) = 0;
};
