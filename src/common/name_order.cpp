#include "common/name_order.h"

#include <QCollator>
#include <QLocale>

namespace {

// The collation of the Croatian locale, which takes Dž, Lj and Nj as letters of their own.
const QCollator& CroatianCollator()
{
    thread_local const QCollator collator = [] {
        QCollator croatian(QLocale(QLocale::Croatian, QLocale::Croatia));
        croatian.setCaseSensitivity(Qt::CaseInsensitive);
        return croatian;
    }();
    return collator;
}

}  // namespace

bool NameBefore(const QString& a, const QString& b)
{
    return CroatianCollator().compare(a, b) < 0;
}

void SortItemsByName(std::vector<PickItem>& items)
{
    SortByName(items, [](const PickItem& item) { return item.text; });
}
