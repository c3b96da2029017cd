#include "charts/chart_reading_options.h"

#include "common/profile_file.h"

ChartReadingOptions ReadChartReadingOptions(const ProfileFile& file)
{
    const QString section = QStringLiteral("KTS");
    const ChartReadingOptions defaults;
    ChartReadingOptions options;
    options.min1 = file.readBool(section, QStringLiteral("Min1"), defaults.min1);
    options.minVoznja = file.readBool(section, QStringLiteral("MinVoznja"), defaults.minVoznja);
    options.neminVoznja = file.readBool(section, QStringLiteral("NeminVoznja"), defaults.neminVoznja);
    options.odmor15 = file.readBool(section, QStringLiteral("Odmor15"), defaults.odmor15);
    options.neminOdmor = file.readBool(section, QStringLiteral("NeminOdmor"), defaults.neminOdmor);
    options.centarRadijus = file.readBool(section, QStringLiteral("CentarRadijus"), defaults.centarRadijus);
    options.specKorekt = file.readBool(section, QStringLiteral("SpecKorekt"), defaults.specKorekt);
    options.minKorekt = file.readInteger(section, QStringLiteral("MinKorekt"), defaults.minKorekt);
    options.finoPoravnaj = file.readBool(section, QStringLiteral("FinoPoravnaj"), defaults.finoPoravnaj);
    return options;
}
