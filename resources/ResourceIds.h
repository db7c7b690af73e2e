#pragma once

// Resource identifiers, shared by Quorvel.rc and the code. Each icon holds 16, 20, 24 and 32 px
// images; those drawn for 32 px (the application, property and emulation icons) also 40 and
// 48 px, so every picture has its 100 %, 125 % and 150 % size.

// Explorer shows the icon with the lowest identifier as the program's.
#define IDI_APP 100

// Pictures of the tray icon (TrayIL), identifier = IDI_TRAY_FIRST + picture index.
#define IDI_TRAY_FIRST 110
#define IDI_TRAY_STARTING 110
#define IDI_TRAY_HELD 111
#define IDI_TRAY_IDLE 112
#define IDI_TRAY_CLIENT 113

// Pictures of the tray menu (PMIL), identifier = IDI_MENU_FIRST + picture index; "ON" marks
// the selected emulation mode, "OFF" the others.
#define IDI_MENU_FIRST 120
#define IDI_MENU_RESTORE 120
#define IDI_MENU_MINIMIZE 121
#define IDI_MENU_EXIT 122
#define IDI_MENU_WINLIRC_ON 123
#define IDI_MENU_WINLIRC_OFF 124
#define IDI_MENU_KEYS_ON 125
#define IDI_MENU_KEYS_OFF 126
#define IDI_MENU_MOUSE_ON 127
#define IDI_MENU_MOUSE_OFF 128
#define IDI_MENU_MESSAGES_ON 129
#define IDI_MENU_MESSAGES_OFF 130
#define IDI_MENU_TIMING 131

// The button properties editor: 32 px row icons, and the 16 px icon of KeyRepeatCB.
#define IDI_PROP_NAME 140
#define IDI_PROP_ACTION 141
#define IDI_PROP_MOUSE 142
#define IDI_PROP_KEY 143
#define IDI_PROP_MESSAGE 144
#define IDI_PROP_RUN 145
#define IDI_PROP_REPEAT 146

// 32 px emulation icons (WinLIRCEI, KeysEI, MsEI, WMEI), identifier = IDI_MODE_FIRST + mode - 1.
#define IDI_MODE_FIRST 150
#define IDI_MODE_WINLIRC 150
#define IDI_MODE_KEYS 151
#define IDI_MODE_MOUSE 152
#define IDI_MODE_MESSAGES 153

// 16 px speed-button glyphs: SaveButtonPropertiesSB, SaveSetSB, RunSB, TimingSB.
#define IDI_SAVE_BUTTON 160
#define IDI_SAVE_SETTINGS 161
#define IDI_BROWSE 162
#define IDI_TIMING 163

// The About group's pictures, not square: the flag 32 x 16 (also 40 x 20 and 48 x 24), the
// donation button 68 x 27 (also 85 x 34 and 102 x 41).
#define IDI_FLAG 170
#define IDI_DONATE 171
