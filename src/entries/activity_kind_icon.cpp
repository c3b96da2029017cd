#include "entries/activity_kind_icon.h"

#include "app/options_form.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kIconSize = 12;

int ColourSetting(const SettingsValues& settings, ActivityKind kind)
{
    switch (kind) {
    case ActivityKind::Rest:
        return settings.T0;
    case ActivityKind::Availability:
        return settings.T1;
    case ActivityKind::OtherWork:
        return settings.T2;
    case ActivityKind::Driving:
        return settings.T3;
    }
    return settings.T2;
}

} // namespace

QIcon ActivityKindIcon(ActivityKind kind)
{
    QPixmap square(kIconSize, kIconSize);
    square.fill(SettingColour(ColourSetting(CurrentSettings(), kind)));
    QPainter painter(&square);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, kIconSize - 1, kIconSize - 1);
    return QIcon(square);
}
