#pragma once

#include <QChar>
#include <QString>

#include <array>
#include <optional>

// What a driver was doing in an activity interval (SATIUNOS.TAKT).
enum class ActivityKind { Rest = 0, Availability = 1, OtherWork = 2, Driving = 3 };

inline constexpr int kActivityKindCount = 4;
inline constexpr std::array<ActivityKind, kActivityKindCount> kActivityKinds{
    ActivityKind::Rest, ActivityKind::Availability, ActivityKind::OtherWork, ActivityKind::Driving};

// The kind a newly added interval starts with.
inline constexpr ActivityKind kNewIntervalKind = ActivityKind::OtherWork;

// The legend text: item n of the "||" list is kind n - 1.
inline const QString kActivityLegend = QStringLiteral("Odmor||Spremnost za rad||Ostali rad||Vožnja");

constexpr int ActivityCode(ActivityKind kind) { return static_cast<int>(kind); }
// The kind of a stored code, or nothing for a code outside 0..3.
std::optional<ActivityKind> ActivityKindFromCode(int code);

// Name in grids and lists ("Spremnost").
QString ActivityShortName(ActivityKind kind);
// Name in legends ("Spremnost za rad").
QString ActivityLongName(ActivityKind kind);
// Height of the kind's step in the day chart: 1 for rest up to 4 for driving.
int ActivityLevel(ActivityKind kind);
// The letter that adds (or, with Ctrl, sets) this kind in the activity grid.
QChar ActivityQuickKey(ActivityKind kind);
// The kind of a quick-key letter in either case, or nothing for any other character.
std::optional<ActivityKind> ActivityKindForQuickKey(QChar letter);
// The key of the kind's colour in section "Boje" of the settings ("T0".."T3").
QString ActivityColourKey(ActivityKind kind);
