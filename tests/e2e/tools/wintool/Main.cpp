// wintool: observes and presses other programs' windows for the end-to-end tests.
// Prints tab-separated lines; exits 0 on success, 1 when a window or control is not found
// (or does not answer), 2 on a usage error.

#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ControlNames.h"
#include "Layout.h"
#include "RemoteWindows.h"
#include "TextEscape.h"

namespace quorvel::wintool {

namespace {

constexpr int kSuccess = 0;
// Not 1: Wine ends a program that it failed to run with 1, and the tests must tell the two apart.
constexpr int kNotFound = 3;
constexpr int kUsage = 2;
constexpr DWORD kWaitStepMs = 100;
constexpr int kClickAttempts = 5;
constexpr DWORD kClickSettleMs = 3000;

using Arguments = std::vector<std::string>;

struct Command {
    std::size_t minArguments;
    std::size_t maxArguments;
    const char* usage;
    std::function<int(const Arguments&)> run;
};

std::string FormatHandle(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

HWND ParseHandle(const std::string& text) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(text.c_str(), nullptr, 0)));
}

std::string Join(const std::vector<std::string>& texts, const char* separator) {
    std::string joined;
    for (const std::string& text : texts) {
        joined += (joined.empty() ? "" : separator) + text;
    }
    return joined;
}

void PrintLine(const std::vector<std::string>& fields) {
    std::printf("%s\n", Join(fields, "\t").c_str());
}

// Visible message boxes: handle, title and text.
std::vector<std::vector<std::string>> VisibleDialogs() {
    std::vector<std::vector<std::string>> dialogs;
    for (const TopLevelWindow& entry : TopLevelWindows()) {
        if (entry.visible && entry.className == "#32770") {
            dialogs.push_back({FormatHandle(entry.window), Escape(entry.title),
                               Escape(Join(StaticTexts(entry.window), "\n"))});
        }
    }
    return dialogs;
}

HWND FindWindowOrSay(const std::string& className, const std::string& title) {
    HWND window = FindTopLevel(className, title);
    if (window == nullptr) {
        std::fprintf(stderr, "no window of class %s titled %s\n", className.c_str(), title.c_str());
    }
    return window;
}

// The main window's control by name; prints why when there is none.
HWND FindControl(const std::string& className, const std::string& title, const std::string& name) {
    const std::optional<int> id = ControlId(name);
    if (!id) {
        std::fprintf(stderr, "unknown control name %s\n", name.c_str());
        return nullptr;
    }
    HWND window = FindWindowOrSay(className, title);
    if (window == nullptr) {
        return nullptr;
    }
    HWND control = FindDescendant(window, *id);
    if (control == nullptr) {
        std::fprintf(stderr, "control %s (%d) not found\n", name.c_str(), *id);
    }
    return control;
}

bool WaitUntil(DWORD timeoutMs, const std::function<bool()>& condition) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(kWaitStepMs);
    }
    return true;
}

int List(const Arguments&) {
    for (const TopLevelWindow& entry : TopLevelWindows()) {
        PrintLine({FormatHandle(entry.window), std::to_string(entry.processId), Escape(entry.className),
                   entry.visible ? "1" : "0", Escape(entry.title)});
    }
    return kSuccess;
}

int Dialogs(const Arguments&) {
    for (const auto& dialog : VisibleDialogs()) {
        PrintLine(dialog);
    }
    return kSuccess;
}

// Succeeds once the box is gone. A click that a busy program took too long to take is
// made again while the box stays.
int ClickOk(const Arguments& arguments) {
    HWND dialog = ParseHandle(arguments[0]);
    HWND button = IsWindow(dialog) ? FindOkButton(dialog) : nullptr;
    if (button == nullptr) {
        std::fprintf(stderr, "no OK button in %s\n", arguments[0].c_str());
        return kNotFound;
    }
    for (int attempt = 0; attempt < kClickAttempts; ++attempt) {
        Click(button);
        if (WaitUntil(kClickSettleMs, [dialog] { return !IsWindow(dialog); })) {
            return kSuccess;
        }
    }
    std::fprintf(stderr, "%s stayed open after %d clicks on OK\n", arguments[0].c_str(), kClickAttempts);
    return kNotFound;
}

int Texts(const Arguments& arguments) {
    int result = kSuccess;
    for (std::size_t index = 2; index < arguments.size(); ++index) {
        HWND control = FindControl(arguments[0], arguments[1], arguments[index]);
        const std::optional<std::string> text = control != nullptr ? ReadText(control) : std::nullopt;
        if (!text) {
            result = kNotFound;
            continue;
        }
        PrintLine({arguments[index], Escape(*text)});
    }
    return result;
}

int State(const Arguments& arguments) {
    int result = kSuccess;
    for (std::size_t index = 2; index < arguments.size(); ++index) {
        HWND control = FindControl(arguments[0], arguments[1], arguments[index]);
        if (control == nullptr) {
            result = kNotFound;
            continue;
        }
        std::string checked = "-";
        if (_stricmp(ClassOf(control).c_str(), "Button") == 0) {
            checked = std::to_string(SendMessageA(control, BM_GETCHECK, 0, 0));
        }
        PrintLine({arguments[index], std::string("enabled=") + (IsWindowEnabled(control) ? "1" : "0"),
                   std::string("visible=") + (IsWindowVisible(control) ? "1" : "0"), "checked=" + checked});
    }
    return result;
}

int Items(const Arguments& arguments) {
    HWND control = FindControl(arguments[0], arguments[1], arguments[2]);
    const std::optional<ComboContents> contents = control != nullptr ? ReadCombo(control) : std::nullopt;
    if (!contents) {
        return kNotFound;
    }
    PrintLine({"selected", std::to_string(contents->selected)});
    for (std::size_t index = 0; index < contents->items.size(); ++index) {
        PrintLine({std::to_string(index), Escape(contents->items[index])});
    }
    return kSuccess;
}

int StatusParts(const Arguments& arguments) {
    HWND control = FindControl(arguments[0], arguments[1], arguments[2]);
    const auto parts = control != nullptr ? ReadStatusParts(control) : std::nullopt;
    if (!parts) {
        return kNotFound;
    }
    for (std::size_t index = 0; index < parts->size(); ++index) {
        PrintLine({std::to_string(index), Escape((*parts)[index])});
    }
    return kSuccess;
}

int ClickControl(const Arguments& arguments) {
    HWND control = FindControl(arguments[0], arguments[1], arguments[2]);
    return control != nullptr && Click(control) ? kSuccess : kNotFound;
}

int Select(const Arguments& arguments) {
    HWND control = FindControl(arguments[0], arguments[1], arguments[2]);
    return control != nullptr && SelectComboItem(control, std::atoi(arguments[3].c_str())) ? kSuccess : kNotFound;
}

int WaitWindow(const Arguments& arguments) {
    HWND found = nullptr;
    const bool appeared = WaitUntil(std::strtoul(arguments[2].c_str(), nullptr, 10), [&] {
        found = FindTopLevel(arguments[0], arguments[1]);
        return found != nullptr;
    });
    if (!appeared) {
        return kNotFound;
    }
    PrintLine({FormatHandle(found)});
    return kSuccess;
}

// Waits for a visible message box whose title or text contains the given text.
int WaitDialog(const Arguments& arguments) {
    const std::string wanted = Escape(arguments[0]);
    std::vector<std::string> match;
    const bool appeared = WaitUntil(std::strtoul(arguments[1].c_str(), nullptr, 10), [&] {
        for (const auto& dialog : VisibleDialogs()) {
            if (dialog[1].find(wanted) != std::string::npos || dialog[2].find(wanted) != std::string::npos) {
                match = dialog;
                return true;
            }
        }
        return false;
    });
    if (!appeared) {
        return kNotFound;
    }
    PrintLine(match);
    return kSuccess;
}

// Every descendant of a window: handle, control id, class, visibility and text.
int LayoutOf(const Arguments& arguments) {
    HWND window = FindWindowOrSay(arguments[0], arguments[1]);
    if (window == nullptr) {
        return kNotFound;
    }
    for (const auto& line : LayoutLines(window)) {
        PrintLine(line);
    }
    return kSuccess;
}

int ListWidths(const Arguments& arguments) {
    HWND window = FindWindowOrSay(arguments[0], arguments[1]);
    if (window == nullptr) {
        return kNotFound;
    }
    for (const auto& line : ListWidthLines(window)) {
        PrintLine(line);
    }
    return kSuccess;
}

int Children(const Arguments& arguments) {
    HWND window = FindWindowOrSay(arguments[0], arguments[1]);
    if (window == nullptr) {
        return kNotFound;
    }
    for (HWND child : Descendants(window)) {
        const bool button = _stricmp(ClassOf(child).c_str(), "Button") == 0;
        PrintLine({FormatHandle(child), std::to_string(GetDlgCtrlID(child)), Escape(ClassOf(child)),
                   IsWindowVisible(child) ? "1" : "0", Escape(ReadText(child).value_or("")),
                   button ? std::to_string(SendMessageA(child, BM_GETCHECK, 0, 0)) : "-"});
    }
    return kSuccess;
}

// Presses the button with the given caption, for windows that are not Quorvel's own.
int ClickButton(const Arguments& arguments) {
    HWND window = FindWindowOrSay(arguments[0], arguments[1]);
    if (window == nullptr) {
        return kNotFound;
    }
    for (HWND child : Descendants(window)) {
        if (_stricmp(ClassOf(child).c_str(), "Button") == 0 && ReadText(child).value_or("") == arguments[2]) {
            return Click(child) ? kSuccess : kNotFound;
        }
    }
    std::fprintf(stderr, "no button %s\n", arguments[2].c_str());
    return kNotFound;
}

int Close(const Arguments& arguments) {
    HWND window = ParseHandle(arguments[0]);
    return IsWindow(window) && PostMessageA(window, WM_CLOSE, 0, 0) ? kSuccess : kNotFound;
}

// A message posted as the system would post it, e.g. a click on a tray icon reported through
// the icon's callback message.
int Post(const Arguments& arguments) {
    HWND window = ParseHandle(arguments[0]);
    const auto number = [](const std::string& text) { return std::stoull(text, nullptr, 0); };
    return IsWindow(window) && PostMessageA(window, static_cast<UINT>(number(arguments[1])),
                                            static_cast<WPARAM>(number(arguments[2])),
                                            static_cast<LPARAM>(number(arguments[3])))
               ? kSuccess
               : kNotFound;
}

std::string FormatRect(const RECT& rect) {
    return std::to_string(rect.left) + "\t" + std::to_string(rect.top) + "\t" + std::to_string(rect.right) + "\t" +
           std::to_string(rect.bottom);
}

// A window's rectangle on the screen: left, top, right, bottom.
int Rect(const Arguments& arguments) {
    HWND window = ParseHandle(arguments[0]);
    RECT rect;
    if (!IsWindow(window) || !GetWindowRect(window, &rect)) {
        return kNotFound;
    }
    std::printf("%s\n", FormatRect(rect).c_str());
    return kSuccess;
}

int ControlRect(const Arguments& arguments) {
    HWND control = FindControl(arguments[0], arguments[1], arguments[2]);
    RECT rect;
    if (control == nullptr || !GetWindowRect(control, &rect)) {
        return kNotFound;
    }
    std::printf("%s\n", FormatRect(rect).c_str());
    return kSuccess;
}

// The screen rectangle of each tab of a tab control, for clicking them as a user would.
int TabRects(const Arguments& arguments) {
    HWND control = FindControl(arguments[0], arguments[1], arguments[2]);
    const auto rects = control != nullptr ? ReadTabRects(control) : std::nullopt;
    if (!rects) {
        return kNotFound;
    }
    for (const RECT& rect : *rects) {
        std::printf("%s\n", FormatRect(rect).c_str());
    }
    return kSuccess;
}

// WM_SETTEXT, which Windows carries across processes, e.g. into a file dialog's name field.
int SetText(const Arguments& arguments) {
    HWND window = ParseHandle(arguments[0]);
    DWORD_PTR ignored = 0;
    return IsWindow(window) && SendMessageTimeoutA(window, WM_SETTEXT, 0,
                                                   reinterpret_cast<LPARAM>(arguments[1].c_str()), SMTO_ABORTIFHUNG,
                                                   2000, &ignored) != 0
               ? kSuccess
               : kNotFound;
}

// The text of every visible tooltip, such as a tray icon's balloon.
int Tooltips(const Arguments&) {
    for (const TopLevelWindow& entry : TopLevelWindows()) {
        if (!entry.visible || entry.className != TOOLTIPS_CLASSA) {
            continue;
        }
        if (const std::optional<std::string> text = ReadToolText(entry.window)) {
            PrintLine({FormatHandle(entry.window), Escape(*text)});
        }
    }
    return kSuccess;
}

// The hint each named control shows: the tool of one of the window's tooltips that is that
// control. A control without one is reported as not found.
int Hints(const Arguments& arguments) {
    HWND window = FindWindowOrSay(arguments[0], arguments[1]);
    if (window == nullptr) {
        return kNotFound;
    }
    std::vector<Tool> tools;
    for (const TopLevelWindow& entry : TopLevelWindows()) {
        if (entry.className != TOOLTIPS_CLASSA || GetWindow(entry.window, GW_OWNER) != window) {
            continue;
        }
        for (int index = 0; const std::optional<Tool> tool = ReadTool(entry.window, index); ++index) {
            tools.push_back(*tool);
        }
    }
    int result = kSuccess;
    for (std::size_t index = 2; index < arguments.size(); ++index) {
        HWND control = FindControl(arguments[0], arguments[1], arguments[index]);
        const auto tool = std::find_if(tools.begin(), tools.end(), [control](const Tool& candidate) {
            return control != nullptr && candidate.id == reinterpret_cast<UINT_PTR>(control);
        });
        if (tool == tools.end()) {
            result = kNotFound;
            continue;
        }
        PrintLine({arguments[index], Escape(tool->text)});
    }
    return result;
}

// Keeps a file open with no sharing, as a program that locked it, until the tool is ended.
// "held" is printed once the file is open.
int HoldFile(const Arguments& arguments) {
    const HANDLE file = CreateFileA(arguments[0].c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return kNotFound;
    }
    PrintLine({"held"});
    std::fflush(stdout);
    Sleep(INFINITE);
    return kSuccess;
}

// The priority of each thread of a process, one line per thread.
int ThreadPriorities(const Arguments& arguments) {
    const DWORD processId = std::strtoul(arguments[0].c_str(), nullptr, 0);
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return kNotFound;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        const HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        if (thread == nullptr) continue;
        PrintLine({std::to_string(entry.th32ThreadID), std::to_string(GetThreadPriority(thread))});
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return kSuccess;
}

// Creates a volatile key under HKEY_CURRENT_USER. The registry refuses lasting keys below a
// volatile one, so a program whose key would be created there cannot store anything.
int VolatileKey(const Arguments& arguments) {
    HKEY key = nullptr;
    const LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, arguments[0].c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                        KEY_WRITE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) return kNotFound;
    RegCloseKey(key);
    return kSuccess;
}

// What the system counts for a process: its open handles and its GDI and USER objects. A count
// the system cannot give is printed as "-" (Wine may also give 0 for what it does not track).
int Counts(const Arguments& arguments) {
    const DWORD processId = std::strtoul(arguments[0].c_str(), nullptr, 0);
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (process == nullptr) {
        std::fprintf(stderr, "cannot open process %lu (error %lu)\n", processId, GetLastError());
        return kNotFound;
    }
    DWORD handles = 0;
    const bool handlesKnown = GetProcessHandleCount(process, &handles) != FALSE;
    const auto objects = [process](DWORD kind) {
        SetLastError(ERROR_SUCCESS);
        const DWORD count = GetGuiResources(process, kind);
        // Zero is a valid count only when the call did not fail.
        return count == 0 && GetLastError() != ERROR_SUCCESS ? std::string("-") : std::to_string(count);
    };
    PrintLine({"handles", handlesKnown ? std::to_string(handles) : "-"});
    PrintLine({"gdi", objects(GR_GDIOBJECTS)});
    PrintLine({"user", objects(GR_USEROBJECTS)});
    CloseHandle(process);
    return kSuccess;
}

const std::map<std::string, Command>& Commands() {
    static const std::map<std::string, Command> kCommands = {
        {"list", {0, 0, "list", List}},
        {"dialogs", {0, 0, "dialogs", Dialogs}},
        {"click-ok", {1, 1, "click-ok <hwnd>", ClickOk}},
        {"texts", {3, 64, "texts <class> <title> <control>...", Texts}},
        {"state", {3, 64, "state <class> <title> <control>...", State}},
        {"items", {3, 3, "items <class> <title> <control>", Items}},
        {"status-parts", {3, 3, "status-parts <class> <title> <control>", StatusParts}},
        {"click", {3, 3, "click <class> <title> <control>", ClickControl}},
        {"select", {4, 4, "select <class> <title> <control> <index>", Select}},
        {"wait-window", {3, 3, "wait-window <class> <title> <timeout-ms>", WaitWindow}},
        {"wait-dialog", {2, 2, "wait-dialog <text> <timeout-ms>", WaitDialog}},
        {"children", {2, 2, "children <class> <title>", Children}},
        {"layout", {2, 2, "layout <class> <title>", LayoutOf}},
        {"list-widths", {2, 2, "list-widths <class> <title>", ListWidths}},
        {"click-button", {3, 3, "click-button <class> <title> <caption>", ClickButton}},
        {"close", {1, 1, "close <hwnd>", Close}},
        {"post", {4, 4, "post <hwnd> <message> <wparam> <lparam>", Post}},
        {"rect", {1, 1, "rect <hwnd>", Rect}},
        {"control-rect", {3, 3, "control-rect <class> <title> <control>", ControlRect}},
        {"tab-rects", {3, 3, "tab-rects <class> <title> <control>", TabRects}},
        {"set-text", {2, 2, "set-text <hwnd> <text>", SetText}},
        {"tooltips", {0, 0, "tooltips", Tooltips}},
        {"hints", {3, 64, "hints <class> <title> <control>...", Hints}},
        {"hold-file", {1, 1, "hold-file <path>", HoldFile}},
        {"counts", {1, 1, "counts <process-id>", Counts}},
        {"thread-priorities", {1, 1, "thread-priorities <process-id>", ThreadPriorities}},
        {"volatile-key", {1, 1, "volatile-key <path under HKEY_CURRENT_USER>", VolatileKey}},
    };
    return kCommands;
}

int Usage() {
    std::fprintf(stderr, "usage (a title of * matches any title):\n");
    for (const auto& [name, command] : Commands()) {
        std::fprintf(stderr, "  wintool %s\n", command.usage);
    }
    return kUsage;
}

}  // namespace

}  // namespace quorvel::wintool

int main(int argc, char** argv) {
    using namespace quorvel::wintool;
    if (argc < 2) {
        return Usage();
    }
    const auto command = Commands().find(argv[1]);
    const Arguments arguments(argv + 2, argv + argc);
    if (command == Commands().end() || arguments.size() < command->second.minArguments ||
        arguments.size() > command->second.maxArguments) {
        return Usage();
    }
    const int result = command->second.run(arguments);
    std::fflush(stdout);
    return result;
}
