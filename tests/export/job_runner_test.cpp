// The output jobs' runner: jobs that wait (on the user, in a pause between
// mails) never hold up a job started after them, and a job that throws still
// ends with its handle marked done.
#include "ExportTestSupport.h"
#include "export/JobRunner.h"

#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace {

using namespace exporttest;

struct Count_Report {
    int value = -1;
};

TEST(JobRunnerTest, JobsThatWaitNeverHoldUpTheNextJobAndEachGivesItsOwnReport)
{
    // More jobs than the machine has cores, each waiting until all of them
    // run at once: a pool that queued a job behind a waiting one would stall.
    const int jobs = QThread::idealThreadCount() + 3;
    struct Gate {
        std::atomic<int> running{0};
        std::atomic<bool> release{false};
    };
    const auto gate = std::make_shared<Gate>();   // outlives a test that fails early
    std::vector<std::shared_ptr<Job_Handle<Count_Report>>> handles;
    for (int i = 0; i < jobs; ++i) {
        handles.push_back(Start_Job<Count_Report>(nullptr, [i, gate](const Job_Control_Ptr&) {
            ++gate->running;
            while (!gate->release)
                QThread::msleep(2);
            return Count_Report{i};
        }));
    }
    EXPECT_TRUE(Pump_Until([&] { return gate->running.load() == jobs; }, 60))
        << gate->running.load() << " of " << jobs << " jobs ran at once";
    gate->release = true;
    for (int i = 0; i < jobs; ++i) {
        ASSERT_TRUE(Pump_Until([&] { return handles[i]->done.load(); }));
        EXPECT_EQ(handles[i]->report().value, i);
        ASSERT_TRUE(handles[i]->control);
    }
}

TEST(JobRunnerTest, AJobRunsUnderTheControlItIsGivenAndAThrowingJobStillEnds)
{
    const Job_Control_Ptr control = New_Job_Control();
    control->Stop_Processing_Now = true;
    const auto stopped = Start_Job<Count_Report>(control, [](const Job_Control_Ptr& c) {
        return Count_Report{c->Stop_Processing_Now ? 1 : 0};
    });
    EXPECT_EQ(stopped->control, control);
    ASSERT_TRUE(Pump_Until([&] { return stopped->done.load(); }));
    EXPECT_EQ(stopped->report().value, 1);

    const auto thrown = Start_Job<Count_Report>(nullptr, [](const Job_Control_Ptr&) -> Count_Report {
        throw std::runtime_error("the disk went away");
    });
    ASSERT_TRUE(Pump_Until([&] { return thrown->done.load(); }));
    EXPECT_EQ(thrown->report().value, -1);   // the report of a job that gave none
}

} // namespace
