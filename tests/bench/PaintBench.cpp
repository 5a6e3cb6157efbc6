// Prints the time of one full repaint of the main dialog at scale 1.0 and 2.0, next to a
// plain block transfer of the same size, and the share of composing the off-screen bitmap.
// Not a test: it only prints numbers.
#include <windows.h>

#include <cstdio>

#include "../win/ConfigTestSupport.h"
#include "app/CtarnwickDlgWin32.h"
#include "app/SharedGlobals.h"
#include "ui/GdiSurfaceWin32.h"

namespace {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double Now() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

template <class F>
double MicrosecondsPer(int rounds, F f) {
    f();  // warm-up
    const double start = Now();
    for (int i = 0; i < rounds; ++i) f();
    return (Now() - start) * 1e6 / rounds;
}

}  // namespace

int wmain() {
    configtest::ScratchDirectory directory;
    CtarnwickDlg* dlg;
    HWND hwnd;
    {
        configtest::MessageBoxWatcher watcher;  // answers the first-start box
        dlg = new CtarnwickDlg();
        hwnd = dlg->CreateModeless();
        if (!hwnd) return 1;
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        Pump();
    }
    const int rounds = 200;
    std::printf("%-6s %-10s %14s %14s %14s\n", "scale", "size", "repaint us", "compose us", "plain blt us");
    for (double s : {1.0, 2.0}) {
        dlgScaleFactor_g = s;
        dlg->ConfigureDialogWindow();
        Pump();
        RECT client{};
        GetClientRect(hwnd, &client);
        const int w = client.right, h = client.bottom;

        const double repaint = MicrosecondsPer(rounds, [&] {
            InvalidateRect(hwnd, nullptr, FALSE);
            UpdateWindow(hwnd);
        });

        WindowDc screen(hwnd);
        UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
        UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), w, h));
        SelectionGuard selected(memory.get(), bitmap.get());
        const double compose = MicrosecondsPer(rounds, [&] {
            GdiSurface surface(memory.get(), dlg->brushes, dlg->fonts, dlg->bannerImage.get(), dlg->bannerSourceRect);
            PaintInputs in;
            in.scale = s;
            in.dragFlipArea = dlg->dragFlipArea;
            in.titleBarRect = dlg->titleBarRect;
            in.bodyRect = dlg->bodyRect;
            in.closeButtonRect = dlg->closeButtonRect;
            in.minimizeButtonRect = dlg->minimizeButtonRect;
            in.bannerRect = dlg->bannerRect;
            in.hintTextRect = dlg->hintTextRect;
            in.titleTextRect = dlg->titleTextRect;
            in.ledLabelRect = dlg->ledLabelRect;
            in.ledLabel = dlg->ledLabel;
            in.hintText = &dlg->hintText;
            in.titleText = &dlg->titleText;
            in.mouseOverArea = dlg->mouseOverArea;
            in.standardLayout = dlg->standardLayout;
            PaintChrome(surface, in);
        });
        const double blit = MicrosecondsPer(rounds, [&] {
            BitBlt(screen.get(), 0, 0, w, h, memory.get(), 0, 0, SRCCOPY);
            GdiFlush();
        });
        std::printf("%-6.1f %4dx%-5d %14.0f %14.0f %14.0f\n", s, w, h, repaint, compose, blit);
    }
    delete dlg;
    return 0;
}
