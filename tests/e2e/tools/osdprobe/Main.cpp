// osdprobe: drives the program's on-screen display code on its own and observes OSD windows.
//   show [--display2] [--colour 0xBBGGRR] [--gap MS] [--linger MS] TEXT...
//       shows each TEXT (\r, \n and \\ are unescaped) GAP ms after the one before, waits LINGER
//       ms after the last, then closes the display as the program does at exit
//   windows      every OSD window of any process: handle pid visible left top width height
//                exstyle style title, tab-separated
//   monitors     left top width height of each monitor, in the desktop's order
//   choose-colour 0xBBGGRR   opens the colour dialog; prints "chosen 0x..." or "cancelled"
//   swatch 0xBBGGRR          draws the swatch on white and prints its 10 rows of pixels
// Exits 0 on success, 2 on a usage error.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "osd/OsdColour_win.h"
#include "osd/OsdWindow_win.h"
#include "osd/Osd_win.h"

namespace {

constexpr int kSuccess = 0;
constexpr int kUsage = 2;
constexpr int kSwatchSize = 10;
constexpr COLORREF kDefaultColour = 0x00FAFAB4;

using Arguments = std::vector<std::string>;

std::string Unescape(const std::string& text) {
    std::string plain;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (text[index] != '\\' || index + 1 == text.size()) {
            plain += text[index];
            continue;
        }
        const char next = text[++index];
        plain += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    }
    return plain;
}

COLORREF ParseColour(const std::string& text) { return static_cast<COLORREF>(std::strtoul(text.c_str(), nullptr, 0)); }

int Usage() {
    std::fprintf(stderr,
                 "usage: osdprobe show [--display2] [--colour 0xBBGGRR] [--gap MS] [--linger MS] TEXT...\n"
                 "       osdprobe windows | monitors | choose-colour 0xBBGGRR | swatch 0xBBGGRR\n");
    return kUsage;
}

int Show(const Arguments& arguments) {
    bool display2 = false;
    COLORREF colour = kDefaultColour;
    DWORD gapMs = 1000;
    DWORD lingerMs = 5000;
    Arguments texts;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const bool hasValue = index + 1 < arguments.size();
        if (argument == "--display2") {
            display2 = true;
        } else if (argument == "--colour" && hasValue) {
            colour = ParseColour(arguments[++index]);
        } else if (argument == "--gap" && hasValue) {
            gapMs = std::strtoul(arguments[++index].c_str(), nullptr, 10);
        } else if (argument == "--linger" && hasValue) {
            lingerMs = std::strtoul(arguments[++index].c_str(), nullptr, 10);
        } else {
            texts.push_back(Unescape(argument));
        }
    }
    if (texts.empty()) return Usage();

    const ULONGLONG start = GetTickCount64();
    quorvel::Osd osd(GetModuleHandleA(nullptr), colour);
    for (std::size_t index = 0; index < texts.size(); ++index) {
        if (index > 0) Sleep(gapMs);
        osd.ShowOsd(texts[index], display2);
        std::printf("shown %zu %llu\n", index + 1, GetTickCount64() - start);
    }
    Sleep(lingerMs);
    osd.Close();
    std::printf("closed %llu\n", GetTickCount64() - start);
    return kSuccess;
}

BOOL CALLBACK PrintOsdWindow(HWND window, LPARAM) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, quorvel::kOsdClassName) != 0) return TRUE;
    char title[128] = {};
    GetWindowTextA(window, title, sizeof title);
    RECT bounds{};
    GetWindowRect(window, &bounds);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    std::printf("0x%llX\t%lu\t%d\t%ld\t%ld\t%ld\t%ld\t0x%08lX\t0x%08lX\t%s\n",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)), processId,
                IsWindowVisible(window) ? 1 : 0, bounds.left, bounds.top, bounds.right - bounds.left,
                bounds.bottom - bounds.top, static_cast<unsigned long>(GetWindowLongPtrA(window, GWL_EXSTYLE)),
                static_cast<unsigned long>(GetWindowLongPtrA(window, GWL_STYLE)), title);
    return TRUE;
}

int Windows(const Arguments&) {
    EnumWindows(PrintOsdWindow, 0);
    return kSuccess;
}

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& bounds = info.rcMonitor;
        std::printf("%ld\t%ld\t%ld\t%ld\n", bounds.left, bounds.top, bounds.right - bounds.left,
                    bounds.bottom - bounds.top);
    }
    return TRUE;
}

int Monitors(const Arguments&) {
    EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
    return kSuccess;
}

int ChooseColour(const Arguments& arguments) {
    quorvel::OsdColourDialog dialog;
    const std::optional<COLORREF> chosen = dialog.Choose(nullptr, ParseColour(arguments[0]));
    if (chosen) {
        std::printf("chosen 0x%06lX\n", static_cast<unsigned long>(*chosen));
    } else {
        std::printf("cancelled\n");
    }
    return kSuccess;
}

int Swatch(const Arguments& arguments) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kSwatchSize, kSwatchSize);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    RECT all{0, 0, kSwatchSize, kSwatchSize};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    quorvel::DrawOsdSwatch(dc, ParseColour(arguments[0]));
    for (int y = 0; y < kSwatchSize; ++y) {
        for (int x = 0; x < kSwatchSize; ++x) {
            std::printf("%s%06lX", x ? " " : "", static_cast<unsigned long>(GetPixel(dc, x, y)));
        }
        std::printf("\n");
    }
    SelectObject(dc, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return kSuccess;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    const Arguments arguments(argv + 2, argv + argc);
    if (command == "show") return Show(arguments);
    if (command == "windows" && arguments.empty()) return Windows(arguments);
    if (command == "monitors" && arguments.empty()) return Monitors(arguments);
    if (command == "choose-colour" && arguments.size() == 1) return ChooseColour(arguments);
    if (command == "swatch" && arguments.size() == 1) return Swatch(arguments);
    return Usage();
}
