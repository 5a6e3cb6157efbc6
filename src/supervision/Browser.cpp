#include "supervision/Browser.h"

std::wstring BrowserCommandLine(const ListTable& instances, int instance, const std::wstring& browserChoice,
                                const BrowserPaths& paths) {
    if (instance < 0 || instance >= instances.RowCount()) return {};
    if (instances.Cell(instance, colActive) != L"Yes") return {};
    const std::wstring* path = nullptr;
    if (browserChoice == L"Chrome") path = &paths.chrome;
    else if (browserChoice == L"Edge") path = &paths.edge;
    else if (browserChoice == L"Firefox") path = &paths.firefox;
    if (!path || path->empty()) return {};
    return *path + L" -url " + instances.Cell(instance, colIp) + L":" + instances.Cell(instance, colPort);
}
