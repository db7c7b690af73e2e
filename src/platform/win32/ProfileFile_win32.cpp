#include "platform/win32/ProfileFile_win32.h"

#include <windows.h>

#include "platform/Paths.h"
#include "platform/win32/FileLog_win32.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/WideText_win32.h"

namespace quorvel {

std::string Win32ProfileFile::ToAnsi(std::u16string_view text) { return AnsiFromWide(Wide(text)); }

std::u16string Win32ProfileFile::FromAnsi(std::string_view text) { return Utf16(WideFromAnsi(text)); }

LetterCase Win32ProfileFile::LetterCaseRules() { return SystemLetterCase(); }

void Win32ProfileFile::LogFailure(const std::string& what, const std::u16string& path) {
    log_.Write(LastErrorText(what + "(" + ToAnsi(path) + ")"));
}

std::optional<std::string> Win32ProfileFile::Read(const std::u16string& path) {
    const UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::string();
        log_.Write(Win32ErrorText("CreateFileW(" + ToAnsi(path) + ")", error));
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) {
        LogFailure("GetFileSizeEx", path);
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr)) {
            LogFailure("ReadFile", path);
            return std::nullopt;
        }
        if (read == 0) break;
        done += read;
    }
    bytes.resize(done);
    return bytes;
}

std::optional<std::u16string> Win32ProfileFile::CreateCopyBeside(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        log_.Write(Win32ErrorText(ToAnsi(path) + " is read-only; saving it", ERROR_ACCESS_DENIED));
        return std::nullopt;
    }
    const std::u16string_view beside = SplitPath(path).folder;
    const std::u16string folder = beside.empty() ? u"." : std::u16string(beside);
    // A new name for each save, so that no cached view of an earlier copy is read back.
    wchar_t copy[MAX_PATH] = {};
    if (!GetTempFileNameW(Wide(folder).c_str(), L"Quo", 0, copy)) {
        LogFailure("GetTempFileNameW", folder);
        return std::nullopt;
    }
    return Utf16(copy);
}

// Flushed before it replaces the file, so that a log-off or a power cut right after the save
// finds either the old file or the whole new one.
bool Win32ProfileFile::Write(const std::u16string& copy, const std::string& bytes) {
    const UniqueFile file(CreateFileW(Wide(copy).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        LogFailure("CreateFileW", copy);
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
            written == 0) {
            LogFailure("WriteFile", copy);
            return false;
        }
        done += written;
    }
    if (!FlushFileBuffers(file.Get())) {
        LogFailure("FlushFileBuffers", copy);
        return false;
    }
    return true;
}

bool Win32ProfileFile::ReplaceWithCopy(const std::u16string& path, const std::u16string& copy) {
    const std::wstring target = Wide(path);
    const std::wstring source = Wide(copy);
    // ReplaceFile keeps the file's attributes and security; a file that is not there yet is
    // simply the copy renamed.
    const bool replaced =
        GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES
            ? ReplaceFileW(target.c_str(), source.c_str(), nullptr, REPLACEFILE_WRITE_THROUGH, nullptr, nullptr)
            : MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced) log_.Write(LastErrorText("Replacing " + ToAnsi(path) + " with " + ToAnsi(copy)));
    return replaced;
}

void Win32ProfileFile::RemoveCopy(const std::u16string& copy) {
    if (!DeleteFileW(Wide(copy).c_str())) LogFailure("DeleteFileW", copy);
}

}  // namespace quorvel
