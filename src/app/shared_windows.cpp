#include "app/shared_windows.h"

#include "entries/entry_events.h"
#include "settings/settings_values.h"

SharedWindows::SharedWindows()
    : mainWindow(std::make_unique<TForm1>()),
      options(std::make_unique<TopcijeForm>()),
      about(std::make_unique<TAboutForm>(mainWindow.get())),
      driver(std::make_unique<TDjelatnikForm>()),
      drivers(std::make_unique<TDjelatniciForm>()),
      vehicle(std::make_unique<TVoziloForm>()),
      vehicles(std::make_unique<TVozilaForm>()),
      data(std::make_unique<TDataModule1>()),
      indexUpkeep(std::make_unique<IndexUpkeep>(data->DB, SettingsFilePath())),
      overview(std::make_unique<TfrmOverview>(mainWindow.get())),
      preview(std::make_unique<TuplatnicePrintPreview>()),
      period(std::make_unique<TRazdobljeForm>()),
      workTime(std::make_unique<TERSatiForma2>()),
      attestations(std::make_unique<TfrmAETROverview>(mainWindow.get()))
{
    mainWindow->setSharedWindows(this);
    QObject::connect(mainWindow.get(), &TForm1::databaseReady, indexUpkeep.get(), &IndexUpkeep::check);
    QObject::connect(&EntryEvents::instance(), &EntryEvents::entriesChanged, indexUpkeep.get(), &IndexUpkeep::check);
}

SharedWindows::~SharedWindows()
{
    mainWindow->setSharedWindows(nullptr);
    attestations.reset();
    workTime.reset();
    period.reset();
    preview.reset();
    overview.reset();
    indexUpkeep.reset();
    data.reset();
    vehicles.reset();
    vehicle.reset();
    drivers.reset();
    driver.reset();
    about.reset();
    options.reset();
    mainWindow.reset();
}
