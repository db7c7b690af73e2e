#pragma once

#include <windows.h>

namespace quorvel {

// Window subclassing through comctl32's SetWindowSubclass, RemoveWindowSubclass and
// DefSubclassProc.
using SubclassProcedure = LRESULT(CALLBACK*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR data);

bool AttachSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id, DWORD_PTR data);
void DetachSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id);
// Only for the procedure of a subclass that AttachSubclass attached.
LRESULT CallNextSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quorvel
