// A thread that does one job at a time beside the thread that owns it.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <semaphore>
#include <thread>

namespace dravent {

// Runs its job once for each start(); wait() returns when that run is over, and throws what the
// run threw. start and wait come in pairs, and the owner touches nothing the job uses in between:
// each pair is a hand-over.
class helper_thread {
public:
    // Throws std::system_error when the system gives no thread.
    explicit helper_thread(std::function<void()> job);
    helper_thread(const helper_thread&) = delete;
    helper_thread& operator=(const helper_thread&) = delete;
    ~helper_thread();

    void start()
    {
        running_ = true;
        start_.release();
    }
    void wait();

private:
    void work();

    std::function<void()> job_;
    std::binary_semaphore start_{0};
    std::binary_semaphore done_{0};
    bool running_ = false;   // started and not yet waited for
    bool stopping_ = false;
    std::exception_ptr failure_;  // what the last run threw
    std::thread thread_;  // last: it starts once everything it uses exists
};

// A helper thread for job, or nullptr when the system refuses one: the owner then does the job
// itself.
std::unique_ptr<helper_thread> make_helper_thread(std::function<void()> job);

} // namespace dravent
