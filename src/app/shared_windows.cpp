#include "app/shared_windows.h"

SharedWindows::SharedWindows()
    : mainWindow(std::make_unique<TForm1>()),
      options(std::make_unique<TopcijeForm>()),
      about(std::make_unique<TAboutForm>(mainWindow.get())),
      driver(std::make_unique<TDjelatnikForm>()),
      drivers(std::make_unique<TDjelatniciForm>()),
      vehicle(std::make_unique<TVoziloForm>()),
      vehicles(std::make_unique<TVozilaForm>()),
      data(std::make_unique<TDataModule1>()),
      overview(std::make_unique<TfrmOverview>(mainWindow.get())),
      preview(std::make_unique<TuplatnicePrintPreview>()),
      period(std::make_unique<TRazdobljeForm>()),
      workTime(std::make_unique<TERSatiForma2>()),
      attestations(std::make_unique<TfrmAETROverview>())
{
    mainWindow->setSharedWindows(this);
}

SharedWindows::~SharedWindows()
{
    mainWindow->setSharedWindows(nullptr);
    attestations.reset();
    workTime.reset();
    period.reset();
    preview.reset();
    overview.reset();
    data.reset();
    vehicles.reset();
    vehicle.reset();
    drivers.reset();
    driver.reset();
    about.reset();
    options.reset();
    mainWindow.reset();
}
