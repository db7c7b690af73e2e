#pragma once

#include <windows.h>

#include <commdlg.h>

namespace quorvel {

// The common dialogs, from comdlg32 loaded at their first use: loading it at start costs memory
// and start-up time, and under Wine it pulls in the printing libraries. Each returns what its
// comdlg32 function returns; without the library, FALSE, and the error is CDERR_INITIALIZATION.
BOOL ShowOpenFileDialog(OPENFILENAMEW& dialog);
BOOL ShowColourDialog(CHOOSECOLORA& dialog);
DWORD CommonDialogError();

}  // namespace quorvel
