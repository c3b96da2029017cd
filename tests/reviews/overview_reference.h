#pragma once

#include "reviews/overview_queries.h"

#include <QString>
#include <QStringList>

class Statement;
class TestConnection;

// The overview's three queries as the record of the program writes them (0 entries, 1 entry
// days, 2 day totals), grouping and sorting in the database: the reference the lists, which
// read the same lines in index order, are held to.
QString WrittenOverviewSql(int list, const OverviewFilter& filter);

// The rows of a written query (at most `limit`, all when negative), each as its columns' texts
// joined by tabs, as a copied list gives them.
QStringList WrittenOverviewRows(TestConnection& data, int list, const OverviewFilter& filter, int limit = -1);

// The current row of a query as its columns' texts joined by tabs: NULL empty, dates as
// "dd.MM.yyyy", decimals as the copied lists give them.
QString StatementRowText(const Statement& sql);
