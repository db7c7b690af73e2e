#include "platform/win32/WindowSubclass_win32.h"

namespace quorvel {
namespace {

using SetSubclass = BOOL(WINAPI*)(HWND, SubclassProcedure, UINT_PTR, DWORD_PTR);
using RemoveSubclass = BOOL(WINAPI*)(HWND, SubclassProcedure, UINT_PTR);
using DefSubclass = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

struct SubclassFunctions {
    SetSubclass set;
    RemoveSubclass remove;
    DefSubclass next;
};

template <typename Function>
Function Ordinal(HMODULE library, WORD ordinal) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(ordinal))));
}

// Windows 2000's comctl32 exports these functions by number only; later ones by name as well,
// under the same numbers. The library stays loaded for the life of the process.
const SubclassFunctions& Functions() {
    static const SubclassFunctions functions = [] {
        const HMODULE comctl32 = LoadLibraryA("comctl32.dll");
        if (!comctl32) return SubclassFunctions{};
        return SubclassFunctions{Ordinal<SetSubclass>(comctl32, 410), Ordinal<RemoveSubclass>(comctl32, 412),
                                 Ordinal<DefSubclass>(comctl32, 413)};
    }();
    return functions;
}

}  // namespace

bool AttachSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id, DWORD_PTR data) {
    const SubclassFunctions& functions = Functions();
    // All three or none, so that an attached subclass can always be passed on and removed.
    if (!functions.set || !functions.remove || !functions.next) return false;
    return functions.set(window, procedure, id, data) != FALSE;
}

void DetachSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id) {
    if (const RemoveSubclass remove = Functions().remove) remove(window, procedure, id);
}

LRESULT CallNextSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Functions().next(window, message, wParam, lParam);
}

}  // namespace quorvel
