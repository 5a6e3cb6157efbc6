#include "supervision/Browser.h"

#include <algorithm>
#include <cwctype>

namespace {

bool IsActiveInstance(const ListTable& instances, int instance) {
    return instance >= 0 && instance < instances.RowCount() && instances.Cell(instance, colActive) == L"Yes";
}

}  // namespace

std::wstring BrowserCommandLine(const ListTable& instances, int instance, const std::wstring& browserChoice,
                                const BrowserPaths& paths) {
    if (!IsActiveInstance(instances, instance)) return {};
    const std::wstring* path = nullptr;
    if (browserChoice == L"Chrome") path = &paths.chrome;
    else if (browserChoice == L"Edge") path = &paths.edge;
    else if (browserChoice == L"Firefox") path = &paths.firefox;
    if (!path || path->empty()) return {};
    return *path + L" -url " + instances.Cell(instance, colIp) + L":" + instances.Cell(instance, colPort);
}

bool ReportsNoBrowser(const ListTable& instances, int instance, int browsersOffered) {
    return browsersOffered == 0 && IsActiveInstance(instances, instance);
}

int BrowserEntryNamedBy(const std::vector<std::wstring>& entries, const std::wstring& typed) {
    const size_t first = typed.find_first_not_of(L' ');
    if (first == std::wstring::npos) return -1;
    const std::wstring name = typed.substr(first, typed.find_last_not_of(L' ') + 1 - first);
    auto sameLetters = [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); };
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::wstring& entry = entries[i];
        if (entry.size() == name.size() && std::equal(entry.begin(), entry.end(), name.begin(), sameLetters))
            return static_cast<int>(i);
    }
    return -1;
}

bool ReportsNoBrowserChosen(const ListTable& instances, int instance, int browsersOffered, int selection) {
    return browsersOffered > 0 && selection < 0 && IsActiveInstance(instances, instance);
}
