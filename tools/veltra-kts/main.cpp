// veltra-kts: reads scanned tachograph charts from the command line with the application's
// own chart code and prints each disc's intervals as the chart's text export.
//
//   veltra-kts [--options postavke.dat] [--geometry ktspostavke.dat] [--json] [--jobs N] SCAN...
//
// The scans are read N at a time (all cores by default); what each gives is printed in the
// order of the arguments, and a scan that cannot be read does not stop the others. A disc
// whose 00:00 the reading could not settle gets the line "Upozorenje (n): Provjerite položaj
// 00:00" (in JSON, "warning").

#include "charts/chart_analysis.h"
#include "charts/chart_text_export.h"
#include "charts/scan_intake.h"
#include "common/profile_file.h"
#include "common/time_text.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <future>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace {

constexpr int kExitScanError = 1;
constexpr int kExitUsage = 2;

const QString kUsage = QStringLiteral(
    "Upotreba: veltra-kts [--options postavke.dat] [--geometry ktspostavke.dat] [--json] [--jobs N] SKEN...");

struct Arguments {
    QString optionsPath;
    QString geometryPath;
    bool json = false;
    int jobs = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    QList<QByteArray> scans;  // as the file system names them, which need not be valid text
};

std::optional<Arguments> ParseArguments(const QList<QByteArray>& nativeArgs, QString& error)
{
    Arguments parsed;
    QStringList args;
    for (const QByteArray& arg : nativeArgs)
        args << QFile::decodeName(arg);
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--json")) {
            parsed.json = true;
        } else if (arg == QLatin1String("--jobs")) {
            bool number = false;
            const int jobs = i + 1 < args.size() ? args[i + 1].toInt(&number) : 0;
            if (!number || jobs < 1) {
                error = QStringLiteral("Iza --jobs treba broj poslova (1 ili više).");
                return std::nullopt;
            }
            parsed.jobs = jobs;
            ++i;
        } else if (arg == QLatin1String("--options") || arg == QLatin1String("--geometry")) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("Nedostaje datoteka iza %1").arg(arg);
                return std::nullopt;
            }
            const QString path = args[++i];
            if (!QFileInfo(path).isFile()) {
                error = QStringLiteral("Nema datoteke postavki: %1").arg(path);
                return std::nullopt;
            }
            (arg == QLatin1String("--options") ? parsed.optionsPath : parsed.geometryPath) = path;
        } else if (arg.startsWith(QLatin1String("--"))) {
            error = QStringLiteral("Nepoznata opcija: %1").arg(arg);
            return std::nullopt;
        } else {
            parsed.scans << nativeArgs[i];
        }
    }
    if (parsed.scans.isEmpty()) {
        error = QStringLiteral("Nije naveden ni jedan sken.");
        return std::nullopt;
    }
    return parsed;
}

QString BoxText(const DiscBox& box)
{
    return QStringLiteral("%1||%2||%3||%4").arg(box.left).arg(box.top).arg(box.right).arg(box.bottom);
}

QJsonObject BoxJson(const DiscBox& box)
{
    return {{QStringLiteral("left"), box.left}, {QStringLiteral("top"), box.top},
            {QStringLiteral("right"), box.right}, {QStringLiteral("bottom"), box.bottom}};
}

// The progress log of a scan's intake, line by line as the progress window shows it.
QStringList ScanLogLines(const ScanReading& reading)
{
    QStringList lines{LoadLogLine(reading.loadMs)};
    if (ScanSizeAcceptable(reading.scanWidth, reading.scanHeight))
        lines << DetectLogLine(reading.detectMs);
    if (!reading.discs.empty())
        lines << FoundLogLine(static_cast<int>(reading.discs.size() + reading.unusableDiscs.size()));
    return lines;
}

QStringList DiscLogLines(const ScanDisc& disc, const ChartAnalysisDurations& durations)
{
    return {DiscLogLine(disc),
            QStringLiteral("Orijentacija (%1) = %2").arg(disc.discNumber).arg(durations.orientationMs),
            QStringLiteral("Odmotavanje (%1) = %2").arg(disc.discNumber).arg(durations.unrollingMs),
            QStringLiteral("Očitavanje (%1) = %2").arg(disc.discNumber).arg(durations.readingMs)};
}

QString ZeroWarningLine(const ScanDisc& disc)
{
    return QStringLiteral("Upozorenje (%1): %2").arg(disc.discNumber).arg(kCheckZeroMessage);
}

QJsonObject ZeroCheckJson(const ZeroDirectionCheck& check)
{
    QJsonObject json{{QStringLiteral("needsChecking"), check.needsChecking},
                     {QStringLiteral("holeAxisFound"), check.holeAxisFound},
                     {QStringLiteral("holeZero"), check.holeZero},
                     {QStringLiteral("scaleFound"), check.scaleFound}};
    if (check.scaleFound)
        json.insert(QStringLiteral("scaleZero"), check.scaleZero);
    return json;
}

QJsonObject DiscJson(const ScanDisc& disc, const ChartAnalysis& analysis)
{
    const ChartGeometry& g = analysis.geometry();
    QJsonArray intervals;
    for (const DayInterval& row : analysis.days().all) {
        const ChartInterval& i = row.interval;
        intervals.append(QJsonObject{{QStringLiteral("start"), i.start},
                                     {QStringLiteral("end"), i.end},
                                     {QStringLiteral("code"), i.code},
                                     {QStringLiteral("from"), FormatMinutes(i.start)},
                                     {QStringLiteral("to"), FormatMinutes(i.end)},
                                     {QStringLiteral("day"), row.day}});
    }
    const ChartAnalysisDurations& d = analysis.durations();
    QJsonObject json{
        {QStringLiteral("number"), disc.discNumber},
        {QStringLiteral("box"), BoxJson(disc.box)},
        {QStringLiteral("refinedBox"), BoxJson(disc.refinedBox)},
        {QStringLiteral("stretched"), disc.stretched},
        {QStringLiteral("imageWidth"), analysis.disc().width},
        {QStringLiteral("imageHeight"), analysis.disc().height},
        {QStringLiteral("geometry"),
         QJsonObject{{QStringLiteral("cx"), g.cx}, {QStringLiteral("cy"), g.cy}, {QStringLiteral("r1"), g.r1},
                     {QStringLiteral("r2"), g.r2}, {QStringLiteral("pos0"), g.pos0}}},
        {QStringLiteral("caption"), analysis.caption()},
        {QStringLiteral("threshold"), analysis.strip().threshold},
        {QStringLiteral("splitPoint"), analysis.splitPoint()},
        {QStringLiteral("twoDay"), analysis.days().twoDay},
        {QStringLiteral("intervals"), intervals},
        {QStringLiteral("durations"),
         QJsonObject{{QStringLiteral("cutMs"), disc.elapsedMs}, {QStringLiteral("orientationMs"), d.orientationMs},
                     {QStringLiteral("unrollingMs"), d.unrollingMs}, {QStringLiteral("readingMs"), d.readingMs}}},
        {QStringLiteral("zeroCheck"), ZeroCheckJson(analysis.zeroCheck())},
    };
    if (analysis.zeroCheck().needsChecking)
        json.insert(QStringLiteral("warning"), kCheckZeroMessage);
    return json;
}

} // namespace

// What one scan gives: its text (or its JSON) and its message when it could not be read.
struct ScanOutput {
    QString text;
    QJsonObject json;
    QString error;
};

ScanOutput ReadOneScan(const QByteArray& nativePath, bool json, const ChartReadingOptions& options,
                       const ChartGeometry& saved)
{
    ScanOutput output;
    const QString path = QFile::decodeName(nativePath);
    ScanReading reading = ReadScanDiscs(nativePath, {}, SamplingFor(options));
    if (!reading.error.isEmpty())
        output.error = path + QStringLiteral(": ") + reading.error;
    QTextStream out(&output.text);
    QJsonArray discsJson;
    if (!json) {
        out << "== " << path << '\n';
        for (const QString& line : ScanLogLines(reading))
            out << line << '\n';
    }
    // Each disc's first reading side by side, as the workspaces of the application have it; the
    // disc image is handed over, not copied.
    std::vector<std::future<ChartAnalysis>> analyses;
    for (ScanDisc& disc : reading.discs) {
        analyses.push_back(std::async(std::launch::async, [image = std::move(disc.image), &options, &saved]() mutable {
            ChartAnalysis analysis(std::move(image), options);
            analysis.setUp(saved);
            return analysis;
        }));
    }
    for (std::size_t i = 0; i < reading.discs.size(); ++i) {
        const ScanDisc& disc = reading.discs[i];
        const ChartAnalysis analysis = analyses[i].get();
        if (json) {
            discsJson.append(DiscJson(disc, analysis));
            continue;
        }
        out << "-- " << disc.discNumber << ": " << BoxText(disc.box) << '\n';
        const QStringList lines =
            ChartExportLines(analysis.days().all, ChartExportKind::WholeChart, QDateTime::currentDateTime());
        for (const QString& line : lines)
            out << line << '\n';
        out << analysis.caption() << '\n';
        if (analysis.zeroCheck().needsChecking)
            out << ZeroWarningLine(disc) << '\n';
        for (const QString& line : DiscLogLines(disc, analysis.durations()))
            out << line << '\n';
    }
    if (json) {
        output.json = QJsonObject{{QStringLiteral("file"), path},
                                  {QStringLiteral("width"), reading.scanWidth},
                                  {QStringLiteral("height"), reading.scanHeight},
                                  {QStringLiteral("durations"),
                                   QJsonObject{{QStringLiteral("loadMs"), reading.loadMs},
                                               {QStringLiteral("detectMs"), reading.detectMs}}},
                                  {QStringLiteral("discs"), discsJson}};
        if (!reading.error.isEmpty())
            output.json.insert(QStringLiteral("error"), reading.error);
    }
    return output;
}

// Reads the scans `jobs` at a time and hands each output over in the order of the scans, as
// soon as it and those before it are done.
class ScanBatch {
public:
    ScanBatch(const Arguments& args, const ChartReadingOptions& options, const ChartGeometry& saved)
        : m_args(args), m_options(options), m_saved(saved), m_outputs(static_cast<std::size_t>(args.scans.size()))
    {
        const int workers = std::min(args.jobs, static_cast<int>(args.scans.size()));
        for (int i = 0; i < workers; ++i)
            m_workers.emplace_back([this] { work(); });
    }
    ~ScanBatch()
    {
        for (std::thread& worker : m_workers)
            worker.join();
    }

    // The output of scan i (waits for it), which is then let go.
    ScanOutput take(std::size_t i)
    {
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [&] { return m_outputs[i].has_value(); });
        ScanOutput output = std::move(*m_outputs[i]);
        m_outputs[i].reset();
        return output;
    }

private:
    void work()
    {
        for (;;) {
            const std::size_t i = m_next.fetch_add(1);
            if (i >= m_outputs.size())
                return;
            ScanOutput output = ReadOneScan(m_args.scans[static_cast<qsizetype>(i)], m_args.json, m_options, m_saved);
            {
                const std::lock_guard lock(m_mutex);
                m_outputs[i] = std::move(output);
            }
            m_done.notify_all();
        }
    }

    const Arguments& m_args;
    const ChartReadingOptions m_options;
    const ChartGeometry m_saved;
    std::vector<std::optional<ScanOutput>> m_outputs;
    std::atomic<std::size_t> m_next{0};
    std::mutex m_mutex;
    std::condition_variable m_done;
    std::vector<std::thread> m_workers;
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QString error;
    const std::optional<Arguments> args = ParseArguments(QList<QByteArray>(argv, argv + argc), error);
    if (!args) {
        err << error << '\n' << kUsage << '\n';
        return kExitUsage;
    }
    const ChartReadingOptions options =
        args->optionsPath.isEmpty() ? ChartReadingOptions() : ReadChartReadingOptions(ProfileFile(args->optionsPath));
    const ChartGeometry saved =
        args->geometryPath.isEmpty() ? ChartGeometry() : ReadChartGeometry(ProfileFile(args->geometryPath));

    int exitCode = 0;
    QJsonArray scansJson;
    ScanBatch batch(*args, options, saved);
    for (qsizetype i = 0; i < args->scans.size(); ++i) {
        const ScanOutput output = batch.take(static_cast<std::size_t>(i));
        if (!output.error.isEmpty()) {
            err << output.error << '\n';
            err.flush();
            exitCode = kExitScanError;
        }
        if (args->json) {
            scansJson.append(output.json);
        } else {
            out << output.text;
            out.flush();
        }
    }
    if (args->json)
        out << QJsonDocument(QJsonObject{{QStringLiteral("scans"), scansJson}}).toJson(QJsonDocument::Indented);
    return exitCode;
}
