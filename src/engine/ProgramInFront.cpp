#include "engine/ProgramInFront.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/Text.h"
#include "platform/LetterCase.h"
#include "platform/Paths.h"
#include "platform/ProgramWindows.h"

namespace quorvel {
namespace {

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

// A Store app's frame belongs to its host; the app is the process of a child window.
FrontProgram ProgramOfWindow(ProgramWindows& windows, WindowHandle window, std::uint32_t processId) {
    if (processId == 0) return {};
    const auto fileName = [&](std::uint32_t process) {
        return std::string(SplitPath(windows.ProcessImagePath(process)).fileName);
    };
    const std::string name = fileName(processId);
    if (!EqualsIgnoringCase(name, kStoreAppHost)) return {name, processId};
    for (WindowHandle child : windows.ChildWindows(window)) {
        const std::uint32_t childProcess = windows.Facts(child).processId;
        if (childProcess != 0 && childProcess != processId) return {fileName(childProcess), childProcess};
    }
    return {name, processId};
}

// The window the user was in before a passing window came in front: the last one seen really
// in front while it is still open, else the highest in the Z order where the user works. An
// always-on-top window (a mini player, a clock) stands above that window whether or not the
// user used it, so it counts only when it was the one seen in front.
WindowHandle WindowCameFrom(ProgramWindows& windows, WindowHandle cameFrom) {
    if (cameFrom != kNoWindow && IsWorkWindow(windows.Facts(cameFrom))) return cameFrom;
    WindowHandle window = windows.TopWindow();
    for (int walked = 0; window != kNoWindow && walked < kMaxWindowsWalked; ++walked) {
        const WindowFacts facts = windows.Facts(window);
        if (IsWorkWindow(facts) && !facts.topmost) return window;
        window = windows.WindowBelow(window);
    }
    return kNoWindow;
}

}  // namespace

bool IsPassingWindow(ProgramWindows& windows, WindowHandle window) { return IsPassing(windows.Facts(window)); }

FrontProgram ProgramInFront(ProgramWindows& windows, WindowHandle foreground, WindowHandle cameFrom) {
    if (foreground == kNoWindow) return {};
    WindowHandle window = foreground;
    if (IsPassingWindow(windows, foreground)) window = WindowCameFrom(windows, cameFrom);
    if (window == kNoWindow) return {};
    return ProgramOfWindow(windows, window, windows.Facts(window).processId);
}

std::vector<std::string> ProgramsWithWindows(ProgramWindows& windows, const LetterCase& letterCase) {
    std::vector<std::string> names;
    WindowHandle window = windows.TopWindow();
    for (int walked = 0; window != kNoWindow && walked < kMaxWindowsWalked; ++walked) {
        const WindowFacts facts = windows.Facts(window);
        // Quorvel itself is no program to define buttons for.
        if (IsWorkWindow(facts) && !facts.own) {
            std::string name = ProgramOfWindow(windows, window, facts.processId).name;
            const bool known = std::any_of(names.begin(), names.end(),
                                           [&](const std::string& n) { return letterCase.Equal(n, name); });
            if (!name.empty() && !known) names.push_back(std::move(name));
        }
        window = windows.WindowBelow(window);
    }
    return names;
}

}  // namespace quorvel
