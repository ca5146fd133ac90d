#pragma once
// The one way an output job (image export, PDF export, e-mail) runs in the
// background: Start_Job runs the job's body on a worker of the output jobs'
// pool under the job's control and hands back at once a Job_Handle, which
// says when the job has ended and holds the report it gave.
//
//   auto handle = Start_Job<Pdf_Export_Report>(control, [job](const Job_Control_Ptr& c) {
//       return Run_Pdf_Export(job, c.get());
//   });
//   ... later, on the GUI thread: if (handle->done) use(handle->report());
//
// The body does everything a user sees of the job (the progress window, the
// keep-or-replace boxes, the after-export box); the runner only starts it,
// catches what it throws (written to the log; the report is then empty) and
// marks the end.
#include "core/util/JobControl.h"

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

// A running job; `done` is set once the report is complete.
template <class Report>
class Job_Handle {
public:
    std::atomic<bool> done{false};
    Job_Control_Ptr control;   // the job's stop request and counters
    Report report() const
    {
        std::lock_guard lock(m_mutex);
        return m_report;
    }
    void setReport(const Report& r)
    {
        std::lock_guard lock(m_mutex);
        m_report = r;
    }

private:
    mutable std::mutex m_mutex;
    Report m_report;
};

// Runs `work` on a worker of the output jobs' pool. A job may wait on the
// user for long (a keep-or-replace box, a pause between mails), so it never
// waits for a worker: the pool grows when every worker is busy. Quitting the
// program never waits for a job either.
void Run_Job_Worker(std::function<void()> work);

// Writes what a job threw to the log.
void Log_Job_Failure(const std::exception& e);

// Starts `body(control)` on a worker and returns the job's handle at once.
// The job runs under `control`, or under a new control when it is null.
template <class Report, class Body>
std::shared_ptr<Job_Handle<Report>> Start_Job(Job_Control_Ptr control, Body body)
{
    auto handle = std::make_shared<Job_Handle<Report>>();
    handle->control = control ? std::move(control) : New_Job_Control();
    Run_Job_Worker([handle, body = std::move(body)]() mutable {
        Report report;
        try {
            report = body(handle->control);
        } catch (const std::exception& e) {
            Log_Job_Failure(e);
        }
        handle->setReport(report);
        handle->done = true;
    });
    return handle;
}
