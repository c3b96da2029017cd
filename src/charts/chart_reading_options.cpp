#include "charts/chart_reading_options.h"

#include "settings/settings_values.h"

ChartReadingOptions ChartReadingOptionsOf(const SettingsValues& values)
{
    ChartReadingOptions options;
    options.min1 = values.Min1;
    options.minVoznja = values.MinVoznja;
    options.neminVoznja = values.NeminVoznja;
    options.odmor15 = values.Odmor15;
    options.neminOdmor = values.NeminOdmor;
    options.centarRadijus = values.CentarRadijus;
    options.specKorekt = values.SpecKorekt;
    options.minKorekt = values.MinKorekt;
    options.finoPoravnaj = values.FinoPoravnaj;
    return options;
}

ChartReadingOptions ReadChartReadingOptions(const ProfileFile& file)
{
    return ChartReadingOptionsOf(ReadSettings(file));
}
