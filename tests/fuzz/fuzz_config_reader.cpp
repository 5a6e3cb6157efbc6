// Feeds arbitrary bytes to the configuration reader, as the file's content.
// Run with a scratch corpus folder first so that the seeds stay as committed:
//   fuzz_config_reader -max_total_time=20 CORPUS tests/fuzz/seeds/fuzz_config_reader
#include <cstddef>
#include <cstdint>
#include <string>

#include "config/ConfigFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    MemoryTable table(instanceColumnCount);
    int configRowIndex = 0;
    ReadConfigurationContent(TextModeContent(bytes), table, configRowIndex);
    if (configRowIndex != table.RowCount() - 1) __builtin_trap();

    // The update must find its lines or leave them alone, and its output must read back.
    std::vector<std::wstring> lines;
    for (const std::string& piece : SplitIntoLinePieces(TextModeContent(bytes)))
        lines.push_back(std::wstring(piece.begin(), piece.end()));
    if (ReplaceStartupFileName(lines, size % 12, L"f.xml")) {
        const std::string written = JoinLinesAscii(lines);
        if (written.find("StartupFileName f.xml\r\n") == std::string::npos) __builtin_trap();
        ReadConfigurationContent(TextModeContent(written), table, configRowIndex);
    }
    return 0;
}
