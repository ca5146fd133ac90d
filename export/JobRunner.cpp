#include "export/JobRunner.h"

#include "core/util/MessageBoxes.h"

#include <QString>
#include <QThreadPool>

namespace {

// The pool lives as long as the process and is never destroyed: its
// destructor would wait for a running job, and a mail job may be in a pause
// of hours when the program quits.
QThreadPool& Output_Job_Pool()
{
    static QThreadPool* pool = new QThreadPool;
    return *pool;
}

} // namespace

void Run_Job_Worker(std::function<void()> work)
{
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    QThreadPool& pool = Output_Job_Pool();
    if (!pool.tryStart(work)) {
        pool.setMaxThreadCount(pool.maxThreadCount() + 1);
        pool.start(std::move(work));
    }
}

void Log_Job_Failure(const std::exception& e)
{
    Show_NSLog_Message(QString::fromUtf8(e.what()));
}
