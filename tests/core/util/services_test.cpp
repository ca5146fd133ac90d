// The services struct belongs to the GUI thread: a worker that reaches for it
// stops a checked build at once, and what a test enters is given back when
// the test ends.
#include "common/FakeServices.h"
#include "core/FakeMainWindow.h"
#include "core/util/MainWindowServices.h"
#include "core/util/Services.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

TEST(ServicesDeathTest, AWorkerThatReadsTheServicesStopsACheckedBuild)
{
    // Every build with the tests has the check (Release builds too).
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");   // the child runs the whole program again
    EXPECT_DEATH(
        {
            std::thread worker([] { (void)App_Services().Main_App_wnd; });
            worker.join();
        },
        "GUI thread only");
    GTEST_FLAG_SET(death_test_style, style);
}

TEST(ServicesTest, WhatATestEntersIsGivenBack)
{
    MainWindowServices* const before = App_Services().Main_App_wnd;
    {
        Fake_Services services;
        services->Terminate_Application_Hook = [](int) {};
        FakeMainWindow fake;   // enters itself while it lives
        EXPECT_EQ(App_Services().Main_App_wnd, &fake);
    }
    EXPECT_EQ(App_Services().Main_App_wnd, before);
}
