#pragma once

#include <QComboBox>
#include <QStyledItemDelegate>

// Draws the items of the pick list 19 pixels high: field 1 in bold on the left, field 3
// right-aligned, blue unless the item is selected.
class SelectorItemDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The pick list's drop-down, which draws its closed box like its items (as selected while
// it has the focus).
class SelectorComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit SelectorComboBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
