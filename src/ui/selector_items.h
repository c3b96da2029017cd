#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

// The pick list's first item, which stands for no choice.
inline const QString kNoChoiceItem = QStringLiteral("Zanemari");

// The items of a pick list: "Zanemari" followed by the query's rows.
QStringList SelectorItems(const QStringList& rows);

// The item chosen first when the pick list opens: the initial index when it names an item
// (item 0 otherwise); then, for a key above 0, the last of items 1 onward whose field
// `keyField` is the key in decimal. A key that matches no item keeps the initial choice.
int SelectorChoice(const QStringList& items, int initialIndex, int key, int keyField);

// Where one item of the pick list is written inside its rectangle: field 1 in bold from the
// left, field 3 in the regular weight right-aligned, both just below the top; field 3 is blue
// unless the item is the selected one.
struct SelectorItemLine {
    QString name;
    QRect nameRect;    // text starts at its left edge, top-aligned
    QString detail;
    QRect detailRect;  // text ends at its right edge, top-aligned
    bool detailInBlue = false;
};
SelectorItemLine LayOutSelectorItem(const QString& item, const QRect& rect, bool selected);
