#include "supervision/LaunchPlan.h"

#include <algorithm>

namespace {

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

}  // namespace

bool IsPlainFolderName(const std::wstring& name) {
    if (name.empty()) return false;
    if (name.find_first_of(L"\\/:") != std::wstring::npos) return false;
    // The system drops trailing dots and blanks of a path element: such a name would
    // stand for the folder that holds every instance folder.
    if (name.find_first_not_of(L". ") == std::wstring::npos) return false;
    for (wchar_t c : name)
        if (c < 32) return false;
    return true;
}

std::wstring FindAdapterMacAddress(const ListTable& adapterList, const std::wstring& adapterName) {
    for (int row = 0; row < adapterList.RowCount(); ++row) {
        if (adapterList.Cell(row, colName) != adapterName) continue;
        std::wstring mac = adapterList.Cell(row, colMac);
        std::replace(mac.begin(), mac.end(), L'-', L':');
        return mac;
    }
    return {};
}

std::wstring InstanceFolder(const std::wstring& exeDrive, const std::wstring& fileSystemFoldersPath,
                           const std::wstring& fsName) {
    return exeDrive + L"\\" + fileSystemFoldersPath + fsName;
}

std::wstring InstanceLogFile(const std::wstring& instanceFolder) { return instanceFolder + L"\\log\\output.log"; }

LaunchPlan PlanLaunch(const LaunchInputs& in) {
    LaunchPlan plan;
    const int i = in.instance;
    if (i < 0 || i >= maxInstances || !in.instanceTable || !in.adapterList) return plan;
    const std::wstring n = std::to_wstring(i + 1);
    const ListTable& row = *in.instanceTable;

    const std::wstring adapterName = row.Cell(i, colEthernetAdapter);
    const std::wstring port = row.Cell(i, colPort);
    const std::wstring netconfPort = row.Cell(i, colNetconfSshPort);
    const std::wstring fsName = row.Cell(i, colFsName);
    const std::wstring startupFileName = row.Cell(i, colStartupFileName);
    const std::wstring imageType = row.Cell(i, colImageSignatureType);

    if (adapterName.empty()) {
        plan.errorText = L"No Ethernet adapter selected for QEL " + n;
        return plan;
    }

    plan.macLookedUp = true;
    plan.macAddress = FindAdapterMacAddress(*in.adapterList, adapterName);
    if (plan.macAddress.empty()) {
        plan.errorText = L"Error finding selected Ethernet adapter for QEL " + n;
        return plan;
    }

    if (!IsPlainFolderName(fsName)) {
        plan.errorText = L"FS Name " + Quoted(fsName) + L" of QEL " + n + L" is not a plain folder name";
        return plan;
    }

    plan.relativeFolder = in.fileSystemFoldersPath + fsName;
    plan.instanceFolder = InstanceFolder(in.exeDrive, in.fileSystemFoldersPath, fsName);
    if (!in.directoryExists || !in.directoryExists(plan.instanceFolder)) {
        plan.errorText = L"Directory " + Quoted(plan.instanceFolder) + L" does not exist";
        return plan;
    }

    plan.startupFile = plan.instanceFolder + L"\\" + startupFileName;
    if (!in.fileExists || !in.fileExists(plan.startupFile)) {
        plan.errorText = L"File " + Quoted(startupFileName) + L" does not exist";
        return plan;
    }

    plan.repositoryFolder = plan.instanceFolder + L"\\repository";
    plan.repositoryPath = plan.repositoryFolder;
    std::replace(plan.repositoryPath.begin(), plan.repositoryPath.end(), L'\\', L'/');
    plan.logFile = InstanceLogFile(plan.instanceFolder);

    // The handle is a 32-bit value written as a signed decimal ("%d").
    const int handle = static_cast<int>(static_cast<unsigned int>(static_cast<unsigned long long>(in.pipeHandleValue)));
    plan.arguments = L" /macOWN " + plan.macAddress + L" /port " + port + L" /netconfPortSsh " + netconfPort +
                     L" /fsys " + Quoted(L"\\" + plan.relativeFolder) + L" /fstartup " + Quoted(plan.startupFile) +
                     L" /imageType " + imageType + L" /pipeHandle " + std::to_wstring(handle);
    plan.logHeader = L"Start process with " + plan.arguments + L"\r\n\r\n";
    plan.consoleTitle = L"QEL " + n;
    plan.ok = true;
    return plan;
}
