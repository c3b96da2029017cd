#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <QStringList>

#include <vector>

// A column of a record list (drivers, vehicles) over rows of type Row: its caption, its width
// in pixels, what a cell shows and, where it differs, what a copy of the grid takes (the
// field's value). A column without `text` shows the row's position ("#") and copies the
// row's key.
template <typename Row>
struct ListColumn {
    const char* caption;
    int width;
    QString (*text)(const Row&) = nullptr;
    QString (*field)(const Row&) = nullptr;
    bool centred = false;
    QColor background = QColor();
    bool hidden = false;
};

// The rows of a record list as its grid shows them.
class RecordListModel : public QAbstractTableModel {
public:
    // How a column looks.
    struct Look {
        QString caption;
        int width = 0;
        bool centred = false;
        QColor background;
        bool hidden = false;
    };

    template <typename Row>
    static std::vector<Look> LooksOf(const std::vector<ListColumn<Row>>& columns)
    {
        std::vector<Look> looks;
        for (const ListColumn<Row>& column : columns)
            looks.push_back(Look{QString::fromUtf8(column.caption), column.width, column.centred, column.background,
                                 column.hidden});
        return looks;
    }

    RecordListModel(std::vector<Look> looks, QObject* parent);

    // Shows `rows` (each with its key in `id`) through `columns`.
    template <typename Row>
    void setRows(const std::vector<Row>& rows, const std::vector<ListColumn<Row>>& columns)
    {
        std::vector<Line> lines;
        for (const Row& row : rows) {
            Line line{row.id, {}, {}};
            for (const ListColumn<Row>& column : columns) {
                if (!column.text) {
                    line.texts << QString::number(lines.size() + 1);
                    line.fields << QString::number(row.id);
                } else {
                    line.texts << column.text(row);
                    line.fields << (column.field ? column.field(row) : QString());
                }
            }
            lines.push_back(std::move(line));
        }
        setLines(std::move(lines));
    }

    const Look& look(int column) const { return m_looks[static_cast<size_t>(column)]; }
    // The key of a row.
    int idAt(int row) const { return m_lines[static_cast<size_t>(row)].id; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Line {
        int id;
        QStringList texts;
        QStringList fields; // a null text: the copy takes the shown text
    };

    void setLines(std::vector<Line> lines);

    std::vector<Look> m_looks;
    std::vector<Line> m_lines;
};
