#include "app/startup.h"

#include "ui/fonts.h"
#include "app/shared_windows.h"

#include <QApplication>

int RunApplication(QApplication& application)
{
    QApplication::setApplicationName(QStringLiteral("VELTRA"));
    RegisterApplicationFonts();

    SharedWindows windows;
    QObject::connect(&application, &QApplication::lastWindowClosed, &application, &QApplication::quit);
    windows.mainWindow->show();
    return application.exec();
}
