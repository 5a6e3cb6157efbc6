#include "SearchFakes.h"

std::vector<unsigned char> MakeRecord(int status, const std::string& text) {
    std::vector<unsigned char> record(8 + text.size());
    const auto put = [&](int offset, std::int32_t value) {
        const auto u = static_cast<std::uint32_t>(value);
        for (int b = 0; b < 4; ++b) record[offset + b] = static_cast<unsigned char>(u >> (8 * b));
    };
    put(0, status);
    put(4, static_cast<std::int32_t>(text.size()));
    std::copy(text.begin(), text.end(), record.begin() + 8);
    return record;
}

FakeDialog::FakeDialog(int rows) {
    ResetSearchGlobals();
    for (int r = 0; r < rows; ++r) table.AddRow({std::to_wstring(r + 1), L"No"});
}

FakeDialog::~FakeDialog() {
    // Let every thread end before the fakes go.
    stopFindQelDevThread_g = true;
    stopCheckQelDevStatusThread_g = true;
    WaitForWorkerEnd();
    if (void* monitor = hLingeringStatusThread_g.exchange(nullptr)) WaitForThreadEndAndClose(monitor);
    platform.JoinAll();
    ResetSearchGlobals();
}

bool FakeDialog::RunUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        PostedMessage m;
        if (queue.Pop(m, std::chrono::milliseconds(100))) {
            HandleProgramControl(*this, m.code, m.argument);
            handled.push_back(m);
        }
    }
    return true;
}

bool FakeDialog::RunUntilIdle() {
    if (!RunUntil([&] { return !findQelDevThreadRunning_g.load(); })) return false;
    PostedMessage m;
    while (queue.Pop(m, std::chrono::milliseconds(50))) {
        HandleProgramControl(*this, m.code, m.argument);
        handled.push_back(m);
    }
    return true;
}

int FakeDialog::StartTsnProcess() {
    const int i = currentInstance;
    if (i >= 10) return 0;
    const int nth = starts_[i]++;
    Backend backend;
    auto script = scripts.find(i);
    if (script != scripts.end() && !script->second.empty())
        backend = script->second[std::min<std::size_t>(nth, script->second.size() - 1)];
    if (backend.kind == Backend::creationFails) return 0;

    backendProcesses_.emplace_back();
    FakePlatform::Process& process = backendProcesses_.back();
    void* writeEnd = hWriteEndPoint_g.load();
    writeEnds_[i] = writeEnd;
    switch (backend.kind) {
    case Backend::report:
        platform.WriteRecord(writeEnd, MakeRecord(backend.status, backend.text));
        break;
    case Backend::exitAtOnce:
        process.exitCode = 1;
        break;
    case Backend::reportThenExit:
        platform.WriteRecord(writeEnd, MakeRecord(backend.status, backend.text));
        process.exitCode = 5;
        break;
    case Backend::exitThenReport:
        process.exitCode = 0;
        process.onFirstExitObserved = [this, writeEnd, backend] {
            platform.WriteRecord(writeEnd, MakeRecord(backend.status, backend.text));
        };
        break;
    default:
        break;
    }
    processes[i] = &process;
    watch.logFile[i] = backend.altHeld ? std::wstring() : LogOf(i);
    startedInstances.push_back(i);
    ++currentInstance;
    return 1;
}

void FakeDialog::Release(int i, int status, const std::string& text) {
    platform.WriteRecord(writeEnds_[i], MakeRecord(status, text));
}

void FakeDialog::CloseAllOpenProcesses() {
    ++closeAllCalls;
    for (int i = 0; i < 10; ++i) {
        table.SetCell(i, colActive, L"No");
        instanceLed[i] = ledOff;
        StopWatchingBackend(*this, i);
        if (processes[i]) {
            EndProcess(i, 1);
            processes[i] = nullptr;
            --currentInstance;
        }
    }
}

void FakeDialog::ShowErrorBox(const std::wstring& text, const std::wstring& caption) {
    boxes.push_back({text, caption});
    mostOpenBoxes = std::max(mostOpenBoxes, ++openBoxes);
    PostedMessage m;
    while (boxesRunModalLoop && queue.Pop(m, std::chrono::milliseconds(50))) {
        HandleProgramControl(*this, m.code, m.argument);
        handled.push_back(m);
    }
    if (whileBoxOpen) whileBoxOpen();
    --openBoxes;
}

void FakeDialog::StartFindQelDevThread() {
    WaitForWorkerEnd();
    ++searchesStarted;
    BeginSearchFlags();
    auto* record = new THREADINFOSTRUCT;
    record->hWnd = this;
    record->stopFlag = &stopFindQelDevThread_g;
    record->firstInstance = currentInstance;
    record->rowCount = table.RowCount();
    record->platform = &platform;
    worker_ = std::thread([record] { FindAndConfigureQelDevicesThread(record); });
    closeAdapterEnabled = false;
}
