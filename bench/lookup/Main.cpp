// Times the lookup of the program in front as a new press makes it: the foreground window,
// its process's image name, and the Store-app and passing-window rules. Prints
// "lookup <microseconds per lookup> <program>".
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "engine/ProgramInFront.h"
#include "platform/win32/ProgramWindows_win32.h"
#include "platform/win32/Win32Platform.h"

namespace {

class PrintedLog final : public quorvel::Log {
public:
    void Write(const std::string& line) override { std::printf("%s\n", line.c_str()); }
};

}  // namespace

int main(int argc, char** argv) {
    const int lookups = argc > 1 ? std::atoi(argv[1]) : 1000;
    PrintedLog log;
    quorvel::Win32ProgramWindows windows(log);
    std::string program;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < lookups; ++i) {
        program = quorvel::ProgramInFront(windows, quorvel::FromHwnd(GetForegroundWindow()), quorvel::kNoWindow).name;
    }
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    std::printf("lookup %.1f %s\n", spent.count() / (lookups > 0 ? lookups : 1), program.c_str());
    return 0;
}
