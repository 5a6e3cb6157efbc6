// When the status monitor has seen enough of a backend's start-up to judge it: a whole
// record, an exit seen twice half a second apart, a record cut short, or 240 seconds
// without a record. Pure: the monitor feeds it what it sees and the time.
#pragma once

#include <cstddef>

// A backend has this long from its creation to report.
constexpr long long startupTimeoutMilliseconds = 240000;
// An exit counts once it is seen again this much later; a record that arrives meanwhile
// is judged as any other.
constexpr long long exitConfirmMilliseconds = 500;
// A record that arrives in pieces has this long, from its first bytes, to be completed;
// then what arrived is judged as it is.
constexpr long long recordGraceMilliseconds = 2000;

enum class StartupOutcome {
    pending,         // keep watching
    judgeRecord,     // judge the bytes received
    unexpectedExit,  // "Unexpected process exit"
    timedOut,        // "Startup timeout exceeded"
};

class StartupJudge {
public:
    // One look at the start-up. The time-out runs from the first look at which the
    // backend exists: a start still waiting for the dialog (a box may be open for
    // minutes) is not timed.
    StartupOutcome Look(long long now, bool backendExists, bool backendEnded, std::size_t received,
                        bool recordFinished);
    // The latest time of the next look (a judgement falls due), or noDeadline.
    long long NextDeadline() const;
    // Once seen, the exit need not be looked at again: it only has to be confirmed.
    bool ExitSeen() const { return exitSeenAt_ >= 0; }

private:
    long long backendSince_ = -1;
    long long firstBytesAt_ = -1;
    long long exitSeenAt_ = -1;
};
