#pragma once

// Dialog control identifiers of the main window's controls and of its dialogs' controls, by
// control name. Tools outside the program (the end-to-end tests' window reader) find a control by
// these numbers.
#define QUORVEL_CONTROLS(X) \
    X(WDMCB, 1001)          \
    X(RemoteNameE, 1003)    \
    X(Code1ST, 1010)        \
    X(Code2ST, 1011)        \
    X(NameST, 1012)         \
    X(RepeatCountL, 1013)   \
    X(KeyPI, 1014)          \
    X(NameGB, 1015)         \
    X(NameRCCodeST, 1020)   \
    X(NameRCCodeExST, 1021) \
    X(NameE, 1022)          \
    X(KeyRepeatCB, 1023)    \
    X(SaveButtonPropertiesSB, 1024) \
    X(NameActionCB, 1025)   \
    X(MsCB, 1026)           \
    X(KeyE, 1027)           \
    X(LWinCB, 1028)         \
    X(NameMessageCB, 1029)  \
    X(RunE, 1030)           \
    X(RunSB, 1031)          \
    X(PaceB, 1032)          \
    X(MacroB, 1033)         \
    X(WinLIRCRB, 1040)      \
    X(KeysRB, 1041)         \
    X(MouseRB, 1042)        \
    X(WMRB, 1043)           \
    X(WinLIRCEI, 1044)      \
    X(KeysEI, 1045)         \
    X(MsEI, 1046)           \
    X(WMEI, 1047)           \
    X(SPC, 1050)            \
    X(AutorunCB, 1051)      \
    X(AutorepeatCB, 1052)   \
    X(ForceShutdownCB, 1053) \
    X(ForceSuspendCB, 1054) \
    X(SoundCB, 1055)        \
    X(BHCB, 1056)           \
    X(OSDCB, 1057)          \
    X(OSD2CB, 1058)         \
    X(OSDFI, 1059)          \
    X(SaveSetSB, 1060)      \
    X(TimingSB, 1081)       \
    X(LIRCServerCB, 1061)   \
    X(LIRCServerPortE, 1062) \
    X(LIRCServerClientsL, 1063) \
    X(BTVCB, 1064)          \
    X(ComproRemoteOffCB, 1065) \
    X(ComproDTVCB, 1066)    \
    X(NetworkReceiverCB, 1067) \
    X(NetworkReceiverE, 1068) \
    X(LIRCSaveSB, 1069)     \
    X(ProgNameL, 1070)      \
    X(VersionL, 1071)       \
    X(OSL, 1072)            \
    X(HomeL, 1073)          \
    X(MailL, 1074)          \
    X(FlagI, 1075)          \
    X(AuthorL, 1076)        \
    X(CopyrightL, 1077)     \
    X(OSNL, 1078)           \
    X(DonateI, 1079)        \
    X(StatusSB, 1080)       \
    X(ProgramCB, 1090)      \
    X(ProgramModeCB, 1091)  \
    X(ProgramAddE, 1092)    \
    X(ProgramAddB, 1093)    \
    X(ProgramBrowseB, 1094) \
    X(ProgramDefinitionL, 1095) \
    X(ProgramUseGlobalB, 1096) \
    X(ProgramRemoveB, 1097) \
    X(RepeatDelayE, 1101)   \
    X(RepeatIntervalE, 1102) \
    X(LongPressTimeE, 1103) \
    X(DoublePressTimeE, 1104) \
    X(ScanCodesCB, 1105)    \
    X(PaceButtonL, 1110)    \
    X(PaceSettingsRB, 1111) \
    X(PaceOwnRB, 1112)      \
    X(PaceDelayE, 1113)     \
    X(PaceIntervalE, 1114)  \
    X(PaceFastestE, 1115)   \
    X(MacroButtonL, 1120)   \
    X(MacroE, 1121)         \
    X(MacroTryB, 1122)

// Command identifiers of the tray menu's items. Tools outside the program choose an item by
// posting WM_COMMAND with its identifier to the main window.
#define QUORVEL_TRAY_MENU(X) \
    X(WinLIRCPM, 2001)       \
    X(KeysPM, 2002)          \
    X(MousePM, 2003)         \
    X(WMAPPCOMMANDPM, 2004)  \
    X(RestorePM, 2005)       \
    X(MinimizePM, 2006)      \
    X(ExitPM, 2007)          \
    X(TimingPM, 2008)

namespace quorvel::control_id {
#define QUORVEL_CONTROL_ID(name, id) constexpr int name = id;
QUORVEL_CONTROLS(QUORVEL_CONTROL_ID)
QUORVEL_TRAY_MENU(QUORVEL_CONTROL_ID)
#undef QUORVEL_CONTROL_ID
}  // namespace quorvel::control_id

// The main window's class and caption.
#define QUORVEL_MAIN_CLASS "TMainForm"
#define QUORVEL_MAIN_CAPTION "Quorvel"

// The registered message by which a copy that starts while another runs asks the running one
// to show its window.
#define QUORVEL_SHOW_WINDOW_MESSAGE "QuorvelShowWindow"

// The message (WM_APP + 2) by which the shell reports mouse events on the tray icon to the
// main window: lParam is the mouse message (WM_LBUTTONUP a click, WM_RBUTTONUP the menu).
#define QUORVEL_TRAY_CALLBACK_MESSAGE 0x8002
