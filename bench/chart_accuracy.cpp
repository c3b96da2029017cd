// How exactly chart scans are read: synthetic scans with a known truth go through the whole
// intake and reading, with the fine reading (FinoPoravnaj) off and on. Kinds of scan:
// disc diameter (700, 1500, 2500 pixels), one or two discs, the scanner's lid (dark or white
// behind the plain drawn discs; dark or white behind discs drawn as printed ones are, with a
// pear-shaped hole outlined by its shadow and a printed rim scale: on the white lid the hole is
// as light as the paper, seen only by its outline), JPEG of quality 60 or 95 or BMP, clean or
// dusty; every disc turned by a random angle, its centre off the pixel grid, a random day of
// activities, edges softened as a scanner does. Reported per kind and in total: minutes read
// right (over all discs, and of the worst disc), discs found (and boxes that were no disc),
// the error of 00:00 and of the centre (in disc-image pixels), and how many discs asked for
// 00:00 to be checked. The plain reading takes availability only where its trace is exactly
// four of the ring's fourteen rows thick, so the minutes are also counted without availability
// in a column of their own.
//
//   chart_accuracy [SAMPLES PER KIND, default 2] [on | off: one reading only] [TEXT: kinds whose name holds it]

#include "chart_drawing.h"
#include "test_image_files.h"

#include "charts/chart_analysis.h"
#include "charts/scan_intake.h"

#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <vector>

namespace {

constexpr int kMinutes = 1440;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

enum class Lid { Dark, White, DarkPrinted, WhiteOutline };

QString LidName(Lid lid)
{
    switch (lid) {
    case Lid::Dark:
        return QStringLiteral("dark");
    case Lid::White:
        return QStringLiteral("white");
    case Lid::DarkPrinted:
        return QStringLiteral("dark, printed");
    case Lid::WhiteOutline:
        return QStringLiteral("white, outline only");
    }
    return {};
}

struct Kind {
    int diameter = 0;
    int discs = 0;
    Lid lid = Lid::Dark;
    int quality = 0; // 0: BMP
    bool dusty = false;

    bool white() const { return lid == Lid::White || lid == Lid::WhiteOutline; }
    bool printed() const { return lid == Lid::DarkPrinted || lid == Lid::WhiteOutline; }
    QString name() const
    {
        return QStringLiteral("%1 px, %2 disc%3, %4, %5, %6")
            .arg(diameter)
            .arg(discs)
            .arg(discs > 1 ? "s" : "")
            .arg(LidName(lid))
            .arg(quality ? QStringLiteral("JPEG %1").arg(quality) : QStringLiteral("BMP"))
            .arg(dusty ? "dusty" : "clean");
    }
};

struct Tally {
    long minutes = 0;
    long minutesRight = 0;
    long otherMinutes = 0; // minutes of rest, other work and driving
    long otherRight = 0;
    int discs = 0;
    int discsFound = 0;
    int falseDiscs = 0;  // boxes read as discs that hold none
    int zeroChecks = 0;  // discs whose 00:00 the operator is asked to check
    std::vector<double> discRight; // per disc, the share of its minutes read right
    std::vector<double> zeroErrors;
    std::vector<double> centreErrors;

    void add(const Tally& other)
    {
        minutes += other.minutes;
        minutesRight += other.minutesRight;
        otherMinutes += other.otherMinutes;
        otherRight += other.otherRight;
        discs += other.discs;
        discsFound += other.discsFound;
        falseDiscs += other.falseDiscs;
        zeroChecks += other.zeroChecks;
        discRight.insert(discRight.end(), other.discRight.begin(), other.discRight.end());
        zeroErrors.insert(zeroErrors.end(), other.zeroErrors.begin(), other.zeroErrors.end());
        centreErrors.insert(centreErrors.end(), other.centreErrors.begin(), other.centreErrors.end());
    }
};

std::vector<TraceInterval> RandomDay(std::mt19937& random)
{
    std::vector<TraceInterval> trace;
    std::uniform_int_distribution<int> length(8, 150);
    std::discrete_distribution<int> activity({4, 1, 2, 3});
    int at = 0;
    int last = -1;
    while (at < kMinutes) {
        int code = activity(random);
        if (code == last)
            code = (code + 1) % 4;
        const int end = std::min(kMinutes, at + length(random));
        trace.push_back({at, end, code});
        at = end;
        last = code;
    }
    return trace;
}

// Dust and specks: dark and light dots of one to three pixels.
void AddDust(Raster& page, std::mt19937& random)
{
    const long dots = long(page.width) * page.height / 4000;
    std::uniform_int_distribution<int> x(0, page.width - 1);
    std::uniform_int_distribution<int> y(0, page.height - 1);
    std::uniform_int_distribution<int> size(1, 3);
    std::bernoulli_distribution dark(0.7);
    for (long i = 0; i < dots; ++i) {
        const int cx = x(random);
        const int cy = y(random);
        const int s = size(random);
        const std::uint32_t colour = dark(random) ? GreyPixel(40) : GreyPixel(250);
        for (int dy = 0; dy < s; ++dy)
            for (int dx = 0; dx < s; ++dx)
                SetPixel(page, cx + dx, cy + dy, colour);
    }
}

// A scanner's optics: every edge spread over about two pixels.
Raster Soften(const Raster& page)
{
    Raster soft = page;
    for (int y = 1; y < page.height - 1; ++y) {
        for (int x = 1; x < page.width - 1; ++x) {
            int r = 0, g = 0, b = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const std::uint32_t p = page.at(x + dx, y + dy);
                    const int w = (dx == 0 ? 2 : 1) * (dy == 0 ? 2 : 1);
                    r += w * int((p >> 16) & 0xFF);
                    g += w * int((p >> 8) & 0xFF);
                    b += w * int(p & 0xFF);
                }
            soft.at(x, y) = 0xFF000000u | std::uint32_t(r / 16) << 16 | std::uint32_t(g / 16) << 8 | std::uint32_t(b / 16);
        }
    }
    return soft;
}

// The affine map of disc-image pixels to scan pixels along one axis (both with a pixel's
// centre at its index).
struct AxisMap {
    double scale = 1.0;
    double offset = 0.0;
};

// For a disc image averaged by area: pixel j covers the scan from start + j · step on.
AxisMap AreaAxis(double start, double step)
{
    return {step, start + 0.5 * step - 0.5};
}

// For a nearest-neighbour disc image: fitted to the indices the intake sampled with.
AxisMap FitAxis(int boxStart, int boxSize, bool stretched, int workingSize, int cutStart, int cutSize, int imageSize)
{
    double sj = 0, ss = 0, sjj = 0, sjs = 0;
    for (int j = 0; j < imageSize; ++j) {
        const long working = cutStart + long(j) * cutSize / imageSize;
        const long source = boxStart + (stretched ? working * boxSize / workingSize : working);
        sj += j;
        ss += double(source);
        sjj += double(j) * j;
        sjs += double(j) * double(source);
    }
    const double n = imageSize;
    AxisMap map;
    map.scale = (n * sjs - sj * ss) / (n * sjj - sj * sj);
    map.offset = (ss - map.scale * sj) / n;
    return map;
}

double AngleError(double a, double b)
{
    double d = std::fmod(std::abs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

Tally RunScan(const Kind& kind, std::mt19937& random, const QString& folder, bool fine)
{
    const int d = kind.diameter;
    const int width = d * 13 / 10;
    const int height = kind.discs == 1 ? d * 14 / 10 : d * 27 / 10;
    std::uniform_real_distribution<double> fraction(0.0, 1.0);
    std::uniform_real_distribution<double> angle(0.0, 360.0);
    std::vector<ChartDiscDrawing> drawn;
    const std::uint32_t background = kind.white() ? kWhite : kChartBackground;
    for (int i = 0; i < kind.discs; ++i) {
        ChartDiscDrawing disc;
        disc.radius = d / 2.0;
        disc.centreX = width / 2 + fraction(random) - 0.5;
        disc.centreY = (kind.discs == 1 ? height / 2 : (i == 0 ? d * 65 / 100 : d * 205 / 100)) + fraction(random) - 0.5;
        disc.pos0 = angle(random);
        disc.trace = RandomDay(random);
        disc.holeColour = background;
        drawn.push_back(kind.printed() ? PrintedDisc(disc, kind.white()) : disc);
    }
    Raster page = DrawChartPage(width, height, drawn, background);
    if (kind.dusty)
        AddDust(page, random);
    page = Soften(page);
    const QString path = folder + (kind.quality ? QStringLiteral("/scan.jpg") : QStringLiteral("/scan.bmp"));
    if (kind.quality)
        WriteJpegFile(path, page, {.quality = kind.quality});
    else
        WriteBmpFile(path, page);

    Tally tally;
    tally.discs = kind.discs;
    ChartReadingOptions options;
    options.fineAlignment = fine;
    const ScanReading reading = ReadScanDiscs(path, {}, SamplingFor(options));
    for (const ScanDisc& disc : reading.discs) {
        // Which drawn disc this is: the one whose centre lies in its box.
        const ChartDiscDrawing* truth = nullptr;
        for (const ChartDiscDrawing& candidate : drawn)
            if (candidate.centreY > disc.box.top && candidate.centreY < disc.box.bottom)
                truth = &candidate;
        if (!truth) {
            ++tally.falseDiscs;
            continue;
        }
        ++tally.discsFound;
        ChartAnalysis analysis(disc.image, options);
        analysis.setUp(ChartGeometry());
        tally.zeroChecks += analysis.zeroCheck().needsChecking;
        std::vector<int> truthMinutes(kMinutes, 0);
        for (const TraceInterval& t : truth->trace)
            for (int m = t.startMinute; m < t.endMinute; ++m)
                truthMinutes[m] = t.activity;
        long right = 0;
        for (const ChartInterval& i : analysis.intervals())
            for (int m = i.start; m < i.end && m < kMinutes; ++m) {
                ++tally.minutes;
                right += truthMinutes[m] == i.code;
                if (truthMinutes[m] != kAvailability) {
                    ++tally.otherMinutes;
                    tally.otherRight += truthMinutes[m] == i.code;
                }
            }
        tally.minutesRight += right;
        tally.discRight.push_back(100.0 * double(right) / kMinutes);
        tally.zeroErrors.push_back(AngleError(analysis.geometry().pos0, truth->pos0));
        const int w = disc.box.right - disc.box.left;
        const int h = disc.box.bottom - disc.box.top;
        const bool area = disc.sampling == Sampling::Area;
        const AxisMap mx = area ? AreaAxis(disc.imageLeft, disc.imageStepX)
                                : FitAxis(disc.box.left, w, disc.stretched, disc.workingWidth, disc.cutBox.left,
                                          disc.cutBox.right - disc.cutBox.left, disc.image.width);
        const AxisMap my = area ? AreaAxis(disc.imageTop, disc.imageStepY)
                                : FitAxis(disc.box.top, h, disc.stretched, disc.workingHeight, disc.cutBox.top,
                                          disc.cutBox.bottom - disc.cutBox.top, disc.image.height);
        const double tx = (truth->centreX - mx.offset) / mx.scale;
        const double ty = (truth->centreY - my.offset) / my.scale;
        tally.centreErrors.push_back(std::hypot(analysis.geometry().centreX() - tx, analysis.geometry().centreY() - ty));
    }
    return tally;
}

double Percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(p * double(values.size())))];
}

QString Row(const QString& name, const Tally& t)
{
    const double worstDisc = t.discRight.empty() ? 0.0 : *std::min_element(t.discRight.begin(), t.discRight.end());
    return QStringLiteral("| %1 | %2 % | %3 % | %4 % | %5/%6%7 | %8° | %9° | %10 | %11 | %12 |")
        .arg(name)
        .arg(t.minutes ? 100.0 * double(t.minutesRight) / double(t.minutes) : 0.0, 0, 'f', 2)
        .arg(worstDisc, 0, 'f', 2)
        .arg(t.otherMinutes ? 100.0 * double(t.otherRight) / double(t.otherMinutes) : 0.0, 0, 'f', 2)
        .arg(t.discsFound)
        .arg(t.discs)
        .arg(t.falseDiscs ? QStringLiteral(" (+%1)").arg(t.falseDiscs) : QString())
        .arg(Percentile(t.zeroErrors, 0.5), 0, 'f', 3)
        .arg(Percentile(t.zeroErrors, 1.0), 0, 'f', 3)
        .arg(Percentile(t.centreErrors, 0.5), 0, 'f', 2)
        .arg(Percentile(t.centreErrors, 1.0), 0, 'f', 2)
        .arg(t.zeroChecks);
}

} // namespace

int main(int argc, char** argv)
{
    const int samples = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2;
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const QString kindText = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    QTemporaryDir folder;
    QTextStream out(stdout);
    std::vector<Kind> kinds;
    for (int diameter : {700, 1500, 2500})
        for (int discs : {1, 2})
            for (Lid lid : {Lid::Dark, Lid::White, Lid::DarkPrinted, Lid::WhiteOutline})
                for (int quality : {60, 95, 0})
                    for (bool dusty : {false, true})
                        kinds.push_back({diameter, discs, lid, quality, dusty});
    for (bool fine : {false, true}) {
        if (only == QLatin1String(fine ? "off" : "on"))
            continue;
        out << "\n### Fine geometry " << (fine ? "on" : "off") << "\n\n"
            << "| kind | minutes right | worst disc | without availability | discs found | 00:00 median | 00:00 worst | centre median (px) | centre worst (px) | 00:00 to check |\n"
            << "|---|---|---|---|---|---|---|---|---|---|\n";
        Tally total, clean, dusty;
        std::map<QString, Tally> groups;
        for (std::size_t k = 0; k < kinds.size(); ++k) {
            const Kind& kind = kinds[k];
            if (!kind.name().contains(kindText))
                continue;
            std::mt19937 random(20261210 + static_cast<unsigned>(k)); // the same scans for both readings
            Tally tally;
            for (int i = 0; i < samples; ++i)
                tally.add(RunScan(kind, random, folder.path(), fine));
            out << Row(kind.name(), tally) << '\n';
            out.flush();
            total.add(tally);
            (kind.dusty ? dusty : clean).add(tally);
            groups[QStringLiteral("%1 px").arg(kind.diameter)].add(tally);
            groups[LidName(kind.lid) + QStringLiteral(" lid")].add(tally);
            groups[kind.quality ? QStringLiteral("JPEG %1").arg(kind.quality) : QStringLiteral("BMP")].add(tally);
        }
        for (const auto& [name, tally] : groups)
            out << Row(QStringLiteral("**%1**").arg(name), tally) << '\n';
        out << Row(QStringLiteral("**clean**"), clean) << '\n'
            << Row(QStringLiteral("**dusty**"), dusty) << '\n'
            << Row(QStringLiteral("**all**"), total) << '\n';
    }
    return 0;
}
