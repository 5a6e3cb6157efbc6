// Virtual time for the threads of one test. It stands still while any of its participants
// runs and jumps to the nearest deadline once all of them wait and none can go on, so that
// minutes of waiting take milliseconds and every run sees the same times, whatever the
// machine's load.
//
// Participants: the test's own thread and every thread the fakes start (Join before the
// thread is started, Leave as its last act). A participant waits only through WaitUntil;
// whoever changes what a waiter's condition reads calls Changed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>

class VirtualClock {
public:
    static constexpr long long never = LLONG_MAX;

    long long Now() {
        std::lock_guard<std::mutex> lock(mutex_);
        return now_;
    }

    void Join() {
        std::lock_guard<std::mutex> lock(mutex_);
        ++running_;
    }
    // The participant's last act; `last` runs under the clock's lock first (marks the
    // thread ended, so a waiter never sees it gone but not ended).
    void Leave(const std::function<void()>& last = {}) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (last) last();
        --running_;
        changed_.notify_all();
    }

    // Blocks until ready() holds (true) or the clock reaches deadline (false). ready() is
    // called under the clock's lock. Fails the test after a minute of real time in which
    // nothing could go on (a deadlock of the code under test).
    bool WaitUntil(long long deadline, const std::function<bool()>& ready) {
        std::unique_lock<std::mutex> lock(mutex_);
        Waiter self{deadline, &ready};
        waiters_.push_back(&self);
        --running_;
        bool result = false;
        for (;;) {
            if (ready()) {
                result = true;
                break;
            }
            if (now_ >= deadline) break;
            if (running_ == 0) {
                // A waiter whose condition came true while nobody told it goes on first;
                // only when none can does the time move.
                if (AnyWaiterCanGoOn()) {
                    changed_.notify_all();
                } else if (const long long next = NearestDeadline(); next != never) {
                    now_ = next;
                    changed_.notify_all();
                    continue;
                }
            }
            if (changed_.wait_for(lock, std::chrono::seconds(60)) == std::cv_status::timeout) {
                ADD_FAILURE() << "virtual clock: every participant waits for something that never comes";
                break;
            }
        }
        waiters_.remove(&self);
        ++running_;
        return result;
    }

    void Changed() {
        std::lock_guard<std::mutex> lock(mutex_);
        changed_.notify_all();
    }

    void Sleep(long long milliseconds) {
        const long long until = Now() + milliseconds;
        WaitUntil(until, [] { return false; });
    }

private:
    struct Waiter {
        long long deadline;
        const std::function<bool()>* ready;
    };

    bool AnyWaiterCanGoOn() const {
        for (const Waiter* w : waiters_)
            if (now_ >= w->deadline || (*w->ready)()) return true;
        return false;
    }
    long long NearestDeadline() const {
        long long nearest = never;
        for (const Waiter* w : waiters_)
            if (w->deadline < nearest) nearest = w->deadline;
        return nearest;
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    long long now_ = 0;
    int running_ = 1;  // the test's own thread
    std::list<Waiter*> waiters_;
};
