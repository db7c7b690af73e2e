// What the user does to the window's controls, handed to the application.
#include "ui/MainWindow_win.h"

#include <cderr.h>

#include "engine/Application.h"
#include "platform/win32/CommonDialogs_win32.h"
#include "platform/win32/WideText_win32.h"
#include "ui/ControlIds.h"
#include "ui/ModelControls.h"

namespace quorvel {
namespace {

namespace id = control_id;

constexpr std::size_t kPathCapacity = 32768;
constexpr char kRunTitle[] = "Select application to run";
constexpr wchar_t kRunFilter[] = L"Executable files\0*.exe\0Command files\0*.cmd;*.bat\0";

}  // namespace

void MainWindow::OnCommand(int controlId, int code, HWND control) {
    if (!app_) return;
    // Menu items (and a WM_COMMAND posted with an item's identifier) come without a control.
    if (!control) {
        if (const auto item = Win32TrayMenu::ItemOfCommand(controlId)) OnMenuChoice(*item);
        return;
    }
    if (showing_ || OnProgramsCommand(controlId, code)) return;
    switch (code) {
        // Clicks on buttons and on the statics that take them (the swatch, the links).
        case BN_CLICKED:
            if (controlId == id::SaveButtonPropertiesSB) {
                app_->CommitEditor();
            } else if (controlId == id::SaveSetSB || controlId == id::LIRCSaveSB) {
                app_->SaveAll();
            } else if (controlId == id::RunSB) {
                ChooseApplication();
            } else if (controlId == id::OSDFI) {
                ChooseOsdColour();
            } else if (controlId == id::TimingSB) {
                OpenTiming();
            } else if (controlId == id::PaceB) {
                OpenPace();
            } else if (controlId == id::MacroB) {
                OpenMacro();
            } else if (!links_.OnClicked(window_, controlId)) {
                OnCheckClicked(controlId);
            }
            break;
        case CBN_SELCHANGE: OnListChosen(controlId); break;
        case EN_CHANGE: OnTextEdited(controlId); break;
        default: break;
    }
}

void MainWindow::OnCheckClicked(int controlId) {
    const bool checked = IsChecked(controlId);
    for (const ModeRadio& radio : kModeRadios) {
        if (radio.id == controlId && checked) app_->SelectMode(radio.mode);
    }
    for (const SettingCheck& check : kSettingChecks) {
        // The listener's box switches the listener, which keeps its setting.
        if (check.id != controlId || controlId == id::LIRCServerCB) continue;
        Settings settings = app_->State().settings;
        settings.*check.flag = checked;
        app_->ChangeSettings(settings);
    }
    if (controlId == id::LIRCServerCB) app_->SwitchListener(checked);
    if (controlId == id::KeyRepeatCB || controlId == id::LWinCB) {
        EditorButton editor = app_->State().editor;
        (controlId == id::KeyRepeatCB ? editor.repeat : editor.win) = checked;
        app_->ChangeEditor(editor);
    }
}

void MainWindow::OnListChosen(int controlId) {
    const int index = ChoiceOf(controlId);
    EditorButton editor = app_->State().editor;
    switch (controlId) {
        case id::WDMCB: app_->ChooseCard(index); return;
        case id::KeyE: app_->ChoosePresetKey(index); return;
        case id::NameActionCB: editor.action = index; break;
        case id::MsCB: editor.mouseAction = index; break;
        case id::NameMessageCB: editor.message = index; break;
        default: return;
    }
    app_->ChangeEditor(editor);
}

void MainWindow::OnTextEdited(int controlId) {
    if (controlId == id::RemoteNameE) {
        app_->RenameRemote(TextOf(controlId));
        return;
    }
    if (controlId == id::LIRCServerPortE || controlId == id::NetworkReceiverE) {
        Settings settings = app_->State().settings;
        (controlId == id::LIRCServerPortE ? settings.lircServerPort : settings.networkReceiverAddress) =
            TextOf(controlId);
        app_->ChangeSettings(settings);
        return;
    }
    EditorButton editor = app_->State().editor;
    if (controlId == id::NameE) editor.name = TextOf(controlId);
    if (controlId == id::RunE) editor.applicationPath = TextOf(controlId);
    app_->ChangeEditor(editor);
}

// The button map changes only when the button's properties are saved.
void MainWindow::ChooseApplication() {
    // The dialog opens on the program the button starts now, when that is a file name. It
    // refuses to open at all on one it cannot take (a quoted path, say): then it opens empty.
    std::optional<std::string> chosen = ChooseFile(app_->State().editor.applicationPath, kRunTitle, kRunFilter);
    if (!chosen && CommonDialogError() == FNERR_INVALIDFILENAME) chosen = ChooseFile({}, kRunTitle, kRunFilter);
    if (!chosen) return;
    EditorButton editor = app_->State().editor;
    editor.applicationPath = *chosen;
    app_->ChangeEditor(editor);
}

// The wide dialog shows and opens folders of any name; the path it gives is held as ANSI text.
std::optional<std::string> MainWindow::ChooseFile(std::string path, const char* title, const wchar_t* filter) {
    std::wstring chosen = WideFromAnsi(path);
    chosen.resize(kPathCapacity, L'\0');
    const std::wstring caption = WideFromAnsi(title);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    dialog.lpstrTitle = caption.c_str();
    dialog.lpstrDefExt = L"exe";
    dialog.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!ShowOpenFileDialog(dialog)) return std::nullopt;
    chosen.resize(chosen.find(L'\0'));
    return AnsiPath(chosen);
}

void MainWindow::ChooseOsdColour() {
    if (const auto colour = colourDialog_.Choose(window_, app_->State().settings.osdColor)) {
        app_->ChangeOsdColour(*colour);
    }
}

}  // namespace quorvel
