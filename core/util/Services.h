#pragma once
// The services that windows, panes and jobs use of the application's other
// parts, in one struct. app/ fills it at start-up and hands it to the windows
// it makes (the main window enters itself as the main-window and batch
// services while it lives, and leaves again when it is destroyed); the export
// subsystem enters its progress window, the barcode dialog itself. Tests fill
// it with fakes for as long as a test runs (tests/common/FakeServices.h).
#include <functional>

class MainWindowServices;
class BatchServices;
class BarcodeDialogServices;
class Send_Modeless;

struct Services {
    MainWindowServices* Main_App_wnd = nullptr;        // the one main window
    BatchServices* Batch_Services = nullptr;           // the main window as batch jobs see it
    BarcodeDialogServices* Barcode_Gen_Var = nullptr;  // the barcode dialog of designing mode
    Send_Modeless* Send_Modeless_Var = nullptr;        // the progress window of batch jobs
    // How the application ends, called with the exit code; empty: its event
    // loop quits (tests record the code instead, so that they go on).
    std::function<void(int)> Terminate_Application_Hook;
};

// The struct app/ fills. Process-wide because free functions of the lower
// layers (the default text font, the start option, the item pictures drawn
// deep inside the model) are called with no window at hand; windows and panes
// use the struct they are handed instead of looking here. GUI thread only:
// jobs take what they need into their own values before they start, and a
// checked build stops at once when a worker thread reaches for it.
Services& App_Services();
