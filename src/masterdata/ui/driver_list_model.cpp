#include "masterdata/ui/driver_list_model.h"

#include "ui/grid_clipboard.h"
#include "ui/look.h"

#include <QBrush>

namespace {

struct ColumnLook {
    const char* title;
    int width;
    bool centred;
};

constexpr ColumnLook kColumns[DriverListModel::ColumnCount] = {
    {"#", 35, true},       {"MBR", 45, true},     {"Prezime i ime", 175, false}, {"OIB", 90, false},
    {"Vozač", 0, false},   {"Kontakt", 200, false}, {"ID", 0, false},          {"Kartica", 100, true},
};
const QColor kNumberColumn(241, 239, 226);

}  // namespace

DriverListModel::DriverListModel(QObject* parent) : QAbstractTableModel(parent) {}

void DriverListModel::setRows(std::vector<DriverListRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int DriverListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int DriverListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DriverListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const DriverListRow& row = m_rows[static_cast<size_t>(index.row())];
    const int column = index.column();
    if (role == Qt::DisplayRole) {
        switch (column) {
        case Number:
            return QString::number(index.row() + 1);
        case Mbr:
            return row.registrationNumber == 0 ? QString() : QString::number(row.registrationNumber);
        case Name:
            return row.name;
        case Oib:
            return row.oib;
        case Driver:
            return row.driver ? QStringLiteral("1") : QStringLiteral("0");
        case Contact:
            return row.contact;
        case Id:
            return QString::number(row.id);
        case Card:
            return row.card;
        default:
            return QVariant();
        }
    }
    if (role == kFieldValueRole) {
        // The "#" column shows the position; its field is the key. MBR is copied as stored.
        if (column == Number)
            return QString::number(row.id);
        if (column == Mbr)
            return QString::number(row.registrationNumber);
        return QVariant();
    }
    if (role == Qt::TextAlignmentRole)
        return kColumns[column].centred ? QVariant(Qt::AlignCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::BackgroundRole) {
        if (column == Number)
            return QBrush(kNumberColumn);
        if (column == Name)
            return QBrush(Look::kCream);
    }
    return QVariant();
}

QVariant DriverListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return QString::fromUtf8(kColumns[section].title);
    return QAbstractTableModel::headerData(section, orientation, role);
}

int DriverListModel::columnWidth(Column column)
{
    return kColumns[column].width;
}

bool DriverListModel::columnHidden(Column column)
{
    return column == Driver || column == Id;
}
