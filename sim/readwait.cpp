#include "readwait.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <climits>
#include <ctime>

static_assert(sizeof(std::atomic<unsigned>) == sizeof(unsigned), "the futex word is the counter itself");

void ReadWait::wait(unsigned ticket, Clock::time_point until)
{
    waiting.fetch_add(1);
    auto* word = reinterpret_cast<unsigned*>(&changes);
    if (until == Clock::time_point::max()) {
        syscall(SYS_futex, word, FUTEX_WAIT_PRIVATE, ticket, nullptr, nullptr, 0);
    } else {
        // An absolute time on the monotonic clock, which steady_clock reads on Linux: the wait
        // ends on time however late the thread got here.
        const auto since = until.time_since_epoch();
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
        timespec at{};
        at.tv_sec = time_t(seconds.count());
        at.tv_nsec = long(std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds).count());
        syscall(SYS_futex, word, FUTEX_WAIT_BITSET_PRIVATE, ticket, &at, nullptr, FUTEX_BITSET_MATCH_ANY);
    }
    waiting.fetch_sub(1);
}

void ReadWait::changed()
{
    changes.fetch_add(1);
    if (waiting.load() > 0)
        syscall(SYS_futex, reinterpret_cast<unsigned*>(&changes), FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
}
