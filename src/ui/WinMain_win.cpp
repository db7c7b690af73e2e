// The program's entry: the main window with the logic behind it, and the message loop.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "engine/Application.h"
#include "osd/Osd_win.h"
#include "platform/win32/Clock_win32.h"
#include "platform/win32/Input_win32.h"
#include "platform/win32/PowerSystem_win32.h"
#include "platform/win32/Processes_win32.h"
#include "platform/win32/Registry_win32.h"
#include "platform/win32/Sockets_win32.h"
#include "platform/win32/SystemInfo_win32.h"
#include "platform/win32/Win32Platform.h"
#include "settings/ProgramSettings.h"
#include "ui/MainWindow_win.h"
#include "ui/ProcessControl_win.h"

namespace {

std::vector<std::string> Arguments() {
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
    return arguments;
}

// Tab and the arrow keys move between the window's controls, as in a dialog.
int RunMessageLoop(HWND window) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
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

    // The window is created hidden: the program starts with its tray icon only.
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
    Win32ProcessControl process;
    Osd osd(instance, ProgramSettings().osdColor);

    Application application(ApplicationContext{
        window, windows, input, processes, profile, registry, libraries, systemInfo, powerSystem, sockets, clock,
        window.PostedWork(), dialogs, sound, window.Tray(), window.Menu(), osd, window.MainT(), window.OffTimer(), process,
        ExecutablePath(), [&osd](std::uint32_t colour) { osd.SetColour(colour); }});
    window.SetEvents(&application);

    const bool started = application.FormCreate(Arguments());
    const int exitCode = started ? RunMessageLoop(window.Handle()) : 0;
    window.SetEvents(nullptr);
    osd.Close();
    return exitCode;
}
