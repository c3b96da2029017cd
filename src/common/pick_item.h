#pragma once

#include <QString>

// One row of a pick list: the key it stands for, the name it shows, and a detail shown beside
// the name (a job title), empty for none. The name is taken whole: it may hold any character.
struct PickItem {
    int id = -1;  // -1: no row
    QString text;
    QString detail;

    bool operator==(const PickItem&) const = default;
};
