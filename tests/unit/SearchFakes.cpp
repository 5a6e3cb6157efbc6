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
    RequestSearchStop();
    RequestMonitorStop();
    WaitForWorkerEnd();
    if (void* monitor = hLingeringStatusThread_g.exchange(nullptr)) WaitForThreadEndAndClose(monitor);
    platform.JoinAll();
    ResetSearchGlobals();
}

void FakeDialog::HandleNext(long long deadline) {
    PostedMessage m;
    if (!queue.Pop(m, deadline)) return;
    handled.push_back(m);
    HandleProgramControl(*this, m.code, m.argument);
}

bool FakeDialog::RunUntil(const std::function<bool()>& done, long long limit) {
    const long long deadline = clock.Now() + limit;
    while (!done()) {
        if (clock.Now() >= deadline) return false;
        HandleNext(deadline);
    }
    return true;
}

void FakeDialog::Drain() {
    for (;;) {
        const long long before = clock.Now();
        if (queue.Empty() && !clock.WaitUntil(before + 1, [&] { return !queue.Empty(); })) return;
        HandleNext(before + 1);
    }
}

bool FakeDialog::RunUntilIdle() {
    if (!RunUntil([&] { return !findQelDevThreadRunning_g.load(); })) return false;
    Drain();
    return true;
}

void FakeDialog::ShowErrorBox(const std::wstring& text, const std::wstring& caption) {
    boxes.push_back({text, caption});
    mostOpenBoxes = std::max(mostOpenBoxes, ++openBoxes);
    const long long closesAt = clock.Now() + boxOpenFor;
    while (clock.Now() < closesAt) HandleNext(closesAt);
    if (boxesRunModalLoop) Drain();
    if (whileBoxOpen) whileBoxOpen();
    --openBoxes;
}

void FakeDialog::WaitForWorkerEnd() {
    clock.WaitUntil(VirtualClock::never, [&] { return workerEnded_.load(); });
    if (worker_.joinable()) worker_.join();
}

int FakeDialog::StartBackend(int i) {
    if (beforeStart) beforeStart(i);
    if (i < 0 || i >= 10) return 0;
    const int nth = starts_[i]++;
    Backend backend;
    auto script = scripts.find(i);
    if (script != scripts.end() && !script->second.empty())
        backend = script->second[std::min<std::size_t>(nth, script->second.size() - 1)];
    creationReason.clear();
    if (backend.kind == Backend::creationFails) {
        creationReason = L"The system cannot find the file specified. (error 2)";
        return 0;
    }
    if (backend.kind == Backend::refused) {
        ShowErrorBox(L"No Ethernet adapter selected for QEL " + std::to_wstring(i + 1), L"Process creation");
        return 0;
    }

    backendProcesses.emplace_back();
    FakePlatform::Process& process = backendProcesses.back();
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
    if (i == currentInstance) ++currentInstance;
    return 1;
}

void FakeDialog::Release(int i, int status, const std::string& text) {
    platform.WriteRecord(writeEnds_[i], MakeRecord(status, text));
}

void FakeDialog::CloseAllOpenProcesses() {
    ++closeAllCalls;
    monitorsAliveAtCloseAll = platform.liveMonitors.load();
    CloseProgramBackends(*this);
}

void FakeDialog::StartSearch(int first, int end) {
    WaitForWorkerEnd();
    ++searchesStarted;
    THREADINFOSTRUCT* record = BeginSearch(platform, this, first, end, table.RowCount());
    workerEnded_ = false;
    clock.Join();
    worker_ = std::thread([this, record] {
        FindAndConfigureQelDevicesThread(record);
        clock.Leave([&] { workerEnded_ = true; });
    });
    closeAdapterEnabled = false;
}
