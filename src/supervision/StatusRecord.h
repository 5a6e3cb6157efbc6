// The status record a backend writes to its pipe once its start-up has finished:
// status (signed 32-bit, little-endian) at offset 0, text length (signed 32-bit) at
// offset 4, then that many bytes of ANSI text. At most 1024 bytes in all.
#pragma once

#include <cstddef>
#include <string>

constexpr std::size_t statusRecordMaxSize = 1024;
constexpr std::size_t statusRecordHeaderSize = 8;

enum class StatusVerdict {
    started,           // status 0 or greater
    startupFailure,    // negative status, or a record that cannot be read
    discoveryFailure,  // negative status whose text contains "Failed registrar startup"
};

struct StatusReport {
    StatusVerdict verdict = StatusVerdict::started;
    std::wstring text;  // the failure text (empty on success)
};

// Judges the bytes received. Never reads beyond `received` bytes. A status of 0 or more is a
// start whatever the length field says. A record shorter than its header, or a failure
// whose length is negative or reaches past the bytes received, is a start-up failure with
// the text malformedStatusRecordText.
StatusReport DecodeStatusRecord(const unsigned char* data, std::size_t received);

extern const wchar_t* const malformedStatusRecordText;

// True when the bytes received hold a whole record (a start is whole with its header), or
// can never become one (a failure whose length is negative or would not fit in the
// record): nothing more is worth waiting for. False while the header, or a failure's text,
// is still on its way.
bool IsStatusRecordFinished(const unsigned char* data, std::size_t received);
