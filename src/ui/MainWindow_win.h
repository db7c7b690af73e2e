#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ResourceIds.h"
#include "model/Model.h"
#include "osd/OsdColour_win.h"
#include "platform/Log.h"
#include "platform/Timer.h"
#include "platform/win32/BaseWindow.h"
#include "platform/win32/MainThread_win32.h"
#include "platform/win32/TrayIcon_win32.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/WindowTimer_win32.h"
#include "ui/KeyCaptureField_win.h"
#include "ui/LinkLabels_win.h"
#include "ui/StatusBar_win.h"
#include "ui/TrayMenu_win.h"

namespace quorvel {

class Application;
class FormDialog;

// A control's hint: the words the guide uses for it.
struct ControlHint {
    int id;
    const char* text;
};

// The program's only ordinary window, with its tray icon and the icon's menu. It shows the
// model and turns what the user does in it into calls on the application.
class MainWindow final : public BaseWindow<MainWindow>, public ModelObserver {
public:
    MainWindow(HINSTANCE instance, Log& log);
    ~MainWindow() override;

    // Creates the window and its controls, hidden, the tray icon (not yet shown), the timers
    // and the route from other threads; what follows needs a window that Create made.
    bool Create();
    // From now on the window shows this application's model and passes the user's actions on.
    void Attach(Application* application);

    Timer& MainT() { return *mainT_; }
    Timer& OffTimer() { return *offTimer_; }
    Timer& MacroTimer() { return *macroTimer_; }
    TrayIcon& Tray() { return *tray_; }
    // Asks the copy of the program that runs already to show its window.
    void ShowRunningCopy();
    // The window in front on its "WinLIRC" tab, where the receiver is set.
    void OpenReceiverSettings();
    // Work other threads hand to the main thread runs on this window's messages.
    MainThread& PostedWork() { return *postedWork_; }

    void Changed(Aspect aspect) override;

private:
    friend class BaseWindow<MainWindow>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnTimer(UINT_PTR id);
    void OnTrayMessage(UINT mouseMessage);
    void OnMenuChoice(TrayMenuItem item);
    // The application the user works in, the one in front before the tray icon was clicked,
    // gets the foreground again.
    void ReturnToApplication();
    // Neither the tray under the pointer nor one of this program's windows.
    bool IsApplication(HWND window, HWND tray) const;
    HWND FirstApplicationBelow(HWND tray) const;
    void OnClose();
    void Restore();
    void Minimize();

    // What the user did to a control (MainWindowCommands_win.cpp).
    void OnCommand(int id, int code, HWND control);
    void OnCheckClicked(int id);
    void OnListChosen(int id);
    void OnTextEdited(int id);
    void ChooseApplication();
    // The filter lists pairs of a description and its patterns, as the open dialog takes them.
    std::optional<std::string> ChooseFile(std::string path, const char* title, const wchar_t* filter);
    void ChooseOsdColour();

    // The dialogs (MainWindowDialogs_win.cpp): one at a time, over the window.
    void OpenTiming();
    void OpenPace();
    void OpenMacro();
    // The editor's button as a dialog opens for it: its key, its program and its name.
    struct EditedButton {
        std::string key;
        std::string program;
        std::string button;
        // "'Play' for all programs", the dialog's first line.
        std::string Caption() const;
    };
    // Nothing while no button has been read.
    std::optional<EditedButton> EditedButtonNow() const;
    // Whether the editor still shows the button a dialog was opened for; when not, says that
    // what the dialog chose for it is not taken.
    bool EditorStillShows(const EditedButton& edited, const char* what);
    bool RunDialog(FormDialog& dialog);

    // The model on the screen (MainWindowModel_win.cpp).
    void ShowAll();
    void ShowSettings();
    void ShowMode();
    void ShowShownButton();
    void ShowEditor();
    void ShowMacro(const std::string& macro);
    void ShowReceiver();
    void ShowListener();
    void ShowStatus();
    void ShowIdentity();

    // The "Programs" group (ProgramsPage_win.cpp).
    bool OnProgramsCommand(int id, int code);
    void ShowPrograms();
    void ShowProgramDefinition();
    void AddProgramHints();
    void SetText(int id, const std::string& text);
    void SetChecked(int id, bool checked);
    void SetChoice(int id, int index);
    void SetItems(int id, const std::vector<std::string>& items);
    void FitListWidth(HWND list);
    void SetIndicatorImage(int index);

    // Fonts, pictures and places for the current DPI (MainWindowLook_win.cpp).
    void CreateControls();
    void FillLists();
    void AddHints();
    void AddControlHints(std::span<const ControlHint> hints);
    void AddHint(HWND control, const char* text);
    void ChangeHint(HWND control, const std::string& text);
    void Layout();
    void CreateFonts();
    void SizeTabs();
    void LoadPictures();
    UniqueIcon LoadIconSized(int id, int width, int height) const;
    void OnTabChange();
    void OnDpiChanged(int dpi, const RECT& suggested);
    void PlaceControls();
    // The whole window within the work area of its screen; what does not fit scrolls.
    void FitWorkArea(bool centre);
    void ScrollTo(int position);
    void OnScroll(int request);
    LRESULT OnControlColor(HDC dc, HWND control);
    bool OnDrawItem(const DRAWITEMSTRUCT& item);
    bool OnSetCursor(HWND control);
    bool IsPageControl(HWND control) const;
    int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    std::string TextOf(int id) const;
    bool IsChecked(int id) const;
    int ChoiceOf(int id) const;

    HINSTANCE instance_;
    Log& log_;
    Application* app_ = nullptr;
    // Set while the window shows the model, so that the controls' own change notifications
    // are not taken for the user's edits.
    bool showing_ = false;
    StatusBar statusBar_;
    // How far the content is scrolled up, in pixels.
    int scroll_ = 0;
    HWND hints_ = nullptr;           // owned by the window, which destroys it
    HWND appBeforeTray_ = nullptr;   // the window in front before the tray icon was clicked
    std::vector<HWND> controls_;     // one per entry of the layout, in its order
    UniqueFont font_;
    UniqueFont boldFont_;
    UniqueFont linkFont_;
    int dpi_ = 96;
    UINT taskbarCreatedMessage_;
    UINT showWindowMessage_;
    std::unique_ptr<Win32WindowTimer> mainT_;
    std::unique_ptr<Win32WindowTimer> offTimer_;
    std::unique_ptr<Win32WindowTimer> macroTimer_;
    std::unique_ptr<Win32MainThread> postedWork_;
    std::vector<UniqueIcon> pictures_;
    // Of pictures_, and their sizes: the ones the picture buttons draw themselves, by control.
    struct ButtonPicture {
        HICON icon;
        int size;
    };
    std::map<int, ButtonPicture> buttonPictures_;
    std::array<UniqueIcon, IDI_TRAY_CLIENT - IDI_TRAY_FIRST + 1> indicatorPictures_;
    // The indicator shows pictures of the tray image list.
    static constexpr int kHeldIndicator = IDI_TRAY_HELD - IDI_TRAY_FIRST;
    static constexpr int kIdleIndicator = IDI_TRAY_IDLE - IDI_TRAY_FIRST;
    int indicatorShown_ = kIdleIndicator;
    Win32TrayMenu menu_;
    std::unique_ptr<Win32TrayIcon> tray_;
    KeyCaptureField keyCapture_;
    LinkLabels links_;
    OsdColourDialog colourDialog_;
    FormDialog* openDialog_ = nullptr;
};

}  // namespace quorvel
