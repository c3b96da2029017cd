#include "app/startup.h"

#include "app/about_form.h"
#include "app/fonts.h"
#include "app/main_window.h"
#include "app/options_form.h"
#include "db/data_module.h"

#include <QApplication>

#include <memory>

int RunApplication(QApplication& application)
{
    QApplication::setApplicationName(QStringLiteral("VELTRA"));
    QApplication::setApplicationDisplayName(QStringLiteral("VELTRA"));
    RegisterApplicationFonts();

    // The shared windows, created hidden in this order and kept until the process ends; the
    // main window first, the settings right after it so the settings file is read before any
    // window that uses it. They are destroyed in the reverse order.
    auto mainWindow = std::make_unique<TForm1>();
    auto options = std::make_unique<TopcijeForm>();
    SetOptionsForm(options.get());
    auto data = std::make_unique<TDataModule1>();

    QObject::connect(&application, &QApplication::lastWindowClosed, &application, &QApplication::quit);
    mainWindow->show();
    return application.exec();
}
