// The instance configuration file "qel-configuration.txt": its keyword table, the reader
// that turns it into the instance table, the default content written when it is missing,
// the in-place update of one instance's startup file name, and the lookup of the
// "FileSystemFolders" folder. Platform-free: the Windows layer opens, reads and writes the
// files and hands lines and bytes to these functions.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/ListTable.h"

// One row of the keyword table.
struct fieldID_t {
    char name[64];   // the keyword, NUL-terminated
    int nameLength;  // the keyword's length including its terminating NUL
    int fieldId;
};

constexpr int configurationFieldCount = 7;
// The keywords in the order they are tried on a line.
extern const fieldID_t EVAL_fieldID_g[configurationFieldCount];

// The fields, numbered from 0 in the order of EVAL_fieldID_g.
enum ConfigurationField {
    fieldInstance, fieldIp, fieldPort, fieldFsName, fieldNetconfPortSsh, fieldStartupFileName, fieldImageType
};

constexpr const wchar_t* configurationFileName = L"qel-configuration.txt";
// One read of a line: at most this many characters (a 256-byte buffer with its NUL).
constexpr int configurationLineBufferSize = 256;

// --- value scanning ---

// The C library's "%i" conversion: leading white space, optional sign, then decimal digits,
// "0x"/"0X" and hexadecimal digits, or a leading '0' and octal digits; scanning stops at the
// first character that does not fit. Returns the value as plain decimal text, "0" when no
// digit could be read. A value beyond the signed 32-bit range saturates at -2147483648 or
// 2147483647 (a port of 99999999999 shows as 2147483647, never as a wrapped number).
std::string ScanIntegerText(const char* text);

// The "%100s" conversion into a 100-byte buffer: after leading white space, the first run
// of non-white-space characters. A run of 100 or more characters does not fit and yields
// the empty text; so does a value with no token at all.
std::string ScanToken(const char* text);

// The C library's white-space test in the "C" locale: space, tab, LF, VT, FF, CR.
inline bool IsConfigSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// --- reading ---

// Stores one field value in row configRowIndex of the instance table; field 0 first starts
// a new row (column 0 the instance number, column 1 "No"). Nothing is stored while
// configRowIndex is -1 (no "Instance" line yet); unknown field ids do nothing.
void StoreConfigurationField(ListTable& table, int& configRowIndex, int fieldId, const char* value);

// Handles one piece read from the file (at most 255 characters, as a line read into a
// 256-byte buffer delivers it; text-mode line ends). Every keyword match is handed to
// getField with the field id and the value text.
void ProcessConfigurationLine(const char* piece, const std::function<void(int fieldId, const char* value)>& getField);

// File bytes as a text-mode read delivers them: each CR LF pair becomes LF; a lone CR stays.
// (A Ctrl-Z byte is kept as it is: it does not end the file, so an update cannot drop what
// follows it.)
std::string TextModeContent(std::string_view bytes);

// Splits text-mode content into the pieces that successive line reads into a 256-byte
// buffer return: each up to and including its LF, at most 255 characters. Bytes are kept
// as they are; an embedded NUL ends the piece's text for the reader, as for a C string.
std::vector<std::string> SplitIntoLinePieces(std::string_view content);

// Reads whole text-mode file content into the table: deletes all rows, sets configRowIndex
// to -1 and processes every line piece.
void ReadConfigurationContent(std::string_view content, ListTable& table, int& configRowIndex);

// --- default content ---

// Block k (1 to 10) of the default file: 18 lines, each ending with CR LF.
std::string DefaultConfigurationBlock(int k);
// The ten blocks in order, as the default file holds them.
std::vector<std::string> DefaultConfigurationBlocks();

// --- startup file name update ---

// Replaces the startup file line of the instance at table row selectedRow in lines read
// from the file (each with its line end as read). The target is "Instance " and
// selectedRow + 1, found anywhere in a line, first match in file order; from the next line
// on, the first line containing "StartupFileName" anywhere becomes
// "StartupFileName <name>\r\n". Returns false, leaving lines untouched, when either search
// finds nothing.
bool ReplaceStartupFileName(std::vector<std::wstring>& lines, int selectedRow, const std::wstring& startupFileName);

// The file's new content: all lines in order, ASCII, characters outside it as '?'.
std::string JoinLinesAscii(const std::vector<std::wstring>& lines);

// --- file-system folders ---

struct FileSystemFolderLocation {
    std::wstring exeDrive;               // text before the path's first backslash
    std::wstring fileSystemFoldersPath;  // relative to the drive's root, ends with '\'; empty if absent
};

// From the program's full path: the drive, then the path cut at the first "brisvale"
// (case-sensitive; the whole path when it does not occur) plus "FileSystemFolders\". If that
// is a directory, its path without everything up to and including the first backslash;
// otherwise empty.
FileSystemFolderLocation LocateFileSystemFolders(const std::wstring& exePath,
                                                 const std::function<bool(const std::wstring&)>& isDirectory);
