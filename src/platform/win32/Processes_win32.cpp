#include "platform/win32/Processes_win32.h"

#include <windows.h>

#include <vector>

#include "platform/win32/FileLog_win32.h"

namespace quorvel {

bool Win32Processes::StartProcess(const ProcessLaunch& launch) {
    // CreateProcess may write into the command line, so it gets a copy of its own.
    std::vector<char> commandLine(launch.commandLine.begin(), launch.commandLine.end());
    commandLine.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = launch.startupFlags;
    startup.wShowWindow = launch.showWindow;

    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                                          launch.creationFlags, nullptr,
                                          launch.workingDirectory ? launch.workingDirectory->c_str() : nullptr,
                                          &startup, &process);
    if (!started) {
        log_.Write(LastErrorText("CreateProcessA(" + launch.commandLine + ")"));
        return false;
    }
    // The program neither waits for nor watches what it started.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace quorvel
