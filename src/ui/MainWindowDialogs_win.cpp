// The dialogs the window opens: the timing settings, and the pace of the editor's button.
#include "ui/MainWindow_win.h"

#include "engine/Application.h"
#include "engine/ButtonEditor.h"
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

// Only the four times change: whatever else happened to the settings meanwhile stays.
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
    const std::string key = EditorKey(model.editor);
    if (key.empty()) return;
    const std::string program = model.editorProgram;
    const std::string button = EditedButtonName(model.editor);
    PaceDialog dialog("'" + button + "' for " + (program.empty() ? kAllPrograms : program), model.editor.pace,
                      model.settings.RepeatPace());
    if (!RunDialog(dialog)) return;
    if (EditorKey(app_->State().editor) != key || app_->State().editorProgram != program) {
        const std::string text = "A press brought another button into the editor; the pace of '" + button +
                                 "' is unchanged.";
        MessageBoxA(window_, text.c_str(), "Quorvel", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EditorButton editor = app_->State().editor;
    editor.pace = dialog.Chosen();
    app_->ChangeEditor(editor);
}

}  // namespace quorvel
