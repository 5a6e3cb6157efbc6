#include "supervision/StatusRecord.h"

#include <cstdint>
#include <string_view>

#include "common/AnsiText.h"

const wchar_t* const malformedStatusRecordText = L"Malformed status record";

namespace {

std::int32_t ReadInt32(const unsigned char* p) {
    const std::uint32_t value = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<std::int32_t>(value);
}

}  // namespace

StatusReport DecodeStatusRecord(const unsigned char* data, std::size_t received) {
    StatusReport report;
    if (data == nullptr || received < statusRecordHeaderSize) {
        report.verdict = StatusVerdict::startupFailure;
        report.text = malformedStatusRecordText;
        return report;
    }
    // A start is a start whatever the length says: only a failure's text is ever read.
    const std::int32_t status = ReadInt32(data);
    if (status >= 0) return report;
    const std::int32_t length = ReadInt32(data + 4);
    if (length < 0 || static_cast<std::size_t>(length) > received - statusRecordHeaderSize) {
        report.verdict = StatusVerdict::startupFailure;
        report.text = malformedStatusRecordText;
        return report;
    }

    const std::string_view bytes(reinterpret_cast<const char*>(data + statusRecordHeaderSize),
                                 static_cast<std::size_t>(length));
    report.text = WidenAnsi(bytes);
    report.verdict = report.text.find(L"Failed registrar startup") != std::wstring::npos
                         ? StatusVerdict::discoveryFailure
                         : StatusVerdict::startupFailure;
    return report;
}

bool IsStatusRecordFinished(const unsigned char* data, std::size_t received) {
    if (received >= statusRecordMaxSize) return true;
    if (data == nullptr || received < statusRecordHeaderSize) return false;
    if (ReadInt32(data) >= 0) return true;  // a start needs no text
    const std::int32_t length = ReadInt32(data + 4);
    if (length < 0 || static_cast<std::size_t>(length) > statusRecordMaxSize - statusRecordHeaderSize) return true;
    return statusRecordHeaderSize + static_cast<std::size_t>(length) <= received;
}
