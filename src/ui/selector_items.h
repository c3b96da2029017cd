#pragma once

#include "common/pick_item.h"

#include <QRect>
#include <QString>

#include <vector>

// The pick list's first item, which stands for no choice; it shows its name on both sides.
inline const PickItem kNoChoiceItem{-1, QStringLiteral("Zanemari"), QStringLiteral("Zanemari")};

// The items of a pick list: "Zanemari" followed by the query's rows.
std::vector<PickItem> SelectorItems(const std::vector<PickItem>& rows);

// The item chosen first when the pick list opens: the initial index when it names an item
// (item 0 otherwise); then, for a key above 0, the last of items 1 onward whose id is the key.
// A key that matches no item keeps the initial choice.
int SelectorChoice(const std::vector<PickItem>& items, int initialIndex, int key);

// Where one item of the pick list is written inside its rectangle: its name in bold from the
// left, its detail in the regular weight right-aligned, both just below the top; the detail is
// blue unless the item is the selected one.
struct SelectorItemLine {
    QString name;
    QRect nameRect;    // text starts at its left edge, top-aligned
    QString detail;
    QRect detailRect;  // text ends at its right edge, top-aligned
    bool detailInBlue = false;
};
SelectorItemLine LayOutSelectorItem(const PickItem& item, const QRect& rect, bool selected);
