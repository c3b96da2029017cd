#pragma once

#include <QStringList>

class QAction;
class QTableView;

// A list model whose rows come from a query can give every column of that query, whether
// the grid shows it or not, so that the whole query can be copied.
class QueryRowsSource {
public:
    virtual ~QueryRowsSource() = default;
    // The values of every query column of the row, in select order, as plain text
    // (empty for NULL).
    virtual QStringList queryRowTexts(int row) const = 0;
};

// A list model gives the field name of a column under this header role; a column without a
// title is copied under its field name.
inline constexpr int kFieldNameRole = Qt::UserRole + 1;

// A cell whose shown text is not its field's value (the "#" column shows the row's position
// over the row's key) gives the value to copy under this role.
inline constexpr int kFieldValueRole = Qt::UserRole + 2;

// Copies the grid to the clipboard as tab-separated plain text with CR LF line ends: a
// header line "##" and every column's title, then one line per row: its number from 1 and
// the value of every column's field (its shown text where the two are the same), hidden
// columns included. An empty grid leaves the clipboard as it is.
void CopyGridToClipboard(const QTableView* grid);

// The same without a header line and with every column of the grid's query, in select
// order, when the grid's model is a QueryRowsSource (otherwise the grid's own columns).
void CopyRowsToClipboard(const QTableView* grid);

// Gives a list grid the context menu item "Kopiraj tablicu" (Ctrl+C), which copies it with
// CopyGridToClipboard. Returns the action so that a window can put it in its own menus.
QAction* AddCopyTableAction(QTableView* grid);
