#pragma once

#include <csignal>

// Ctrl-C (SIGINT) and SIGTERM as a request to stop, for a command that must end with complete
// output: while an object lives, the signals only set a flag that the command looks at on its
// tick. Before and after, they end the program as usual.
class StopSignal
{
public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    bool requested() const;

private:
    struct sigaction previousInt {};
    struct sigaction previousTerm {};
};
