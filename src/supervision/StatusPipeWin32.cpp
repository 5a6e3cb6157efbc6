#include "supervision/StatusPipeWin32.h"

#include <algorithm>
#include <atomic>
#include <string>

namespace {

constexpr DWORD pipeBufferSize = 1024;

std::wstring UniquePipeName() {
    static std::atomic<unsigned> counter{0};
    return L"\\\\.\\pipe\\qel-status-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
}

}  // namespace

std::unique_ptr<StatusPipe> StatusPipe::Create() {
    std::unique_ptr<StatusPipe> pipe(new StatusPipe);
    const std::wstring name = UniquePipeName();
    // One instance only, and made here first: nobody else can take the other end.
    pipe->server_.reset(CreateNamedPipeW(name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                     PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, pipeBufferSize, pipeBufferSize,
                                     0, nullptr));
    if (!pipe->server_) return nullptr;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    pipe->client_.reset(CreateFileW(name.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, &inheritable, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!pipe->client_) return nullptr;
    pipe->arrival_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!pipe->arrival_) return nullptr;
    pipe->read_.hEvent = pipe->arrival_.get();
    // The client is connected already; the call only confirms it.
    OVERLAPPED connect{};
    connect.hEvent = pipe->read_.hEvent;
    if (!ConnectNamedPipe(pipe->server_.get(), &connect)) {
        const DWORD error = GetLastError();
        DWORD ignored = 0;
        if (error == ERROR_IO_PENDING) {
            if (!GetOverlappedResult(pipe->server_.get(), &connect, &ignored, TRUE)) return nullptr;
        } else if (error != ERROR_PIPE_CONNECTED) {
            return nullptr;
        }
    }
    return pipe;
}

StatusPipe::~StatusPipe() {
    if (reading_) {
        // The buffer must outlive the read: wait for its cancellation to be done.
        CancelIoEx(server_.get(), &read_);
        DWORD ignored = 0;
        GetOverlappedResult(server_.get(), &read_, &ignored, TRUE);
    }
}

void StatusPipe::StartRead() {
    ResetEvent(read_.hEvent);
    // Done at once or under way: either way GetOverlappedResult tells when it is done.
    reading_ = ReadFile(server_.get(), buffer_, sizeof buffer_, nullptr, &read_) || GetLastError() == ERROR_IO_PENDING;
}

void StatusPipe::CollectRead() {
    if (!reading_) return;
    DWORD got = 0;
    if (GetOverlappedResult(server_.get(), &read_, &got, FALSE)) {
        arrived_.insert(arrived_.end(), buffer_, buffer_ + got);
        StartRead();
    } else if (GetLastError() != ERROR_IO_INCOMPLETE) {
        reading_ = false;  // broken: nothing more can come
    }
}

unsigned StatusPipe::TakeArrived(unsigned char* buffer, unsigned size) {
    if (!readBegun_) {
        readBegun_ = true;
        StartRead();
    }
    CollectRead();
    const unsigned n = static_cast<unsigned>(std::min<std::size_t>(size, arrived_.size()));
    std::copy_n(arrived_.begin(), n, buffer);
    arrived_.erase(arrived_.begin(), arrived_.begin() + n);
    return n;
}
