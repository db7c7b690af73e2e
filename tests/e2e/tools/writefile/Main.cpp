// writefile: proves that it ran. Appends one line to the file beside itself with its own
// name and the extension .txt: its current working folder, a tab and its command line
// exactly as it received it. A windowed program, so that starting it opens no console.
// Several copies may run at once (a held button starts one per repeat): each waits for the
// file until no other copy has it open. Exits 1 when the file cannot be written.

#include <windows.h>

#include <string>

namespace {

constexpr int kAttempts = 200;
constexpr DWORD kRetryMs = 10;

std::string OutputPath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string output(path, length);
    const std::size_t extension = output.find_last_of('.');
    return output.substr(0, extension) + ".txt";
}

std::string CurrentDirectory() {
    char folder[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    return std::string(folder, length < MAX_PATH ? length : 0);
}

HANDLE OpenAlone(const std::string& path) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) return file;
        Sleep(kRetryMs);
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string line = CurrentDirectory() + "\t" + GetCommandLineA() + "\n";
    const HANDLE file = OpenAlone(OutputPath());
    if (file == INVALID_HANDLE_VALUE) return 1;
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return wrote && written == line.size() ? 0 : 1;
}
