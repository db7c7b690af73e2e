// The program's entry: one instance, the main window with the logic behind it, the message loop.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "engine/Application.h"
#include "osd/Osd_win.h"
#include "platform/UniqueHandle.h"
#include "platform/win32/Clock_win32.h"
#include "platform/win32/Input_win32.h"
#include "platform/win32/PowerSystem_win32.h"
#include "platform/win32/Processes_win32.h"
#include "platform/win32/Registry_win32.h"
#include "platform/win32/Sockets_win32.h"
#include "platform/win32/SystemInfo_win32.h"
#include "platform/win32/Win32Platform.h"
#include "ui/MainWindow_win.h"
#include "ui/TrayIcon_win.h"

namespace {

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

std::vector<std::string> Arguments() {
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
    return arguments;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace quorvel;

    // A second copy ends at once and without a word.
    SetLastError(0);
    UniqueHandle<KernelHandleTraits> instanceMutex(CreateMutexA(nullptr, TRUE, "QuorvelMutex"));
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&commonControls);

    MainWindow window(instance);
    if (!window.Create()) return 1;

    Win32WindowSystem windows;
    Win32Input input;
    Win32Processes processes;
    Win32ProfileFile profile;
    Win32Registry registry;
    Win32Libraries libraries;
    Win32SystemInfo systemInfo;
    Win32PowerSystem powerSystem;
    Win32Sockets sockets;
    Win32Clock clock;
    Win32Dialogs dialogs;
    Win32Sound sound;
    Win32TrayIcon tray(window.Handle(), instance);
    Osd osd(instance, ProgramSettings().osdColor);

    Application application(ApplicationContext{
        window, windows, input, processes, profile, registry, libraries, systemInfo, powerSystem, sockets, clock,
        window, dialogs, sound, tray, osd, window.MainT(), window.OffTimer(), ExecutablePath(),
        [] {
            SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
            SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE);
        },
        [&instanceMutex] { instanceMutex.Reset(); }});
    window.SetEvents(&application);

    if (!application.FormCreate(Arguments())) return 0;
    osd.SetColour(application.Settings().osdColor);
    const int exitCode = RunMessageLoop();
    window.SetEvents(nullptr);
    osd.Close();
    return exitCode;
}
