// The baseline of the idle benchmark: the least a program can do to read a remote control.
// It loads the substitute Beholder library beside it, opens the first card and polls it on a
// 50 ms timer, as Quorvel does, and nothing else.
#include <windows.h>

#include <cstdint>

namespace {

using CardCountFn = std::uint32_t(__cdecl*)();
using OpenCardFn = std::uint32_t(__cdecl*)(std::uint32_t);
using CodeFn = std::uint32_t(__cdecl*)();

CodeFn getRemoteCode = nullptr;
CodeFn getRemoteCodeEx = nullptr;
volatile std::uint32_t lastCode = 0;

template <typename Fn>
Fn Resolve(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) { lastCode = getRemoteCode() + getRemoteCodeEx(); }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const HMODULE library = LoadLibraryA("BeholdRC.dll");
    if (!library) return 1;
    const auto cardCount = Resolve<CardCountFn>(library, "GetCardCount");
    const auto openCard = Resolve<OpenCardFn>(library, "OpenCard");
    getRemoteCode = Resolve<CodeFn>(library, "GetRemoteCode");
    getRemoteCodeEx = Resolve<CodeFn>(library, "GetRemoteCodeEx");
    if (!cardCount || !openCard || !getRemoteCode || !getRemoteCodeEx || cardCount() == 0 || !openCard(0)) return 1;
    SetTimer(nullptr, 0, 50, Poll);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
