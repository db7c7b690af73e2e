#pragma once

#include <windows.h>

#include <string>

#include "platform/Dialogs.h"
#include "platform/Libraries.h"
#include "platform/Log.h"
#include "platform/ProfileFile.h"
#include "platform/Sound.h"
#include "platform/WindowSystem.h"

namespace quorvel {

inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)); }
inline WindowHandle FromHwnd(HWND window) { return WindowHandle{reinterpret_cast<std::uintptr_t>(window)}; }

class Win32WindowSystem final : public WindowSystem {
public:
    // Windows of this class belong to the program but are not among its forms.
    Win32WindowSystem(std::string notAFormClass, Log& log) : notAFormClass_(std::move(notAFormClass)), log_(log) {}

    WindowHandle GetForegroundWindow() override;
    WindowHandle FindWindowByName(const std::string& className, const std::string& title) override;
    bool IsWindow(WindowHandle window) override;
    bool IsWindowVisible(WindowHandle window) override;
    bool SendWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) override;
    bool PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool IsOwnForm(WindowHandle window) override;

private:
    std::string notAFormClass_;
    Log& log_;
};

class Win32ProfileFile final : public ProfileFile {
public:
    explicit Win32ProfileFile(Log& log) : log_(log) {}
    Chunk GetSectionNames(const std::string& path, std::size_t capacity) override;
    Chunk GetString(const std::string& path, const std::string& section, const std::optional<std::string>& key,
                    const std::string& fallback, std::size_t capacity) override;
    bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) override;
    bool Erase(const std::string& path, const std::string& section, const std::optional<std::string>& key) override;
    std::optional<std::string> CopyBeside(const std::string& path) override;
    bool ReplaceWithCopy(const std::string& path, const std::string& copy) override;
    void RemoveCopy(const std::string& copy) override;

private:
    Log& log_;
};

class Win32Libraries final : public Libraries {
public:
    explicit Win32Libraries(Log& log) : log_(log) {}
    ModuleHandle Load(const std::string& fileName) override;
    LoadFailure LastLoadFailure() const override { return lastFailure_; }
    void* Resolve(ModuleHandle module, const std::string& exportName) override;
    void Free(ModuleHandle module) override;

private:
    Log& log_;
    LoadFailure lastFailure_ = LoadFailure::None;
};

class Win32Dialogs final : public Dialogs {
public:
    void ShowMessage(const std::string& text, MessageKind kind) override;
    bool Ask(const std::string& question) override;
};

class Win32Sound final : public Sound {
public:
    void PlayResourceAsync(const std::string& name) override;
};

// The full path of the running executable.
std::string ExecutablePath();

}  // namespace quorvel
