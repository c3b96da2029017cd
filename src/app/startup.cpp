#include "app/startup.h"

#include "app/index_upkeep.h"
#include "app/main_window.h"
#include "app/termination.h"
#include "print/ui/printer_output.h"
#include "session/session.h"
#include "ui/fonts.h"

#include <QApplication>

int RunApplication(QApplication& application)
{
    QApplication::setApplicationName(QStringLiteral("VELTRA"));
    RegisterApplicationFonts();

    QuitOnTerminationSignals(application);
    Session session(DefaultSettingsPath());
    session.settings().load(InstalledPrinterNames());
    session.printing().setOpensPreview(true);
    MainWindow mainWindow(session);
    // The indexes measured anew now and then, on a connection of their own.
    IndexUpkeep indexUpkeep(session.connection(), session.settingsPath());
    QObject::connect(&mainWindow, &MainWindow::databaseReady, &indexUpkeep, &IndexUpkeep::check);
    QObject::connect(&session, &Session::entriesChanged, &indexUpkeep, &IndexUpkeep::check);
    QObject::connect(&application, &QApplication::lastWindowClosed, &application, &QApplication::quit);
    mainWindow.show();
    return application.exec();
}
