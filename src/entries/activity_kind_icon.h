#pragma once

#include "entries/activity_kind.h"

#include <QIcon>

// The small picture of an activity kind in grids and pick lists: a square in the kind's colour
// from the settings (section "Boje").
QIcon ActivityKindIcon(ActivityKind kind);
