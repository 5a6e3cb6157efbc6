// The decoder of the backend's status record: verdicts, texts and records that cannot be
// trusted.
#include "supervision/StatusRecord.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> Record(std::int32_t status, std::int32_t length, const std::string& text) {
    std::vector<unsigned char> r(8);
    for (int b = 0; b < 4; ++b) {
        r[b] = static_cast<unsigned char>(static_cast<std::uint32_t>(status) >> (8 * b));
        r[4 + b] = static_cast<unsigned char>(static_cast<std::uint32_t>(length) >> (8 * b));
    }
    r.insert(r.end(), text.begin(), text.end());
    return r;
}

StatusReport Decode(const std::vector<unsigned char>& r) { return DecodeStatusRecord(r.data(), r.size()); }

TEST(StatusRecord, StatusDecidesAndTheMarkerSeparatesDiscoveryFromStartupFailure) {
    EXPECT_EQ(Decode(Record(0, 0, "")).verdict, StatusVerdict::started);
    const StatusReport five = Decode(Record(5, 4, "fine"));
    EXPECT_EQ(five.verdict, StatusVerdict::started);
    EXPECT_EQ(five.text, L"") << "a success carries no failure text";

    const StatusReport discovery = Decode(Record(-1, 32, "x: Failed registrar startup, bye"));
    EXPECT_EQ(discovery.verdict, StatusVerdict::discoveryFailure);
    EXPECT_EQ(discovery.text, L"x: Failed registrar startup, bye");

    EXPECT_EQ(Decode(Record(-1, 24, "failed registrar startup")).verdict, StatusVerdict::startupFailure)
        << "the marker is case-sensitive";
    const StatusReport empty = Decode(Record(-7, 0, ""));
    EXPECT_EQ(empty.verdict, StatusVerdict::startupFailure);
    EXPECT_EQ(empty.text, L"");
    EXPECT_EQ(Decode(Record(INT32_MIN, 1, "z")).verdict, StatusVerdict::startupFailure);
}

TEST(StatusRecord, TextIsTakenByItsLengthAndWidenedByteForByte) {
    // Only `length` bytes count, whatever follows them.
    const StatusReport r = Decode(Record(-1, 4, "Portxxxx"));
    EXPECT_EQ(r.text, L"Port");
    const StatusReport high = Decode(Record(-1, 2, "\xE9\x01"));
    EXPECT_EQ(high.text, std::wstring(L"\u00E9\u0001"));
    const std::string longest(1016, 'a');
    EXPECT_EQ(Decode(Record(-1, 1016, longest)).text.size(), 1016u);
}

TEST(StatusRecord, RecordsThatCannotBeTrustedAreStartupFailures) {
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
    };
    std::vector<unsigned char> shortHeader = Record(0, 0, "");
    shortHeader.resize(7);
    const Case cases[] = {
        {"nothing", {}},
        {"header cut short", shortHeader},
        {"negative length", Record(-1, -1, "abc")},
        {"length past the bytes received", Record(-1, 4, "abc")},
        {"huge length", Record(-1, INT32_MAX, "abc")},
    };
    for (const Case& c : cases) {
        const StatusReport r = DecodeStatusRecord(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(r.verdict, StatusVerdict::startupFailure) << c.what;
        EXPECT_EQ(r.text, L"Malformed status record") << c.what;
    }
    EXPECT_EQ(DecodeStatusRecord(nullptr, 0).verdict, StatusVerdict::startupFailure);
}

TEST(StatusRecord, AStartIsAStartWhateverItsLengthSays) {
    // Backends write sloppy lengths on success; their devices must not be closed for it.
    for (std::int32_t length : {100, -1, INT32_MAX, 3}) {
        const std::vector<unsigned char> record = Record(5, length, "ok");
        const StatusReport r = DecodeStatusRecord(record.data(), record.size());
        EXPECT_EQ(r.verdict, StatusVerdict::started) << length;
        EXPECT_EQ(r.text, L"") << length;
        EXPECT_TRUE(IsStatusRecordFinished(record.data(), 8)) << "nothing more to wait for, length " << length;
    }
}

}  // namespace

TEST(StatusRecord, RecordIsFinishedWhenWholeOrWhenItCanNeverBeWhole) {
    const std::vector<unsigned char> record = Record(-1, 24, "Failed registrar startup");
    // Header still on its way, or the announced text not all there yet: wait for more.
    EXPECT_FALSE(IsStatusRecordFinished(record.data(), 0));
    EXPECT_FALSE(IsStatusRecordFinished(record.data(), 7));
    EXPECT_FALSE(IsStatusRecordFinished(record.data(), 8));
    EXPECT_FALSE(IsStatusRecordFinished(record.data(), record.size() - 1));
    EXPECT_TRUE(IsStatusRecordFinished(record.data(), record.size()));
    // A length that is negative or beyond what a record can hold never completes.
    std::vector<unsigned char> negative = Record(-1, 1, "x");
    negative[7] = 0xFF;
    EXPECT_TRUE(IsStatusRecordFinished(negative.data(), 8));
    std::vector<unsigned char> overlong = Record(-1, 1, "x");
    overlong[4] = 0xF9;  // 1017 bytes of text cannot fit behind the header
    overlong[5] = 0x03;
    EXPECT_TRUE(IsStatusRecordFinished(overlong.data(), overlong.size()));
    // An empty text: the header alone is the whole record.
    const std::vector<unsigned char> empty = Record(0, 0, "");
    EXPECT_TRUE(IsStatusRecordFinished(empty.data(), 8));
}
