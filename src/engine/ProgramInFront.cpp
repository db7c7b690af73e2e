#include "engine/ProgramInFront.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/Text.h"
#include "platform/Paths.h"
#include "platform/ProgramWindows.h"

namespace quorvel {
namespace {

// Windows that come in front for a moment without being where the user works: the task bars,
// the task switchers, menus and the desktop.
constexpr std::array<std::string_view, 10> kPassingClasses = {
    "Shell_TrayWnd", "Shell_SecondaryTrayWnd", "NotifyIconOverflowWindow", "TaskSwitcherWnd",
    "MultitaskingViewFrame", "XamlExplorerHostIslandWindow", "#32771", "#32768", "Progman", "WorkerW"};

constexpr std::string_view kStoreAppHost = "ApplicationFrameHost.exe";
// A guard against a Z order that changes while it is walked.
constexpr int kMaxWindowsWalked = 4096;

bool IsPassing(const WindowFacts& facts) {
    return std::find(kPassingClasses.begin(), kPassingClasses.end(), facts.className) != kPassingClasses.end();
}

bool IsWorkWindow(const WindowFacts& facts) {
    return facts.visible && !facts.minimized && !facts.toolWindow && !IsPassing(facts);
}

std::string FileName(const std::string& path) { return std::string(SplitPath(path).fileName); }

// A Store app's frame belongs to its host; the app is the process of a child window.
std::string ProgramOfWindow(ProgramWindows& windows, WindowHandle window, std::uint32_t processId) {
    const std::string name = FileName(windows.ProcessImagePath(processId));
    if (!EqualsIgnoringCase(name, kStoreAppHost)) return name;
    for (WindowHandle child : windows.ChildWindows(window)) {
        const std::uint32_t childProcess = windows.Facts(child).processId;
        if (childProcess != 0 && childProcess != processId) return FileName(windows.ProcessImagePath(childProcess));
    }
    return name;
}

}  // namespace

std::string ProgramInFront(ProgramWindows& windows, WindowHandle foreground) {
    if (foreground == kNoWindow) return {};
    WindowFacts facts = windows.Facts(foreground);
    WindowHandle window = foreground;
    // The program that was in front before a passing window is the topmost one where the user works.
    if (IsPassing(facts)) {
        window = windows.TopWindow();
        for (int walked = 0; window != kNoWindow && walked < kMaxWindowsWalked; ++walked) {
            facts = windows.Facts(window);
            if (IsWorkWindow(facts)) break;
            window = windows.WindowBelow(window);
        }
        if (window == kNoWindow || !IsWorkWindow(facts)) return {};
    }
    return facts.processId == 0 ? std::string() : ProgramOfWindow(windows, window, facts.processId);
}

std::vector<std::string> ProgramsWithWindows(ProgramWindows& windows) {
    std::vector<std::string> names;
    WindowHandle window = windows.TopWindow();
    for (int walked = 0; window != kNoWindow && walked < kMaxWindowsWalked; ++walked) {
        const WindowFacts facts = windows.Facts(window);
        // Quorvel itself is no program to define buttons for.
        if (IsWorkWindow(facts) && facts.processId != 0 && !facts.own) {
            std::string name = ProgramOfWindow(windows, window, facts.processId);
            const bool known = std::any_of(names.begin(), names.end(),
                                           [&](const std::string& n) { return EqualsIgnoringCase(n, name); });
            if (!name.empty() && !known) names.push_back(std::move(name));
        }
        window = windows.WindowBelow(window);
    }
    return names;
}

}  // namespace quorvel
