#include "entries/ui/activity_grid_view.h"

#include "ui/look.h"
#include "ui/message_box.h"
#include "entries/ui/activity_kind_icon.h"
#include "entries/ui/activity_rows_model.h"
#include "settings/settings.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTimer>

namespace {

constexpr int kHeaderHeight = 25;
constexpr int kRowHeight = 18;
constexpr std::array<int, ActivityRowsModel::ColumnCount> kColumnWidths{90, 55, 55, 65, 55, 45};

// The cell editors: a pick list of the kinds for "Aktivnost", a line for the others. Every
// editor passes its keys through the grid first.
class ActivityCellDelegate : public QStyledItemDelegate {
public:
    explicit ActivityCellDelegate(ActivityGridView* grid)
        : QStyledItemDelegate(grid), m_grid(grid)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = nullptr;
        if (index.column() == ActivityRowsModel::Aktivnost) {
            auto* kinds = new QComboBox(parent);
            const ActivityColours& colours = static_cast<const ActivityRowsModel*>(index.model())->colours();
            for (ActivityKind kind : kActivityKinds)
                kinds->addItem(ActivityKindIcon(kind, colours), ActivityShortName(kind), ActivityCode(kind));
            auto* self = const_cast<ActivityCellDelegate*>(this);
            connect(kinds, &QComboBox::activated, self, [self, kinds] {
                emit self->commitData(kinds);
                emit self->closeEditor(kinds);
            });
            QTimer::singleShot(0, kinds, &QComboBox::showPopup);
            editor = kinds;
        } else {
            editor = QStyledItemDelegate::createEditor(parent, option, index);
        }
        editor->installEventFilter(m_grid);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* kinds = qobject_cast<QComboBox*>(editor))
            kinds->setCurrentIndex(kinds->findData(index.data(ActivityRowsModel::KindRole)));
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* kinds = qobject_cast<QComboBox*>(editor))
            model->setData(index, kinds->currentData(), ActivityRowsModel::KindRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    ActivityGridView* m_grid;
};

bool IsMove(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

// Whether an arrow typed into an editor moves its text cursor rather than the cell cursor:
// Left and Right inside a line's text.
bool MovesInsideEditor(const QKeyEvent* event, const QWidget* editor)
{
    const auto* line = qobject_cast<const QLineEdit*>(editor);
    if (line == nullptr || line->hasSelectedText())
        return false;
    if (event->key() == Qt::Key_Left)
        return line->cursorPosition() > 0;
    if (event->key() == Qt::Key_Right)
        return line->cursorPosition() < line->text().size();
    return false;
}

} // namespace

ActivityGridView::ActivityGridView(ActivityRowsModel* model, QWidget* parent)
    : QTableView(parent), m_rows(model)
{
    setModel(model);
    setItemDelegate(new ActivityCellDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                    | QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    horizontalHeader()->setFixedHeight(kHeaderHeight);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    // The kilometre and litre columns hold four-digit values as shown ("1.234,50").
    for (int column = 0; column < ActivityRowsModel::ColumnCount; ++column) {
        const bool amount = column == ActivityRowsModel::Km || column == ActivityRowsModel::L;
        setColumnWidth(column, Look::ColumnWidth(fontMetrics(), kColumnWidths[static_cast<size_t>(column)],
                                                 amount ? QStringLiteral("1.234,50") : QString()));
    }
    connect(model, &ActivityRowsModel::inputRefused, this, [this] { m_refused = true; });
}

void ActivityGridView::enterGrid()
{
    const int count = m_rows->rowCount();
    if (count == 1)
        moveTo(0, ActivityRowsModel::Od);
    else if (count > 1)
        moveTo(count - 1, ActivityRowsModel::Do);
}

void ActivityGridView::keyPressEvent(QKeyEvent* event)
{
    if (!handleKey(event, nullptr))
        QTableView::keyPressEvent(event);
}

void ActivityGridView::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
        enterGrid();
}

bool ActivityGridView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* editor = static_cast<QWidget*>(watched);
        if (!(IsMove(key->key()) && MovesInsideEditor(key, editor)) && handleKey(key, editor))
            return true;
    }
    return QTableView::eventFilter(watched, event);
}

bool ActivityGridView::handleKey(QKeyEvent* event, QWidget* editor)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers & (Qt::AltModifier | Qt::MetaModifier))
        return false;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const int key = event->key();
    const QModelIndex current = currentIndex();
    const int row = current.isValid() ? current.row() : -1;
    const int column = current.isValid() ? current.column() : ActivityRowsModel::Od;
    const int last = m_rows->rowCount() - 1;

    std::optional<ActivityKind> quickKind;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        quickKind = ActivityKindForQuickKey(QChar(key));

    if (quickKind) {
        if (!finishEditing(editor))
            return true;
        if (ctrl) {
            m_rows->setKind(row, *quickKind);
        } else if (row >= 0 || last < 0) {
            moveTo(m_rows->appendRow(*quickKind, row), ActivityRowsModel::Do);
        }
        return true;
    }
    if (ctrl && key != Qt::Key_Delete)
        return false;

    switch (key) {
    case Qt::Key_Insert:
        if (finishEditing(editor))
            moveTo(m_rows->appendRow(kNewIntervalKind, -1), column);
        return true;
    case Qt::Key_Delete:
        if (!ctrl)
            return false;
        if (finishEditing(editor))
            deleteCurrentRow();
        return true;
    case Qt::Key_Up:
        if (finishEditing(editor) && row > 0)
            moveTo(row - 1, column);
        return true;
    case Qt::Key_Down:
        if (!finishEditing(editor) || row < 0)
            return true;
        if (row == last)
            moveTo(m_rows->appendRow(kNewIntervalKind, row), column);
        else
            moveTo(row + 1, column);
        return true;
    case Qt::Key_Right: {
        if (!finishEditing(editor))
            return true;
        int next = column + 1;
        if (next == ActivityRowsModel::Trajanje)
            ++next;
        if (row >= 0 && next < ActivityRowsModel::ColumnCount)
            moveTo(row, next);
        return true;
    }
    case Qt::Key_Left: {
        if (!finishEditing(editor))
            return true;
        int previous = column - 1;
        if (previous == ActivityRowsModel::Trajanje)
            --previous;
        if (row >= 0 && previous >= 0)
            moveTo(row, previous);
        return true;
    }
    default:
        return false;
    }
}

bool ActivityGridView::finishEditing(QWidget* editor)
{
    if (editor == nullptr)
        return true;
    m_refused = false;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return !m_refused;
}

void ActivityGridView::moveTo(int row, int column)
{
    if (row < 0 || row >= m_rows->rowCount())
        return;
    setCurrentIndex(m_rows->index(row, column));
}

void ActivityGridView::deleteCurrentRow()
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !AskYesNo(this, QStringLiteral("Obrisati redak?")))
        return;
    m_rows->removeRowAt(current.row());
    moveTo(std::min(current.row(), m_rows->rowCount() - 1), current.column());
}
