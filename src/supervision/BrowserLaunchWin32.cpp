#include "supervision/BrowserLaunchWin32.h"

#include <windows.h>

#include <vector>

#include "common/ProgramControl.h"
#include "supervision/ThreadRecords.h"
#include "win32/Handles.h"

unsigned LaunchWebBrowserThread(void* argument) {
    THREADINFOSTRUCT* record = static_cast<THREADINFOSTRUCT*>(argument);
    std::vector<wchar_t> commandLine(record->commandLine.begin(), record->commandLine.end());
    commandLine.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    UniqueProcessInformation process;
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, record->creationFlags, nullptr, nullptr,
                       &startup, process.put())) {
        WaitForSingleObject(process.hProcess, 1000);
        PostMessageW(static_cast<HWND>(record->hWnd), programControlMessage, pcBrowserOpened, record->instance);
        process.Close();
    }
    delete record;
    return 0;
}
