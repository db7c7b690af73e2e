#include "Simulator.h"

#include <windows.h>

#include "ControlCommand.h"
#include "ControlServer.h"
#include "LibraryFolder.h"

namespace quorvel::sim {

namespace {

// The control threads run for the rest of the process, so the library must stay mapped
// even after the program's FreeLibrary: it takes a reference on itself that it never gives back.
void PinLibrary() { LoadLibraryA(LibraryPath().c_str()); }

// Microseconds since 1970 by the system clock. Under Wine that is Linux's CLOCK_REALTIME, so a
// test can set the times of a press against its own clock. The precise clock exists from
// Windows 8 on.
std::uint64_t UnixTimeMicroseconds() {
    using TimeFunction = void(WINAPI*)(LPFILETIME);
    static const TimeFunction readClock = [] {
        void* precise = reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime"));
        return precise ? reinterpret_cast<TimeFunction>(precise) : &GetSystemTimeAsFileTime;
    }();
    constexpr std::uint64_t kFileTimeAt1970 = 116444736000000000ULL;
    FILETIME now;
    readClock(&now);
    const std::uint64_t fileTime = (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    return (fileTime - kFileTimeAt1970) / 10;
}

}  // namespace

Simulator::Simulator(std::string name, std::uint16_t defaultPort)
    : libraryName(std::move(name)),
      folder(LibraryFolder()),
      defaultControlPort(defaultPort),
      log([this](const std::string& line) { AppendToLogFile(line); }),
      queue(&UnixTimeMicroseconds) {}

Simulator::~Simulator() {
    if (logFile != nullptr) {
        CloseHandle(logFile);
    }
}

const SimConfig& Simulator::Config() {
    std::call_once(configOnce, [this] {
        config = LoadSimConfig(folder + "QuorvelSim.ini", libraryName, defaultControlPort);
    });
    return config;
}

void Simulator::Record(const std::string& call) {
    std::lock_guard lock(mutex);
    log.Record(call);
}

void Simulator::RecordPoll(const std::string& name) {
    std::lock_guard lock(mutex);
    log.RecordPoll(name);
}

void Simulator::StartControl() {
    std::call_once(controlOnce, [this] {
        PinLibrary();
        const std::uint16_t port = Config().controlPort;
        const bool listening = StartControlServer(port, [this](const std::string& line) {
            std::lock_guard lock(mutex);
            return RunControlLine(line, queue, log);
        });
        // Said in the log because a test that cannot reach its library needs to know why.
        if (!listening) {
            Record("!control port " + std::to_string(port) + " unavailable");
        }
    });
}

std::optional<SimButton> Simulator::Peek() {
    std::lock_guard lock(mutex);
    return queue.Peek();
}

std::optional<SimButton> Simulator::Poll() {
    std::lock_guard lock(mutex);
    return queue.Poll();
}

// Each line is written straight through, so the log is complete even when the program is
// killed; several processes may append to the same file.
void Simulator::AppendToLogFile(const std::string& line) {
    if (logFile == nullptr) {
        const HANDLE file = CreateFileA((folder + "QuorvelSim.log").c_str(), FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return;
        }
        logFile = file;
    }
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(logFile, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace quorvel::sim
