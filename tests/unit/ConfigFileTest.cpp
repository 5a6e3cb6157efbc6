// The configuration file: grammar as the reader sees it, the default content byte for byte,
// the startup-file update and the file-system folder lookup.
#include "config/ConfigFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

MemoryTable Read(const std::string& content) {
    MemoryTable table(instanceColumnCount);
    int rowIndex = 7;
    ReadConfigurationContent(content, table, rowIndex);
    return table;
}

// The cell of a one-block file "Instance 1" + the given line.
std::wstring CellAfter(const std::string& line, int column) {
    return Read("Instance 1\n" + line + "\n").Cell(0, column);
}

TEST(ConfigKeywordTable, RowsInLookupOrder) {
    const char* names[] = {"Instance", "IP", "Port", "FsName", "NetconfPortSsh", "StartupFileName", "ImageType"};
    for (int i = 0; i < configurationFieldCount; ++i) {
        EXPECT_STREQ(EVAL_fieldID_g[i].name, names[i]);
        EXPECT_EQ(EVAL_fieldID_g[i].nameLength, static_cast<int>(std::string(names[i]).size()) + 1);
        EXPECT_EQ(EVAL_fieldID_g[i].fieldId, i);
    }
}

TEST(ConfigIntegerValues, ScanLikeTheCLibraryPercentI) {
    struct Case {
        const char* text;
        const char* stored;
    } cases[] = {
        {"50000", "50000"},       {"010", "8"},          {"0x10", "16"},        {"0X1F90", "8080"},
        {"-3", "-3"},             {"+7", "7"},           {"08", "0"},           {"0x", "0"},
        {"0xg", "0"},             {"abc", "0"},          {"", "0"},             {"-", "0"},
        {"  42 //web", "42"},     {"12ab", "12"},        {"-0x10", "-16"},      {"0", "0"},
        {"2147483647", "2147483647"}, {"-2147483648", "-2147483648"},
    };
    for (const Case& c : cases) EXPECT_EQ(ScanIntegerText(c.text), c.stored) << c.text;
}

TEST(ConfigIntegerValues, BeyondThirtyTwoBitsSaturate) {
    EXPECT_EQ(ScanIntegerText("2147483648"), "2147483647");
    EXPECT_EQ(ScanIntegerText("99999999999999999999999999"), "2147483647");
    EXPECT_EQ(ScanIntegerText("-2147483649"), "-2147483648");
    EXPECT_EQ(ScanIntegerText("0xFFFFFFFFFFFFFFFFFFFF"), "2147483647");
    EXPECT_EQ(CellAfter("Port 4294967296", colPort), L"2147483647");
}

TEST(ConfigTokenValues, FirstRunOfAtMost99Characters) {
    EXPECT_EQ(ScanToken("my folder"), "my");
    EXPECT_EQ(ScanToken("\t10.0.0.2 x"), "10.0.0.2");
    EXPECT_EQ(ScanToken(""), "");
    EXPECT_EQ(ScanToken(std::string(99, 'a').c_str()), std::string(99, 'a'));
    EXPECT_EQ(ScanToken(std::string(100, 'a').c_str()), "");
    EXPECT_EQ(ScanToken((std::string(150, 'a') + " b").c_str()), "");
}

TEST(ConfigGrammar, KeywordsArePrefixesFollowedByOneSkippedCharacter) {
    EXPECT_EQ(CellAfter("Port:50000", colPort), L"50000");
    EXPECT_EQ(CellAfter("Port50000", colPort), L"0");  // '5' skipped, "0000" read
    EXPECT_EQ(CellAfter("Ports 1", colPort), L"1");
    EXPECT_EQ(CellAfter("port 50000", colPort), L"");  // case-sensitive
    EXPECT_EQ(CellAfter("IPv4 10.0.0.1", colIp), L"4");
    EXPECT_EQ(CellAfter("Port 50000 //web", colPort), L"50000");
    EXPECT_EQ(CellAfter("IP 10.0.0.2 x", colIp), L"10.0.0.2");
    EXPECT_EQ(CellAfter("FsName my folder", colFsName), L"my");
    EXPECT_EQ(CellAfter("   \tNetconfPortSsh \t 0x10", colNetconfSshPort), L"16");
    EXPECT_EQ(CellAfter("Hostname 1", colIp), L"");  // no keyword: ignored
}

TEST(ConfigGrammar, MatchingGoesOnAtTheValuesStart) {
    // "IP" matches, and its value begins with "Port": the remaining rows see that too.
    MemoryTable t = Read("Instance 1\nIP Port 77\n");
    EXPECT_EQ(t.Cell(0, colIp), L"Port");
    EXPECT_EQ(t.Cell(0, colPort), L"77");
    // An "Instance" value starting with a keyword both starts a row and sets the field.
    t = Read("Instance StartupFileName a.xml\n");
    ASSERT_EQ(t.RowCount(), 1);
    EXPECT_EQ(t.Cell(0, colQel), L"0");
    EXPECT_EQ(t.Cell(0, colStartupFileName), L"a.xml");
}

TEST(ConfigGrammar, CommentsBlankLinesAndFieldsBeforeTheFirstInstance) {
    MemoryTable t = Read("IP 1.2.3.4\nPort 9\n\n   \t\n  // Port 1\n/Port 2\nInstance 4\n//IP 5.5.5.5\n");
    ASSERT_EQ(t.RowCount(), 1);
    EXPECT_EQ(t.Cell(0, colQel), L"4");
    EXPECT_EQ(t.Cell(0, colActive), L"No");
    EXPECT_EQ(t.Cell(0, colIp), L"");
    EXPECT_EQ(t.Cell(0, colPort), L"");
    EXPECT_EQ(t.Cell(0, colEthernetAdapter), L"");
}

TEST(ConfigGrammar, InstancesDuplicatesNegativeAndLaterValuesWin) {
    MemoryTable t = Read("Instance 1\nPort 1\nPort 2\nInstance 1\nInstance -3\nIP a\n");
    ASSERT_EQ(t.RowCount(), 3);
    EXPECT_EQ(t.Cell(0, colPort), L"2");
    EXPECT_EQ(t.Cell(1, colQel), L"1");
    EXPECT_EQ(t.Cell(2, colQel), L"-3");
    EXPECT_EQ(t.Cell(2, colIp), L"a");
    // Reading again starts from an empty table.
    int rowIndex = 0;
    ReadConfigurationContent("Instance 9\n", t, rowIndex);
    EXPECT_EQ(t.RowCount(), 1);
    EXPECT_EQ(rowIndex, 0);
}

TEST(ConfigGrammar, MoreThanTenBlocksAreAllKept) {
    std::string content;
    for (int k = 1; k <= 12; ++k) content += "Instance " + std::to_string(k) + "\nPort " + std::to_string(k) + "\n";
    MemoryTable t = Read(content);
    ASSERT_EQ(t.RowCount(), 12);
    EXPECT_EQ(t.Cell(11, colPort), L"12");
}

TEST(ConfigGrammar, LineEndsAndTheEndOfTheFile) {
    const std::string lf = "Instance 1\nIP 10.0.0.1\nPort 80\n";
    const std::string crlf = "Instance 1\r\nIP 10.0.0.1\r\nPort 80\r\n";
    for (const std::string& bytes : {lf, crlf, TextModeContent(crlf)}) {
        MemoryTable t = Read(bytes);
        EXPECT_EQ(t.Cell(0, colIp), L"10.0.0.1");
        EXPECT_EQ(t.Cell(0, colPort), L"80");
    }
    // A keyword as the very last bytes, with or without a line end, gives an empty value.
    EXPECT_EQ(Read("Instance 1\nIP 1.1.1.1\nIP").Cell(0, colIp), L"");
    EXPECT_EQ(Read("Instance 1\nPort 5\nPort").Cell(0, colPort), L"0");
    EXPECT_EQ(Read("Instance 1\nIP 1.1.1.1\nIP\r\n").Cell(0, colIp), L"");
    EXPECT_EQ(Read("Instance").Cell(0, colQel), L"0");
    // A last line without line end is read like any other.
    EXPECT_EQ(Read("Instance 1\nPort 81").Cell(0, colPort), L"81");
}

TEST(ConfigGrammar, LongLinesAreReadIn255CharacterPieces) {
    // 250 blanks then "Port 123": the first piece ends right after "Port " and has no
    // digits; the second piece "123" holds no keyword.
    const std::string blanks(250, ' ');
    EXPECT_EQ(CellAfter(blanks + "Port 123", colPort), L"0");
    // A 300-character token: the first piece's run is too long, the rest holds no keyword.
    EXPECT_EQ(CellAfter("FsName " + std::string(300, 'x'), colFsName), L"");
    // A keyword at the start of a continuation piece is taken as a line of its own.
    const std::string first = "//" + std::string(253, 'c');  // exactly one full piece
    EXPECT_EQ(CellAfter(first + "Port 99", colPort), L"99");

    const std::vector<std::string> pieces = SplitIntoLinePieces(std::string(600, 'a') + "\nb");
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0].size(), 255u);
    EXPECT_EQ(pieces[2], std::string(90, 'a') + "\n");
    EXPECT_EQ(pieces[3], "b");
}

TEST(ConfigGrammar, LinePartAfterAnEmbeddedNulIsNotRead) {
    EXPECT_EQ(CellAfter(std::string("Port 12\0" "34", 10), colPort), L"12");
    EXPECT_EQ(CellAfter(std::string("\0Port 5", 7), colPort), L"");
}

TEST(ConfigDefaultFile, ExactContent) {
    std::string content;
    for (const std::string& block : DefaultConfigurationBlocks()) content += block;
    const std::string block1 =
        "//Instance name\r\nInstance 1\r\n//IP address of the webserver\r\nIP 127.0.0.1\r\n"
        "//Port on which webserver is listening\r\nPort 50000\r\n"
        "//Port on which NETCONF server is listening (SSH)\r\nNetconfPortSsh 830\r\n"
        "//Instance folder name containing webserver contents\r\nFsName FS_QEL_Instance0\r\n"
        "//Startup file\r\nStartupFileName eval-trx9420.xml\r\n"
        "//Image signature type to use with device: development, production\r\n"
        "//Use development for B0\r\n//Use production for B1\r\nImageType development\r\n\r\n\r\n";
    ASSERT_EQ(DefaultConfigurationBlocks().size(), 10u);
    EXPECT_EQ(DefaultConfigurationBlock(1), block1);
    std::string block10 = block1;
    for (auto [from, to] : {std::pair<std::string, std::string>{"Instance 1\r", "Instance 10\r"},
                            {"Port 50000", "Port 50009"},
                            {"Ssh 830", "Ssh 50839"},
                            {"Instance0", "Instance9"}})
        block10.replace(block10.find(from), from.size(), to);
    EXPECT_EQ(DefaultConfigurationBlock(10), block10);
    EXPECT_EQ(content.size(), 10 * block1.size() + 1 + 2 * 9);  // "10" and nine five-digit NETCONF ports
    EXPECT_EQ(content.substr(content.size() - 27), "ImageType development\r\n\r\n\r\n");
    for (char c : content) EXPECT_TRUE(c > 0 && c < 127);
}

TEST(ConfigDefaultFile, ReadsBackAsTenRows) {
    std::string content;
    for (const std::string& block : DefaultConfigurationBlocks()) content += block;
    MemoryTable t = Read(TextModeContent(content));
    ASSERT_EQ(t.RowCount(), 10);
    for (int r = 0; r < 10; ++r) {
        const std::vector<std::wstring> expected = {std::to_wstring(r + 1), L"No", L"", L"127.0.0.1",
                                                    std::to_wstring(50000 + r), std::to_wstring(r == 0 ? 830 : 50830 + r),
                                                    L"FS_QEL_Instance" + std::to_wstring(r), L"eval-trx9420.xml",
                                                    L"development"};
        for (int c = 0; c < instanceColumnCount; ++c) EXPECT_EQ(t.Cell(r, c), expected[c]) << r << "," << c;
    }
}

std::vector<std::wstring> DefaultLines() {
    std::string content;
    for (const std::string& block : DefaultConfigurationBlocks()) content += block;
    std::vector<std::wstring> lines;
    for (const std::string& piece : SplitIntoLinePieces(TextModeContent(content)))
        lines.push_back(std::wstring(piece.begin(), piece.end()));
    return lines;
}

TEST(ConfigStartupFileUpdate, FirstInstanceMatchWinsAndOnlyItsLineChanges) {
    std::vector<std::wstring> lines = DefaultLines();
    const std::vector<std::wstring> before = lines;
    ASSERT_TRUE(ReplaceStartupFileName(lines, 0, L"new.xml"));
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], i == 11 ? L"StartupFileName new.xml\r\n" : before[i]) << i;

    // Row 9 looks for "Instance 10" and changes block 10 only.
    lines = before;
    ASSERT_TRUE(ReplaceStartupFileName(lines, 9, L"ten.xml"));
    EXPECT_EQ(lines[9 * 18 + 11], L"StartupFileName ten.xml\r\n");
    EXPECT_EQ(lines[11], before[11]);

    // When "Instance 10" comes first in the file, the search for "Instance 1" takes it.
    lines = {L"Instance 10\n", L"StartupFileName a\n", L"Instance 1\n", L"StartupFileName b\n"};
    ASSERT_TRUE(ReplaceStartupFileName(lines, 0, L"c"));
    EXPECT_EQ(lines[1], L"StartupFileName c\r\n");
    EXPECT_EQ(lines[3], L"StartupFileName b\n");
}

TEST(ConfigStartupFileUpdate, StartupLineSearchIsUnboundedAndMatchesAnywhere) {
    std::vector<std::wstring> lines = {L"//Instance 1 note\n", L"Instance 1\n",  L"Port 1\n",
                                       L"Instance 2\n",       L"// old StartupFileName x\n"};
    ASSERT_TRUE(ReplaceStartupFileName(lines, 0, L"n.xml"));
    // The comment line already holds "Instance 1"; the next line containing the keyword is
    // the comment of block 2.
    EXPECT_EQ(lines[1], L"Instance 1\n");
    EXPECT_EQ(lines[4], L"StartupFileName n.xml\r\n");
}

TEST(ConfigStartupFileUpdate, NothingChangesWhenASearchFails) {
    // Two blocks both numbered 1: row 1 looks for "Instance 2".
    std::vector<std::wstring> lines = {L"Instance 1\n", L"StartupFileName a\n", L"Instance 1\n",
                                       L"StartupFileName b\n"};
    const std::vector<std::wstring> before = lines;
    EXPECT_FALSE(ReplaceStartupFileName(lines, 1, L"x"));
    EXPECT_EQ(lines, before);
    // The instance line is the last one with a startup line only before it.
    lines = {L"StartupFileName a\n", L"Instance 1\n"};
    EXPECT_FALSE(ReplaceStartupFileName(lines, 0, L"x"));
    EXPECT_EQ(lines[0], L"StartupFileName a\n");
}

TEST(ConfigStartupFileUpdate, WrittenContentIsAsciiWithLfExceptTheReplacedLine) {
    std::vector<std::wstring> lines = {L"Instance 1\n", L"// caf\u00e9 \u20ac\n", L"StartupFileName a\n"};
    ASSERT_TRUE(ReplaceStartupFileName(lines, 0, L"b\u00e9.xml"));
    EXPECT_EQ(JoinLinesAscii(lines), "Instance 1\n// caf? ?\nStartupFileName b?.xml\r\n");
    // What was written reads back.
    MemoryTable t = Read(JoinLinesAscii(lines));
    EXPECT_EQ(t.Cell(0, colStartupFileName), L"b?.xml");
}

TEST(ConfigFileSystemFolders, CutAtTheProgramNameOrAtTheFileName) {
    std::vector<std::wstring> asked;
    auto existing = [&](const std::wstring& path) {
        asked.push_back(path);
        return true;
    };
    FileSystemFolderLocation l = LocateFileSystemFolders(L"C:\\Tools\\brisvale\\brisvale.exe", existing);
    EXPECT_EQ(l.exeDrive, L"C:");
    EXPECT_EQ(l.fileSystemFoldersPath, L"Tools\\FileSystemFolders\\");
    EXPECT_EQ(asked.back(), L"C:\\Tools\\FileSystemFolders\\");

    l = LocateFileSystemFolders(L"C:\\Tools\\bin\\brisvale.exe", existing);
    EXPECT_EQ(asked.back(), L"C:\\Tools\\bin\\FileSystemFolders\\");
    EXPECT_EQ(l.fileSystemFoldersPath, L"Tools\\bin\\FileSystemFolders\\");

    // Case-sensitive: "Brisvale" does not cut.
    LocateFileSystemFolders(L"D:\\Brisvale\\brisvale.exe", existing);
    EXPECT_EQ(asked.back(), L"D:\\Brisvale\\FileSystemFolders\\");
}

TEST(ConfigFileSystemFolders, MissingFolderOrUnusualPaths) {
    auto missing = [](const std::wstring&) { return false; };
    FileSystemFolderLocation l = LocateFileSystemFolders(L"C:\\Tools\\brisvale\\brisvale.exe", missing);
    EXPECT_EQ(l.exeDrive, L"C:");
    EXPECT_EQ(l.fileSystemFoldersPath, L"");

    std::wstring asked;
    l = LocateFileSystemFolders(L"C:\\Tools\\other.exe", [&](const std::wstring& p) {
        asked = p;
        return true;
    });
    EXPECT_EQ(asked, L"FileSystemFolders\\");  // the whole path goes
    EXPECT_EQ(l.fileSystemFoldersPath, L"");

    l = LocateFileSystemFolders(L"brisvale.exe", [](const std::wstring&) { return true; });
    EXPECT_EQ(l.exeDrive, L"");
}

}  // namespace
