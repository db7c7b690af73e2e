// The dialogs the window opens: the timing settings.
#include "ui/MainWindow_win.h"

#include "engine/Application.h"
#include "ui/TimingDialog_win.h"

namespace quorvel {
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

}  // namespace quorvel
