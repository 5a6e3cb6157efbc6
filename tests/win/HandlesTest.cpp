// The RAII owners: each releases exactly once, put() cannot leak, and the pairing owners
// undo what they did.
#include "win32/Handles.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

bool IsOpen(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != 0;
}

TEST(Handles, KernelHandleClosesOnceWhenOwnerGoes) {
    HANDLE raw;
    {
        UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        raw = event.get();
        ASSERT_TRUE(event);
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));
}

TEST(Handles, MoveTransfersOwnershipAndPutReleasesTheOldValue) {
    UniqueHandle a(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE first = a.get();
    UniqueHandle b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), first);
    HANDLE* slot = b.put();
    EXPECT_FALSE(IsOpen(first));
    *slot = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_TRUE(IsOpen(b.get()));
    HANDLE kept = b.release();
    EXPECT_FALSE(b);
    EXPECT_TRUE(IsOpen(kept));
    CloseHandle(kept);
}

TEST(Handles, FileOwnerTreatsInvalidHandleValueAsEmpty) {
    UniqueFile missing(CreateFileW(L"Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
}

TEST(Handles, GdiOwnersCountLiveObjects) {
    const long before = LiveGdiObjectCount();
    {
        UniqueBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        EXPECT_EQ(LiveGdiObjectCount(), before + 2);
    }
    EXPECT_EQ(LiveGdiObjectCount(), before);
}

TEST(Handles, SelectionGuardRestoresThePreviousObject) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    UniquePen pen(CreatePen(PS_SOLID, 3, RGB(255, 255, 255)));
    HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_PEN);
    {
        SelectionGuard guard(dc.get(), pen.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), original);
}

TEST(Handles, ProcessRecordClosesBothHandlesOnCloseOnPutAndWhenItGoes) {
    auto fill = [](PROCESS_INFORMATION* record) {
        record->hProcess = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        record->hThread = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        return std::make_pair(record->hProcess, record->hThread);
    };
    UniqueProcessInformation record;
    auto first = fill(record.put());
    PROCESS_INFORMATION* slot = record.put();  // checked before new handles may reuse the values
    EXPECT_FALSE(IsOpen(first.first));
    EXPECT_FALSE(IsOpen(first.second));
    EXPECT_EQ(slot->hProcess, nullptr);
    auto second = fill(slot);
    EXPECT_TRUE(IsOpen(second.first) && IsOpen(second.second));
    record.Close();
    EXPECT_FALSE(IsOpen(second.first) || IsOpen(second.second));
    EXPECT_EQ(record.hProcess, nullptr);
    EXPECT_EQ(record.hThread, nullptr);
    std::pair<HANDLE, HANDLE> last;
    {
        UniqueProcessInformation scoped;
        last = fill(scoped.put());
    }
    EXPECT_FALSE(IsOpen(last.first) || IsOpen(last.second));
}

}  // namespace
