#pragma once

#include "app/about_form.h"
#include "app/index_upkeep.h"
#include "app/main_window.h"
#include "settings/ui/options_form.h"
#include "db/data_module.h"
#include "masterdata/ui/driver_form.h"
#include "masterdata/ui/driver_list_form.h"
#include "masterdata/ui/vehicle_form.h"
#include "masterdata/ui/vehicle_list_form.h"
#include "print/ui/print_preview.h"
#include "reviews/ui/overview_form.h"
#include "reviews/ui/period_form.h"
#include "attestation/ui/register_form.h"
#include "worktime/ui/worktime_form.h"

#include <memory>

// The windows that exist once for the whole run and the data module, in the order start-up
// creates them (and the reverse order in which they go at the end): the main window first,
// the settings right after it so the settings file is read before any window that uses it.
struct SharedWindows {
    SharedWindows();
    ~SharedWindows();

    std::unique_ptr<TForm1> mainWindow;
    std::unique_ptr<TopcijeForm> options;
    std::unique_ptr<TAboutForm> about;
    std::unique_ptr<TDjelatnikForm> driver;
    std::unique_ptr<TDjelatniciForm> drivers;
    std::unique_ptr<TVoziloForm> vehicle;
    std::unique_ptr<TVozilaForm> vehicles;
    std::unique_ptr<TDataModule1> data;
    // Measures the indexes now and then, on a connection of its own.
    std::unique_ptr<IndexUpkeep> indexUpkeep;
    // Its lists read on transactions of their own, so it goes before the data module.
    std::unique_ptr<TfrmOverview> overview;
    std::unique_ptr<TuplatnicePrintPreview> preview;
    std::unique_ptr<TRazdobljeForm> period;
    std::unique_ptr<TERSatiForma2> workTime;
    std::unique_ptr<TfrmAETROverview> attestations;
};
