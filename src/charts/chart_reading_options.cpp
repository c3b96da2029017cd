#include "charts/chart_reading_options.h"

#include "settings/settings_values.h"

ChartReadingOptions ChartReadingOptionsOf(const SettingsValues& values)
{
    ChartReadingOptions options;
    options.min1 = values.joinOneMinute;
    options.minVoznja = values.joinToDriving;
    options.neminVoznja = values.keepShortDriving;
    options.odmor15 = values.shortRestIsAvailability;
    options.neminOdmor = values.keepShortRest;
    options.centarRadijus = values.radiusFollowsCentre;
    options.specKorekt = values.correctDisturbances;
    options.minKorekt = values.disturbanceMinutes;
    options.finoPoravnaj = values.fineAlignment;
    return options;
}

ChartReadingOptions ReadChartReadingOptions(const ProfileFile& file)
{
    return ChartReadingOptionsOf(ReadSettings(file));
}
