// What starting the backend of one instance means, decided without touching the system:
// the checks in their order with the text of each refusal, the adapter's MAC address,
// the paths of the instance, the backend's argument string and the log file's header.
// The Windows layer gathers the inputs, shows the refusal or carries the plan out.
#pragma once

#include <functional>
#include <string>

#include "common/ListTable.h"

// The backend program, resolved against the working directory, and the variable that
// tells it where its repository lives.
constexpr const wchar_t* backendProgramName = L"dravik.exe";
constexpr const char* backendProcessName = "dravik.exe";
constexpr const wchar_t* repositoryVariableName = L"SYSREPO_REPOSITORY_PATH";

struct LaunchInputs {
    int instance = 0;  // row index; the user sees instance + 1
    const ListTable* instanceTable = nullptr;
    const ListTable* adapterList = nullptr;
    std::wstring exeDrive;               // "C:"
    std::wstring fileSystemFoldersPath;  // "Tools\FileSystemFolders\"
    long long pipeHandleValue = 0;       // written with "%d"
    std::function<bool(const std::wstring&)> directoryExists;
    std::function<bool(const std::wstring&)> fileExists;
};

struct LaunchPlan {
    // True when every check passed and the backend may be started.
    bool ok = false;
    // The text of the "Process creation" box; empty when a refusal shows nothing.
    std::wstring errorText;
    // True once the adapter lookup ran (the MAC address is then the result, possibly empty).
    bool macLookedUp = false;
    std::wstring macAddress;  // "00:11:22:AA:BB:CC"

    std::wstring relativeFolder;     // "Tools\FileSystemFolders\FS_QEL_Instance3"
    std::wstring instanceFolder;     // "C:\Tools\FileSystemFolders\FS_QEL_Instance3"
    std::wstring startupFile;        // instance folder + "\" + startup file name
    std::wstring repositoryFolder;   // instance folder + "\repository"
    std::wstring repositoryPath;     // the repository folder with forward slashes
    std::wstring logFile;            // instance folder + "\log\output.log"
    std::wstring arguments;          // the whole command line, starting with a blank
    std::wstring logHeader;          // "Start process with " + arguments + two CR LF
    std::wstring consoleTitle;       // "QEL " + instance number
};

// The instance folder is built from the FS Name, and the repository below it is deleted
// recursively; so the name must be one plain folder name: not empty, no drive, no path
// separator, no control character, and not only dots and blanks (".", ".." and "..." all
// name a folder above the instance's; "QEL..1" is a plain name).
bool IsPlainFolderName(const std::wstring& name);

LaunchPlan PlanLaunch(const LaunchInputs& inputs);

// "C:" + "\" + "Tools\FileSystemFolders\" + FS Name, and its log file.
std::wstring InstanceFolder(const std::wstring& exeDrive, const std::wstring& fileSystemFoldersPath,
                           const std::wstring& fsName);
std::wstring InstanceLogFile(const std::wstring& instanceFolder);

// The adapter list's MAC text ("00-11-22-AA-BB-CC") of the first row named exactly
// adapterName, with '-' turned into ':'; empty when no row has that name.
std::wstring FindAdapterMacAddress(const ListTable& adapterList, const std::wstring& adapterName);
