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

ProfileFile::Chunk Win32ProfileFile::GetSectionNames(const std::string& path, std::size_t capacity) {
    std::string buffer(capacity, '\0');
    const DWORD copied =
        ::GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(capacity), path.c_str());
    return {std::move(buffer), copied};
}

ProfileFile::Chunk Win32ProfileFile::GetString(const std::string& path, const std::string& section,
                                               const std::optional<std::string>& key, const std::string& fallback,
                                               std::size_t capacity) {
    std::string buffer(capacity, '\0');
    const DWORD copied =
        ::GetPrivateProfileStringA(section.c_str(), key ? key->c_str() : nullptr, fallback.c_str(), buffer.data(),
                                   static_cast<DWORD>(capacity), path.c_str());
    return {std::move(buffer), copied};
}

bool Win32ProfileFile::WriteString(const std::string& path, const std::string& section, const std::string& key,
                                   const std::string& value) {
    if (::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str())) return true;
    log_.Write(LastErrorText("WritePrivateProfileStringA(" + path + ")"));
    return false;
}

bool Win32ProfileFile::Erase(const std::string& path, const std::string& section, const std::optional<std::string>& key) {
    if (::WritePrivateProfileStringA(section.c_str(), key ? key->c_str() : nullptr, nullptr, path.c_str())) return true;
    log_.Write(LastErrorText("WritePrivateProfileStringA(" + path + ", [" + section + "])"));
    return false;
}

std::optional<std::string> Win32ProfileFile::CopyBeside(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) {
        log_.Write(Win32ErrorText(path + " is read-only; saving it", ERROR_ACCESS_DENIED));
        return std::nullopt;
    }
    const std::size_t slash = path.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    // A new name for each save, so that no cached view of an earlier copy is read back.
    char copy[MAX_PATH] = {};
    if (!::GetTempFileNameA(folder.c_str(), "Quo", 0, copy)) {
        log_.Write(LastErrorText("GetTempFileNameA(" + folder + ")"));
        return std::nullopt;
    }
    if (exists && !::CopyFileA(path.c_str(), copy, FALSE)) {
        log_.Write(LastErrorText("CopyFileA(" + path + ")"));
        ::DeleteFileA(copy);
        return std::nullopt;
    }
    // The copy must take writes whatever attributes the file had.
    ::SetFileAttributesA(copy, FILE_ATTRIBUTE_NORMAL);
    return copy;
}

bool Win32ProfileFile::ReplaceWithCopy(const std::string& path, const std::string& copy) {
    // ReplaceFile keeps the file's attributes and security; a file that is not there yet is
    // simply the copy renamed.
    const bool replaced =
        ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES
            ? ::ReplaceFileA(path.c_str(), copy.c_str(), nullptr, REPLACEFILE_WRITE_THROUGH, nullptr, nullptr)
            : ::MoveFileExA(copy.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced) log_.Write(LastErrorText("Replacing " + path + " with " + copy));
    return replaced;
}

void Win32ProfileFile::RemoveCopy(const std::string& copy) {
    if (!::DeleteFileA(copy.c_str())) log_.Write(LastErrorText("DeleteFileA(" + copy + ")"));
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

void Win32Dialogs::ShowMessage(const std::string& text, MessageKind kind) {
    const UINT icon = kind == MessageKind::Error ? MB_ICONERROR : MB_ICONINFORMATION;
    ::MessageBoxA(nullptr, text.c_str(), "Quorvel", MB_OK | icon | MB_TASKMODAL);
}

bool Win32Dialogs::Ask(const std::string& question) {
    return ::MessageBoxA(nullptr, question.c_str(), "Quorvel", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TASKMODAL) ==
           IDYES;
}

void Win32Sound::PlayResourceAsync(const std::string& name) {
    ::PlaySoundA(name.c_str(), ::GetModuleHandleA(nullptr), SND_RESOURCE | SND_ASYNC);
}

std::string ExecutablePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace quorvel
