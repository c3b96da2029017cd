#pragma once

#include <QString>
#include <QStringList>

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

// "||" list items in the order of their first field, the name they show.
void SortItemsByName(QStringList& items);
