// The status pipe of one backend start: a named pipe whose server end the program reads
// overlapped, so that a wait ends the moment the record arrives, and whose client end the
// backend inherits and writes exactly as it would an anonymous pipe.
//
// The worker makes the pipe; the status monitor reads it. Windows cancels the I/O a thread
// has issued when that thread ends, and a plain stop ends the worker while the monitor goes
// on watching, so no read is begun before the monitor's first TakeArrived: every read
// belongs to the thread that waits for it.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "win32/Handles.h"

class StatusPipe {
public:
    // Both ends, connected, no read begun yet; null when the pipe cannot be made.
    static std::unique_ptr<StatusPipe> Create();
    // Gives up the pending read and closes the read end (and the write end unless it was
    // handed out).
    ~StatusPipe();
    StatusPipe(const StatusPipe&) = delete;
    StatusPipe& operator=(const StatusPipe&) = delete;

    HANDLE ReadEnd() const { return server_.get(); }
    // The inheritable write end, whose value the backend gets on its command line; from
    // here on the caller closes it.
    HANDLE HandOutWriteEnd() { return client_.release(); }
    // Moves what has arrived into buffer (at most size bytes) without waiting and begins
    // the next read; returns the bytes moved. Call it only from the thread that waits on
    // ArrivalEvent: the read it begins ends with that thread.
    unsigned TakeArrived(unsigned char* buffer, unsigned size);
    // Signalled once data has arrived; null before the first TakeArrived and when the pipe
    // can bring no more.
    HANDLE ArrivalEvent() const { return reading_ ? read_.hEvent : nullptr; }

private:
    StatusPipe() = default;
    void StartRead();
    void CollectRead();

    UniqueFile server_;
    UniqueFile client_;
    UniqueHandle arrival_;  // the read's event (read_.hEvent)
    OVERLAPPED read_{};
    bool readBegun_ = false;
    bool reading_ = false;
    unsigned char buffer_[1024] = {};
    std::vector<unsigned char> arrived_;
};
