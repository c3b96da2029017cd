#include "ui/selector_items.h"

#include "common/list_fields.h"

namespace {

constexpr int kTextIndent = 3;  // pixels between an item's edge and its texts
constexpr int kTextDrop = 1;    // pixels between an item's top and its texts
constexpr int kNameField = 1;
constexpr int kDetailField = 3;

}  // namespace

QStringList SelectorItems(const QStringList& rows)
{
    return QStringList{kNoChoiceItem} + rows;
}

int SelectorChoice(const QStringList& items, int initialIndex, int key, int keyField)
{
    int choice = initialIndex >= 0 && initialIndex < int(items.size()) ? initialIndex : 0;
    if (key > 0) {
        const QString keyText = QString::number(key);
        for (int i = 1; i < int(items.size()); ++i) {
            if (ListField(items[i], keyField) == keyText) {
                choice = i;
            }
        }
    }
    return choice;
}

SelectorItemLine LayOutSelectorItem(const QString& item, const QRect& rect, bool selected)
{
    SelectorItemLine line;
    line.name = ListField(item, kNameField);
    line.nameRect = rect.adjusted(kTextIndent, kTextDrop, 0, 0);
    line.detail = ListField(item, kDetailField);
    line.detailRect = rect.adjusted(0, kTextDrop, -kTextIndent, 0);
    line.detailInBlue = !selected;
    return line;
}
