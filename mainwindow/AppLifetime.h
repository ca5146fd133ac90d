#pragma once
// How the main window ends the application. Start-up failures ask for the end
// through this hook; the application quits its event loop, tests install a
// recorder so that the test process itself goes on.
#include <functional>

// Called with the exit code; by default it quits the application's event loop
// (queued, so it also works before the loop has started).
extern std::function<void(int)> Terminate_Application_Hook;

// Runs the hook (or the default when the hook is empty).
void Terminate_Application(int code);
