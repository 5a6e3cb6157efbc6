#include "app/SharedGlobals.h"

std::atomic<bool> findQelDevThreadRunning_g{false};
std::atomic<bool> stopFindQelDevThread_g{false};
std::atomic<bool> stopCheckQelDevStatusThread_g{false};
std::atomic<bool> closeAppAfterThreadExit_g{false};
std::atomic<bool> closeRunningProcesses_g{false};
std::atomic<bool> processStartupFailure_g{false};
std::atomic<bool> qelDiscoveryFailure_g{false};
std::atomic<bool> processCreationError_g{false};
std::wstring errorMessage_g;
unsigned char recvBuffer_g[1024];

std::atomic<void*> hReadEndPoint_g{nullptr};
std::atomic<void*> hWriteEndPoint_g{nullptr};
std::atomic<void*> currentProcessStartup_g{nullptr};
std::wstring hLogFileName_g;

std::atomic<void*> hThreadFindAndConfigureQelDevice_g{nullptr};
std::atomic<void*> hThreadLaunchWebBrowser_g{nullptr};

int selectedListItem_g = -1;

double dlgScaleFactor_g = 0.0;
double dlgScaleFactorMax_g = 0.0;
int globalWindowRedraw_g = 0;
