#include "masterdata/ui/vehicle_list_model.h"

#include "ui/grid_clipboard.h"
#include "ui/look.h"


#include <QColor>

namespace {


struct ColumnLook {
    const char* title;
    int width;
    bool centred;
};

constexpr ColumnLook kColumns[VehicleListModel::ColumnCount] = {
    {"#", 35, true},
    {"Garažni broj", 80, false},
    {"Marka i tip vozila", 175, false},
    {"Oznaka", 110, true},
    {"Masa (kg)", 70, false},
    {"Nosivost (kg)", 85, false},
    {"Uk.masa (kg)", 80, true},
    {"Vrsta", 70, true},
};

}  // namespace

VehicleListModel::VehicleListModel(QObject* parent) : QAbstractTableModel(parent), m_kindNames(VehicleFilterNames()) {}

void VehicleListModel::setRows(std::vector<VehicleListRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int VehicleListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int VehicleListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString VehicleListModel::text(const Row& row, int column) const
{
    switch (column) {
    case GarageNumber:
        return row.garageNumber;
    case Make:
        return row.make;
    case Plate:
        return row.plate;
    case Mass:
        return row.mass;
    case Payload:
        return row.payload;
    case TotalMass:
        return row.totalMass;
    case Kind:
        return row.kind >= 0 && row.kind < m_kindNames.size() ? m_kindNames[row.kind] : QString();
    default:
        return QString();
    }
}

QVariant VehicleListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const Row& row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == Number ? QString::number(index.row() + 1) : text(row, index.column());
    case kFieldValueRole:
        // The "#" column shows the position; its field is the vehicle's key.
        return index.column() == Number ? QVariant(QString::number(row.id)) : QVariant();
    case Qt::TextAlignmentRole:
        return kColumns[index.column()].centred ? QVariant(Qt::AlignCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return index.column() == Make ? QVariant(Look::kCream) : QVariant();
    default:
        return QVariant();
    }
}

QVariant VehicleListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(kColumns[section].title);
    return QVariant();
}

int VehicleListModel::columnWidth(Column column)
{
    return kColumns[column].width;
}
