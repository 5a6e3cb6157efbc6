#include "config/ConfigFile.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "common/AnsiText.h"

const fieldID_t EVAL_fieldID_g[configurationFieldCount] = {
    {"Instance", 9, fieldInstance},
    {"IP", 3, fieldIp},
    {"Port", 5, fieldPort},
    {"FsName", 7, fieldFsName},
    {"NetconfPortSsh", 15, fieldNetconfPortSsh},
    {"StartupFileName", 16, fieldStartupFileName},
    {"ImageType", 10, fieldImageType},
};

namespace {

// "%100s" reads into a 100-byte buffer: 99 characters and the NUL.
constexpr size_t tokenBufferSize = 100;

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

const char* SkipSpace(const char* p) {
    while (*p && IsConfigSpace(*p)) ++p;
    return p;
}

}  // namespace

std::string ScanIntegerText(const char* text) {
    const char* p = SkipSpace(text);
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    int base = 10;
    if (*p == '0') {
        if ((p[1] == 'x' || p[1] == 'X') && DigitValue(p[2]) < 16) {
            base = 16;
            p += 2;
        } else {
            base = 8;  // the leading '0' is itself an octal digit
        }
    }
    if (DigitValue(*p) >= base) return "0";

    // Saturate instead of wrapping: the magnitude is capped just past the 32-bit range.
    const unsigned long long cap = negative ? 2147483648ULL : 2147483647ULL;
    unsigned long long magnitude = 0;
    for (; DigitValue(*p) < base; ++p) {
        magnitude = magnitude * base + static_cast<unsigned long long>(DigitValue(*p));
        if (magnitude > cap) magnitude = cap + 1;  // stays small enough never to overflow
    }
    magnitude = std::min(magnitude, cap);
    const long long value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return std::to_string(value);
}

std::string ScanToken(const char* text) {
    const char* start = SkipSpace(text);
    const char* end = start;
    while (*end && !IsConfigSpace(*end)) ++end;
    const size_t length = static_cast<size_t>(end - start);
    if (length >= tokenBufferSize) return {};
    return std::string(start, length);
}

void StoreConfigurationField(ListTable& table, int& configRowIndex, int fieldId, const char* value) {
    if (fieldId == fieldInstance) {
        ++configRowIndex;
        table.InsertRow(configRowIndex, WidenAnsi(ScanIntegerText(value)));
        table.SetCell(configRowIndex, colActive, L"No");
        return;
    }
    if (configRowIndex < 0) return;
    // Where each field goes, and whether its value is a number (the digits of the integer
    // at its start) or a token (up to the first blank).
    struct FieldCell {
        int field;
        int column;
        bool integer;
    };
    static const FieldCell cells[] = {
        {fieldPort, colPort, true},          {fieldNetconfPortSsh, colNetconfSshPort, true},
        {fieldIp, colIp, false},             {fieldFsName, colFsName, false},
        {fieldStartupFileName, colStartupFileName, false}, {fieldImageType, colImageSignatureType, false},
    };
    for (const FieldCell& cell : cells) {
        if (cell.field != fieldId) continue;
        table.SetCell(configRowIndex, cell.column, WidenAnsi(cell.integer ? ScanIntegerText(value) : ScanToken(value)));
        return;
    }
}

void ProcessConfigurationLine(const char* piece, const std::function<void(int, const char*)>& getField) {
    std::string line(piece);  // up to the first NUL, as the C string functions see it
    size_t pos = 0;
    while (pos < line.size() && IsConfigSpace(line[pos])) ++pos;
    if (pos == line.size() || line[pos] == '/') return;  // blank line or comment

    // Remove the line end, twice so that a CR LF pair goes too. The character at pos is
    // not white space, so this never reaches it.
    for (int i = 0; i < 2; ++i)
        if (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();

    for (const fieldID_t& field : EVAL_fieldID_g) {
        const size_t keywordLength = static_cast<size_t>(field.nameLength - 1);
        if (line.size() - pos < keywordLength || line.compare(pos, keywordLength, field.name) != 0) continue;
        // The value starts one character past the keyword; a keyword at the very end of
        // the line has no such character and gives an empty value.
        pos = std::min(pos + static_cast<size_t>(field.nameLength), line.size());
        while (pos < line.size() && IsConfigSpace(line[pos])) ++pos;
        // Later rows are compared at the value's start.
        getField(field.fieldId, line.c_str() + pos);
    }
}

std::string TextModeContent(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        out.push_back(bytes[i]);
    }
    return out;
}

std::vector<std::string> SplitIntoLinePieces(std::string_view content) {
    constexpr size_t maxPiece = configurationLineBufferSize - 1;
    std::vector<std::string> pieces;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = start;
        while (end < content.size() && end - start < maxPiece) {
            if (content[end++] == '\n') break;
        }
        pieces.emplace_back(content.substr(start, end - start));
        start = end;
    }
    return pieces;
}

void ReadConfigurationContent(std::string_view content, ListTable& table, int& configRowIndex) {
    table.DeleteAllRows();
    configRowIndex = -1;
    auto getField = [&](int fieldId, const char* value) { StoreConfigurationField(table, configRowIndex, fieldId, value); };
    for (const std::string& piece : SplitIntoLinePieces(content)) ProcessConfigurationLine(piece.c_str(), getField);
}

std::string DefaultConfigurationBlock(int k) {
    const std::string crlf = "\r\n";
    std::string block;
    block += "//Instance name" + crlf;
    block += "Instance " + std::to_string(k) + crlf;
    block += "//IP address of the webserver" + crlf;
    block += "IP 127.0.0.1" + crlf;
    block += "//Port on which webserver is listening" + crlf;
    block += "Port " + std::to_string(50000 + (k - 1)) + crlf;
    block += "//Port on which NETCONF server is listening (SSH)" + crlf;
    block += "NetconfPortSsh " + std::to_string(k == 1 ? 830 : 50830 + (k - 1)) + crlf;
    block += "//Instance folder name containing webserver contents" + crlf;
    block += "FsName FS_QEL_Instance" + std::to_string(k - 1) + crlf;
    block += "//Startup file" + crlf;
    block += "StartupFileName eval-trx9420.xml" + crlf;
    block += "//Image signature type to use with device: development, production" + crlf;
    block += "//Use development for B0" + crlf;
    block += "//Use production for B1" + crlf;
    block += "ImageType development" + crlf;
    block += crlf;
    block += crlf;
    return block;
}

std::vector<std::string> DefaultConfigurationBlocks() {
    std::vector<std::string> blocks;
    for (int k = 1; k <= maxInstances; ++k) blocks.push_back(DefaultConfigurationBlock(k));
    return blocks;
}

bool ReplaceStartupFileName(std::vector<std::wstring>& lines, int selectedRow, const std::wstring& startupFileName) {
    const std::wstring target = L"Instance " + std::to_wstring(static_cast<long long>(selectedRow) + 1);
    const auto contains = [](const std::wstring& line, const std::wstring& text) {
        return line.find(text) != std::wstring::npos;
    };
    const auto instanceLine =
        std::find_if(lines.begin(), lines.end(), [&](const std::wstring& line) { return contains(line, target); });
    if (instanceLine == lines.end()) return false;
    // Not bounded by the next "Instance" line: a block without its own startup file line
    // takes the next block's.
    const auto startupLine = std::find_if(instanceLine + 1, lines.end(),
                                          [&](const std::wstring& line) { return contains(line, L"StartupFileName"); });
    if (startupLine == lines.end()) return false;
    *startupLine = L"StartupFileName " + startupFileName + L"\r\n";
    return true;
}

std::string JoinLinesAscii(const std::vector<std::wstring>& lines) {
    std::string out;
    for (const std::wstring& line : lines) out += NarrowAscii(line);
    return out;
}

FileSystemFolderLocation LocateFileSystemFolders(const std::wstring& exePath,
                                                 const std::function<bool(const std::wstring&)>& isDirectory) {
    FileSystemFolderLocation location;
    const size_t firstBackslash = exePath.find(L'\\');
    if (firstBackslash != std::wstring::npos) location.exeDrive = exePath.substr(0, firstBackslash);

    const size_t cut = exePath.find(L"brisvale");
    std::wstring folder = cut == std::wstring::npos ? std::wstring() : exePath.substr(0, cut);
    folder += L"FileSystemFolders\\";
    if (isDirectory(folder)) {
        const size_t backslash = folder.find(L'\\');
        location.fileSystemFoldersPath = folder.substr(backslash + 1);
    }
    return location;
}
