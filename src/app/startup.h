#pragma once

class QApplication;

// Creates the shared windows and the data module in their fixed order, shows the main window
// and runs the event loop until the main window closes.
int RunApplication(QApplication& application);
