#pragma once

#include <windows.h>

namespace quorvel {

// The kinds of controls the main window and its dialogs are made of.
inline constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX;
inline constexpr DWORD kLinkLabel = kLabel | SS_NOTIFY;
inline constexpr DWORD kCheck = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
inline constexpr DWORD kRadio = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
inline constexpr DWORD kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
inline constexpr DWORD kList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
inline constexpr DWORD kCaptureList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
// A themed group box paints its frame a few pixels wide; clipped by its siblings, it never paints
// over a control that lies close to its edge.
inline constexpr DWORD kGroup = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX;
inline constexpr DWORD kSpeedButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_ICON;
// A button that looks like the picture it shows (see DrawPictureButton).
inline constexpr DWORD kPictureButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
inline constexpr DWORD kPicture = WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL;
// A picture that takes the mouse: for its hint, or as a link.
inline constexpr DWORD kPictureLink = kPicture | SS_NOTIFY;
inline constexpr DWORD kSwatch = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOTIFY;
inline constexpr DWORD kPush = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

}  // namespace quorvel
