#pragma once

#include "reviews/overview_queries.h"

#include <QIcon>

// The 16 × 16 picture of how an entry came to be: a sheet written by hand, a sum sign, a chart
// disc, a driver card, or a grey question mark for entries of other software.
QIcon EntryMarkIcon(EntryMark mark);
