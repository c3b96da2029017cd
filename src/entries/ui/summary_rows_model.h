#pragma once

#include "entries/day_totals.h"

#include <QAbstractTableModel>

// The summary grid of a manual entry: one row per activity kind with its minutes by day and
// by night, typed as times and shown as "hh:mm", and their sum.
class SummaryRowsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Aktivnost, Dnevno, Nocno, Ukupno, ColumnCount };

    explicit SummaryRowsModel(QObject* parent = nullptr);

    const SummaryMinutes& minutes() const { return m_minutes; }
    void setMinutes(const SummaryMinutes& minutes);

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
    SummaryMinutes m_minutes;
};
