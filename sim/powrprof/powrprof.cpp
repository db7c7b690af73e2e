// Substitute for Windows' power library: it records every call with its arguments in
// QuorvelPower.log beside itself and never suspends the machine. Each export answers TRUE
// unless QuorvelPower.ini beside it says otherwise ([Answers], e.g. IsPwrSuspendAllowed=0);
// the file is read on every call, so a test can change an answer while the program runs.

#include <windows.h>

#include <string>

#include "common/LibraryFolder.h"

namespace {

using quorvel::sim::LibraryFolder;

// Opened per line, so that the log is complete whenever a test reads it.
void AppendToLog(const std::string& line) {
    const HANDLE file = CreateFileA((LibraryFolder() + "QuorvelPower.log").c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

BOOLEAN Answer(const char* exportName) {
    const std::string settings = LibraryFolder() + "QuorvelPower.ini";
    return GetPrivateProfileIntA("Answers", exportName, 1, settings.c_str()) != 0 ? TRUE : FALSE;
}

BOOLEAN RecordCall(const char* exportName, const std::string& arguments = "") {
    AppendToLog(std::string(exportName) + "(" + arguments + ")");
    return Answer(exportName);
}

// A BOOLEAN argument as the callee sees it: the low byte of its slot, so TRUE passed as all
// ones shows as 255.
std::string Argument(BOOLEAN value) {
    return std::to_string(static_cast<unsigned>(value));
}

}  // namespace

// The real exports' signatures and calling convention; the 32-bit build exports them without
// the stdcall decoration (see CMakeLists.txt), as Windows does.
extern "C" __declspec(dllexport) BOOLEAN WINAPI SetSuspendState(BOOLEAN hibernate, BOOLEAN forceCritical,
                                                                BOOLEAN disableWakeEvent) {
    return RecordCall("SetSuspendState",
                      Argument(hibernate) + "," + Argument(forceCritical) + "," + Argument(disableWakeEvent));
}

extern "C" __declspec(dllexport) BOOLEAN WINAPI IsPwrSuspendAllowed() {
    return RecordCall("IsPwrSuspendAllowed");
}

extern "C" __declspec(dllexport) BOOLEAN WINAPI IsPwrHibernateAllowed() {
    return RecordCall("IsPwrHibernateAllowed");
}

extern "C" __declspec(dllexport) BOOLEAN WINAPI IsPwrShutdownAllowed() {
    return RecordCall("IsPwrShutdownAllowed");
}
