// The model on the screen: each part of it in the controls that show it.
#include "ui/MainWindow_win.h"

#include <commctrl.h>

#include <algorithm>

#include "actions/MacroLines.h"
#include "core/Text.h"
#include "engine/Application.h"
#include "ui/ControlIds.h"
#include "ui/MainWindowLayout_win.h"
#include "ui/ModelControls.h"

namespace quorvel {
namespace {

namespace id = control_id;

std::string CodeText(const std::optional<std::uint32_t>& code, int digits, const char* none) {
    return code ? Hex(*code, digits) : std::string(none);
}

}  // namespace

void MainWindow::Changed(Aspect aspect) {
    showing_ = true;
    switch (aspect) {
        case Aspect::Settings: ShowSettings(); break;
        case Aspect::Mode: ShowMode(); break;
        case Aspect::Shown: ShowShownButton(); break;
        case Aspect::Editor:
            ShowEditor();
            ShowProgramDefinition();
            break;
        case Aspect::Receiver: ShowReceiver(); break;
        case Aspect::RemoteName:
            SetText(id::RemoteNameE, app_->State().map.RemoteName());
            break;
        case Aspect::Listener: ShowListener(); break;
        case Aspect::Status: ShowStatus(); break;
        case Aspect::Identity: ShowIdentity(); break;
        case Aspect::Programs: ShowPrograms(); break;
    }
    showing_ = false;
}

void MainWindow::ShowAll() {
    for (Aspect aspect : {Aspect::Settings, Aspect::Mode, Aspect::Shown, Aspect::Editor, Aspect::Receiver,
                          Aspect::RemoteName, Aspect::Listener, Aspect::Status, Aspect::Identity, Aspect::Programs}) {
        Changed(aspect);
    }
}

void MainWindow::ShowSettings() {
    const Settings& settings = app_->State().settings;
    for (const SettingCheck& check : kSettingChecks) SetChecked(check.id, settings.*check.flag);
    EnableWindow(Control(id::ForceShutdownCB), settings.forceOptionsAvailable);
    EnableWindow(Control(id::ForceSuspendCB), settings.forceOptionsAvailable);
    SetText(id::LIRCServerPortE, settings.lircServerPort);
    SetText(id::NetworkReceiverE, settings.networkReceiverAddress);
    InvalidateRect(Control(id::OSDFI), nullptr, TRUE);
}

void MainWindow::ShowMode() {
    const EmulationMode mode = app_->State().mode;
    for (const ModeRadio& radio : kModeRadios) SetChecked(radio.id, radio.mode == mode);
    menu_.ShowSelectedMode(mode);
}

void MainWindow::ShowShownButton() {
    const ShownButton& shown = app_->State().shown;
    SetText(id::Code1ST, CodeText(shown.rcCode, 2, ""));
    SetText(id::Code2ST, CodeText(shown.extendedCode, 8, ""));
    SetText(id::NameST, shown.name);
    SetText(id::RepeatCountL, shown.repeatNumber ? Hex(*shown.repeatNumber, 2) : "0");
    SetIndicatorImage(shown.held ? kHeldIndicator : kIdleIndicator);
}

void MainWindow::ShowEditor() {
    const EditorButton& editor = app_->State().editor;
    SetText(id::NameRCCodeST, CodeText(editor.rcCode, 2, "..."));
    SetText(id::NameRCCodeExST, CodeText(editor.extendedCode, 8, "..."));
    // The code field has no room for the long press's "-Long": the caption says it.
    SetText(id::NameGB, EditorCaption(editor.gesture));
    SetText(id::NameE, editor.name);
    SetChecked(id::KeyRepeatCB, editor.repeat);
    // A pace and a macro belong to a button: there is none before one is read.
    EnableWindow(Control(id::PaceB), editor.extendedCode.has_value());
    EnableWindow(Control(id::MacroB), editor.extendedCode.has_value());
    ShowMacro(editor.macro);
    SetChoice(id::NameActionCB, editor.action);
    SetChoice(id::MsCB, editor.mouseAction);
    // A text that is not the chosen list item's caption leaves no item chosen, so that choosing
    // that item again still counts as a choice.
    const HWND keys = Control(id::KeyE);
    const int preset = ChoiceOf(id::KeyE);
    if (preset >= 0) {
        const LRESULT length = SendMessageA(keys, CB_GETLBTEXTLEN, preset, 0);
        std::string caption(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        caption.resize(static_cast<std::size_t>(
            std::max<LRESULT>(SendMessageA(keys, CB_GETLBTEXT, preset, reinterpret_cast<LPARAM>(caption.data())), 0)));
        if (caption != editor.keyText) SendMessageA(keys, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
    SetText(id::KeyE, editor.keyText);
    SetChecked(id::LWinCB, editor.win);
    SetChoice(id::NameMessageCB, editor.message);
    SetText(id::RunE, editor.applicationPath);
}

// The macro button names the macro and stays pushed in while there is one.
void MainWindow::ShowMacro(const std::string& macro) {
    const std::string summary = MacroSummary(macro);
    const std::string caption = summary.empty() ? kNoMacroCaption : summary;
    if (TextOf(id::MacroB) == caption) return;
    SetText(id::MacroB, caption);
    ChangeHint(Control(id::MacroB), caption);
    InvalidateRect(Control(id::MacroB), nullptr, TRUE);
}

void MainWindow::ShowReceiver() {
    const ReceiverInfo& receiver = app_->State().receiver;
    SetItems(id::WDMCB, receiver.cards);
    SetChoice(id::WDMCB, receiver.selectedCard);
    EnableWindow(Control(id::WDMCB), receiver.choosable);
}

void MainWindow::ShowListener() {
    const ListenerState& listener = app_->State().listener;
    SetText(id::LIRCServerClientsL, listener.clients ? std::to_string(*listener.clients) : "...");
    // The port can change only while nothing listens on it.
    EnableWindow(Control(id::LIRCServerPortE), !listener.active);
}

void MainWindow::ShowStatus() {
    const auto& panels = app_->State().status;
    for (int panel = 0; panel < static_cast<int>(panels.size()); ++panel) {
        SendMessageA(statusBar_.Handle(), SB_SETTEXTA, panel,
                     reinterpret_cast<LPARAM>(panels[static_cast<std::size_t>(panel)].c_str()));
    }
}

void MainWindow::ShowIdentity() {
    SetText(id::OSL, app_->State().osName);
    SetText(id::VersionL, app_->State().version);
}

void MainWindow::SetText(int controlId, const std::string& text) {
    // The tick shows the same texts 20 times a second; unchanged ones are left alone.
    if (TextOf(controlId) != text) SetWindowTextA(Control(controlId), text.c_str());
}

void MainWindow::SetChecked(int controlId, bool checked) {
    if (IsChecked(controlId) != checked) {
        SendMessageA(Control(controlId), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void MainWindow::SetChoice(int controlId, int index) {
    const HWND list = Control(controlId);
    if (index >= static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0))) index = -1;
    if (ChoiceOf(controlId) != index) SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void MainWindow::SetItems(int controlId, const std::vector<std::string>& items) {
    const HWND list = Control(controlId);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    FitListWidth(list);
}

// A list drops down wide enough for its widest item, however narrow the field above it is.
void MainWindow::FitListWidth(HWND list) {
    const WindowDC dc(list);
    const SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    const int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string item(static_cast<std::size_t>(std::max<LRESULT>(SendMessageA(list, CB_GETLBTEXTLEN, i, 0), 0)) + 1,
                         '\0');
        item.resize(static_cast<std::size_t>(
            std::max<LRESULT>(SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data())), 0)));
        SIZE size{};
        GetTextExtentPoint32A(dc.Get(), item.c_str(), static_cast<int>(item.size()), &size);
        widest = std::max(widest, size.cx);
    }
    RECT field{};
    GetWindowRect(list, &field);
    const int needed = static_cast<int>(widest) + GetSystemMetrics(SM_CXVSCROLL) + Scale(kListTextMargin);
    // Wine keeps a wider dropped width than the one asked for unless one narrower than the
    // field comes first, which sets it back to the field's; Windows takes either at once.
    SendMessageA(list, CB_SETDROPPEDWIDTH, 1, 0);
    SendMessageA(list, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(std::max<int>(field.right - field.left, needed)), 0);
}

void MainWindow::SetIndicatorImage(int index) {
    if (index < 0 || index >= static_cast<int>(indicatorPictures_.size())) return;
    indicatorShown_ = index;
    SendMessageA(Control(id::KeyPI), STM_SETICON,
                 reinterpret_cast<WPARAM>(indicatorPictures_[static_cast<std::size_t>(index)].Get()), 0);
}

std::string MainWindow::TextOf(int controlId) const {
    const HWND control = Control(controlId);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool MainWindow::IsChecked(int controlId) const {
    return SendMessageA(Control(controlId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int MainWindow::ChoiceOf(int controlId) const {
    return static_cast<int>(SendMessageA(Control(controlId), CB_GETCURSEL, 0, 0));
}

}  // namespace quorvel
