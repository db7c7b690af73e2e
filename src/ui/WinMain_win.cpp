// The program's entry: the main window with the logic behind it, and the message loop.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "core/BufferedLog.h"
#include "engine/Application.h"
#include "osd/OsdWindow_win.h"
#include "osd/Osd_win.h"
#include "platform/win32/Clock_win32.h"
#include "platform/win32/FileLog_win32.h"
#include "platform/win32/Input_win32.h"
#include "platform/win32/PowerSystem_win32.h"
#include "platform/win32/ProgramWindows_win32.h"
#include "platform/win32/Processes_win32.h"
#include "platform/win32/Registry_win32.h"
#include "platform/win32/Sockets_win32.h"
#include "platform/win32/SystemInfo_win32.h"
#include "platform/win32/ProfileFile_win32.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/ProcessControl_win32.h"
#include "ui/MainWindow_win.h"

namespace {

std::vector<std::string> Arguments() {
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
    return arguments;
}

// Tab and the arrow keys move between the window's controls, as in a dialog. The timers, 20
// messages a second while the program idles, go straight to the window.
int RunMessageLoop(HWND window) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) {
            DispatchMessageA(&message);
            continue;
        }
        if (IsWindow(window) && IsDialogMessageA(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace quorvel;

    INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&commonControls);

    Win32LogFiles logFiles;
    BufferedLog log(logFiles);

    // The window is created hidden: the program starts with its tray icon only.
    MainWindow window(instance, log);
    if (!window.Create()) {
        log.Write(LastErrorText("Creating the main window"));
        return 1;
    }

    Win32WindowSystem windows(kOsdClassName, log);
    Win32Input input(log);
    Win32Processes processes(log);
    Win32ProgramWindows programWindows(log);
    Win32ProfileFile profile(log);
    Win32Registry registry(log);
    Win32Libraries libraries(log);
    Win32SystemInfo systemInfo;
    Win32PowerSystem powerSystem;
    Win32Sockets sockets;
    Win32Clock clock;
    Win32Dialogs dialogs;
    Win32Sound sound;
    Win32ProcessControl process(log);
    Osd osd(instance, Settings().osdColor);

    Application application(ApplicationContext{
        windows, input, processes, programWindows, profile, registry, libraries, systemInfo, powerSystem, sockets, clock,
        window.PostedWork(), dialogs, log, sound, window.Tray(), osd, window.MainT(), window.OffTimer(),
        window.MacroTimer(), process, WideExecutablePath(),
        [&osd](std::uint32_t colour) { osd.SetColour(colour); }, [&window] { window.ShowRunningCopy(); },
        [&window] { window.OpenReceiverSettings(); }});
    window.Attach(&application);

    const bool started = application.Start(Arguments());
    const int exitCode = started ? RunMessageLoop(window.Handle()) : 0;
    window.Attach(nullptr);
    osd.Close();
    return exitCode;
}
