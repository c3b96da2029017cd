#pragma once

#include <QString>
#include <QStringList>

// Where the window kit's pick lists read their rows: each row of a query as the texts of its
// columns in select order, joined by "||". The kit knows no database: whoever opens a pick list
// gives it one.
class RowSource {
public:
    struct Rows {
        QStringList rows;
        QString failure; // why the rows could not be read; empty when they were
    };

    virtual ~RowSource() = default;
    virtual Rows rows(const QString& sql) = 0;
};
