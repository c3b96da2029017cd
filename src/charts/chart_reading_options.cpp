#include "charts/chart_reading_options.h"

#include "settings/settings_values.h"

ChartReadingOptions ChartReadingOptionsOf(const SettingsValues& values)
{
    ChartReadingOptions options;
    options.joinOneMinute = values.joinOneMinute;
    options.joinToDriving = values.joinToDriving;
    options.keepShortDriving = values.keepShortDriving;
    options.shortRestIsAvailability = values.shortRestIsAvailability;
    options.keepShortRest = values.keepShortRest;
    options.radiusFollowsCentre = values.radiusFollowsCentre;
    options.correctDisturbances = values.correctDisturbances;
    options.disturbanceMinutes = values.disturbanceMinutes;
    options.fineAlignment = values.fineAlignment;
    return options;
}

ChartReadingOptions ReadChartReadingOptions(const ProfileFile& file)
{
    return ChartReadingOptionsOf(ReadSettings(file));
}
