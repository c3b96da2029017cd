#include "app/startup.h"

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
    TForm1 mainWindow(session);
    QObject::connect(&application, &QApplication::lastWindowClosed, &application, &QApplication::quit);
    mainWindow.show();
    return application.exec();
}
