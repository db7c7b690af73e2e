#include "platform/win32/ProcessControl_win32.h"

#include "platform/win32/FileLog_win32.h"

namespace quorvel {

bool Win32ProcessControl::AcquireInstanceMutex(const std::string& name) {
    SetLastError(0);
    UniqueKernelHandle mutex(CreateMutexA(nullptr, TRUE, name.c_str()));
    if (GetLastError() == ERROR_ALREADY_EXISTS) return false;
    // Without the mutex the program still runs; only a second copy would not be kept out.
    if (!mutex) log_.Write(LastErrorText("CreateMutexA(" + name + ")"));
    instanceMutex_ = std::move(mutex);
    return true;
}

// Where Windows grants less than real time, the program runs on with what it got.
void Win32ProcessControl::RaisePriority() {
    SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE);
}

void Win32ProcessControl::EndNow() { ExitProcess(0); }

}  // namespace quorvel
