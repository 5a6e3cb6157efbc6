// The status pipe of one backend start: a named pipe whose server end the program reads
// overlapped, so that a wait ends the moment the record arrives, and whose client end the
// backend inherits and writes exactly as it would an anonymous pipe.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

class StatusPipe {
public:
    // Both ends, the read already under way; null when the pipe cannot be made.
    static std::unique_ptr<StatusPipe> Create();
    // Gives up the pending read and closes the read end (and the write end unless it was
    // handed out).
    ~StatusPipe();
    StatusPipe(const StatusPipe&) = delete;
    StatusPipe& operator=(const StatusPipe&) = delete;

    HANDLE ReadEnd() const { return server_; }
    // The inheritable write end, whose value the backend gets on its command line; from
    // here on the caller closes it.
    HANDLE HandOutWriteEnd() {
        HANDLE client = client_;
        client_ = nullptr;
        return client;
    }
    // Moves what has arrived into buffer (at most size bytes) without waiting and starts
    // the next read; returns the bytes moved.
    unsigned TakeArrived(unsigned char* buffer, unsigned size);
    // Signalled once data has arrived; null when the pipe can bring no more.
    HANDLE ArrivalEvent() const { return reading_ ? read_.hEvent : nullptr; }

private:
    StatusPipe() = default;
    void StartRead();
    void CollectRead();

    HANDLE server_ = nullptr;
    HANDLE client_ = nullptr;
    OVERLAPPED read_{};
    bool reading_ = false;
    unsigned char buffer_[1024] = {};
    std::vector<unsigned char> arrived_;
};
