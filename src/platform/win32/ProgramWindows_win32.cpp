#include "platform/win32/ProgramWindows_win32.h"

#include "platform/win32/FileLog_win32.h"
#include "platform/win32/Win32Platform.h"

namespace quorvel {
namespace {

constexpr DWORD kQueryLimitedInformation = 0x1000;

template <typename Function>
Function Export(HMODULE library, const char* name) {
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

// The profile file is read with the ANSI functions, so names are compared in the ANSI code page.
std::string Narrow(const wchar_t* text, int length) {
    if (length <= 0) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(CP_ACP, 0, text, length, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<WindowHandle>*>(list)->push_back(FromHwnd(child));
    return TRUE;
}

}  // namespace

// QueryFullProcessImageNameW came with Vista and needs only limited access, which elevated
// processes grant; XP has psapi's GetProcessImageFileNameW; Windows 2000 only the Toolhelp list,
// which NT 4 lacks: all of them are looked up at run time.
Win32ProgramWindows::Win32ProgramWindows(Log& log) : log_(log) {
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    queryFullName_ = Export<QueryFullName>(kernel, "QueryFullProcessImageNameW");
    if (queryFullName_) return;
    psapi_ = UniqueLibrary(LoadLibraryA("psapi.dll"));
    imageFileName_ = Export<ImageFileName>(psapi_.Get(), "GetProcessImageFileNameW");
    snapshot_ = Export<Snapshot>(kernel, "CreateToolhelp32Snapshot");
    firstProcess_ = Export<ProcessStep>(kernel, "Process32FirstW");
    nextProcess_ = Export<ProcessStep>(kernel, "Process32NextW");
}

WindowHandle Win32ProgramWindows::TopWindow() { return FromHwnd(GetTopWindow(nullptr)); }

WindowHandle Win32ProgramWindows::WindowBelow(WindowHandle window) {
    return FromHwnd(GetWindow(ToHwnd(window), GW_HWNDNEXT));
}

WindowFacts Win32ProgramWindows::Facts(WindowHandle window) {
    const HWND hwnd = ToHwnd(window);
    WindowFacts facts;
    char className[256] = {};
    GetClassNameA(hwnd, className, sizeof className);
    facts.className = className;
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    facts.processId = processId;
    facts.own = processId == GetCurrentProcessId();
    facts.visible = IsWindowVisible(hwnd) != FALSE;
    facts.minimized = IsIconic(hwnd) != FALSE;
    facts.toolWindow = (GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
    return facts;
}

std::vector<WindowHandle> Win32ProgramWindows::ChildWindows(WindowHandle window) {
    std::vector<WindowHandle> children;
    EnumChildWindows(ToHwnd(window), CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::string Win32ProgramWindows::ProcessImagePath(std::uint32_t processId) {
    if (!queryFullName_ && !imageFileName_) return ImagePathFromSnapshot(processId);
    const DWORD access = queryFullName_ ? kQueryLimitedInformation : PROCESS_QUERY_INFORMATION;
    const UniqueKernelHandle process(OpenProcess(access, FALSE, processId));
    if (!process) {
        log_.Write(LastErrorText("OpenProcess(" + std::to_string(processId) + ")"));
        return {};
    }
    wchar_t path[MAX_PATH * 4] = {};
    DWORD length = MAX_PATH * 4;
    if (queryFullName_) {
        if (queryFullName_(process.Get(), 0, path, &length)) return Narrow(path, static_cast<int>(length));
        log_.Write(LastErrorText("QueryFullProcessImageNameW"));
        return {};
    }
    length = imageFileName_(process.Get(), path, MAX_PATH * 4);
    if (length != 0) return Narrow(path, static_cast<int>(length));
    log_.Write(LastErrorText("GetProcessImageFileNameW"));
    return {};
}

std::string Win32ProgramWindows::ImagePathFromSnapshot(std::uint32_t processId) {
    if (!snapshot_ || !firstProcess_ || !nextProcess_) return {};
    const UniqueFile snapshot(snapshot_(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        log_.Write(LastErrorText("CreateToolhelp32Snapshot"));
        return {};
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = firstProcess_(snapshot.Get(), &entry); more; more = nextProcess_(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == processId) return Narrow(entry.szExeFile, lstrlenW(entry.szExeFile));
    }
    return {};
}

}  // namespace quorvel
