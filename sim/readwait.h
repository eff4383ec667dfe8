#pragma once

#include <atomic>
#include <chrono>

// Where reads of the virtual board wait for a report: asleep until the moment the next report
// is due, woken at once by any change that may bring one sooner (a write, a closed handle, a
// setting or fault of the control API), as a hidraw read wakes for the report that arrives.
// One system call per wait, none to announce a change while nobody waits.
class ReadWait
{
public:
    using Clock = std::chrono::steady_clock;

    // Taken before looking at the board, under its lock: a change after it ends the wait.
    unsigned ticket() const { return changes.load(); }
    // Without the board's lock: sleeps until `until` (max: no limit) or a change after
    // `ticket`, whichever comes first; may also return early for no reason.
    void wait(unsigned ticket, Clock::time_point until);
    // After a change, once the board's lock is released.
    void changed();

private:
    std::atomic<unsigned> changes{0};
    std::atomic<int> waiting{0};
};
