#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <vector>

class Transaction;

// The rows of the vehicle list, read from the list's query in the browse transaction.
class VehicleListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Number, GarageNumber, Make, Plate, Mass, Payload, TotalMass, Kind, ColumnCount };

    explicit VehicleListModel(QObject* parent = nullptr);

    // Runs the query in the transaction (started when not active; a browse transaction stays
    // open) and takes all its rows. A database error is passed on and leaves the list empty.
    void reload(Transaction& read, const QString& select);

    int vehicleId(int row) const { return m_rows[row].id; }
    QString remark(int row) const { return m_rows[row].remark; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The width of a column in pixels.
    static int columnWidth(Column column);

private:
    struct Row {
        int id = 0;
        QString garageNumber;
        QString make;
        QString plate;
        QString mass;
        QString payload;
        QString totalMass;
        int kind = 0;
        QString remark;
    };

    QString text(const Row& row, int column) const;

    std::vector<Row> m_rows;
    QStringList m_kindNames;
};
