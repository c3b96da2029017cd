#pragma once

#include <QString>

class QWidget;
class Session;
class ProgressWindow;

// "Unos skeniranog listića": the notice, the chooser, then the intake of the chosen scan with
// its progress window, one workspace opened per disc found, upper disc first. Loading,
// detection, cutting and the first reading of each disc run on a worker thread; the window
// stays live and the workspaces open as their discs are ready. Returns once the chooser has
// closed; the run goes on by itself. The chooser is made once for the main window and keeps
// its path.
void RunScanIntake(Session& session, QWidget* mainWindow);

// The intake of a path without notice or chooser (what "Analiziraj" starts). Returns the
// progress window of the run; a run that stops with a message closes it itself.
ProgressWindow* StartScanIntake(Session& session, const QString& path, QWidget* mainWindow);

inline const QString kScanIntakeNotice = QStringLiteral("Novo u VELTRA - od 13.5.2011.! Očitavanje skeniranih listića!");
