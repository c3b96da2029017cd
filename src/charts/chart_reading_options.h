#pragma once

class ProfileFile;
struct SettingsValues;

// The chart-reading options of section "KTS" of postavke.dat, with their defaults.
struct ChartReadingOptions {
    bool min1 = true;          // Min1: a one-minute activity joins the one before it
    bool minVoznja = true;     // MinVoznja: a short activity beside driving becomes driving
    bool neminVoznja = true;   // NeminVoznja: a short driving activity is left alone
    bool odmor15 = false;      // Odmor15: rest of 15 minutes or less becomes availability
    bool neminOdmor = true;    // NeminOdmor: a short rest is left alone
    bool centarRadijus = true; // CentarRadijus: the radii follow a moved centre
    bool specKorekt = false;   // SpecKorekt: disturbances up to minKorekt minutes become rest
    int minKorekt = 2;         // MinKorekt
    // FinoPoravnaj, the fine reading: the scan averaged for detection and the disc image, centre,
    // rim, ring and 00:00 fitted to fractions of a pixel and a degree at set-up, and the trace's
    // thickness counted at the level halfway between paper and ink.
    bool finoPoravnaj = true;

    bool operator==(const ChartReadingOptions&) const = default;
};

// The options as the settings hold them.
ChartReadingOptions ChartReadingOptionsOf(const SettingsValues& values);

// The options of a settings file, read as the settings read them.
ChartReadingOptions ReadChartReadingOptions(const ProfileFile& file);
