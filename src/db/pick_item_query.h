#pragma once

#include "common/pick_item.h"

#include <QString>

#include <vector>

class Connection;

// Runs the query of a pick list in a read-only transaction of its own and returns one item a
// row, in the rows' order. The query selects, in this order: the name the item shows, its key
// (a whole number), and optionally a detail shown beside the name. A NULL name or detail is an
// empty text, a NULL key -1. A query of other columns is refused with a DbError before any row
// is read; a database error is passed on, and `items` then holds the rows read before it.
void QueryPickItems(Connection& connection, const QString& sql, std::vector<PickItem>& items);
