// Reading chart scans: an A4 scan at 300 dpi (2480 × 3508) holding two discs, written once as
// a JPEG file. Compares decoding the file alone (also saved in printing inks, CMYK) with the
// whole reading of both discs, and times one re-analysis after a geometry change. The argument of the reading's benchmarks is
// the option FinoPoravnaj: 0 the plain reading, 1 the fine one.
//
//   bench_chart_reading [BENCHMARK FLAGS]
//   bench_chart_reading --write-scan FILE   writes the scan to FILE (for timing whole processes)

#include "chart_drawing.h"
#include "charts/chart_analysis.h"
#include "charts/image_loading.h"
#include "charts/scan_intake.h"
#include "test_image_files.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <future>
#include <map>
#include <string_view>

#include <jpeglib.h>

namespace {

constexpr int kDpi = 300;

bool WriteScan(const QString& file, JpegInks inks = JpegInks::None)
{
    const int width = A4WidthPixels(kDpi);
    const int height = A4HeightPixels(kDpi);
    std::vector<ChartDiscDrawing> discs = StackedDiscs(width, height, 2);
    discs[0].pos0 = 180;
    discs[0].trace = {{0, 300, 0}, {300, 420, 3}, {420, 450, 1}, {450, 600, 2}, {600, 900, 3}, {900, 1440, 0}};
    discs[1].pos0 = 95.5;
    discs[1].trace = {{0, 120, 2}, {120, 200, 0}, {200, 560, 3}, {560, 1000, 0}, {1000, 1300, 3}, {1300, 1440, 0}};
    JpegWriteOptions options;
    options.inks = inks;
    return WriteJpegFile(file, DrawChartPage(width, height, discs), options);
}

// The scan's file, written once for each kind.
const QString& ScanFile(JpegInks inks = JpegInks::None)
{
    static QTemporaryDir dir;
    static std::map<JpegInks, QString> written;
    const auto [file, isNew] = written.try_emplace(inks, dir.filePath(QStringLiteral("a4-300dpi-%1.jpg").arg(int(inks))));
    if (isNew && !WriteScan(file->second, inks))
        std::abort();
    return file->second;
}

// libjpeg-turbo's own decoder as djpeg drives it: the file in memory, decoded scanline by
// scanline into one reused row of RGB, the fastest the library decodes the file.
void BM_LibjpegBaseline(benchmark::State& state)
{
    QFile file(ScanFile());
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    const QByteArray data = file.readAll();
    for (auto _ : state) {
        jpeg_decompress_struct info;
        jpeg_error_mgr error;
        info.err = jpeg_std_error(&error);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()), static_cast<unsigned long>(data.size()));
        jpeg_read_header(&info, TRUE);
        jpeg_start_decompress(&info);
        std::vector<JSAMPLE> row(static_cast<std::size_t>(info.output_width) * info.output_components);
        JSAMPROW rows[1] = {row.data()};
        while (info.output_scanline < info.output_height)
            jpeg_read_scanlines(&info, rows, 1);
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(row.data());
    }
}
BENCHMARK(BM_LibjpegBaseline)->Unit(benchmark::kMillisecond);

void BM_DecodeJpeg(benchmark::State& state)
{
    const QString& file = ScanFile();
    for (auto _ : state) {
        Raster scan;
        benchmark::DoNotOptimize(LoadRasterImage(file, scan));
    }
}
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond);

// Decoding into the memory of the scan before, as the intake does from its second scan on.
void BM_DecodeJpegReused(benchmark::State& state)
{
    const QString& file = ScanFile();
    Raster scan;
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadRasterImage(file, scan));
}
BENCHMARK(BM_DecodeJpegReused)->Unit(benchmark::kMillisecond);

// Decoding as the fine reading keeps a JPEG scan: in the decoder's planes, no colours made.
void BM_DecodeJpegPlanes(benchmark::State& state)
{
    const QByteArray file = QFile::encodeName(ScanFile());
    for (auto _ : state) {
        ScanImage scan;
        benchmark::DoNotOptimize(LoadScanImage(file, scan));
    }
}
BENCHMARK(BM_DecodeJpegPlanes)->Unit(benchmark::kMillisecond);

// The same scan saved in printing inks (Adobe's CMYK), its inks turned into colours.
void BM_DecodeCmykJpegReused(benchmark::State& state)
{
    const QString& file = ScanFile(JpegInks::Cmyk);
    Raster scan;
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadRasterImage(file, scan));
}
BENCHMARK(BM_DecodeCmykJpegReused)->Unit(benchmark::kMillisecond);

ChartReadingOptions OptionsFor(const benchmark::State& state)
{
    ChartReadingOptions options;
    options.fineAlignment = state.range(0) != 0;
    return options;
}

void BM_ReadScan(benchmark::State& state)
{
    const QString& file = ScanFile();
    const ChartReadingOptions options = OptionsFor(state);
    for (auto _ : state) {
        ScanReading reading = ReadScanDiscs(file, {}, SamplingFor(options));
        if (reading.discs.size() != 2)
            state.SkipWithError("expected two discs");
        // Each disc image is handed over to its analysis, set up side by side, as the intake
        // hands them to their workspaces.
        std::vector<std::future<ChartAnalysis>> analyses;
        for (ScanDisc& disc : reading.discs) {
            analyses.push_back(std::async(std::launch::async, [&disc, &options] {
                ChartAnalysis analysis(std::move(disc.image), options);
                analysis.setUp(ChartGeometry());
                return analysis;
            }));
        }
        for (auto& analysis : analyses)
            benchmark::DoNotOptimize(analysis.get().intervals().data());
    }
}
BENCHMARK(BM_ReadScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The intake alone (loading, detection, disc images), for telling its share from the reading's.
void BM_ScanIntake(benchmark::State& state)
{
    const QString& file = ScanFile();
    const Sampling sampling = SamplingFor(OptionsFor(state));
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadScanDiscs(file, {}, sampling).discs.size());
}
BENCHMARK(BM_ScanIntake)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One disc image averaged by area from the scan: from its colours (a Raster) and from the
// decoder's planes, as the fine reading keeps a JPEG scan.
void BM_AreaDiscImage(benchmark::State& state)
{
    ScanImage scan;
    const bool planes = state.range(0) != 0;
    const bool loaded = planes ? bool(LoadScanImage(QFile::encodeName(ScanFile()), scan))
                               : bool(LoadRasterImage(ScanFile(), scan.raster));
    if (!loaded || scan.inPlanes() != planes)
        state.SkipWithError("scan not loaded as wanted");
    constexpr double kLeft = 480.3;
    constexpr double kTop = 120.7;
    constexpr double kStep = 1512.0 / kDiscImageWidth;
    for (auto _ : state) {
        const Raster image = planes ? AreaResample(scan.planes, kLeft, kTop, kStep, kStep, kDiscImageWidth, kDiscImageWidth)
                                    : AreaResample(scan.raster, kLeft, kTop, kStep, kStep, kDiscImageWidth, kDiscImageWidth);
        benchmark::DoNotOptimize(image.pixels.data());
    }
}
BENCHMARK(BM_AreaDiscImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The reading's share: set-up (orientation estimate, unrolling, reading) of both disc images.
void BM_DiscSetUp(benchmark::State& state)
{
    const ChartReadingOptions options = OptionsFor(state);
    const ScanReading reading = ReadScanDiscs(ScanFile(), {}, SamplingFor(options));
    for (auto _ : state) {
        for (const ScanDisc& disc : reading.discs) {
            ChartAnalysis analysis(disc.image, options);
            analysis.setUp(ChartGeometry());
            benchmark::DoNotOptimize(analysis.intervals().data());
        }
    }
}
BENCHMARK(BM_DiscSetUp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Reanalysis(benchmark::State& state)
{
    const ScanReading reading = ReadScanDiscs(ScanFile());
    ChartAnalysis analysis(reading.discs.front().image, ChartReadingOptions());
    analysis.setUp(ChartGeometry());
    ChartGeometry geometry = analysis.geometry();
    for (auto _ : state) {
        geometry.cx ^= 1; // a centre button moves the centre by one pixel
        analysis.setGeometry(geometry);
        benchmark::DoNotOptimize(analysis.intervals().data());
    }
}
BENCHMARK(BM_Reanalysis)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string_view(argv[1]) == "--write-scan")
        return WriteScan(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
