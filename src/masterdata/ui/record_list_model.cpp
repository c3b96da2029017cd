#include "masterdata/ui/record_list_model.h"

#include "ui/grid_clipboard.h"

#include <QBrush>

RecordListModel::RecordListModel(std::vector<Look> looks, QObject* parent)
    : QAbstractTableModel(parent), m_looks(std::move(looks))
{
}

void RecordListModel::setLines(std::vector<Line> lines)
{
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
}

int RecordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int RecordListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_looks.size());
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const Line& line = m_lines[static_cast<size_t>(index.row())];
    const Look& column = look(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return line.texts[index.column()];
    case kFieldValueRole: {
        const QString& field = line.fields[index.column()];
        return field.isNull() ? QVariant() : QVariant(field);
    }
    case Qt::TextAlignmentRole:
        return column.centred ? QVariant(Qt::AlignCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return column.background.isValid() ? QVariant(QBrush(column.background)) : QVariant();
    default:
        return QVariant();
    }
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
        return look(section).caption;
    return QAbstractTableModel::headerData(section, orientation, role);
}
