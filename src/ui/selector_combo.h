#pragma once

#include "common/pick_item.h"

#include <QComboBox>
#include <QStyledItemDelegate>

#include <vector>

// Draws the items of the pick list 19 pixels high: the name in bold on the left, the detail
// right-aligned, blue unless the item is selected.
class SelectorItemDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The pick list's drop-down, which draws its closed box like its items (as selected while
// it has the focus). Each item shows its name as its text and carries its id as its data.
class SelectorComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit SelectorComboBox(QWidget* parent = nullptr);

    // Replaces the items.
    void setPickItems(const std::vector<PickItem>& items);
    // The item at `index` as it was given; an empty one (id -1) when there is none.
    PickItem pickItem(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
