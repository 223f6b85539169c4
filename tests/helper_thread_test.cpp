// The helper thread: one run of its job for each start, what a run throws thrown again by wait,
// and a run still going when its owner leaves ends before the thread does.
#include "parallel/helper_thread.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

namespace dravent {
namespace {

TEST(helper_thread, runs_the_job_once_for_each_start_and_hands_on_what_it_throws)
{
    int runs = 0;
    bool fail = false;
    const auto helper = make_helper_thread([&] {
        ++runs;
        if (fail) {
            throw std::runtime_error("the job failed");
        }
    });
    ASSERT_NE(helper, nullptr);
    for (int n = 1; n <= 3; ++n) {
        helper->start();
        helper->wait();
        EXPECT_EQ(runs, n);
    }
    fail = true;
    helper->start();
    EXPECT_THROW(helper->wait(), std::runtime_error);
    fail = false;
    helper->start();
    EXPECT_NO_THROW(helper->wait());  // the failure was handed on once
    EXPECT_EQ(runs, 5);
}

TEST(helper_thread, a_run_left_going_ends_before_the_helper)
{
    int runs = 0;
    {
        const auto helper = make_helper_thread([&] { ++runs; });
        ASSERT_NE(helper, nullptr);
        helper->start();  // no wait: as when the owner unwinds from an error
    }
    EXPECT_EQ(runs, 1);
}

} // namespace
} // namespace dravent
