// The configuration file through the live dialog: first start, reading, and the update of a
// startup file name with its failure cases.
#include <gtest/gtest.h>

#include "ConfigTestSupport.h"
#include "app/CtarnwickDlgWin32.h"
#include "app/SharedGlobals.h"
#include "config/ConfigFile.h"

namespace {

using configtest::MessageBoxWatcher;
using configtest::ReadBytes;
using configtest::ScratchDirectory;
using configtest::WriteBytes;
using Boxes = std::vector<std::pair<std::wstring, std::wstring>>;

const std::wstring file = L"qel-configuration.txt";

std::string DefaultContent() {
    std::string content;
    for (const std::string& block : DefaultConfigurationBlocks()) content += block;
    return content;
}

// Only the boxes of the configuration file (other parts of the dialog may show their own).
Boxes ConfigBoxes(MessageBoxWatcher& watcher) {
    Boxes mine;
    for (auto& box : watcher.Boxes())
        if (box.first == L"QEL Configuration File" || box.first == L"Update QEL Configuration File") mine.push_back(box);
    return mine;
}

TEST(ConfigFileDialog, FirstStartWritesTheDefaultFileAndShowsTenRows) {
    ScratchDirectory dir;
    MessageBoxWatcher watcher;
    CtarnwickDlg dlg;
    ASSERT_TRUE(dlg.CreateModeless());
    EXPECT_EQ(ConfigBoxes(watcher), (Boxes{{L"QEL Configuration File", L"The QEL configuration file does not exist."},
                                           {L"QEL Configuration File", L"Created default QEL configuration file."}}));
    EXPECT_EQ(ReadBytes(file), DefaultContent());
    ASSERT_EQ(dlg.instanceList.RowCount(), 10);
    EXPECT_EQ(dlg.instanceList.Cell(9, colQel), L"10");
    EXPECT_EQ(dlg.instanceList.Cell(9, colNetconfSshPort), L"50839");
    EXPECT_EQ(dlg.instanceList.Cell(0, colActive), L"No");
    EXPECT_TRUE(dlg.findAndConfigureButton.IsWindowEnabled());
    EXPECT_TRUE(dlg.searchLed.IsWindowEnabled());
}

TEST(ConfigFileDialog, ExistingFileIsReadSilentlyAndRowsBeyondTheTenthAreKept) {
    ScratchDirectory dir;
    std::string content;
    for (int k = 1; k <= 12; ++k) content += "Instance " + std::to_string(k) + "\r\nIP 10.0.0." + std::to_string(k) + "\r\n";
    ASSERT_TRUE(WriteBytes(file, content));
    MessageBoxWatcher watcher;
    CtarnwickDlg dlg;
    ASSERT_TRUE(dlg.CreateModeless());
    EXPECT_TRUE(ConfigBoxes(watcher).empty());
    ASSERT_EQ(dlg.instanceList.RowCount(), 12);
    EXPECT_EQ(dlg.instanceList.Cell(11, colIp), L"10.0.0.12");
    EXPECT_EQ(ReadBytes(file), content);
    EXPECT_TRUE(dlg.findAndConfigureButton.IsWindowEnabled());
}

TEST(ConfigFileDialog, DefaultFileThatCannotBeWrittenLeavesTheSearchDisabled) {
    ScratchDirectory dir;
    ASSERT_TRUE(CreateDirectoryW(file.c_str(), nullptr));  // a folder where the file should be
    MessageBoxWatcher watcher;
    CtarnwickDlg dlg;
    ASSERT_TRUE(dlg.CreateModeless());
    EXPECT_EQ(ConfigBoxes(watcher),
              (Boxes{{L"QEL Configuration File", L"The QEL configuration file does not exist."},
                     {L"QEL Configuration File", L"Could not create default QEL configuration file."}}));
    EXPECT_EQ(dlg.instanceList.RowCount(), 0);
    EXPECT_FALSE(dlg.findAndConfigureButton.IsWindowEnabled());
    EXPECT_FALSE(dlg.searchLed.IsWindowEnabled());
}

// A dialog over an existing default file, for the update tests.
struct UpdateFixture : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(WriteBytes(file, DefaultContent()));
        ASSERT_TRUE(dlg.CreateModeless());
        selectedListItem_g = 0;
    }
    void TearDown() override { selectedListItem_g = -1; }
    // Nothing but the configuration file is left in the folder.
    void ExpectNoStrayFiles() { EXPECT_EQ(dir.Files(), std::vector<std::wstring>{file}); }

    ScratchDirectory dir;
    MessageBoxWatcher watcher;
    CtarnwickDlg dlg;
};

TEST_F(UpdateFixture, ReplacesTheLineOfTheSelectedRowOnly) {
    selectedListItem_g = 1;
    ASSERT_EQ(dlg.UpdateQelConfigurationFile(L"other.xml"), 1);
    std::string expected = TextModeContent(DefaultContent());
    const std::string old = "StartupFileName eval-trx9420.xml\n";
    const size_t second = expected.find(old, expected.find(old) + 1);
    expected.replace(second, old.size(), "StartupFileName other.xml\r\n");
    EXPECT_EQ(ReadBytes(file), expected);
    EXPECT_TRUE(ConfigBoxes(watcher).empty());
    ExpectNoStrayFiles();
}

TEST_F(UpdateFixture, ReadOnlyFileStaysUnchangedAndTheFailureIsShown) {
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(dlg.UpdateQelConfigurationFile(L"x.xml"), 0);
    EXPECT_EQ(ConfigBoxes(watcher),
              (Boxes{{L"Update QEL Configuration File", L"Could not write the QEL configuration file. It was left unchanged."}}));
    EXPECT_EQ(ReadBytes(file), DefaultContent());
    ExpectNoStrayFiles();
}

TEST_F(UpdateFixture, FileHeldOpenWithoutDeleteSharingStaysUnchanged) {
    // Another program holds the file open for reading and allows no replacement.
    HANDLE holder = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(dlg.UpdateQelConfigurationFile(L"x.xml"), 0);
    CloseHandle(holder);
    EXPECT_EQ(ReadBytes(file), DefaultContent());
    EXPECT_EQ(ConfigBoxes(watcher).size(), 1u);
    ExpectNoStrayFiles();
}

TEST_F(UpdateFixture, MissingFileOrMissingLinesAreShownAndChangeNothing) {
    selectedListItem_g = 10;  // "Instance 11" is not in the file
    EXPECT_EQ(dlg.UpdateQelConfigurationFile(L"x.xml"), 0);
    EXPECT_EQ(ReadBytes(file), DefaultContent());
    ASSERT_TRUE(DeleteFileW(file.c_str()));
    selectedListItem_g = 0;
    EXPECT_EQ(dlg.UpdateQelConfigurationFile(L"x.xml"), 0);
    EXPECT_EQ(ReadBytes(file), "<missing>");
    EXPECT_EQ(ConfigBoxes(watcher),
              (Boxes{{L"Update QEL Configuration File", L"Could not update the startup file name."},
                     {L"Update QEL Configuration File", L"The QEL configuration file does not exist."}}));
}

TEST(ConfigFileDialog, FileSystemFoldersBesideTheTestProgram) {
    // The test program's name does not contain the program's name, so the folder looked for
    // is "FileSystemFolders" in the working directory, which never yields a path.
    ScratchDirectory dir;
    ASSERT_TRUE(WriteBytes(file, "Instance 1\n"));
    CtarnwickDlg dlg;
    ASSERT_TRUE(dlg.CreateModeless());
    dlg.fileSystemFoldersPath = L"stale";
    dlg.GetFileSystemFolderPath();
    EXPECT_EQ(dlg.exeDrive.size(), 2u);
    EXPECT_EQ(dlg.exeDrive[1], L':');
    EXPECT_EQ(dlg.fileSystemFoldersPath, L"");
}

}  // namespace
