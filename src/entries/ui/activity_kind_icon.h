#pragma once

#include "entries/activity_kind.h"
#include "settings/settings_values.h"

#include <QIcon>

// The small picture of an activity kind in grids and pick lists: a square in the kind's colour.
QIcon ActivityKindIcon(ActivityKind kind, const ActivityColours& colours);
