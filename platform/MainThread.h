#pragma once
// Running work on the GUI thread.
//
// Widgets and live canvas items belong to the GUI thread. A worker that needs
// one asks the GUI thread and waits for the answer.
#include <functional>

// True on the GUI thread (and when no application object exists yet).
bool Is_Main_Thread();

// Runs `fn` on the GUI thread and returns when it has finished: at once when
// called on the GUI thread, otherwise through the GUI thread's event queue
// while the calling thread blocks. Exceptions thrown by `fn` on the GUI
// thread are caught there and thrown again in the caller.
void Run_On_Main_Thread_And_Wait(const std::function<void()>& fn);
