#pragma once

class QApplication;

// Makes the run's session (the settings read from postavke.dat beside the program) and the main
// window, shows it and runs the event loop until the main window closes.
int RunApplication(QApplication& application);
