#pragma once

#include "entries/activity_interval.h"
#include "entries/activity_kind.h"
#include "settings/settings_values.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <array>
#include <span>
#include <vector>

// The rows of a manual entry's activity grid. What the operator types is rewritten by the grid
// rules (times as "hh:mm", the extra end check when the setting AddCheck is on, whole
// kilometres, litres with two decimals), and a changed time carries over to the next row.
class ActivityRowsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Aktivnost, Od, Do, Trajanje, Km, L, ColumnCount };
    // The kind code of a row, as the kind column's editor reads and writes it.
    static constexpr int KindRole = Qt::UserRole;

    explicit ActivityRowsModel(const SettingsValues& settings, QObject* parent = nullptr);

    // The activity colours and the extra end check of the settings.
    void applySettings(const SettingsValues& settings);
    const ActivityColours& colours() const { return m_colours; }

    // The rows hold times only: a typed time that is no time is refused as it is typed, and
    // setRows throws ConversionError for one before anything changes.
    const std::vector<IntervalRow>& rows() const { return m_rows; }
    void setRows(std::vector<IntervalRow> rows);

    // The rows that count, as intervals in grid order: where an entry's grid turns into what is
    // counted and stored.
    std::vector<ActivityInterval> intervals() const;
    // Shows intervals as the grid's rows.
    void setIntervals(std::span<const ActivityInterval> intervals);

    // Appends a new row of the kind, chains the row `chainFrom` into the one after it (-1 or a
    // row past the end chains nothing) and returns the new row.
    int appendRow(ActivityKind kind, int chainFrom);
    void setKind(int row, ActivityKind kind);
    void removeRowAt(int row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    // A typed text was not taken (a time that is no time); the cell keeps its text.
    void inputRefused(const QString& message);

private:
    void editTime(int row, Column column, const QString& typed);
    void rowsChangedFrom(int row);

    std::vector<IntervalRow> m_rows;
    ActivityColours m_colours;
    bool m_addCheck = false;
    std::array<QIcon, kActivityKindCount> m_icons;
};
