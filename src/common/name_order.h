#pragma once

#include "common/pick_item.h"

#include <QString>

#include <algorithm>
#include <vector>

// Names in Croatian alphabetical order: A B C Č Ć D Dž Đ E F G H I J K L Lj M N Nj O P R S Š T
// U V Z Ž, letter case aside. Every list of names is shown, picked from and printed in it.

// Whether name `a` comes before name `b`; names that differ only in letter case are equal.
bool NameBefore(const QString& a, const QString& b);

// Rows in the order of their names (`name(row)`); rows of equal names keep the order they had.
template <typename Row, typename Name>
void SortByName(std::vector<Row>& rows, Name name)
{
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) { return NameBefore(name(a), name(b)); });
}

// Pick-list items in the order of the names they show.
void SortItemsByName(std::vector<PickItem>& items);
