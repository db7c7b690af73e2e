// The MinGW runtime's thread library (winpthreads), which std::thread and std::mutex stand on,
// imports three kernel32 functions that older Windows lack: GetTickCount64 (Vista and later)
// and the vectored exception handler pair (XP and later). The loader refuses a program with an
// import it cannot resolve before any of its code runs, so every program and library we link
// takes these three import pointers from here instead of from kernel32. Each leads to a
// function that calls the system's own where it exists and otherwise does what the thread
// library needs of it.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "platform/TickCount64.h"

namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();
using AddHandlerFunction = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
using RemoveHandlerFunction = ULONG(WINAPI*)(PVOID);

template <typename Function>
Function Kernel32Export(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

std::atomic<std::uint64_t> extendedTicks{0};

// The thread library measures timed waits with it, so it only has to be monotonic.
ULONGLONG WINAPI ExtendedTickCount() {
    std::uint64_t seen = extendedTicks.load();
    for (;;) {
        // Read after the state, the tick is never older than the one the state holds.
        const std::uint64_t now = quorvel::ExtendTickCount(seen, GetTickCount());
        if (extendedTicks.compare_exchange_weak(seen, now)) return now;
    }
}

std::atomic<TickCount64Function> tickCount64{nullptr};

ULONGLONG WINAPI TickCount64() {
    TickCount64Function function = tickCount64.load(std::memory_order_relaxed);
    if (!function) {
        function = Kernel32Export<TickCount64Function>("GetTickCount64");
        if (!function) function = &ExtendedTickCount;
        tickCount64.store(function, std::memory_order_relaxed);
    }
    return function();
}

// The thread library registers its handler at start only to swallow the exception that names a
// thread for a debugger, and raises that exception only when the handler was registered or a
// debugger is attached. On Windows 2000 it simply gets no handler.
PVOID WINAPI AddVectoredHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler) {
    const auto add = Kernel32Export<AddHandlerFunction>("AddVectoredExceptionHandler");
    return add ? add(first, handler) : nullptr;
}

ULONG WINAPI RemoveVectoredHandler(PVOID handle) {
    const auto remove = Kernel32Export<RemoveHandlerFunction>("RemoveVectoredExceptionHandler");
    return remove ? remove(handle) : 0;
}

}  // namespace

// The import pointers under the names the thread library refers to them by: 32-bit names carry
// the stdcall decoration (an underscore, and @ with the size of the arguments).
#if defined(_WIN64)
#define QUORVEL_IMPORT(function, argumentBytes) "__imp_" #function
#else
#define QUORVEL_IMPORT(function, argumentBytes) "__imp__" #function "@" #argumentBytes
#endif

extern "C" {
extern const TickCount64Function importGetTickCount64 __asm__(QUORVEL_IMPORT(GetTickCount64, 0)) = &TickCount64;
extern const AddHandlerFunction importAddVectoredExceptionHandler __asm__(
    QUORVEL_IMPORT(AddVectoredExceptionHandler, 8)) = &AddVectoredHandler;
extern const RemoveHandlerFunction importRemoveVectoredExceptionHandler __asm__(
    QUORVEL_IMPORT(RemoveVectoredExceptionHandler, 4)) = &RemoveVectoredHandler;
}
