#include "entries/ui/activity_rows_model.h"

#include "ui/look.h"
#include "common/conversion_error.h"
#include "entries/activity_grid_rules.h"
#include "entries/ui/activity_kind_icon.h"

#include <QBrush>
#include <QColor>

ActivityRowsModel::ActivityRowsModel(const SettingsValues& settings, QObject* parent)
    : QAbstractTableModel(parent)
{
    applySettings(settings);
}

void ActivityRowsModel::applySettings(const SettingsValues& settings)
{
    m_colours = ActivityColoursOf(settings);
    m_addCheck = settings.checkTypedTimes;
    for (ActivityKind kind : kActivityKinds)
        m_icons[static_cast<size_t>(ActivityCode(kind))] = ActivityKindIcon(kind, m_colours);
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void ActivityRowsModel::setRows(std::vector<IntervalRow> rows)
{
    for (const IntervalRow& row : rows)
        NormaliseInterval(row.from, row.to); // throws for a time that is no time
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

std::vector<ActivityInterval> ActivityRowsModel::intervals() const
{
    return IntervalsFromRows(m_rows);
}

void ActivityRowsModel::setIntervals(std::span<const ActivityInterval> intervals)
{
    std::vector<IntervalRow> rows;
    rows.reserve(intervals.size());
    for (const ActivityInterval& interval : intervals)
        rows.push_back(RowFromInterval(interval));
    setRows(std::move(rows));
}

int ActivityRowsModel::appendRow(ActivityKind kind, int chainFrom)
{
    const int row = static_cast<int>(m_rows.size());
    beginInsertRows(QModelIndex(), row, row);
    m_rows.push_back(NewIntervalRow(kind));
    endInsertRows();
    if (chainFrom >= 0 && chainFrom < row) {
        ChainRow(m_rows, static_cast<size_t>(chainFrom));
        rowsChangedFrom(chainFrom);
    }
    return row;
}

void ActivityRowsModel::setKind(int row, ActivityKind kind)
{
    if (row < 0 || row >= rowCount())
        return;
    m_rows[static_cast<size_t>(row)].kind = kind;
    emit dataChanged(index(row, Aktivnost), index(row, Aktivnost));
}

void ActivityRowsModel::removeRowAt(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

int ActivityRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ActivityRowsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ActivityRowsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const IntervalRow& row = m_rows[static_cast<size_t>(index.row())];
    const auto column = static_cast<Column>(index.column());
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        switch (column) {
        case Aktivnost:
            return ActivityShortName(row.kind);
        case Od:
            return row.from;
        case Do:
            return row.to;
        case Trajanje:
            return DurationText(row);
        case Km:
            return row.kilometres;
        case L:
            return row.litres;
        case ColumnCount:
            break;
        }
        return {};
    }
    if (role == KindRole && column == Aktivnost)
        return ActivityCode(row.kind);
    if (role == Qt::DecorationRole && column == Aktivnost)
        return m_icons[static_cast<size_t>(ActivityCode(row.kind))];
    if (role == Qt::TextAlignmentRole && (column == Trajanje || column == L))
        return int(Qt::AlignCenter);
    if (role == Qt::ForegroundRole && column == Trajanje)
        return QBrush(Look::kTypedText);
    if (role == Qt::BackgroundRole && column == Trajanje)
        return QBrush(Look::kCream);
    return {};
}

QVariant ActivityRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const QStringList headers{QStringLiteral("Aktivnost"), QStringLiteral("Od"), QStringLiteral("Do"),
                                     QStringLiteral("Trajanje"),  QStringLiteral("Km"), QStringLiteral("L")};
    return headers.value(section);
}

Qt::ItemFlags ActivityRowsModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() != Trajanje)
        result |= Qt::ItemIsEditable;
    return result;
}

bool ActivityRowsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::EditRole && role != KindRole))
        return false;
    const int r = index.row();
    IntervalRow& row = m_rows[static_cast<size_t>(r)];
    switch (static_cast<Column>(index.column())) {
    case Aktivnost: {
        const std::optional<ActivityKind> kind = ActivityKindFromCode(value.toInt());
        if (!kind)
            return false;
        setKind(r, *kind);
        return true;
    }
    case Od:
    case Do:
        try {
            editTime(r, static_cast<Column>(index.column()), value.toString());
        } catch (const ConversionError& error) {
            emit inputRefused(error.text());
            return false;
        }
        return true;
    case Km:
        row.kilometres = KilometresCellText(value.toString());
        break;
    case L:
        row.litres = LitresCellText(value.toString());
        break;
    case Trajanje:
    case ColumnCount:
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

void ActivityRowsModel::editTime(int r, Column column, const QString& typed)
{
    IntervalRow& row = m_rows[static_cast<size_t>(r)];
    if (column == Od)
        SetRowStart(row, StartCellText(typed));
    else
        row.to = EndCellText(typed, row.from);
    // The other time of a row that was empty shows as 00:00 again.
    if (row.from.isEmpty())
        row.from = StartCellText(QString());
    if (row.to.isEmpty())
        row.to = StartCellText(QString());
    if (m_addCheck)
        row.to = CheckedEndText(row.from, row.to);
    ClearIfEmpty(row);
    ChainRow(m_rows, static_cast<size_t>(r));
    rowsChangedFrom(r);
}

void ActivityRowsModel::rowsChangedFrom(int row)
{
    const int last = std::min(row + 1, rowCount() - 1);
    emit dataChanged(index(row, 0), index(last, ColumnCount - 1));
}
