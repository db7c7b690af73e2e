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

// The integrity level of the process's token. Windows 2000 and XP know no such thing: their
// GetTokenInformation refuses the class.
std::optional<DWORD> IntegrityLevel(HANDLE process, DWORD& error) {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &rawToken)) {
        error = GetLastError();
        return std::nullopt;
    }
    const UniqueKernelHandle token(rawToken);
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenIntegrityLevel, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (size == 0 || !GetTokenInformation(token.Get(), TokenIntegrityLevel, buffer.data(), size, &size)) {
        error = GetLastError();
        return std::nullopt;
    }
    const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    return *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1u);
}

}  // namespace

// QueryFullProcessImageNameW came with Vista and needs only limited access, which elevated
// processes grant; XP has psapi's GetProcessImageFileNameW; Windows 2000 only the Toolhelp list,
// which NT 4 lacks: all of them are looked up at run time. The Toolhelp list also names a
// process that cannot be opened.
Win32ProgramWindows::Win32ProgramWindows(Log& log) : log_(log) {
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    DWORD error = 0;
    ownIntegrity_ = IntegrityLevel(GetCurrentProcess(), error);
    snapshot_ = Export<Snapshot>(kernel, "CreateToolhelp32Snapshot");
    firstProcess_ = Export<ProcessStep>(kernel, "Process32FirstW");
    nextProcess_ = Export<ProcessStep>(kernel, "Process32NextW");
    queryFullName_ = Export<QueryFullName>(kernel, "QueryFullProcessImageNameW");
    if (queryFullName_) return;
    psapi_ = UniqueLibrary(LoadLibraryA("psapi.dll"));
    imageFileName_ = Export<ImageFileName>(psapi_.Get(), "GetProcessImageFileNameW");
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
    const LONG_PTR extendedStyle = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    facts.toolWindow = (extendedStyle & WS_EX_TOOLWINDOW) != 0;
    facts.topmost = (extendedStyle & WS_EX_TOPMOST) != 0;
    return facts;
}

std::vector<WindowHandle> Win32ProgramWindows::ChildWindows(WindowHandle window) {
    std::vector<WindowHandle> children;
    EnumChildWindows(ToHwnd(window), CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

void Win32ProgramWindows::LogFailure(std::uint32_t processId, const std::string& text) {
    if (failedProcesses_.insert(processId).second) log_.Write(text);
}

std::string Win32ProgramWindows::ProcessImagePath(std::uint32_t processId) {
    std::string path = queryFullName_ || imageFileName_ ? ImagePathOfProcess(processId) : std::string();
    return path.empty() ? ImagePathFromSnapshot(processId) : path;
}

std::string Win32ProgramWindows::ImagePathOfProcess(std::uint32_t processId) {
    const DWORD access = queryFullName_ ? kQueryLimitedInformation : PROCESS_QUERY_INFORMATION;
    const UniqueKernelHandle process(OpenProcess(access, FALSE, processId));
    if (!process) {
        LogFailure(processId, LastErrorText("OpenProcess(" + std::to_string(processId) + ")"));
        return {};
    }
    wchar_t path[MAX_PATH * 4] = {};
    DWORD length = MAX_PATH * 4;
    if (queryFullName_) {
        if (queryFullName_(process.Get(), 0, path, &length)) return Narrow(path, static_cast<int>(length));
        LogFailure(processId, LastErrorText("QueryFullProcessImageNameW"));
        return {};
    }
    length = imageFileName_(process.Get(), path, MAX_PATH * 4);
    if (length != 0) return Narrow(path, static_cast<int>(length));
    LogFailure(processId, LastErrorText("GetProcessImageFileNameW"));
    return {};
}

// A process that may not even be asked about its token was started with rights this program
// lacks.
bool Win32ProgramWindows::RunsWithHigherRights(std::uint32_t processId) {
    if (!ownIntegrity_) return false;
    const UniqueKernelHandle process(OpenProcess(kQueryLimitedInformation, FALSE, processId));
    DWORD error = process ? ERROR_SUCCESS : GetLastError();
    const std::optional<DWORD> integrity = process ? IntegrityLevel(process.Get(), error) : std::nullopt;
    if (integrity) return *integrity > *ownIntegrity_;
    if (error == ERROR_ACCESS_DENIED) return true;
    LogFailure(processId, Win32ErrorText("The integrity level of process " + std::to_string(processId), error));
    return false;
}

std::string Win32ProgramWindows::ImagePathFromSnapshot(std::uint32_t processId) {
    if (!snapshot_ || !firstProcess_ || !nextProcess_) return {};
    const UniqueFile snapshot(snapshot_(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        LogFailure(processId, LastErrorText("CreateToolhelp32Snapshot"));
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
