// Starting backends from the live dialog with the stand-in "dravik.exe": what the backend
// receives, each refusal's box, the repository reset and the log tail.
#include <winsock2.h>

#include <cstdint>
#include <thread>

#include "LaunchFixture.h"
#include "MessageBoxWatcher.h"
#include "supervision/SearchState.h"
#include "supervision/FolderRemovalWin32.h"
#include "win32/Files.h"
#include "win32/Handles.h"

namespace launchtest {

using supervision::DeleteFolderTree;
namespace {

using Launch = LaunchFixture;

int32_t Int32At(const std::string& bytes, size_t offset) {
    uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(bytes[offset + k]);
    return static_cast<int32_t>(v);
}

TEST_F(Launch, BackendReceivesCommandLineEnvironmentLogAndInheritedPipe) {
    NewPipe();
    WriteWholeFile(InstanceFolder(0) + L"\\dravik-behaviour.txt", "delay_ms=100\r\nhttp=off\r\nstatus=7\r\ntext=ready\r\n");
    ASSERT_EQ(dialog->StartTsnProcess(), 1);
    EXPECT_EQ(dialog->currentInstance, 1);
    ASSERT_NE(dialog->processInfo[0].hProcess, nullptr);
    EXPECT_EQ(dialog->instanceMacAddress, L"00:11:22:AA:BB:CC");

    // The record arrives through the handle the backend was given on its command line.
    const std::string status = ReadStatusRecord();
    ASSERT_EQ(status.size(), 13u);
    EXPECT_EQ(Int32At(status, 0), 7);
    EXPECT_EQ(Int32At(status, 4), 5);
    EXPECT_EQ(status.substr(8), "ready");

    const std::string folder = Narrow(InstanceFolder(0));
    const std::string relative = folder.substr(2);
    const std::string handle = std::to_string(static_cast<int>(reinterpret_cast<intptr_t>(pipeWrite)));
    const std::string arguments = " /macOWN 00:11:22:AA:BB:CC /port 50000 /netconfPortSsh 50830 /fsys \"" + relative +
                                  "\" /fstartup \"" + folder + "\\eval-trx9420.xml\" /imageType development /pipeHandle " +
                                  handle;
    const std::string record = WaitForStartRecord(0);
    EXPECT_EQ(RecordValue(record, "command_line"), arguments);
    std::string repository = folder + "\\repository";
    for (char& c : repository)
        if (c == '\\') c = '/';
    EXPECT_EQ(RecordValue(record, "SYSREPO_REPOSITORY_PATH"), repository);
    EXPECT_EQ(RecordValue(record, "pipe_handle"), handle);
    EXPECT_EQ(RecordValue(record, "pipe_handle_is_pipe"), "yes");
    EXPECT_EQ(RecordValue(record, "stdout_is_file"), "yes");
    EXPECT_EQ(RecordValue(record, "cwd"), Narrow(workDirectory));
    EXPECT_EQ(RecordValue(record, "instance"), "1");

    const std::wstring logPath = InstanceFolder(0) + L"\\log\\output.log";
    EXPECT_EQ(hLogFileName_g, logPath);
    const std::string log = ReadWholeFile(logPath);
    const std::string header = "Start process with " + arguments + "\r\n\r\n";
    EXPECT_EQ(log.substr(0, header.size()), header);
    // The backend writes behind the header, into the same file.
    EXPECT_NE(log.find("command line: " + arguments, header.size()), std::string::npos);
}

// A port nobody listens on right now.
int FreePort() {
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(probe);
    return ntohs(address.sin_port);
}

std::string HttpGet(int port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string response;
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const char request[] = "GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
        send(s, request, sizeof request - 1, 0);
        char buffer[4096];
        int got;
        while ((got = recv(s, buffer, sizeof buffer, 0)) > 0) response.append(buffer, got);
    }
    closesocket(s);
    return response;
}

TEST_F(Launch, StandInServesAStatusPageOnTheInstancePort) {
    WSADATA data{};
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    const int port = FreePort();
    dialog->instanceList.SetCell(0, colPort, std::to_wstring(port));
    WriteWholeFile(InstanceFolder(0) + L"\\dravik-behaviour.txt", "delay_ms=0\r\n");
    NewPipe();
    ASSERT_EQ(dialog->StartTsnProcess(), 1);
    ASSERT_EQ(ReadStatusRecord().size(), 8u);  // the page is up before the report
    const std::string page = HttpGet(port);
    EXPECT_EQ(page.rfind("HTTP/1.0 200 OK", 0), 0u) << page;
    EXPECT_NE(page.find("<h1>QEL 1</h1>"), std::string::npos);
    EXPECT_NE(page.find("00:11:22:AA:BB:CC"), std::string::npos);
    EXPECT_NE(page.find("FS_QEL_Instance0\\eval-trx9420.xml"), std::string::npos);
    WSACleanup();
}

TEST_F(Launch, StandInBehaviourFileShapesItsReport) {
    struct Case {
        std::string behaviour;
        std::string record;  // the bytes on the pipe within a second
        DWORD exitCode;      // STILL_ACTIVE: keeps running
    };
    auto bytes = [](int32_t status, int32_t length, const std::string& text) {
        std::string out;
        for (int32_t v : {status, length})
            for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>((static_cast<uint32_t>(v) >> (8 * k)) & 0xFF));
        return out + text;
    };
    const Case cases[] = {
        {"status=-1\r\ntext=Failed registrar startup\r\n", bytes(-1, 24, "Failed registrar startup"), STILL_ACTIVE},
        {"# comment\r\nmode=negative-length\r\ntext=x\r\n", bytes(0, -1, "x"), STILL_ACTIVE},
        {"mode=overlong-length\r\nstatus=-2\r\ntext=abc\r\n", bytes(-2, 2000, "abc"), STILL_ACTIVE},
        {"mode=split\r\nsplit_ms=100\r\ntext=hello\r\n", bytes(0, 5, "hello"), STILL_ACTIVE},
        {"mode=crash-after-report\r\nexit_code=9\r\n", bytes(0, 0, ""), 9},
        {"mode=exit\r\nexit_code=3\r\n", "", 3},
        {"mode=silent\r\n", "", STILL_ACTIVE},
        {"text=" + std::string(2000, 'y'), bytes(0, 1016, std::string(1016, 'y')), STILL_ACTIVE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.behaviour.substr(0, 60));
        WriteWholeFile(InstanceFolder(0) + L"\\dravik-behaviour.txt", "delay_ms=0\r\nhttp=off\r\n" + c.behaviour);
        NewPipe();
        ASSERT_EQ(dialog->StartTsnProcess(), 1);
        HANDLE process = dialog->processInfo[0].hProcess;
        std::string got = ReadStatusRecord(c.record.empty() ? 1500 : 20000);
        for (int k = 0; k < 50 && got.size() < c.record.size(); ++k) got += ReadStatusRecord(100);
        EXPECT_EQ(got, c.record);
        if (c.exitCode != STILL_ACTIVE) WaitForSingleObject(process, 10000);
        DWORD code = 0;
        GetExitCodeProcess(process, &code);
        EXPECT_EQ(code, c.exitCode);
        dialog->CloseAllOpenProcesses();
        ASSERT_EQ(dialog->currentInstance, 0);
    }
}

void SendKey(WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

void PressAlt(bool down) {
    // Alt pressed and released alone opens the focused window's menu, a modal loop of its
    // own: another key in between keeps it closed.
    if (!down) {
        SendKey(VK_SHIFT, true);
        SendKey(VK_SHIFT, false);
    }
    SendKey(VK_MENU, down);
}

TEST_F(Launch, WithAltHeldTheBackendGetsAConsoleAndTheLastLogStaysNamed) {
    hLogFileName_g = L"C:\\earlier\\output.log";
    // Wine takes the keyboard's state from the X server when it handles a focus event: the
    // dialog's are handled first, and Alt counts as held once the events since are handled.
    PumpPending();
    PressAlt(true);
    for (int k = 0; k < 250 && !(GetAsyncKeyState(VK_MENU) & 0x8000); ++k) {
        Sleep(20);
        PumpPending();
    }
    if (!(GetAsyncKeyState(VK_MENU) & 0x8000)) {
        PressAlt(false);
        GTEST_SKIP() << "the Alt key cannot be pressed on this display";
    }
    NewPipe();
    const int started = dialog->StartTsnProcess();
    PressAlt(false);
    PumpPending();
    ASSERT_EQ(started, 1);
    ASSERT_EQ(ReadStatusRecord().size(), 8u);
    EXPECT_EQ(hLogFileName_g, L"C:\\earlier\\output.log");
    EXPECT_FALSE(FileExists(InstanceFolder(0) + L"\\log\\output.log"));
    EXPECT_EQ(RecordValue(WaitForStartRecord(0), "stdout_is_file"), "no");
    EXPECT_EQ(std::wstring(dialog->startupInfo[0].lpTitle), L"QEL 1");
    EXPECT_EQ(dialog->startupInfo[0].dwFlags, 0x16u);
}

TEST_F(Launch, ALogThatCannotBeCreatedRefusesTheStart) {
    // Held as a backend that is still ending holds it.
    const std::wstring log = InstanceFolder(0) + L"\\log\\output.log";
    UniqueFile held(CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    NewPipe();
    const auto boxes = CaptureMessageBoxes(L"Process creation", [&] { EXPECT_EQ(dialog->StartTsnProcess(), 0); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind(L"Log file \"" + log + L"\" of QEL 1 cannot be created", 0), 0u) << Narrow(boxes[0]);
    EXPECT_NE(boxes[0].find(L"\n"), std::wstring::npos) << "the system's reason follows on a line of its own";
    EXPECT_EQ(dialog->currentInstance, 0);
    EXPECT_EQ(dialog->processInfo[0].hProcess, nullptr);
    EXPECT_EQ(CountProcessesNamed("dravik.exe"), 0);
}

// A backend that was just terminated may hold its log a little longer (Wine signals the
// process before it lets go of its files): a hold that ends within a blink step is waited out.
TEST_F(Launch, ALogHeldForAMomentIsWaitedFor) {
    const std::wstring log = InstanceFolder(0) + L"\\log\\output.log";
    UniqueFile held(CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    std::thread release([&] {
        Sleep(100);
        held.reset();
    });
    NewPipe();
    const auto boxes = CaptureMessageBoxes(L"Process creation", [&] { EXPECT_EQ(dialog->StartTsnProcess(), 1); });
    release.join();
    EXPECT_TRUE(boxes.empty()) << Narrow(boxes.empty() ? L"" : boxes[0]);
    EXPECT_EQ(RecordValue(WaitForStartRecord(0), "stdout_is_file"), "yes");
}

TEST_F(Launch, StartsRowsInOrderEachWithItsOwnRepositoryVariable) {
    for (int i = 0; i < 3; ++i) {
        NewPipe();
        ASSERT_EQ(dialog->StartTsnProcess(), 1) << i;
        ASSERT_EQ(ReadStatusRecord().size(), 8u) << i;
    }
    EXPECT_EQ(dialog->currentInstance, 3);
    for (int i = 0; i < 3; ++i) {
        const std::string record = WaitForStartRecord(i);
        EXPECT_NE(RecordValue(record, "SYSREPO_REPOSITORY_PATH").find("/FS_QEL_Instance" + std::to_string(i) + "/repository"),
                  std::string::npos);
        EXPECT_EQ(RecordValue(record, "port"), std::to_string(50000 + i));
    }
    // Row 4 does not exist: it has no adapter.
    auto boxes = CaptureMessageBoxes(L"Process creation", [&] { EXPECT_EQ(dialog->StartTsnProcess(), 0); });
    EXPECT_EQ(boxes, std::vector<std::wstring>{L"No Ethernet adapter selected for QEL 4"});
    EXPECT_EQ(dialog->currentInstance, 3);
    // After the tenth instance nothing is started and nothing shown.
    dialog->currentInstance = 10;
    boxes = CaptureMessageBoxes(L"Process creation", [&] { EXPECT_EQ(dialog->StartTsnProcess(), 0); });
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dialog->currentInstance, 10);
    dialog->currentInstance = 3;
}

TEST_F(Launch, EachRefusalShowsItsBoxAndLeavesTheInstanceToStartAgain) {
    NewPipe();
    struct Case {
        int column;
        std::wstring value;
        std::wstring box;
    };
    const std::wstring folder = InstanceFolder(0);
    const Case cases[] = {
        {colEthernetAdapter, L"", L"No Ethernet adapter selected for QEL 1"},
        {colEthernetAdapter, L"lab ethernet", L"Error finding selected Ethernet adapter for QEL 1"},
        {colFsName, L"..\\..", L"FS Name \"..\\..\" of QEL 1 is not a plain folder name"},
        {colFsName, L"FS_QEL_Missing", L"Directory \"" + folder.substr(0, folder.rfind(L'\\')) + L"\\FS_QEL_Missing\" does not exist"},
        {colStartupFileName, L"other.xml", L"File \"other.xml\" does not exist"},
    };
    for (const Case& c : cases) {
        const std::wstring kept = dialog->instanceList.Cell(0, c.column);
        dialog->instanceList.SetCell(0, c.column, c.value);
        const auto boxes = CaptureMessageBoxes(L"Process creation", [&] { EXPECT_EQ(dialog->StartTsnProcess(), 0); });
        EXPECT_EQ(boxes, std::vector<std::wstring>{c.box});
        EXPECT_EQ(dialog->currentInstance, 0);
        EXPECT_EQ(dialog->processInfo[0].hProcess, nullptr);
        dialog->instanceList.SetCell(0, c.column, kept);
    }
    EXPECT_TRUE(hLogFileName_g.empty());
    EXPECT_EQ(dialog->StartTsnProcess(), 1);
}

TEST_F(Launch, RefusedFsNameDeletesNothingEvenWithAResetPending) {
    // "..\FS_QEL_Instance1" would put the repository of row 0 outside its folder.
    const std::wstring victim = workDirectory + L"\\repository";
    ASSERT_TRUE(CreateDirectoryW(victim.c_str(), nullptr));
    dialog->instanceList.SetCell(0, colFsName, L"..\\..");
    dialog->repositoryResetPending[0] = true;
    NewPipe();
    const auto boxes = CaptureMessageBoxes(L"Process creation", [&] { EXPECT_EQ(dialog->StartTsnProcess(), 0); });
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(DirectoryExists(victim));
    EXPECT_TRUE(dialog->repositoryResetPending[0]);
}

TEST_F(Launch, FailedCreationReturnsZeroWithoutABoxAndReleasesTheLogFile) {
    NewPipe();
    ASSERT_TRUE(DeleteFileW((workDirectory + L"\\dravik.exe").c_str()));
    const auto boxes = CaptureMessageBoxes(L"Process creation", [&] { EXPECT_EQ(dialog->StartTsnProcess(), 0); });
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dialog->currentInstance, 0);
    // The system's reason is kept for the report that follows.
    EXPECT_NE(dialog->processCreationReason.find(L"(error 2)"), std::wstring::npos) << Narrow(dialog->processCreationReason);
    const std::wstring logPath = InstanceFolder(0) + L"\\log\\output.log";
    EXPECT_EQ(hLogFileName_g, logPath);
    // Only the header remains, and the program holds the file no longer: it can be
    // opened for writing and deleted.
    EXPECT_EQ(ReadWholeFile(logPath).rfind("Start process with  /macOWN 00:11:22:AA:BB:CC", 0), 0u);
    UniqueFile writer(CreateFileW(logPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(writer);
    writer.reset();
    EXPECT_TRUE(DeleteFileW(logPath.c_str()));
}

TEST_F(Launch, SuccessfulStartLeavesOnlyTheBackendHoldingTheLogFile) {
    NewPipe();
    ASSERT_EQ(dialog->StartTsnProcess(), 1);
    ASSERT_EQ(ReadStatusRecord().size(), 8u);
    const std::wstring logPath = InstanceFolder(0) + L"\\log\\output.log";
    dialog->CloseAllOpenProcesses();
    ASSERT_TRUE(WaitUntilNoProcessNamed("dravik.exe", 10000));
    // The ended backend's hold may outlive its process by a moment (Wine); a copy kept by
    // the program would hold the file for good.
    UniqueFile writer;
    for (int k = 0; k < 100 && !writer; ++k) {
        writer.reset(CreateFileW(logPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!writer) Sleep(10);
    }
    EXPECT_TRUE(writer) << "error " << GetLastError();
}

TEST_F(Launch, PendingResetDeletesOnlyThatInstancesRepository) {
    const std::wstring repository = InstanceFolder(0) + L"\\repository";
    ASSERT_TRUE(CreateDirectoryW(repository.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((repository + L"\\yang").c_str(), nullptr));
    WriteWholeFile(repository + L"\\yang\\module.yang", "module m {}");
    WriteWholeFile(repository + L"\\data.json", "{}");
    SetFileAttributesW((repository + L"\\data.json").c_str(), FILE_ATTRIBUTE_READONLY);
    const std::wstring otherRepository = InstanceFolder(1) + L"\\repository";
    ASSERT_TRUE(CreateDirectoryW(otherRepository.c_str(), nullptr));
    dialog->repositoryResetPending[0] = true;
    dialog->repositoryResetPending[1] = true;

    NewPipe();
    ASSERT_EQ(dialog->StartTsnProcess(), 1);
    EXPECT_FALSE(DirectoryExists(repository));
    EXPECT_FALSE(dialog->repositoryResetPending[0]);
    EXPECT_TRUE(dialog->repositoryResetPending[1]);
    EXPECT_TRUE(DirectoryExists(otherRepository));
    EXPECT_TRUE(FileExists(InstanceFolder(0) + L"\\eval-trx9420.xml"));
    EXPECT_TRUE(DirectoryExists(InstanceFolder(0) + L"\\log"));

    // Without a pending reset the repository stays.
    ASSERT_EQ(ReadStatusRecord().size(), 8u);
    NewPipe();
    dialog->repositoryResetPending[1] = false;
    ASSERT_EQ(dialog->StartTsnProcess(), 1);
    EXPECT_TRUE(DirectoryExists(otherRepository));
}

TEST_F(Launch, ReadLogFileReturnsTheWholeShortLogOrTheLast1023BytesForTheExitBoxFromAWholeLine) {
    const std::wstring path = workDirectory + L"\\tail.log";
    hLogFileName_g = path;
    EXPECT_EQ(dialog->ReadLogFile(), L"");  // no such file

    std::string shortLog(500, 'a');
    shortLog[0] = 'S';
    WriteWholeFile(path, shortLog);
    EXPECT_EQ(dialog->ReadLogFile(), std::wstring(shortLog.begin(), shortLog.end()));

    std::string longLog;
    for (int k = 0; k < 5000; ++k) longLog.push_back(static_cast<char>('0' + k % 10));
    WriteWholeFile(path, longLog);
    const std::string tail = longLog.substr(5000 - 1023);
    EXPECT_EQ(dialog->ReadLogFile(), std::wstring(tail.begin(), tail.end()));

    std::string exact(1023, 'x');
    WriteWholeFile(path, exact);
    EXPECT_EQ(dialog->ReadLogFile().size(), 1023u);

    // The exit box's tail starts at the first whole line of a tail cut from a longer log...
    std::string lines;
    for (int k = 0; k < 100; ++k) lines += "line " + std::to_string(k) + " of the log\r\n";
    WriteWholeFile(path, lines);
    const std::string cut = lines.substr(lines.size() - 1023);
    const std::string whole = cut.substr(cut.find('\n') + 1);
    ASSERT_NE(cut.front(), 'l') << "the cut falls inside a line";
    EXPECT_EQ(dialog->ReadLogFile(path, true), std::wstring(whole.begin(), whole.end()));
    // ...and a log of exactly 1023 bytes is whole from its first line.
    const std::string exactLines = "first line\r\n" + std::string(1023 - 12 - 2, 'y') + "\r\n";
    WriteWholeFile(path, exactLines);
    EXPECT_EQ(dialog->ReadLogFile(path, true), std::wstring(exactLines.begin(), exactLines.end()));

    // The file is closed again: it can be deleted at once.
    EXPECT_TRUE(DeleteFileW(path.c_str()));
    hLogFileName_g.clear();
    EXPECT_EQ(dialog->ReadLogFile(), L"");
}

TEST_F(Launch, ALogStillHeldByItsBackendIsReadAllTheSame) {
    // A backend that has just ended may hold its log, open for writing, a while after it
    // was signalled (longer on a loaded machine): the failure box needs the tail regardless.
    const std::wstring path = workDirectory + L"\\held.log";
    WriteWholeFile(path, "start-up failed: no device\r\n");
    UniqueFile writer(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    hLogFileName_g = path;
    EXPECT_EQ(dialog->ReadLogFile(), L"start-up failed: no device\r\n");
    hLogFileName_g.clear();
}

}  // namespace
}  // namespace launchtest
