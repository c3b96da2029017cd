#include "charts/ui/scan_intake_run.h"

#include "charts/chart_geometry.h"
#include "charts/chart_reading_options.h"
#include "charts/scan_intake.h"
#include "charts/ui/chart_workspace.h"
#include "charts/ui/progress_window.h"
#include "charts/ui/scan_chooser.h"
#include "common/profile_file.h"
#include "session/session.h"
#include "ui/message_box.h"

#include <QPointer>
#include <QThread>

#include <future>
#include <memory>
#include <new>

namespace {

// Runs `work` on the thread of `progress` when it still exists.
template <typename Work>
void OnWindowThread(const QPointer<ProgressWindow>& progress, Work work)
{
    if (!progress)
        return;
    QMetaObject::invokeMethod(progress.data(), [progress, work = std::move(work)]() mutable {
        if (progress)
            work(*progress);
    }, Qt::QueuedConnection);
}

} // namespace

ProgressWindow* StartScanIntake(Session& session, const QString& path, QWidget* mainWindow)
{
    auto* progress = new ProgressWindow(mainWindow);
    progress->setStatus(QStringLiteral("Učitavanje slikovnog zapisa"));
    progress->show();
    const QPointer<ProgressWindow> window(progress);
    const QPointer<QWidget> owner(mainWindow);
    const ChartReadingOptions options = ChartReadingOptionsOf(session.values());
    const ChartGeometry saved = ReadChartGeometry(ProfileFile::snapshot(ChartGeometryPathBeside(session.settingsPath())));
    Session* run = &session;

    QThread* worker = QThread::create([path, window, owner, options, saved, run] {
        ScanIntakeProgress report;
        report.loaded = [window](int ms) {
            OnWindowThread(window, [ms](ProgressWindow& p) {
                p.step();
                p.setStatus(QStringLiteral("Analiza slikovnog zapisa"));
                p.addLog(LoadLogLine(ms));
            });
        };
        report.detected = [window](int ms, int boxes) {
            OnWindowThread(window, [ms, boxes](ProgressWindow& p) {
                p.addLog(DetectLogLine(ms));
                p.step();
                p.setStatus(QStringLiteral("Priprema obrade pronađenih listića"));
                if (boxes > 0) {
                    const QString found = FoundLogLine(boxes);
                    p.step();
                    p.setStatus(found);
                    p.addLog(found);
                }
            });
        };
        report.discStarted = [window](int number) {
            OnWindowThread(window, [number](ProgressWindow& p) {
                p.step();
                p.setStatus(QStringLiteral("Analiza i digitalizacija listića %1").arg(number));
            });
        };
        report.discPrepared = [window](const ScanDisc& disc) {
            OnWindowThread(window, [line = DiscLogLine(disc)](ProgressWindow& p) { p.addLog(line); });
        };
        ScanReading reading = ReadScanDiscs(path, report, SamplingFor(options));
        // Each disc's first reading (orientation, unrolling, reading) side by side; the
        // workspaces open in the discs' order.
        std::vector<std::future<std::shared_ptr<ChartAnalysis>>> analyses;
        for (ScanDisc& disc : reading.discs) {
            analyses.push_back(std::async(std::launch::async, [image = std::move(disc.image), options, saved]() mutable {
                auto analysis = std::make_shared<ChartAnalysis>(std::move(image), options);
                analysis->setUp(saved);
                return analysis;
            }));
        }
        for (std::size_t i = 0; i < analyses.size(); ++i) {
            const ScanDisc& disc = reading.discs[i];
            const ChartHandOff handOff{disc.scanFileName, disc.discNumber, disc.scanWidth, disc.scanHeight, -1};
            std::shared_ptr<ChartAnalysis> analysis;
            try {
                analysis = analyses[i].get();
            } catch (const std::bad_alloc&) {
                reading.unusableDiscs.push_back(disc.discNumber);
                continue;
            }
            OnWindowThread(window, [analysis, handOff, owner, run](ProgressWindow&) {
                OpenChartWorkspace(*run, std::move(*analysis), handOff, owner);
            });
        }
        OnWindowThread(window, [error = reading.error, unusable = reading.unusableDiscs](ProgressWindow& p) {
            for (int number : unusable)
                p.addLog(QStringLiteral("Listić %1 nije moguće izrezati").arg(number));
            if (!error.isEmpty()) {
                p.hide();
                ShowMessage(p.parentWidget(), error);
                p.close();
                return;
            }
            p.finish();
        });
    });
    // The window waits for its run before it goes (see ProgressWindow), so the thread never
    // outlives what it reports to.
    QObject::connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    progress->watch(worker);
    worker->start();
    return progress;
}

void RunScanIntake(Session& session, QWidget* mainWindow)
{
    ShowMessage(mainWindow, kScanIntakeNotice);
    ScanChooser* chooser = mainWindow->findChild<ScanChooser*>(QString(), Qt::FindDirectChildrenOnly);
    if (!chooser)
        chooser = new ScanChooser(session.values().scanFolder, mainWindow);
    if (chooser->exec() != QDialog::Accepted)
        return;
    mainWindow->repaint();
    StartScanIntake(session, chooser->scanPath(), mainWindow);
}
