#include "BackendOptions.h"

#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

std::vector<std::wstring> SplitWords(const std::wstring& line) {
    std::vector<std::wstring> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
        if (i >= line.size()) break;
        std::wstring word;
        if (line[i] == L'"') {
            const size_t close = line.find(L'"', i + 1);
            const size_t end = close == std::wstring::npos ? line.size() : close;
            word = line.substr(i + 1, end - i - 1);
            i = end == line.size() ? end : end + 1;
        } else {
            const size_t end = line.find_first_of(L" \t", i);
            word = line.substr(i, end == std::wstring::npos ? std::wstring::npos : end - i);
            i = end == std::wstring::npos ? line.size() : end;
        }
        words.push_back(word);
    }
    return words;
}

std::string Trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const size_t last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

bool ToInt(const std::string& s, int& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    const long value = std::strtol(s.c_str(), &end, 0);
    if (*end != '\0') return false;
    out = static_cast<int>(value);
    return true;
}

}  // namespace

BackendOptions ParseBackendCommandLine(const std::wstring& commandLine) {
    BackendOptions options;
    const std::vector<std::wstring> words = SplitWords(commandLine);
    for (size_t k = 0; k < words.size(); ++k) {
        const std::wstring& w = words[k];
        std::wstring* target = nullptr;
        if (w == L"/macOWN") target = &options.macOwn;
        else if (w == L"/port") target = &options.port;
        else if (w == L"/netconfPortSsh") target = &options.netconfPortSsh;
        else if (w == L"/fsys") target = &options.fsys;
        else if (w == L"/fstartup") target = &options.fstartup;
        else if (w == L"/imageType") target = &options.imageType;
        else if (w == L"/pipeHandle") target = &options.pipeHandle;
        if (target && k + 1 < words.size()) {
            *target = words[++k];
        } else {
            if (!options.unknown.empty()) options.unknown += L' ';
            options.unknown += w;
        }
    }
    return options;
}

Behaviour ParseBehaviour(const std::string& content) {
    Behaviour b;
    std::istringstream in(content);
    std::string line;
    while (std::getline(in, line)) {
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#') continue;
        const size_t eq = trimmed.find('=');
        if (eq == std::string::npos) {
            b.errors += trimmed + "\n";
            continue;
        }
        const std::string key = Trim(trimmed.substr(0, eq));
        // The text is taken as written (only the line end is dropped), so it may hold blanks.
        std::string value = trimmed.substr(eq + 1);
        if (key != "text") value = Trim(value);
        bool ok = true;
        if (key == "delay_ms") ok = ToInt(value, b.delayMs);
        else if (key == "status") ok = ToInt(value, b.status);
        else if (key == "text") b.text = value;
        else if (key == "exit_code") ok = ToInt(value, b.exitCode);
        else if (key == "split_ms") ok = ToInt(value, b.splitMs);
        else if (key == "exit_after_ms") ok = ToInt(value, b.exitAfterMs);
        else if (key == "length") ok = ToInt(value, b.lengthField);
        else if (key == "http") b.http = value != "off" && value != "0" && value != "no";
        else if (key == "mode") {
            if (value == "report") b.mode = ReportMode::report;
            else if (value == "silent") b.mode = ReportMode::silent;
            else if (value == "exit") b.mode = ReportMode::exit;
            else if (value == "negative-length") b.mode = ReportMode::negativeLength;
            else if (value == "overlong-length") b.mode = ReportMode::overlongLength;
            else if (value == "split") b.mode = ReportMode::split;
            else if (value == "crash-after-report") b.mode = ReportMode::crashAfterReport;
            else ok = false;
        }
        if (!ok) b.errors += trimmed + "\n";
    }
    if (b.delayMs < 0) b.delayMs = 0;
    if (b.splitMs < 0) b.splitMs = 0;
    return b;
}

const char* ModeName(ReportMode mode) {
    switch (mode) {
        case ReportMode::report: return "report";
        case ReportMode::silent: return "silent";
        case ReportMode::exit: return "exit";
        case ReportMode::negativeLength: return "negative-length";
        case ReportMode::overlongLength: return "overlong-length";
        case ReportMode::split: return "split";
        case ReportMode::crashAfterReport: return "crash-after-report";
    }
    return "?";
}
