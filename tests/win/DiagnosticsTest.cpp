// The leak-check figures: the probing handle count sees a leak of 100 pipes plainly and
// forgets it once the pipes are closed; the live GDI count follows the owners; the main
// dialog answers the registered diagnostics message from another thread's point of view.
#include "win32/Diagnostics.h"

#include <gtest/gtest.h>

#include <vector>

#include "ConfigTestSupport.h"
#include "app/CtarnwickDlgWin32.h"
#include "win32/Handles.h"
#include "win32/StartupTimeline.h"

namespace {

TEST(Diagnostics, HandleCountSeesOneHundredLeakedPipesAndTheirClose) {
    const long before = CountOpenKernelHandles();
    ASSERT_GT(before, 0);
    std::vector<HANDLE> ends;
    for (int i = 0; i < 100; ++i) {
        HANDLE read = nullptr, write = nullptr;
        ASSERT_TRUE(CreatePipe(&read, &write, nullptr, 0));
        ends.push_back(read);
        ends.push_back(write);
    }
    const long leaked = CountOpenKernelHandles();
    // Other threads of the test process may open or close a handle or two meanwhile.
    EXPECT_GE(leaked - before, 195);
    EXPECT_LE(leaked - before, 205);
    for (HANDLE h : ends) CloseHandle(h);
    EXPECT_LE(CountOpenKernelHandles() - before, 5);
}

TEST(Diagnostics, HandleCountReachesHandlesBeyondAGapOfClosedOnes) {
    // Open 600 events, close the first 500: the last 100 sit past a run of 500 free values.
    std::vector<HANDLE> events;
    for (int i = 0; i < 600; ++i) events.push_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const long all = CountOpenKernelHandles();
    for (int i = 0; i < 500; ++i) CloseHandle(events[i]);
    EXPECT_NEAR(all - 500, CountOpenKernelHandles(), 5);
    for (int i = 500; i < 600; ++i) CloseHandle(events[i]);
}

TEST(Diagnostics, GdiFigureFollowsTheOwnersAndUnknownFiguresAreRejected) {
    const LRESULT before = DiagnosticsFigureOf(diagnosticsLiveGdiObjects);
    {
        UniqueBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        EXPECT_EQ(before + 2, DiagnosticsFigureOf(diagnosticsLiveGdiObjects));
    }
    EXPECT_EQ(before, DiagnosticsFigureOf(diagnosticsLiveGdiObjects));
    EXPECT_EQ(-1, DiagnosticsFigureOf(diagnosticsProbedDcsAndRegions + 1));
}

// Under Wine the probing count sees objects that no owner counts: a raw leak shows.
TEST(Diagnostics, ProbedGdiCountSeesObjectsMadeWithoutAnOwner) {
    const long before = CountGdiObjectsByProbing();
    ASSERT_GT(before, 0) << "the probe found no GDI object, not even the stock ones";
    const long ownedBefore = LiveGdiObjectCount();
    const long dcsAndRegionsBefore = CountDcsAndRegionsByProbing();
    std::vector<HGDIOBJ> raw;
    for (int i = 0; i < 10; ++i) raw.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    raw.push_back(CreateCompatibleDC(nullptr));
    raw.push_back(CreateRectRgn(0, 0, 1, 1));
    EXPECT_EQ(before + 12, CountGdiObjectsByProbing());
    EXPECT_EQ(dcsAndRegionsBefore + 2, CountDcsAndRegionsByProbing()) << "the DC and the region, not the brushes";
    EXPECT_EQ(ownedBefore, LiveGdiObjectCount());  // what the owners' count cannot see
    for (HGDIOBJ object : raw)
        if (GetObjectType(object) == OBJ_MEMDC) DeleteDC(static_cast<HDC>(object));
        else DeleteObject(object);
    EXPECT_EQ(before, CountGdiObjectsByProbing());
    EXPECT_EQ(before, DiagnosticsFigureOf(diagnosticsProbedGdiObjects));
    EXPECT_EQ(dcsAndRegionsBefore, DiagnosticsFigureOf(diagnosticsProbedDcsAndRegions));
}

TEST(Diagnostics, MainDialogAnswersTheRegisteredMessage) {
    configtest::ScratchDirectory dir;       // the first start writes its default file here
    configtest::MessageBoxWatcher watcher;  // and tells so in boxes, which this dismisses
    CtarnwickDlg dialog;
    HWND window = dialog.CreateModeless();
    ASSERT_NE(nullptr, window);
    const UINT message = DiagnosticsMessage();
    ASSERT_NE(0u, message);
    EXPECT_EQ(message, RegisterWindowMessageW(L"brisvale.diagnostics"));
    const LRESULT handles = SendMessageW(window, message, diagnosticsKernelHandles, 0);
    EXPECT_NEAR(CountOpenKernelHandles(), handles, 5);
    EXPECT_EQ(LiveGdiObjectCount(), SendMessageW(window, message, diagnosticsLiveGdiObjects, 0));
    EXPECT_EQ(-1, SendMessageW(window, message, 99, 0));

    // The start-up steps of the dialog's initialisation, in their order; each keeps the end
    // it was first given (a later dialog or pass does not move it).
    auto end = [&](StartupPhase phase) {
        return static_cast<long long>(
            SendMessageW(window, message, diagnosticsStartupPhaseBase + static_cast<WPARAM>(phase), 0));
    };
    const StartupPhase steps[] = {StartupPhase::dialogCreated, StartupPhase::startUpTasks,
                                  StartupPhase::singleInstanceCheck, StartupPhase::configurationFile,
                                  StartupPhase::firstLayout};
    long long previous = 0;
    for (StartupPhase step : steps) {
        EXPECT_GT(end(step), 0) << "step " << static_cast<int>(step);
        EXPECT_GE(end(step), previous) << "step " << static_cast<int>(step);
        previous = end(step);
    }
    Sleep(5);
    MarkStartupPhase(StartupPhase::firstLayout);
    EXPECT_EQ(previous, end(StartupPhase::firstLayout));
    EXPECT_EQ(-1, SendMessageW(window, message, diagnosticsStartupPhaseBase + static_cast<WPARAM>(StartupPhase::count), 0));
}

}  // namespace
