#include "ui/selector_items.h"

namespace {

constexpr int kTextIndent = 3;  // pixels between an item's edge and its texts
constexpr int kTextDrop = 1;    // pixels between an item's top and its texts

}  // namespace

std::vector<PickItem> SelectorItems(const std::vector<PickItem>& rows)
{
    std::vector<PickItem> items{kNoChoiceItem};
    items.insert(items.end(), rows.begin(), rows.end());
    return items;
}

int SelectorChoice(const std::vector<PickItem>& items, int initialIndex, int key)
{
    int choice = initialIndex >= 0 && initialIndex < int(items.size()) ? initialIndex : 0;
    if (key > 0) {
        for (int i = 1; i < int(items.size()); ++i) {
            if (items[i].id == key) {
                choice = i;
            }
        }
    }
    return choice;
}

SelectorItemLine LayOutSelectorItem(const PickItem& item, const QRect& rect, bool selected)
{
    SelectorItemLine line;
    line.name = item.text;
    line.nameRect = rect.adjusted(kTextIndent, kTextDrop, 0, 0);
    line.detail = item.detail;
    line.detailRect = rect.adjusted(0, kTextDrop, -kTextIndent, 0);
    line.detailInBlue = !selected;
    return line;
}
