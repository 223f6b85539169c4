// The helper thread's loop: wait for a start, run the job, say it is done and how it ended.
#include "parallel/helper_thread.hpp"

#include <system_error>
#include <utility>

namespace dravent {

helper_thread::helper_thread(std::function<void()> job) : job_(std::move(job)), thread_([this] { work(); }) {}

helper_thread::~helper_thread()
{
    if (running_) {
        done_.acquire();  // a run the owner left while unwinding ends first
    }
    stopping_ = true;  // seen by the thread once it acquires the start below
    start_.release();
    thread_.join();
}

void helper_thread::work()
{
    for (;;) {
        start_.acquire();
        if (stopping_) {
            return;
        }
        try {
            job_();
        } catch (...) {
            failure_ = std::current_exception();  // handed to the owner by wait()
        }
        done_.release();
    }
}

void helper_thread::wait()
{
    done_.acquire();
    running_ = false;
    if (failure_ != nullptr) {
        std::rethrow_exception(std::exchange(failure_, nullptr));
    }
}

std::unique_ptr<helper_thread> make_helper_thread(std::function<void()> job)
{
    try {
        return std::make_unique<helper_thread>(std::move(job));
    } catch (const std::system_error&) {
        return nullptr;
    }
}

} // namespace dravent
