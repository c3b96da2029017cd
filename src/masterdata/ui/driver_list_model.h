#pragma once

#include "masterdata/driver_list_query.h"

#include <QAbstractTableModel>

#include <vector>

// The rows of the driver list: "#" (the position; its field is IDDJ), "MBR" (empty for 0),
// "Prezime i ime", "OIB", "Vozač" (hidden), "Kontakt", "ID" (hidden), "Kartica".
class DriverListModel : public QAbstractTableModel {
public:
    enum Column { Number, Mbr, Name, Oib, Driver, Contact, Id, Card, ColumnCount };

    explicit DriverListModel(QObject* parent = nullptr);

    void setRows(std::vector<DriverListRow> rows);
    const std::vector<DriverListRow>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static int columnWidth(Column column);
    static bool columnHidden(Column column);

private:
    std::vector<DriverListRow> m_rows;
};
