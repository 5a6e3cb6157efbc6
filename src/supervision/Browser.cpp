#include "supervision/Browser.h"

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
