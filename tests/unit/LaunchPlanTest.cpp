// Planning the start of one backend: the checks in order, the adapter lookup, and the
// command line, paths and log header the backend receives.
#include "supervision/LaunchPlan.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class LaunchPlanTest : public ::testing::Test {
protected:
    LaunchPlanTest() : instances(instanceColumnCount), adapters(adapterColumnCount) {
        for (int k = 0; k < 3; ++k)
            instances.AddRow({std::to_wstring(k + 1), L"No", L"Ethernet 2", L"127.0.0.1", L"8080", L"830",
                              L"FS_QEL_Instance3", L"eval-trx9420.xml", L"development"});
        adapters.AddRow({L"Intel(R) Ethernet", L"Ethernet 1", L"AA-AA-AA-AA-AA-AA", L""});
        adapters.AddRow({L"Realtek USB", L"Ethernet 2", L"00-11-22-AA-BB-CC", L""});
        folders = {L"C:\\Tools\\FileSystemFolders\\FS_QEL_Instance3"};
        files = {L"C:\\Tools\\FileSystemFolders\\FS_QEL_Instance3\\eval-trx9420.xml"};
    }

    LaunchPlan Plan(int instance = 2, long long handle = 1234) {
        LaunchInputs in;
        in.instance = instance;
        in.instanceTable = &instances;
        in.adapterList = &adapters;
        in.exeDrive = L"C:";
        in.fileSystemFoldersPath = L"Tools\\FileSystemFolders\\";
        in.pipeHandleValue = handle;
        in.directoryExists = [this](const std::wstring& p) {
            queried.push_back(p);
            return folders.count(p) > 0;
        };
        in.fileExists = [this](const std::wstring& p) {
            queried.push_back(p);
            return files.count(p) > 0;
        };
        return PlanLaunch(in);
    }

    MemoryTable instances;
    MemoryTable adapters;
    std::set<std::wstring> folders, files;
    std::vector<std::wstring> queried;
};

TEST_F(LaunchPlanTest, BuildsTheCommandLinePathsAndHeaderOfTheExample) {
    const LaunchPlan plan = Plan(2, 1234);
    ASSERT_TRUE(plan.ok) << plan.errorText;
    EXPECT_EQ(plan.arguments,
              L" /macOWN 00:11:22:AA:BB:CC /port 8080 /netconfPortSsh 830 /fsys "
              L"\"\\Tools\\FileSystemFolders\\FS_QEL_Instance3\" /fstartup "
              L"\"C:\\Tools\\FileSystemFolders\\FS_QEL_Instance3\\eval-trx9420.xml\" /imageType development "
              L"/pipeHandle 1234");
    EXPECT_EQ(plan.repositoryPath, L"C:/Tools/FileSystemFolders/FS_QEL_Instance3/repository");
    EXPECT_EQ(plan.repositoryFolder, L"C:\\Tools\\FileSystemFolders\\FS_QEL_Instance3\\repository");
    EXPECT_EQ(plan.logFile, L"C:\\Tools\\FileSystemFolders\\FS_QEL_Instance3\\log\\output.log");
    EXPECT_EQ(plan.logHeader, L"Start process with " + plan.arguments + L"\r\n\r\n");
    EXPECT_EQ(plan.consoleTitle, L"QEL 3");
    EXPECT_EQ(plan.macAddress, L"00:11:22:AA:BB:CC");
}

TEST_F(LaunchPlanTest, PipeHandleIsWrittenAsASigned32BitDecimal) {
    EXPECT_NE(Plan(2, 0x1c).arguments.find(L" /pipeHandle 28"), std::wstring::npos);
    const std::wstring args = Plan(2, 0xFFFFFFFFLL).arguments;
    EXPECT_EQ(args.substr(args.rfind(L' ')), L" -1");
}

TEST_F(LaunchPlanTest, AdapterLookupTakesTheFirstExactCaseSensitiveName) {
    adapters.DeleteAllRows();
    adapters.AddRow({L"d", L"ethernet 2", L"11-11-11-11-11-11", L""});
    adapters.AddRow({L"d", L"Ethernet 2 ", L"22-22-22-22-22-22", L""});
    adapters.AddRow({L"d", L"Ethernet 2", L"33-33-33-33-33-33", L""});
    adapters.AddRow({L"d", L"Ethernet 2", L"44-44-44-44-44-44", L""});
    EXPECT_EQ(Plan().macAddress, L"33:33:33:33:33:33");

    instances.SetCell(2, colEthernetAdapter, L"ETHERNET 2");
    const LaunchPlan plan = Plan();
    EXPECT_FALSE(plan.ok);
    EXPECT_TRUE(plan.macLookedUp);
    EXPECT_EQ(plan.macAddress, L"");
    EXPECT_EQ(plan.errorText, L"Error finding selected Ethernet adapter for QEL 3");
}

TEST_F(LaunchPlanTest, ChecksRunInOrderAndEachNamesItsCause) {
    // Every check fails: the first one reports.
    instances.SetCell(2, colEthernetAdapter, L"");
    folders.clear();
    files.clear();
    LaunchPlan plan = Plan();
    EXPECT_EQ(plan.errorText, L"No Ethernet adapter selected for QEL 3");
    EXPECT_FALSE(plan.macLookedUp);
    EXPECT_TRUE(queried.empty());

    instances.SetCell(2, colEthernetAdapter, L"Nowhere");
    EXPECT_EQ(Plan().errorText, L"Error finding selected Ethernet adapter for QEL 3");
    EXPECT_TRUE(queried.empty());

    instances.SetCell(2, colEthernetAdapter, L"Ethernet 2");
    EXPECT_EQ(Plan().errorText, L"Directory \"C:\\Tools\\FileSystemFolders\\FS_QEL_Instance3\" does not exist");

    folders = {L"C:\\Tools\\FileSystemFolders\\FS_QEL_Instance3"};
    plan = Plan();
    EXPECT_FALSE(plan.ok);
    // Only the name, not the folder it was looked for in.
    EXPECT_EQ(plan.errorText, L"File \"eval-trx9420.xml\" does not exist");
    EXPECT_TRUE(plan.arguments.empty());
}

TEST_F(LaunchPlanTest, RowsBeyondTheTenthAreRefusedWithoutABox) {
    for (int instance : {10, 11, -1}) {
        const LaunchPlan plan = Plan(instance);
        EXPECT_FALSE(plan.ok);
        EXPECT_TRUE(plan.errorText.empty());
        EXPECT_FALSE(plan.macLookedUp);
    }
}

TEST_F(LaunchPlanTest, FsNamesThatLeaveTheirFolderAreRefusedBeforeAnyFileIsTouched) {
    folders.insert(L"C:\\Tools\\FileSystemFolders\\..");
    folders.insert(L"C:\\Tools\\FileSystemFolders\\");
    for (const std::wstring name : {L"..", L"..\\Windows", L"a\\b", L"a/b", L"D:x", L"", L".", L". .", L"...", L"a\tb"}) {
        instances.SetCell(2, colFsName, name);
        queried.clear();
        const LaunchPlan plan = Plan();
        EXPECT_FALSE(plan.ok) << std::string(name.begin(), name.end());
        EXPECT_EQ(plan.errorText, L"FS Name \"" + name + L"\" of QEL 3 is not a plain folder name");
        EXPECT_TRUE(plan.repositoryFolder.empty());
        EXPECT_TRUE(queried.empty());
    }
    for (const std::wstring name : {L"FS_QEL_Instance3", L"My Device.1", L".hidden", L"QEL..1", L"x..y", L"..z"})
        EXPECT_TRUE(IsPlainFolderName(name)) << std::string(name.begin(), name.end());
}

}  // namespace
