#pragma once

#include <QString>
#include <QStringList>

// A statement text with named parameters ":NAME" turned into Firebird's positional "?".
// A name may stand several times; names are matched without regard to letter case.
// Text inside quotes and comments is left as it is.
struct PositionalSql {
    QString sql;               // with every parameter replaced by "?"
    QStringList positionNames; // upper-case name of each "?" in order
};

PositionalSql ToPositionalSql(const QString& namedSql);
