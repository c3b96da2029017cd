#pragma once

#include "reviews/overview_queries.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class Connection;

// The columns of each overview list: their headers and what a line shows in them.
template <typename Row>
struct OverviewColumns {
    static QStringList headers();
    static std::vector<int> widths();
    static QVariant cell(const Row& row, int lineNumber, int column, int role);
};

// A list of the overview as a model over plain lines, read in batches as the view scrolls.
// The role Qt::UserRole + 10 of the entry-kind column gives the EntryMark as a number.
template <typename Row>
class OverviewListModel : public QAbstractTableModel {
public:
    static constexpr int kMarkRole = Qt::UserRole + 10;
    static constexpr int kBatch = 200;

    explicit OverviewListModel(QObject* parent = nullptr);

    // Reads the list anew with the filter: the first batch now, the rest as the view asks.
    // Throws DbError (the list is then empty).
    void reload(Connection& connection, const OverviewFilter& filter);
    // Reads further lines until one matches; its position, or -1 when none does.
    int fetchUntil(const std::function<bool(const Row&)>& matches);
    // Told of a database error while reading further lines; the list then stops growing.
    void setErrorHandler(std::function<void(const QString&)> handler) { m_errorHandler = std::move(handler); }

    const Row& line(int position) const { return m_rows[static_cast<size_t>(position)]; }
    static std::vector<int> columnWidths() { return OverviewColumns<Row>::widths(); }
    bool isEmpty() const { return m_rows.empty(); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    void append(std::vector<Row> rows);

    std::unique_ptr<OverviewReader<Row>> m_reader;
    std::vector<Row> m_rows;
    std::function<void(const QString&)> m_errorHandler;
};

using EntriesModel = OverviewListModel<OverviewEntryRow>;
using EntryDaysModel = OverviewListModel<OverviewDayRow>;
using DayTotalsModel = OverviewListModel<OverviewTotalRow>;
