// The chart windows as the operator meets them: from "Analiziraj" on a scan file until the
// workspaces are shown (the intake on its worker thread and the windows being built), and
// one geometry key on the disc image until the whole workspace has been repainted.

#include "chart_drawing.h"
#include "temp_database.h"
#include "session/session.h"
#include "test_image_files.h"

#include "charts/chart_geometry.h"
#include "charts/ui/chart_workspace.h"
#include "charts/ui/progress_window.h"
#include "charts/ui/scan_intake_run.h"
#include "temp_database.h"
#include "settings/settings_values.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPointer>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QTemporaryDir& Folder()
{
    static QTemporaryDir folder;
    return folder;
}

// A session on a connected database, for the workspaces' pick lists.
Session& ConnectedSession()
{
    static std::unique_ptr<TempDatabase> file;
    static std::unique_ptr<Session> session;
    if (!session) {
        file = std::make_unique<TempDatabase>();
        session = std::make_unique<Session>(Folder().filePath(QStringLiteral("postavke.dat")));
        ConnectUpgraded(session->connection(), file->path());
    }
    return *session;
}

QString ScanFile(int discs, int dpi)
{
    const QString path = Folder().filePath(QStringLiteral("scan-%1-%2.jpg").arg(discs).arg(dpi));
    if (!QFile::exists(path)) {
        const int width = A4WidthPixels(dpi);
        const int height = A4HeightPixels(dpi);
        std::vector<ChartDiscDrawing> drawn = StackedDiscs(width, height, discs);
        for (ChartDiscDrawing& disc : drawn)
            disc.trace = {{0, 310, 0}, {310, 720, 3}, {720, 800, 2}, {800, 1440, 0}};
        WriteJpegFile(path, DrawChartPage(width, height, drawn), {.quality = 90});
    }
    return path;
}

QList<QWidget*> WorkspacesShown()
{
    QList<QWidget*> shown;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<ChartWorkspace*>(window) && window->isVisible())
            shown << window;
    }
    return shown;
}

void CloseAll()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<ChartWorkspace*>(window) || qobject_cast<ProgressWindow*>(window))
            windows << window;
    }
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
}

void BM_ScanToWorkspaces(benchmark::State& state)
{
    Session& session = ConnectedSession();
    const int discs = static_cast<int>(state.range(0));
    const QString path = ScanFile(discs, static_cast<int>(state.range(1)));
    QWidget owner;
    for (auto _ : state) {
        StartScanIntake(session, path, &owner);
        while (WorkspacesShown().size() < discs)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        state.PauseTiming();
        CloseAll();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ScanToWorkspaces)->Args({1, 150})->Args({2, 150})->Args({2, 300})->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_GeometryKeyToRepaint(benchmark::State& state)
{
    QWidget owner;
    StartScanIntake(ConnectedSession(), ScanFile(1, 150), &owner);
    while (WorkspacesShown().isEmpty())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QWidget* window = WorkspacesShown().first();
    window->findChild<QTabWidget*>(QStringLiteral("Kartice"))->setCurrentIndex(0);
    QWidget* canvas = window->findChild<QWidget*>(QStringLiteral("DiscCanvas"));
    int key = 0;
    for (auto _ : state) {
        // Ctrl+Up and Ctrl+Down in turn, so the ring keeps its place.
        QKeyEvent press(QEvent::KeyPress, key++ % 2 ? Qt::Key_Down : Qt::Key_Up, Qt::ControlModifier);
        QApplication::sendEvent(canvas, &press);
        window->repaint();
    }
    CloseAll();
}
BENCHMARK(BM_GeometryKeyToRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
