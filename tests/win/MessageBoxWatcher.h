// Message boxes are modal: a test that expects one runs the code that shows it on the
// dialog's thread while this watcher, on a thread of its own, finds each box by its
// caption, reads its text and closes it with IDOK.
//
//   MessageBoxWatcher watcher(L"Process creation");
//   dialog.StartTsnProcess();
//   EXPECT_EQ(watcher.Texts(), std::vector<std::wstring>{L"..."});
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class MessageBoxWatcher {
public:
    // Watches the boxes with this caption, or every box of this process when it is empty.
    explicit MessageBoxWatcher(std::wstring caption = {});
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // The texts of the boxes closed so far, in order.
    std::vector<std::wstring> Texts() const;
    // The caption and text of each box closed so far, in order.
    std::vector<std::pair<std::wstring, std::wstring>> Boxes() const;
    // Stops watching; boxes that appear afterwards stay open.
    void Stop();

    // The text of a message box window (its static control 0xFFFF).
    static std::wstring BoxText(HWND box);

private:
    void Run();
    HWND FindBox() const;

    std::wstring caption_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::pair<std::wstring, std::wstring>> boxes_;
    std::thread thread_;
};

// Runs action on the calling thread and returns the texts of the boxes with the given
// caption that it showed.
template <class F>
std::vector<std::wstring> CaptureMessageBoxes(const std::wstring& caption, F&& action) {
    MessageBoxWatcher watcher(caption);
    action();
    watcher.Stop();
    return watcher.Texts();
}
