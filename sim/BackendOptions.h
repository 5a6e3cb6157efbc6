// What the stand-in backend was started with, and how it is to behave.
#pragma once

#include <string>

struct BackendOptions {
    std::wstring macOwn;
    std::wstring port;
    std::wstring netconfPortSsh;
    std::wstring fsys;       // "\Tools\FileSystemFolders\FS_QEL_Instance3"
    std::wstring fstartup;   // full path of the startup file
    std::wstring imageType;
    std::wstring pipeHandle; // decimal, as written on the command line
    std::wstring unknown;    // switches or words it does not know, blank-separated
};

// Blank-separated words; a word may be enclosed in double quotes (kept without them).
BackendOptions ParseBackendCommandLine(const std::wstring& commandLine);

enum class ReportMode {
    report,            // one record, then keep running
    silent,            // never write, keep running
    exit,              // end without writing
    negativeLength,    // a record whose length field is negative
    overlongLength,    // a record whose length field is larger than the record
    split,             // header and text in two writes with a pause between them
    crashAfterReport,  // one record, then end
};

// The file "dravik-behaviour.txt" in the instance folder: lines "key=value", '#' starts a
// comment line, unknown keys are ignored. Missing file: report status 0 after 300 ms.
struct Behaviour {
    int delayMs = 300;        // delay_ms=  before the report (or the exit)
    int status = 0;           // status=
    std::string text;         // text=      the record's text
    ReportMode mode = ReportMode::report;  // mode=
    int exitCode = 3;         // exit_code= for exit, crash-after-report and exit_after_ms
    int exitAfterMs = 0;      // exit_after_ms= after a good report, end by itself this much later (0: never)
    int splitMs = 200;        // split_ms=  pause between the two writes of split
    int lengthField = 0;      // length=    the length field of negative-length / overlong-length (0: -1 / 2000)
    bool http = true;         // http=on|off
    std::string errors;       // lines it could not understand
};

Behaviour ParseBehaviour(const std::string& content);
const char* ModeName(ReportMode mode);
