#include "platform/win32/CommonDialogs_win32.h"

#include <cderr.h>

namespace quorvel {
namespace {

// Looked up by name at run time rather than through a delay-load import library: the linker's
// delay-load stubs for 32-bit code resolved to address 0 and crashed at the first dialog.
struct CommonDialogFunctions {
    BOOL(WINAPI* openFile)(LPOPENFILENAMEW) = nullptr;
    BOOL(WINAPI* chooseColour)(LPCHOOSECOLORA) = nullptr;
    DWORD(WINAPI* lastError)() = nullptr;
};

template <typename Function>
void Resolve(HMODULE library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The library stays loaded for the life of the process.
const CommonDialogFunctions& Functions() {
    static const CommonDialogFunctions functions = [] {
        CommonDialogFunctions found;
        if (const HMODULE comdlg32 = LoadLibraryA("comdlg32.dll")) {
            Resolve(comdlg32, "GetOpenFileNameW", found.openFile);
            Resolve(comdlg32, "ChooseColorA", found.chooseColour);
            Resolve(comdlg32, "CommDlgExtendedError", found.lastError);
        }
        return found;
    }();
    return functions;
}

}  // namespace

BOOL ShowOpenFileDialog(OPENFILENAMEW& dialog) {
    const auto openFile = Functions().openFile;
    return openFile ? openFile(&dialog) : FALSE;
}

BOOL ShowColourDialog(CHOOSECOLORA& dialog) {
    const auto chooseColour = Functions().chooseColour;
    return chooseColour ? chooseColour(&dialog) : FALSE;
}

DWORD CommonDialogError() {
    const auto lastError = Functions().lastError;
    return lastError ? lastError() : CDERR_INITIALIZATION;
}

}  // namespace quorvel
