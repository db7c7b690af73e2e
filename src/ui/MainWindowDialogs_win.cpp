// The dialogs the window opens: the timing settings, and the pace and macro of the editor's button.
#include "ui/MainWindow_win.h"

#include "engine/Application.h"
#include "engine/ButtonEditor.h"
#include "ui/MacroDialog_win.h"
#include "ui/PaceDialog_win.h"
#include "ui/TimingDialog_win.h"

namespace quorvel {
namespace {

constexpr char kAllPrograms[] = "all programs";

}  // namespace

// The tray menu still works while a dialog is open: asked for another, it brings that one
// forward. A dialog opened from the tray leaves the foreground to its hidden owner (or to the
// tray) as it closes, where it would take the keys of the next presses.
bool MainWindow::RunDialog(FormDialog& dialog) {
    if (openDialog_) {
        SetForegroundWindow(openDialog_->Handle());
        return false;
    }
    const bool fromTray = !IsWindowVisible(window_);
    openDialog_ = &dialog;
    const bool chosen = dialog.Run(window_, instance_, font_.Get(), dpi_, log_);
    openDialog_ = nullptr;
    if (!window_) return false;
    if (fromTray) ReturnToApplication();
    return chosen && app_;
}

// Only the four times and the scan codes change: whatever else happened to the settings meanwhile stays.
void MainWindow::OpenTiming() {
    TimingDialog dialog(app_->State().settings);
    if (!RunDialog(dialog)) return;
    Settings settings = app_->State().settings;
    dialog.ApplyTo(settings);
    app_->ChangeSettings(settings);
}

// The tick goes on while the dialog is open. Should a press bring another button into the
// editor meanwhile, the pace chosen is not given to that one.
void MainWindow::OpenPace() {
    const Model& model = app_->State();
    const std::optional<EditedButton> edited = EditedButtonNow();
    if (!edited) return;
    PaceDialog dialog(edited->Caption(), model.editor.pace, model.settings.RepeatPace());
    if (!RunDialog(dialog) || !EditorStillShows(*edited, "pace")) return;
    EditorButton editor = app_->State().editor;
    editor.pace = dialog.Chosen();
    app_->ChangeEditor(editor);
}

// As the pace: "Try" runs the text as it stands, whichever button the editor shows by then.
void MainWindow::OpenMacro() {
    const std::optional<EditedButton> edited = EditedButtonNow();
    if (!edited) return;
    MacroDialog dialog(edited->Caption(), app_->State().editor.macro, app_->AnsiCodePage(),
                       [this](const std::string& text) {
                           if (app_) app_->TryMacro(text);
                       });
    if (!RunDialog(dialog) || !EditorStillShows(*edited, "macro")) return;
    EditorButton editor = app_->State().editor;
    editor.macro = dialog.Chosen();
    app_->ChangeEditor(editor);
}

std::string MainWindow::EditedButton::Caption() const {
    return "'" + button + "' for " + (program.empty() ? std::string(kAllPrograms) : program);
}

std::optional<MainWindow::EditedButton> MainWindow::EditedButtonNow() const {
    const Model& model = app_->State();
    const std::string key = EditorKey(model.editor);
    if (key.empty()) return std::nullopt;
    return EditedButton{key, model.editorProgram, EditedButtonName(model.editor)};
}

bool MainWindow::EditorStillShows(const EditedButton& edited, const char* what) {
    if (EditorKey(app_->State().editor) == edited.key && app_->State().editorProgram == edited.program) return true;
    const std::string text = std::string("A press brought another button into the editor; the ") + what + " of '" +
                             edited.button + "' is unchanged.";
    MessageBoxA(window_, text.c_str(), "Quorvel", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

}  // namespace quorvel
