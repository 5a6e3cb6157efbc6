// The status record comes from another program: whatever bytes arrive, the decoder reads
// none beyond them and gives a verdict with a text that came from inside the record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "supervision/StatusRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > statusRecordMaxSize) size = statusRecordMaxSize;
    // A copy of exactly the received bytes, so that any read beyond them is caught.
    std::vector<unsigned char> received(data, data + size);
    const StatusReport report = DecodeStatusRecord(received.data(), received.size());
    if (report.verdict == StatusVerdict::started && !report.text.empty()) std::abort();
    if (report.text.size() > size && report.text != malformedStatusRecordText) std::abort();
    return 0;
}
