#pragma once

#include "reviews/overview_queries.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class Connection;
class DatabaseWorker;

// The columns of each overview list: their headers and what a line shows in them.
template <typename Row>
struct OverviewColumns {
    static QStringList headers();
    static std::vector<int> widths();
    static QVariant cell(const Row& row, int lineNumber, int column, int role);
};

// What the window hears from a list of the overview while it is read.
class OverviewListBase : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    // Whether the list waits for lines: its first lines, or lines the view shows that are not
    // read yet. The window shows a busy cursor meanwhile.
    virtual bool isWaiting() const = 0;
    // Whether the list knows its length: rowCount() is then every line, read or not.
    virtual bool isCounted() const = 0;
    // Reads the number of lines in every group, after what was asked before: the list then
    // knows its length (a list whose first batch is all of it knows it already). A window
    // asks once its lists' first batches are in, so that no count holds them up.
    virtual void count() = 0;

signals:
    void waitingChanged();
    void firstLinesRead();
    void counted();
    // The line a reload was asked to find again, at its new position.
    void lineFound(int position);
    // A database error while reading; the list keeps what it has.
    void failed(const QString& text);
};

// A list of the overview as a model over plain lines, read off the window's thread on a
// connection of its own (one snapshot of the database for every read of one filter): the
// first batch at once, then, when asked, the number of lines in every group, which gives the
// list its length, then the batches the view shows, wherever they lie (Ctrl+End, a dragged
// scroll bar), each read from its group by a keyset. The line number column shows before the
// line is read. The role Qt::UserRole + 10 of the entry-kind column gives the EntryMark.
template <typename Row>
class OverviewListModel : public OverviewListBase {
public:
    static constexpr int kMarkRole = Qt::UserRole + 10;
    static constexpr int kBatch = 200;

    explicit OverviewListModel(QObject* parent = nullptr);
    ~OverviewListModel() override;

    // Reads the list anew with the filter; the lines read before go. `find` is the line to
    // make current again, looked for in the first batch and, when the list is longer, about
    // its former position `near`; lineFound tells where it is now.
    void reload(const Connection& connection, const OverviewFilter& filter,
                std::function<bool(const Row&)> find = {}, int near = 0);
    void count() override;
    // Stops reading (the window is hidden); the lines read stay, and the connection for the
    // next reload.
    void stop();

    bool isLoaded(int position) const { return m_rows.contains(position); }
    // A line read (see isLoaded).
    const Row& line(int position) const { return m_rows.at(position); }
    static std::vector<int> columnWidths() { return OverviewColumns<Row>::widths(); }
    bool isEmpty() const { return m_length == 0; }

    bool isWaiting() const override;
    bool isCounted() const override { return m_counted; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    // A read asked of the worker: lines from `first` on.
    struct Request {
        int first = 0;
        OverviewStart start;
        bool fromTop = false;
    };

    void request(const Request& wanted);
    void requestWanted();
    void place(int generation, int first, std::vector<Row> rows, bool atEnd);
    void setGroups(int generation, const std::vector<OverviewGroup>& groups);
    void lookFor(int first, const std::vector<Row>& rows);
    void report(int generation, const QString& text);
    void setWaitingCount(int change);
    // The read that brings the line at the position (the list's length known).
    Request requestFor(int position) const;

    std::unique_ptr<DatabaseWorker> m_worker;
    OverviewFilter m_filter;
    int m_generation = 0;
    std::unordered_map<int, Row> m_rows;
    int m_length = 0;               // rows the view has: every line once counted, else those read
    bool m_counted = false;
    bool m_stopped = false;
    bool m_countAsked = false;
    bool m_endReached = false;      // reading from the top came to the end before the count
    std::vector<OverviewGroup> m_groups;
    std::vector<int> m_groupFirst;  // the position of each group's first line
    std::vector<std::pair<int, int>> m_requested;  // positions being read, from and to
    int m_waiting = 0;              // reads the view waits for
    mutable std::vector<int> m_wanted;  // positions the view asked for that are not read
    std::function<bool(const Row&)> m_find;
    int m_near = 0;
    int m_findFirst = -1;  // the first position of the batch read about m_near
};

using EntriesModel = OverviewListModel<OverviewEntryRow>;
using EntryDaysModel = OverviewListModel<OverviewDayRow>;
using DayTotalsModel = OverviewListModel<OverviewTotalRow>;
