// fakeform: a window laid out like Quorvel's main window in the ways that matter to the
// window tool (controls found by id, some inside a group box, a drop-down list, a status bar
// with two panels, a button that opens a message box), so the tool is tested on its own.

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "ui/ControlIds.h"

namespace {

constexpr const char* kClassName = "QuorvelFakeForm";
constexpr const char* kTitle = "Fake Quorvel";

namespace id = quorvel::control_id;

HWND AddControl(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width,
                int height, int controlId) {
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), GetModuleHandleA(nullptr),
                           nullptr);
}

void CreateControls(HWND window) {
    HWND group = AddControl(window, "BUTTON", "RC Button", BS_GROUPBOX, 8, 8, 300, 90, 0);
    AddControl(group, "STATIC", "A5", 0, 10, 20, 100, 20, id::Code1ST);
    AddControl(group, "EDIT", "", WS_BORDER, 10, 50, 150, 22, id::NameE);
    SetWindowTextA(GetDlgItem(group, id::NameE), "Vol+\tloud");

    HWND autorepeat = AddControl(window, "BUTTON", "Autorepeat", BS_AUTOCHECKBOX, 8, 110, 150, 20, id::AutorepeatCB);
    SendMessageA(autorepeat, BM_SETCHECK, BST_CHECKED, 0);
    HWND balloons = AddControl(window, "BUTTON", "Balloon hints", BS_AUTOCHECKBOX, 8, 135, 150, 20, id::BHCB);
    EnableWindow(balloons, FALSE);

    HWND cards = AddControl(window, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 8, 160, 200, 120, id::WDMCB);
    SendMessageA(cards, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Card A"));
    SendMessageA(cards, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Card B"));
    SendMessageA(cards, CB_SETCURSEL, 1, 0);
    AddControl(window, "STATIC", "", 0, 220, 160, 100, 20, id::Code2ST);

    AddControl(window, "BUTTON", "Save Settings", BS_PUSHBUTTON, 8, 195, 120, 26, id::SaveSetSB);

    HWND status = AddControl(window, STATUSCLASSNAMEA, "", 0, 0, 0, 0, 0, id::StatusSB);
    const int edges[] = {200, -1};
    SendMessageA(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    SendMessageA(status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("Behold TV Card initialize success!"));
    SendMessageA(status, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>("5 min"));
}

void OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    const int controlId = LOWORD(wParam);
    if (controlId == id::WDMCB && HIWORD(wParam) == CBN_SELCHANGE) {
        const auto selected = SendMessageA(reinterpret_cast<HWND>(lParam), CB_GETCURSEL, 0, 0);
        SetWindowTextA(GetDlgItem(window, id::Code2ST), ("selected " + std::to_string(selected)).c_str());
    } else if (controlId == id::SaveSetSB && HIWORD(wParam) == BN_CLICKED) {
        MessageBoxA(window, "Settings saved", kTitle, MB_OK | MB_ICONINFORMATION);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateControls(window);
        return 0;
    case WM_COMMAND:
        OnCommand(window, wParam, lParam);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    InitCommonControls();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, 20, 20, 340, 290, nullptr, nullptr,
                                  instance, nullptr);
    ShowWindow(window, showCommand);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
