#include "ui/MainWindowLayout_win.h"

#include <commctrl.h>

#include "ResourceIds.h"
#include "ui/ControlIds.h"
#include "ui/ControlStyles_win.h"

namespace quorvel {
namespace {

namespace id = control_id;

// Group boxes, stacked from the top, each 237 wide; the controls inside are placed relative
// to their group.
struct Origin {
    int x, y;
};
constexpr Origin kRc{6, 4};
constexpr Origin kButton{6, 68};
constexpr Origin kEditor{6, 128};
constexpr Origin kEmulation{6, 284};
constexpr Origin kSettings{6, 320};
constexpr Origin kAbout{6, 436};
constexpr Origin kPrograms{6, 540};
constexpr int kGroupWidth = 237;

// The rows of the button properties editor: a 20 px picture, then the row's controls.
constexpr int kRowPitch = 24;
constexpr int kFirstRow = 32;
constexpr int Row(int index) { return kEditor.y + kFirstRow + index * kRowPitch; }
constexpr int kEditorLeft = kEditor.x + 32;
constexpr int kFieldHeight = 21;

// Check boxes of the settings pages, in two columns.
constexpr int kPageTop = kSettings.y + 39;
constexpr int kPagePitch = 16;
constexpr int kLeftColumn = kSettings.x + 10;
constexpr int kLeftColumnWidth = 112;
constexpr int kRightColumn = kLeftColumn + kLeftColumnWidth;
constexpr int kRightColumnWidth = 100;

constexpr int kProgramsLeft = kPrograms.x + 10;

// Each mode's radio button and picture.
constexpr int ModeX(int index) { return kEmulation.x + 10 + index * 58; }
constexpr int kModeY = kEmulation.y + 14;

constexpr ControlSpec kControls[] = {
    {0, "BUTTON", "RC", kGroup, kRc.x, kRc.y, kGroupWidth, 61},
    {id::WDMCB, "COMBOBOX", "", kList | WS_DISABLED, kRc.x + 8, kRc.y + 16, 221, 160},
    {0, "STATIC", "Remote:", kLabel, kRc.x + 8, kRc.y + 43, 52, 13},
    {id::RemoteNameE, "EDIT", "", kEdit, kRc.x + 62, kRc.y + 39, 167, 19},

    // One pixel lower than the other groups, so that its frame ends above the editor's.
    {0, "BUTTON", "RC Button", kGroup, kButton.x, kButton.y, kGroupWidth, 60},
    {0, "STATIC", "RC Code:", kLabel, kButton.x + 8, kButton.y + 16, 92, 13},
    {id::Code1ST, "STATIC", "", kLabel, kButton.x + 100, kButton.y + 16, 24, 13, Page::Always, 0, Look::Blue},
    {0, "STATIC", "Repeat Count:", kLabel, kButton.x + 128, kButton.y + 16, 82, 13},
    {id::RepeatCountL, "STATIC", "0", kLabel, kButton.x + 212, kButton.y + 16, 18, 13},
    {0, "STATIC", "Extended Code:", kLabel, kButton.x + 8, kButton.y + 30, 92, 13},
    {id::Code2ST, "STATIC", "", kLabel, kButton.x + 100, kButton.y + 30, 80, 13, Page::Always, 0, Look::Blue},
    {0, "STATIC", "Name:", kLabel, kButton.x + 8, kButton.y + 44, 92, 13},
    {id::NameST, "STATIC", "", kLabel, kButton.x + 100, kButton.y + 44, 108, 13, Page::Always, 0, Look::Blue},
    {id::KeyPI, "STATIC", "", kPicture, kButton.x + 213, kButton.y + 39, 16, 16, Page::Always, IDI_TRAY_IDLE},

    {id::NameGB, "BUTTON", kEditorCaption, kGroup, kEditor.x, kEditor.y, kGroupWidth, 153},
    {0, "STATIC", "RC Code:", kLabel, kEditor.x + 8, kEditor.y + 16, 53, 13},
    {id::NameRCCodeST, "STATIC", "...", kLabel, kEditor.x + 61, kEditor.y + 16, 17, 13, Page::Always, 0, Look::Blue},
    {0, "STATIC", "Extended Code:", kLabel, kEditor.x + 78, kEditor.y + 16, 92, 13},
    {id::NameRCCodeExST, "STATIC", "...", kLabel, kEditor.x + 171, kEditor.y + 16, 62, 13, Page::Always, 0,
     Look::Blue},
    {0, "STATIC", "", kPicture, kEditor.x + 8, Row(0), 20, 20, Page::Always, IDI_PROP_NAME},
    {0, "STATIC", "Name:", kLabel, kEditorLeft, Row(0) + 4, 38, 13},
    {id::NameE, "EDIT", "", kEdit, kEditorLeft + 39, Row(0), 97, kFieldHeight},
    {id::KeyRepeatCB, "BUTTON", "", kCheck, kEditor.x + 174, Row(0) + 3, 14, 16},
    {id::PaceB, "BUTTON", "Pace...", kPictureButton, kEditor.x + 189, Row(0) + 3, 16, 16, Page::Always,
     IDI_PROP_REPEAT},
    {id::SaveButtonPropertiesSB, "BUTTON", "Save Button Properties", kSpeedButton, kEditor.x + 207, Row(0) - 1, 22, 22, Page::Always,
     IDI_SAVE_BUTTON},
    // The action's picture opens the button's macro, which acts instead of the action.
    {id::MacroB, "BUTTON", kNoMacroCaption, kPictureButton, kEditor.x + 8, Row(1), 20, 20, Page::Always,
     IDI_PROP_ACTION},
    {id::NameActionCB, "COMBOBOX", "", kList, kEditorLeft, Row(1), 90, 200},
    {0, "STATIC", "", kPicture, kEditor.x + 126, Row(1), 20, 20, Page::Always, IDI_PROP_MOUSE},
    {id::MsCB, "COMBOBOX", "", kList, kEditor.x + 149, Row(1), 80, 240},
    {0, "STATIC", "", kPicture, kEditor.x + 8, Row(2), 20, 20, Page::Always, IDI_PROP_KEY},
    {id::KeyE, "COMBOBOX", "", kCaptureList, kEditorLeft, Row(2), 148, 300},
    {id::LWinCB, "BUTTON", "Win", kCheck, kEditor.x + 188, Row(2) + 3, 41, 16},
    {0, "STATIC", "", kPicture, kEditor.x + 8, Row(3), 20, 20, Page::Always, IDI_PROP_MESSAGE},
    {id::NameMessageCB, "COMBOBOX", "", kList, kEditorLeft, Row(3), 197, 300},
    {0, "STATIC", "", kPicture, kEditor.x + 8, Row(4), 20, 20, Page::Always, IDI_PROP_RUN},
    {id::RunE, "EDIT", "", kEdit, kEditorLeft, Row(4), 173, kFieldHeight},
    {id::RunSB, "BUTTON", "Select application to run...", kSpeedButton, kEditor.x + 207, Row(4) - 1, 22, 22, Page::Always, IDI_BROWSE},

    // One pixel lower, so that its frame ends above the settings' group.
    {0, "BUTTON", "Emulation", kGroup, kEmulation.x, kEmulation.y, kGroupWidth, 36},
    {id::WinLIRCRB, "BUTTON", "", kRadio | WS_GROUP | WS_TABSTOP, ModeX(0), kModeY + 2, 14, 16},
    {id::WinLIRCEI, "STATIC", "", kPictureLink, ModeX(0) + 16, kModeY, 20, 20, Page::Always, IDI_MODE_WINLIRC},
    {id::KeysRB, "BUTTON", "", kRadio, ModeX(1), kModeY + 2, 14, 16},
    {id::KeysEI, "STATIC", "", kPictureLink, ModeX(1) + 16, kModeY, 20, 20, Page::Always, IDI_MODE_KEYS},
    {id::MouseRB, "BUTTON", "", kRadio, ModeX(2), kModeY + 2, 14, 16},
    {id::MsEI, "STATIC", "", kPictureLink, ModeX(2) + 16, kModeY, 20, 20, Page::Always, IDI_MODE_MOUSE},
    {id::WMRB, "BUTTON", "", kRadio, ModeX(3), kModeY + 2, 14, 16},
    {id::WMEI, "STATIC", "", kPictureLink, ModeX(3) + 16, kModeY, 20, 20, Page::Always, IDI_MODE_MESSAGES},

    // The pages' controls come before the tab control, so they lie above it.
    {0, "BUTTON", "Settings", kGroup, kSettings.x, kSettings.y, kGroupWidth, 113},
    {id::AutorunCB, "BUTTON", "Autorun", kCheck | WS_GROUP, kLeftColumn, kPageTop, kLeftColumnWidth, 16, Page::General},
    {id::AutorepeatCB, "BUTTON", "Autorepeat", kCheck, kRightColumn, kPageTop, kRightColumnWidth, 16, Page::General},
    {id::ForceShutdownCB, "BUTTON", "Force Shutdown", kCheck, kLeftColumn, kPageTop + kPagePitch, kLeftColumnWidth, 16,
     Page::General},
    {id::ForceSuspendCB, "BUTTON", "Force Sleep", kCheck, kRightColumn, kPageTop + kPagePitch, kRightColumnWidth, 16,
     Page::General},
    {id::SoundCB, "BUTTON", "Sound", kCheck, kLeftColumn, kPageTop + 2 * kPagePitch, kLeftColumnWidth, 16, Page::General},
    {id::BHCB, "BUTTON", "Balloon Hints", kCheck, kRightColumn, kPageTop + 2 * kPagePitch, kRightColumnWidth, 16,
     Page::General},
    {id::OSDCB, "BUTTON", "OSD", kCheck, kLeftColumn, kPageTop + 3 * kPagePitch, 46, 16, Page::General},
    {id::OSDFI, "STATIC", "", kSwatch, kLeftColumn + 48, kPageTop + 3 * kPagePitch + 3, 10, 10, Page::General},
    // Halfway between the swatch and the right column, below the row above.
    {id::TimingSB, "BUTTON", "Timing...", kSpeedButton, kLeftColumn + 74, kPageTop + 3 * kPagePitch, 22, 22,
     Page::General, IDI_TIMING},
    {id::OSD2CB, "BUTTON", "Display 2", kCheck, kRightColumn, kPageTop + 3 * kPagePitch, 78, 16, Page::General},
    {id::SaveSetSB, "BUTTON", "Save Settings", kSpeedButton, kSettings.x + 204, kPageTop + 3 * kPagePitch - 3, 22, 22,
     Page::General, IDI_SAVE_SETTINGS},
    {id::LIRCServerCB, "BUTTON", "Enabled", kCheck, kLeftColumn, kPageTop, 98, 16, Page::WinLirc},
    {0, "STATIC", "Port:", kLabel, kLeftColumn, kPageTop + 25, 30, 13, Page::WinLirc},
    {id::LIRCServerPortE, "EDIT", "8765", kEdit | ES_NUMBER, kLeftColumn + 32, kPageTop + 21, 48, kFieldHeight,
     Page::WinLirc},
    {0, "STATIC", "Clients:", kLabel, kRightColumn, kPageTop + 25, 48, 13, Page::WinLirc},
    {id::LIRCServerClientsL, "STATIC", "...", kLabel, kRightColumn + 50, kPageTop + 25, 30, 13, Page::WinLirc},
    {id::LIRCSaveSB, "BUTTON", "Save Settings", kSpeedButton, kSettings.x + 204, kPageTop + 20, 22, 22, Page::WinLirc,
     IDI_SAVE_SETTINGS},
    {id::NetworkReceiverCB, "BUTTON", "Receive from", kCheck, kLeftColumn, kPageTop + 49, 96, 16, Page::WinLirc},
    {id::NetworkReceiverE, "EDIT", "", kEdit, kLeftColumn + 98, kPageTop + 46, 116, kFieldHeight, Page::WinLirc},
    {id::BTVCB, "BUTTON", "BeholdTV priority", kCheck, kLeftColumn, kPageTop, 200, 16, Page::Beholder},
    {id::ComproRemoteOffCB, "BUTTON", "ComproRemote disable", kCheck, kLeftColumn, kPageTop, 200, 16, Page::Compro},
    {id::ComproDTVCB, "BUTTON", "Compro DTV 4 interaction", kCheck, kLeftColumn, kPageTop + kPagePitch, 200, 16,
     Page::Compro},
    {id::SPC, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | TCS_FIXEDWIDTH, kSettings.x + 4,
     kSettings.y + 14, 229, 96},

    {0, "BUTTON", "About", kGroup, kAbout.x, kAbout.y, kGroupWidth, 101},
    {id::ProgNameL, "STATIC", "Quorvel", kLabel, kAbout.x + 4, kAbout.y + 16, 80, 13, Page::Always, 0, Look::Bold},
    {id::VersionL, "STATIC", "", kLabel, kAbout.x + 88, kAbout.y + 16, 76, 13},
    {id::FlagI, "STATIC", "", kPicture, kAbout.x + 166, kAbout.y + 10, 32, 16, Page::Always, IDI_FLAG},
    // The operating system's line lies between the maker's line and the links, touching neither;
    // "OS:" and its value share one top, so that they stand on one line at every DPI.
    {id::AuthorL, "STATIC", "Vantrel", kLabel, kAbout.x + 4, kAbout.y + 32, 130, 13, Page::Always, 0, Look::Blue},
    {id::CopyrightL, "STATIC", "2024-2026", kLabel, kAbout.x + 142, kAbout.y + 32, 86, 13, Page::Always, 0,
     Look::Blue},
    {id::OSNL, "STATIC", "OS:", kLabel, kAbout.x + 2, kAbout.y + 46, 21, 13},
    {id::OSL, "STATIC", "", kLabel, kAbout.x + 25, kAbout.y + 46, 205, 13, Page::Always, 0, Look::Blue},
    {id::HomeL, "STATIC", "www.vantrel.example", kLinkLabel, kAbout.x + 6, kAbout.y + 60, 150, 13, Page::Always, 0,
     Look::Link},
    {id::MailL, "STATIC", "support@vantrel.example", kLinkLabel, kAbout.x + 4, kAbout.y + 76, 150, 13, Page::Always,
     0, Look::Link},
    {id::DonateI, "STATIC", "", kPictureLink, kAbout.x + 161, kAbout.y + 62, 68, 27, Page::Always, IDI_DONATE},

    // Below everything else, so that every other control keeps its place. Three rows: the program
    // the editor shows and its mode; a program to add; the editor's button there.
    {0, "BUTTON", "Programs", kGroup, kPrograms.x, kPrograms.y, kGroupWidth, 89},
    {id::ProgramCB, "COMBOBOX", "", kList, kProgramsLeft, kPrograms.y + 14, 100, 200},
    {id::ProgramModeCB, "COMBOBOX", "", kList, kProgramsLeft + 103, kPrograms.y + 14, 119, 200},
    {id::ProgramAddE, "COMBOBOX", "", kCaptureList, kProgramsLeft, kPrograms.y + 38, 130, 200},
    {id::ProgramAddB, "BUTTON", "Add", kPush, kProgramsLeft + 134, kPrograms.y + 38, 38, kFieldHeight},
    {id::ProgramBrowseB, "BUTTON", "...", kPush, kProgramsLeft + 175, kPrograms.y + 38, 39, kFieldHeight},
    {id::ProgramDefinitionL, "STATIC", "", kLabel, kProgramsLeft, kPrograms.y + 66, 84, 13},
    {id::ProgramUseGlobalB, "BUTTON", "Use Global", kPush, kProgramsLeft + 86, kPrograms.y + 62, 70, kFieldHeight},
    {id::ProgramRemoveB, "BUTTON", "Remove", kPush, kProgramsLeft + 158, kPrograms.y + 62, 56, kFieldHeight},
};

}  // namespace

std::span<const ControlSpec> MainWindowControls() { return kControls; }

}  // namespace quorvel
