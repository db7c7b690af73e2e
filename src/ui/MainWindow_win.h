#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "osd/OsdColour_win.h"
#include "platform/Timer.h"
#include "platform/win32/MainThread_win32.h"
#include "ui/Form.h"
#include "ui/KeyCaptureField_win.h"
#include "ui/LinkLabels_win.h"
#include "ui/TrayIcon_win.h"
#include "ui/TrayMenu_win.h"

namespace quorvel {

// A main-window timer (SetTimer/KillTimer); WM_TIMER reaches the form's events.
class WindowTimer final : public Timer {
public:
    WindowTimer(HWND& window, UINT_PTR id) : window_(window), id_(id) {}
    void Start(std::uint32_t intervalMs) override;
    void Stop() override;
    std::uint32_t IntervalMs() const override { return interval_; }

private:
    HWND& window_;
    UINT_PTR id_;
    std::uint32_t interval_ = 0;
};

// The program's only ordinary window, with its tray icon and the icon's menu. Its controls
// hold the program's state; the logic reaches them through the Form interface and hears
// about them through FormEvents.
class MainWindow final : public Form {
public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window and its controls, hidden, and the tray icon (not yet shown).
    bool Create();
    HWND Handle() const { return window_; }
    void SetEvents(FormEvents* events) { events_ = events; }
    Timer& MainT() { return mainT_; }
    Timer& OffTimer() { return offTimer_; }
    TrayIcon& Tray() { return *tray_; }
    TrayMenu& Menu() { return menu_; }
    MainThread& PostedWork() { return postedWork_; }

    std::string GetText(TextControl control) const override;
    void SetText(TextControl control, const std::string& text) override;
    bool IsChecked(CheckControl control) const override;
    void SetChecked(CheckControl control, bool checked) override;
    void ClickRadio(CheckControl radio) override;
    void SetItems(ListControl control, const std::vector<std::string>& items) override;
    int ItemCount(ListControl control) const override;
    std::string ItemText(ListControl control, int index) const override;
    int GetItemIndex(ListControl control) const override;
    void SetItemIndex(ListControl control, int index) override;
    void SetEnabled(ListControl control, bool enabled) override;
    void SetEnabled(TextControl control, bool enabled) override;
    void SetEnabled(CheckControl control, bool enabled) override;
    std::uint16_t KeyCodeValue() const override { return keyCodeValue_; }
    void SetKeyCodeValue(std::uint16_t value) override { keyCodeValue_ = value; }
    void SetStatusText(int panel, const std::string& text) override;
    void SetIndicatorImage(int index) override;
    void SetSwatchColour(std::uint32_t colour) override;
    std::optional<std::string> ChooseApplication() override;
    std::optional<std::uint32_t> ChooseColour(std::uint32_t current) override;
    void Restore() override;
    void Minimize() override;
    void Close() override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnCommand(int id, int code, HWND control);
    void OnTimer(UINT_PTR id);
    void OnTrayMessage(UINT mouseMessage);
    void OnClose();
    void OnTabChange();
    void OnDpiChanged(int dpi, const RECT& suggested);
    LRESULT OnControlColor(HDC dc, HWND control);
    bool OnDrawItem(const DRAWITEMSTRUCT& item);
    bool OnSetCursor(HWND control);

    // Places every control for the current DPI, with fonts and pictures of the matching size.
    void Layout();
    void CreateFonts();
    void AddHints();
    std::optional<std::string> ChooseFile(std::string path);
    void SizeTabs();
    void LoadPictures();
    HICON LoadIconSized(int id, int width, int height);
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
    bool IsPageControl(HWND control) const;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND hints_ = nullptr;  // owned by the window, which destroys it
    HWND appBeforeTray_ = nullptr;  // the window in front before the tray icon was clicked
    std::vector<HWND> controls_;  // one per entry of the layout, in its order
    HFONT font_ = nullptr;
    HFONT boldFont_ = nullptr;
    HFONT linkFont_ = nullptr;
    int dpi_ = 96;
    UINT taskbarCreatedMessage_;
    FormEvents* events_ = nullptr;
    WindowTimer mainT_;
    WindowTimer offTimer_;
    Win32MainThread postedWork_;
    std::uint16_t keyCodeValue_ = 0;
    std::uint32_t swatchColour_ = 0;
    std::vector<HICON> pictures_;
    std::array<HICON, 4> indicatorPictures_{};
    Win32TrayMenu menu_;
    std::unique_ptr<Win32TrayIcon> tray_;
    KeyCaptureField keyCapture_;
    LinkLabels links_;
    OsdColourDialog colourDialog_;
};

}  // namespace quorvel
