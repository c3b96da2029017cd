#pragma once

class ProfileFile;
struct SettingsValues;

// The chart-reading options of section "KTS" of postavke.dat, with their defaults.
struct ChartReadingOptions {
    bool joinOneMinute = true;          // Min1: a one-minute activity joins the one before it
    bool joinToDriving = true;     // MinVoznja: a short activity beside driving becomes driving
    bool keepShortDriving = true;   // NeminVoznja: a short driving activity is left alone
    bool shortRestIsAvailability = false;      // Odmor15: rest of 15 minutes or less becomes availability
    bool keepShortRest = true;    // NeminOdmor: a short rest is left alone
    bool radiusFollowsCentre = true; // CentarRadijus: the radii follow a moved centre
    bool correctDisturbances = false;   // SpecKorekt: disturbances up to disturbanceMinutes minutes become rest
    int disturbanceMinutes = 2;         // MinKorekt
    // FinoPoravnaj, the fine reading: the scan averaged for detection and the disc image, centre,
    // rim, ring and 00:00 fitted to fractions of a pixel and a degree at set-up, and the trace's
    // thickness counted at the level halfway between paper and ink.
    bool fineAlignment = true;

    bool operator==(const ChartReadingOptions&) const = default;
};

// The options as the settings hold them.
ChartReadingOptions ChartReadingOptionsOf(const SettingsValues& values);

// The options of a settings file, read as the settings read them.
ChartReadingOptions ReadChartReadingOptions(const ProfileFile& file);
