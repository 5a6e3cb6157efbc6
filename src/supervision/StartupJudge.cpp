#include "supervision/StartupJudge.h"

#include <algorithm>

#include "supervision/ThreadRecords.h"

StartupOutcome StartupJudge::Look(long long now, bool backendExists, bool backendEnded, std::size_t received,
                                  bool recordFinished) {
    if (backendExists && backendSince_ < 0) backendSince_ = now;
    if (received > 0 && firstBytesAt_ < 0) firstBytesAt_ = now;
    if (recordFinished) return StartupOutcome::judgeRecord;

    if (exitSeenAt_ >= 0) {
        // The backend ended, possibly in the middle of its record.
        if (now >= exitSeenAt_ + exitConfirmMilliseconds)
            return received > 0 ? StartupOutcome::judgeRecord : StartupOutcome::unexpectedExit;
    } else if (backendExists && backendEnded) {
        exitSeenAt_ = now;
    }
    if (received > 0 && now >= firstBytesAt_ + recordGraceMilliseconds) return StartupOutcome::judgeRecord;
    if (backendSince_ >= 0 && now >= backendSince_ + startupTimeoutMilliseconds)
        return received > 0 ? StartupOutcome::judgeRecord : StartupOutcome::timedOut;
    return StartupOutcome::pending;
}

long long StartupJudge::NextDeadline() const {
    long long next = noDeadline;
    if (exitSeenAt_ >= 0) next = std::min(next, exitSeenAt_ + exitConfirmMilliseconds);
    if (firstBytesAt_ >= 0) next = std::min(next, firstBytesAt_ + recordGraceMilliseconds);
    if (backendSince_ >= 0) next = std::min(next, backendSince_ + startupTimeoutMilliseconds);
    return next;
}
