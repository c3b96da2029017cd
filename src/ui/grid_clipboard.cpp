#include "ui/grid_clipboard.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QTableView>

#include <functional>
#include <optional>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QChar kTab = QLatin1Char('\t');

QStringList ColumnTitles(const QAbstractItemModel& model)
{
    QStringList titles;
    for (int column = 0; column < model.columnCount(); ++column) {
        QString title = model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        if (title.isEmpty()) {
            title = model.headerData(column, Qt::Horizontal, kFieldNameRole).toString();
        }
        titles << title;
    }
    return titles;
}

QStringList CellTexts(const QAbstractItemModel& model, int row)
{
    QStringList texts;
    for (int column = 0; column < model.columnCount(); ++column) {
        const QModelIndex cell = model.index(row, column);
        const QVariant value = cell.data(kFieldValueRole);
        texts << (value.isValid() ? value : cell.data(Qt::DisplayRole)).toString();
    }
    return texts;
}

// Numbered lines of the rows' texts, after the header line when there is one; nothing
// reaches the clipboard for a grid without rows.
void CopyLines(const QAbstractItemModel* model, const std::optional<QStringList>& header, const std::function<QStringList(int)>& rowTexts)
{
    if (!model || model->rowCount() == 0) {
        return;
    }
    QString text;
    if (header) {
        text += QStringLiteral("##") + kTab + header->join(kTab) + kLineEnd;
    }
    for (int row = 0; row < model->rowCount(); ++row) {
        text += QString::number(row + 1) + kTab + rowTexts(row).join(kTab) + kLineEnd;
    }
    QGuiApplication::clipboard()->setText(text);
}

}  // namespace

void CopyGridToClipboard(const QTableView* grid)
{
    const QAbstractItemModel* model = grid->model();
    if (!model) {
        return;
    }
    CopyLines(model, ColumnTitles(*model), [model](int row) { return CellTexts(*model, row); });
}

void CopyRowsToClipboard(const QTableView* grid)
{
    const QAbstractItemModel* model = grid->model();
    if (const auto* query = dynamic_cast<const QueryRowsSource*>(model)) {
        CopyLines(model, std::nullopt, [query](int row) { return query->queryRowTexts(row); });
    } else if (model) {
        CopyLines(model, std::nullopt, [model](int row) { return CellTexts(*model, row); });
    }
}

QAction* AddCopyTableAction(QTableView* grid)
{
    auto* action = new QAction(QStringLiteral("Kopiraj tablicu"), grid);
    action->setObjectName(QStringLiteral("KopirajTablicu"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(action, &QAction::triggered, grid, [grid] { CopyGridToClipboard(grid); });
    grid->addAction(action);
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    return action;
}
