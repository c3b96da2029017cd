#pragma once

#include "masterdata/vehicle_list_query.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <vector>

// The rows of the vehicle list.
class VehicleListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Number, GarageNumber, Make, Plate, Mass, Payload, TotalMass, Kind, ColumnCount };

    explicit VehicleListModel(QObject* parent = nullptr);

    void setRows(std::vector<VehicleListRow> rows);

    int vehicleId(int row) const { return m_rows[row].id; }
    QString remark(int row) const { return m_rows[row].remark; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The width of a column in pixels.
    static int columnWidth(Column column);

private:
    using Row = VehicleListRow;

    QString text(const Row& row, int column) const;

    std::vector<Row> m_rows;
    QStringList m_kindNames;
};
