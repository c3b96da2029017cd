#include "ui/selector_combo.h"

#include "ui/selector_items.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStylePainter>

namespace {

constexpr int kItemHeight = 19;
constexpr int kIdRole = Qt::UserRole;
constexpr int kDetailRole = Qt::UserRole + 1;

// The item at a row of the list; an empty one (id -1) for no row.
PickItem ItemAt(const QModelIndex& index)
{
    if (!index.isValid())
        return PickItem{};
    return PickItem{index.data(kIdRole).toInt(), index.data(Qt::DisplayRole).toString(), index.data(kDetailRole).toString()};
}

void PaintSelectorItem(QPainter& painter, const QRect& rect, const PickItem& item, QFont font,
    const QPalette& palette, bool selected)
{
    const SelectorItemLine line = LayOutSelectorItem(item, rect, selected);
    painter.save();
    painter.fillRect(rect, palette.color(selected ? QPalette::Highlight : QPalette::Base));
    painter.setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(line.nameRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line.name);
    font.setBold(false);
    painter.setFont(font);
    if (line.detailInBlue) {
        painter.setPen(QColor(Qt::blue));
    }
    painter.drawText(line.detailRect, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, line.detail);
    painter.restore();
}

}  // namespace

void SelectorItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    PaintSelectorItem(*painter, option.rect, ItemAt(index), option.font, option.palette,
        option.state.testFlag(QStyle::State_Selected));
}

QSize SelectorItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
}

SelectorComboBox::SelectorComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setItemDelegate(new SelectorItemDelegate(this));
}

void SelectorComboBox::setPickItems(const std::vector<PickItem>& items)
{
    clear();
    for (const PickItem& item : items) {
        addItem(item.text, item.id);
        setItemData(count() - 1, item.detail, kDetailRole);
    }
}

PickItem SelectorComboBox::pickItem(int index) const
{
    return ItemAt(model()->index(index, modelColumn(), rootModelIndex()));
}

void SelectorComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    PaintSelectorItem(painter, field, pickItem(currentIndex()), font(), palette(), hasFocus());
}
