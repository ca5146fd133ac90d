#pragma once
// How the main window ends the application. Start-up failures ask for the end
// through this hook; the application quits its event loop, tests install a
// recorder so that the test process itself goes on.
#include "core/util/Services.h"

// Runs App_Services().Terminate_Application_Hook, or by default quits the
// application's event loop (queued, so it also works before the loop has
// started).
void Terminate_Application(int code);
