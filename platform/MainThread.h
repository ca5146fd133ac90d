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
//
// Returns false, without running `fn`, when the GUI thread no longer serves
// such calls: once the application's event loop has ended (or the
// application object is gone), a waiting worker is released at once and a
// request still queued is dropped, so a worker never waits forever on a
// quitting application.
bool Run_On_Main_Thread_And_Wait(const std::function<void()>& fn);

// Runs `fn` on the GUI thread later, without waiting: at once on the GUI
// thread, otherwise through its event queue. When the application is gone
// (or quits before the queue is served) `fn` is let go without running.
void Post_To_Main_Thread(std::function<void()> fn);

// Stops (true) or resumes (false) serving workers' calls. The application
// stops them itself when its event loop ends and when it is destroyed.
void Set_Main_Thread_Calls_Stopped(bool stopped);
bool Main_Thread_Calls_Stopped();
