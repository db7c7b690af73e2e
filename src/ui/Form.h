#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/TrayMenu.h"

namespace quorvel {

// The main window's controls, named as the window names them. They hold the program's
// state (the mode is the checked radio button, settings are check boxes, the editor is
// the last button read); the logic reads and writes them only through this interface.

enum class TextControl {
    Code1ST, Code2ST, NameST, RepeatCountL,
    NameRCCodeST, NameRCCodeExST, NameE, KeyE, RunE,
    RCTypeL, LIRCServerPortE, LIRCServerClientsL, OSL, VersionL,
};

enum class CheckControl {
    AutorepeatCB, KeyRepeatCB, LWinCB, SoundCB, BHCB, OSDCB, OSD2CB,
    BTVCB, ComproRemoteOffCB, ComproDTVCB, LIRCServerCB, AutorunCB,
    ForceShutdownCB, ForceSuspendCB,
    WinLIRCRB, KeysRB, MouseRB, WMRB,
};

// KeyE is also a list: the keys the capture cannot take from the keyboard.
enum class ListControl { NameActionCB, MsCB, NameMessageCB, WDMCB, KeyE };

// OSDFI, the OSD colour swatch, is clicked like a button.
enum class ButtonControl { SaveButtonPropertiesSB, SaveSetSB, RunSB, OSDFI };

enum class TimerId { MainT, OffTimer };

// The modifier keys held at the moment of a key-down.
struct KeyModifiers {
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
};

// Handlers the form runs when the user (or a simulated click) acts on a control, on the tray
// icon or its menu, and when Windows asks about the session.
class FormEvents {
public:
    virtual ~FormEvents() = default;
    virtual void OnClick(CheckControl control) = 0;
    virtual void OnListChange(ListControl control) = 0;
    virtual void OnButtonClick(ButtonControl control) = 0;
    // A key pressed while the key capture field KeyE has the focus.
    virtual void OnKeyEKeyDown(std::uint16_t virtualKey, KeyModifiers held) = 0;
    virtual void OnTimer(TimerId timer) = 0;
    // WM_POWERBROADCAST, before the window's default handling.
    virtual void OnPowerBroadcast(std::uintptr_t event) = 0;
    virtual void OnTrayClick() = 0;
    virtual void OnMenuClick(TrayMenuItem item) = 0;
    // FormCloseQuery: whether the window may close; FormClose: it is closing.
    virtual bool OnCloseQuery() = 0;
    virtual void OnClose() = 0;
    // WM_QUERYENDSESSION: whether the logon may end; WM_ENDSESSION: it ends (or not).
    virtual bool OnQueryEndSession() = 0;
    virtual void OnEndSession(bool ending) = 0;
};

class Form {
public:
    virtual ~Form() = default;

    virtual std::string GetText(TextControl control) const = 0;
    virtual void SetText(TextControl control, const std::string& text) = 0;

    virtual bool IsChecked(CheckControl control) const = 0;
    virtual void SetChecked(CheckControl control, bool checked) = 0;
    // A click on a radio button as the mouse makes it (WM_LBUTTONDOWN, then WM_LBUTTONUP):
    // the button checks itself, unchecks its siblings and runs its click handler.
    virtual void ClickRadio(CheckControl radio) = 0;

    virtual void SetItems(ListControl control, const std::vector<std::string>& items) = 0;
    virtual int ItemCount(ListControl control) const = 0;
    virtual std::string ItemText(ListControl control, int index) const = 0;
    // -1 when nothing is chosen; an index outside the list chooses nothing.
    virtual int GetItemIndex(ListControl control) const = 0;
    virtual void SetItemIndex(ListControl control, int index) = 0;

    virtual void SetEnabled(ListControl control, bool enabled) = 0;
    virtual void SetEnabled(TextControl control, bool enabled) = 0;
    virtual void SetEnabled(CheckControl control, bool enabled) = 0;

    // The key code value held with KeyE (its tag).
    virtual std::uint16_t KeyCodeValue() const = 0;
    virtual void SetKeyCodeValue(std::uint16_t value) = 0;

    virtual void SetStatusText(int panel, const std::string& text) = 0;
    // The button indicator KeyPI, by image index of the tray image list.
    virtual void SetIndicatorImage(int index) = 0;
    // The OSD colour swatch OSDFI, a Windows colour value 0x00BBGGRR.
    virtual void SetSwatchColour(std::uint32_t colour) = 0;

    // The open-file dialog of RunSB; the chosen file's full path, nothing when cancelled.
    virtual std::optional<std::string> ChooseApplication() = 0;
    // The colour dialog of OSDFI, preset to the given colour; nothing when cancelled.
    virtual std::optional<std::uint32_t> ChooseColour(std::uint32_t current) = 0;

    // Shows the window, restores it from the tray and brings it to the front.
    virtual void Restore() = 0;
    // Sends the program to the tray: the window and its taskbar button are hidden.
    virtual void Minimize() = 0;
    // Asks the window to close, as its close box does.
    virtual void Close() = 0;
};

}  // namespace quorvel
