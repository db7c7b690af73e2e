#include "platform/win32/Win32Platform.h"

#include <mmsystem.h>

#include <cstdio>

#include "platform/win32/FileLog_win32.h"


namespace quorvel {

WindowHandle Win32WindowSystem::GetForegroundWindow() { return FromHwnd(::GetForegroundWindow()); }

WindowHandle Win32WindowSystem::FindWindowByName(const std::string& className, const std::string& title) {
    return FromHwnd(::FindWindowA(className.c_str(), title.c_str()));
}

bool Win32WindowSystem::IsWindow(WindowHandle window) { return ::IsWindow(ToHwnd(window)) != FALSE; }

bool Win32WindowSystem::IsWindowVisible(WindowHandle window) { return ::IsWindowVisible(ToHwnd(window)) != FALSE; }

bool Win32WindowSystem::SendWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                          std::intptr_t lParam) {
    // Long enough for a busy program to take a key-like message, short enough that the tick
    // goes on; a window Windows already counts as hung is not waited for at all.
    constexpr UINT kAnswerTimeoutMs = 200;
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutA(ToHwnd(window), message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                              kAnswerTimeoutMs, &result)) {
        return true;
    }
    const DWORD error = ::GetLastError();
    char call[96];
    std::snprintf(call, sizeof call, "SendMessageTimeoutA(message 0x%04X, window %p), dropped",
                  static_cast<unsigned>(message), static_cast<void*>(ToHwnd(window)));
    log_.Write(Win32ErrorText(call, error));
    return false;
}

bool Win32WindowSystem::PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    return ::PostMessageA(ToHwnd(window), message, wParam, lParam) != FALSE;
}

bool Win32WindowSystem::IsOwnForm(WindowHandle window) {
    const HWND hwnd = ToHwnd(window);
    // A hidden window of ours may keep the foreground after its menu closed; the user is not
    // working in it.
    if (!hwnd || !::IsWindowVisible(hwnd)) return false;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hwnd, &processId);
    if (processId != ::GetCurrentProcessId()) return false;
    // The on-screen display is the program's own window but not one of its forms.
    char className[256] = {};
    ::GetClassNameA(hwnd, className, sizeof className);
    return notAFormClass_ != className;
}

ModuleHandle Win32Libraries::Load(const std::string& fileName) {
    const HMODULE module = ::LoadLibraryA(fileName.c_str());
    lastFailure_ = LoadFailure::None;
    if (!module) {
        lastFailure_ = ::GetLastError() == ERROR_BAD_EXE_FORMAT ? LoadFailure::WrongFormat : LoadFailure::Other;
        log_.Write(LastErrorText("LoadLibraryA(" + fileName + ")"));
    }
    return ModuleHandle{reinterpret_cast<std::uintptr_t>(module)};
}

void* Win32Libraries::Resolve(ModuleHandle module, const std::string& exportName) {
    const auto hmodule = reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(module));
    void* const address = reinterpret_cast<void*>(::GetProcAddress(hmodule, exportName.c_str()));
    if (!address) log_.Write(LastErrorText("GetProcAddress(" + exportName + ")"));
    return address;
}

void Win32Libraries::Free(ModuleHandle module) {
    ::FreeLibrary(reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(module)));
}

namespace {

UINT IconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error: return MB_ICONERROR;
        case MessageKind::Question: return MB_ICONQUESTION;
        default: return MB_ICONINFORMATION;
    }
}

}  // namespace

void Win32Dialogs::ShowMessage(const std::string& text, MessageKind kind) {
    ::MessageBoxA(nullptr, text.c_str(), "Quorvel", MB_OK | IconOf(kind) | MB_TASKMODAL);
}

bool Win32Dialogs::Ask(const std::string& question, MessageKind kind) {
    return ::MessageBoxA(nullptr, question.c_str(), "Quorvel", MB_YESNO | IconOf(kind) | MB_DEFBUTTON2 | MB_TASKMODAL) ==
           IDYES;
}

void Win32Sound::PlayResourceAsync(const std::string& name) {
    ::PlaySoundA(name.c_str(), ::GetModuleHandleA(nullptr), SND_RESOURCE | SND_ASYNC);
}

}  // namespace quorvel
