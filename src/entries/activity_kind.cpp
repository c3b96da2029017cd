#include "entries/activity_kind.h"

namespace {

struct KindInfo {
    const char16_t* shortName;
    const char16_t* longName;
    int level;
    char quickKey;
};

// Indexed by the kind's code.
constexpr std::array<KindInfo, kActivityKindCount> kKindInfo{{
    {u"Odmor", u"Odmor", 1, 'B'},
    {u"Spremnost", u"Spremnost za rad", 2, 'M'},
    {u"Ostali rad", u"Ostali rad", 3, 'N'},
    {u"Vožnja", u"Vožnja", 4, 'V'},
}};

const KindInfo& Info(ActivityKind kind)
{
    return kKindInfo[static_cast<size_t>(ActivityCode(kind))];
}

} // namespace

std::optional<ActivityKind> ActivityKindFromCode(int code)
{
    if (code < 0 || code >= kActivityKindCount)
        return std::nullopt;
    return static_cast<ActivityKind>(code);
}

QString ActivityShortName(ActivityKind kind)
{
    return QString::fromUtf16(Info(kind).shortName);
}

QString ActivityLongName(ActivityKind kind)
{
    return QString::fromUtf16(Info(kind).longName);
}

int ActivityLevel(ActivityKind kind)
{
    return Info(kind).level;
}

QChar ActivityQuickKey(ActivityKind kind)
{
    return QChar(Info(kind).quickKey);
}

std::optional<ActivityKind> ActivityKindForQuickKey(QChar letter)
{
    const QChar upper = letter.toUpper();
    for (ActivityKind kind : kActivityKinds) {
        if (ActivityQuickKey(kind) == upper)
            return kind;
    }
    return std::nullopt;
}

QString ActivityColourKey(ActivityKind kind)
{
    return QStringLiteral("T%1").arg(ActivityCode(kind));
}
