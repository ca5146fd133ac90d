#include "platform/MainThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>

namespace {

// Process-wide as the application object is: whether its event loop has
// ended, so that a worker's call no longer waits for a GUI thread that will
// not serve it.
std::atomic<bool> g_stopped{false};
// The thread the application object was made on; kept after the object is
// gone so that late calls can still tell the GUI thread from a worker.
std::atomic<QThread*> g_guiThread{nullptr};

// Every new application object serves calls again until its event loop ends
// and stops serving them when it is destroyed.
void watchApplication()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    g_guiThread = app->thread();
    g_stopped = false;
    QObject::connect(app, &QCoreApplication::aboutToQuit, [] { g_stopped = true; });
    qAddPostRoutine([] { g_stopped = true; });
}
Q_COREAPP_STARTUP_FUNCTION(watchApplication)

// One request of a worker. The worker may give up on it only while it is
// still queued; once the GUI thread has started it, the worker waits for it.
struct Call {
    enum State { Queued, Running, Finished, Dropped };
    std::mutex lock;
    std::condition_variable changed;
    State state = Queued;
    std::exception_ptr failure;
};

} // namespace

bool Is_Main_Thread()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app)
        return QThread::currentThread() == app->thread();
    QThread* gui = g_guiThread;
    return gui == nullptr || QThread::currentThread() == gui;
}

void Set_Main_Thread_Calls_Stopped(bool stopped)
{
    g_stopped = stopped;
}

bool Main_Thread_Calls_Stopped()
{
    return g_stopped;
}

bool Run_On_Main_Thread_And_Wait(const std::function<void()>& fn)
{
    if (!fn)
        return false;
    if (Is_Main_Thread()) {
        fn();
        return true;
    }
    QCoreApplication* app = QCoreApplication::instance();
    if (g_stopped || !app)
        return false;

    auto call = std::make_shared<Call>();
    const std::function<void()>* job = &fn;
    // The queued functor holds the request, not the worker's stack: a
    // dropped request that runs late only finds its state and returns.
    QMetaObject::invokeMethod(
        app,
        [call, job]() {
            {
                std::lock_guard<std::mutex> lock(call->lock);
                if (call->state != Call::Queued)
                    return;
                call->state = Call::Running;
            }
            try {
                (*job)();
            } catch (...) {
                call->failure = std::current_exception();
            }
            {
                std::lock_guard<std::mutex> lock(call->lock);
                call->state = Call::Finished;
            }
            call->changed.notify_all();
        },
        Qt::QueuedConnection);

    std::unique_lock<std::mutex> lock(call->lock);
    for (;;) {
        if (call->state == Call::Finished)
            break;
        if (call->state == Call::Queued && g_stopped) {
            call->state = Call::Dropped;
            return false;
        }
        call->changed.wait_for(lock, std::chrono::milliseconds(20));
    }
    lock.unlock();
    if (call->failure)
        std::rethrow_exception(call->failure);
    return true;
}

void Post_To_Main_Thread(std::function<void()> fn)
{
    if (!fn)
        return;
    if (Is_Main_Thread()) {
        fn();
        return;
    }
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}
