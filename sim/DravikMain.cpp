// The stand-in backend: keeps the backend contract (command line, environment variable,
// inherited pipe handle with one status record, output to the log file, termination at
// any time) and behaves like a small evaluation device with a status page over HTTP.
// Its behaviour is read from "dravik-behaviour.txt" in the instance folder; what it was
// started with is recorded in "dravik-started.txt" there.
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "BackendOptions.h"
#include "StatusPage.h"

namespace {

constexpr size_t recordLimit = 1024;
constexpr size_t textLimit = recordLimit - 8;

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(length, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), length, "?", nullptr);
    return out;
}

// Standard output is the instance's log file (or a console); every line goes out at once.
void Log(const std::string& line) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char stamp[32];
    wsprintfA(stamp, "%02d:%02d:%02d.%03d ", now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    const std::string text = stamp + line + "\r\n";
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    FlushFileBuffers(out);
}

std::wstring Environment(const wchar_t* name, bool& present) {
    wchar_t buffer[32768];
    SetLastError(0);
    const DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
    present = length > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
    return length > 0 && length < 32768 ? std::wstring(buffer, length) : std::wstring();
}

std::wstring CurrentDirectory() {
    wchar_t buffer[MAX_PATH * 4] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH * 4, buffer);
    return std::wstring(buffer, length);
}

std::wstring FullPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH * 4] = {};
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 4, buffer, nullptr);
    return length > 0 && length < MAX_PATH * 4 ? std::wstring(buffer, length) : path;
}

std::string ReadSmallFile(const std::wstring& path, bool& exists) {
    exists = false;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    exists = true;
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (content.size() < 65536 && ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        content.append(buffer, read);
    CloseHandle(file);
    return content;
}

// Written beside and moved into place, so that a reader never sees half of it.
void WriteRecordFile(const std::wstring& folder, const std::string& content) {
    const std::wstring temporary = folder + L"\\dravik-started.tmp";
    const std::wstring final = folder + L"\\dravik-started.txt";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Log("cannot write the start record in the instance folder (error " + std::to_string(GetLastError()) + ")");
        return;
    }
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    if (!MoveFileExW(temporary.c_str(), final.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        Log("cannot move the start record into place (error " + std::to_string(GetLastError()) + ")");
        DeleteFileW(temporary.c_str());
    }
}

void PutInt32(std::string& out, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>((v >> (8 * k)) & 0xFF));
}

bool WritePipe(HANDLE pipe, const std::string& bytes) {
    DWORD written = 0;
    const bool ok = WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE;
    Log(std::string("wrote ") + std::to_string(written) + " of " + std::to_string(bytes.size()) + " bytes to the pipe" +
        (ok ? "" : " (error " + std::to_string(GetLastError()) + ")"));
    return ok && written == bytes.size();
}

void Report(HANDLE pipe, const Behaviour& behaviour) {
    std::string text = behaviour.text;
    std::string record;
    switch (behaviour.mode) {
        case ReportMode::negativeLength:
            PutInt32(record, behaviour.status);
            PutInt32(record, behaviour.lengthField ? behaviour.lengthField : -1);
            record += text.substr(0, textLimit);
            WritePipe(pipe, record);
            return;
        case ReportMode::overlongLength:
            PutInt32(record, behaviour.status);
            PutInt32(record, behaviour.lengthField ? behaviour.lengthField : 2000);
            record += text.substr(0, textLimit);
            WritePipe(pipe, record);
            return;
        case ReportMode::split: {
            if (text.size() > textLimit) text.resize(textLimit);
            PutInt32(record, behaviour.status);
            PutInt32(record, static_cast<int32_t>(text.size()));
            WritePipe(pipe, record);
            Sleep(behaviour.splitMs);
            if (!text.empty()) WritePipe(pipe, text);
            return;
        }
        default:
            // The whole record fits in 1024 bytes; a longer text is cut.
            if (text.size() > textLimit) text.resize(textLimit);
            PutInt32(record, behaviour.status);
            PutInt32(record, static_cast<int32_t>(text.size()));
            record += text;
            WritePipe(pipe, record);
            return;
    }
}

std::string YesNo(bool value) { return value ? "yes" : "no"; }

}  // namespace

int wmain() {
    const ULONGLONG started = GetTickCount64();
    const std::wstring commandLine = GetCommandLineW();
    const BackendOptions options = ParseBackendCommandLine(commandLine);
    bool repositorySet = false;
    const std::wstring repository = Environment(L"SYSREPO_REPOSITORY_PATH", repositorySet);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    std::string instance = "?";
    if (startup.lpTitle) {
        const std::wstring title = startup.lpTitle;
        if (title.rfind(L"QEL ", 0) == 0) instance = Narrow(title.substr(4));
    }

    // "/fsys" is rooted at the drive of the working directory; "/fstartup" names a file in it.
    std::wstring folder;
    if (!options.fsys.empty()) folder = FullPath(options.fsys);
    else if (!options.fstartup.empty()) folder = options.fstartup.substr(0, options.fstartup.find_last_of(L"\\/"));
    else folder = CurrentDirectory();

    const long long handleValue = options.pipeHandle.empty() ? 0 : std::wcstoll(options.pipeHandle.c_str(), nullptr, 10);
    HANDLE pipe = reinterpret_cast<HANDLE>(static_cast<intptr_t>(handleValue));
    const bool pipeIsPipe = !options.pipeHandle.empty() && GetFileType(pipe) == FILE_TYPE_PIPE;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const bool outputIsFile = out && out != INVALID_HANDLE_VALUE && GetFileType(out) == FILE_TYPE_DISK;

    bool behaviourFound = false;
    const Behaviour behaviour = ParseBehaviour(ReadSmallFile(folder + L"\\dravik-behaviour.txt", behaviourFound));

    Log("dravik stand-in backend, process " + std::to_string(GetCurrentProcessId()) + ", QEL " + instance);
    Log("command line: " + Narrow(commandLine));
    Log("SYSREPO_REPOSITORY_PATH: " + (repositorySet ? Narrow(repository) : std::string("(not set)")));
    Log("pipe handle: " + Narrow(options.pipeHandle) + (pipeIsPipe ? " (a pipe)" : " (not a pipe)"));
    Log("working directory: " + Narrow(CurrentDirectory()));
    Log("instance folder: " + Narrow(folder));
    if (!options.unknown.empty()) Log("unknown arguments: " + Narrow(options.unknown));
    Log(std::string("behaviour: ") + (behaviourFound ? "dravik-behaviour.txt" : "default") + ", mode " +
        ModeName(behaviour.mode) + ", delay " + std::to_string(behaviour.delayMs) + " ms, status " +
        std::to_string(behaviour.status) + ", text \"" + behaviour.text + "\"");
    if (!behaviour.errors.empty()) Log("behaviour lines not understood: " + behaviour.errors);

    std::string record;
    record += "command_line=" + Narrow(commandLine) + "\r\n";
    record += "SYSREPO_REPOSITORY_PATH=" + (repositorySet ? Narrow(repository) : std::string()) + "\r\n";
    record += "repository_variable_set=" + YesNo(repositorySet) + "\r\n";
    record += "pipe_handle=" + Narrow(options.pipeHandle) + "\r\n";
    record += "pipe_handle_is_pipe=" + YesNo(pipeIsPipe) + "\r\n";
    record += "stdout_is_file=" + YesNo(outputIsFile) + "\r\n";
    record += "cwd=" + Narrow(CurrentDirectory()) + "\r\n";
    record += "pid=" + std::to_string(GetCurrentProcessId()) + "\r\n";
    record += "instance=" + instance + "\r\n";
    record += "mac=" + Narrow(options.macOwn) + "\r\n";
    record += "port=" + Narrow(options.port) + "\r\n";
    record += "netconf_port_ssh=" + Narrow(options.netconfPortSsh) + "\r\n";
    record += "fsys=" + Narrow(options.fsys) + "\r\n";
    record += "fstartup=" + Narrow(options.fstartup) + "\r\n";
    record += "image_type=" + Narrow(options.imageType) + "\r\n";
    record += "mode=" + std::string(ModeName(behaviour.mode)) + "\r\n";
    WriteRecordFile(folder, record);

    if (behaviour.http) {
        const int port = options.port.empty() ? 0 : _wtoi(options.port.c_str());
        if (port > 0 && port < 65536) {
            StatusPageInfo info{instance,
                                Narrow(options.macOwn),
                                Narrow(options.port),
                                Narrow(options.netconfPortSsh),
                                Narrow(folder),
                                Narrow(options.fstartup),
                                Narrow(options.imageType),
                                Narrow(repository)};
            std::string error;
            if (StartStatusPage(info, static_cast<unsigned short>(port), error))
                Log("status page at http://127.0.0.1:" + std::to_string(port) + "/");
            else
                Log("no status page: " + error);
        } else {
            Log("no status page: no usable port");
        }
    }

    const ULONGLONG elapsed = GetTickCount64() - started;
    if (elapsed < static_cast<ULONGLONG>(behaviour.delayMs)) Sleep(static_cast<DWORD>(behaviour.delayMs - elapsed));

    switch (behaviour.mode) {
        case ReportMode::silent:
            Log("start-up finished; no report (silent)");
            break;
        case ReportMode::exit:
            Log("ending without a report, exit code " + std::to_string(behaviour.exitCode));
            ExitProcess(static_cast<UINT>(behaviour.exitCode));
        default:
            Log("start-up finished; reporting status " + std::to_string(behaviour.status));
            Report(pipe, behaviour);
            break;
    }
    if (behaviour.mode == ReportMode::crashAfterReport) {
        Sleep(200);
        Log("ending after the report, exit code " + std::to_string(behaviour.exitCode));
        ExitProcess(static_cast<UINT>(behaviour.exitCode));
    }
    if (behaviour.exitAfterMs > 0 && behaviour.status >= 0) {
        // A device that goes away later, long after its start-up was judged.
        Sleep(static_cast<DWORD>(behaviour.exitAfterMs));
        Log("ending by itself " + std::to_string(behaviour.exitAfterMs) + " ms after the report, exit code " +
            std::to_string(behaviour.exitCode));
        ExitProcess(static_cast<UINT>(behaviour.exitCode));
    }
    // The pipe stays open on this side: the supervisor closes its ends and later writes
    // would fail. The process runs until it is terminated.
    for (;;) Sleep(INFINITE);
}
