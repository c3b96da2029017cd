#include "app/startup.h"

#include "ui/fonts.h"
#include "app/shared_windows.h"
#include "app/termination.h"

#include <QApplication>

int RunApplication(QApplication& application)
{
    QApplication::setApplicationName(QStringLiteral("VELTRA"));
    RegisterApplicationFonts();

    QuitOnTerminationSignals(application);
    SharedWindows windows;
    QObject::connect(&application, &QApplication::lastWindowClosed, &application, &QApplication::quit);
    windows.mainWindow->show();
    return application.exec();
}
