#include "ui/TrayMenu_win.h"

#include "ResourceIds.h"
#include "ui/ControlIds.h"
#include "ui/ModeImages.h"

namespace quorvel {
namespace {

namespace id = control_id;

struct MenuEntry {
    TrayMenuItem item;
    int commandId;
    const char* caption;
};

// In menu order; the separator goes after the modes. "Timing..." opens a window, as "Restore" does.
constexpr MenuEntry kEntries[] = {
    {TrayMenuItem::WinLIRCPM, id::WinLIRCPM, "WinLIRC"},
    {TrayMenuItem::KeysPM, id::KeysPM, "Keys"},
    {TrayMenuItem::MousePM, id::MousePM, "Mouse"},
    {TrayMenuItem::WMAPPCOMMANDPM, id::WMAPPCOMMANDPM, "Messages"},
    {TrayMenuItem::TimingPM, id::TimingPM, "Timing..."},
    {TrayMenuItem::RestorePM, id::RestorePM, "Restore"},
    {TrayMenuItem::MinimizePM, id::MinimizePM, "Minimize"},
    {TrayMenuItem::ExitPM, id::ExitPM, "Exit"},
};
constexpr int kPictureMargin = 2;

}  // namespace

Win32TrayMenu::Win32TrayMenu(HINSTANCE instance) : instance_(instance), menu_(CreatePopupMenu()) {
    for (int i = 0; i < kImageCount; ++i) {
        images_[static_cast<std::size_t>(i)].Reset(
            static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_MENU_FIRST + i), IMAGE_ICON, ImageSize(),
                                          ImageSize(), LR_DEFAULTCOLOR)));
    }
    for (const MenuEntry& entry : kEntries) {
        if (entry.item == TrayMenuItem::TimingPM) AppendMenuA(menu_.Get(), MF_SEPARATOR, 0, nullptr);
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP;
        info.wID = static_cast<UINT>(entry.commandId);
        info.dwTypeData = const_cast<char*>(entry.caption);
        info.hbmpItem = HBMMENU_CALLBACK;
        InsertMenuItemA(menu_.Get(), GetMenuItemCount(menu_.Get()), TRUE, &info);
    }
    itemImages_[static_cast<std::size_t>(TrayMenuItem::TimingPM)] = kTimingImage;
    itemImages_[static_cast<std::size_t>(TrayMenuItem::RestorePM)] = kRestoreImage;
    itemImages_[static_cast<std::size_t>(TrayMenuItem::MinimizePM)] = kMinimizeImage;
    itemImages_[static_cast<std::size_t>(TrayMenuItem::ExitPM)] = kExitImage;
    // The mode items' pictures follow the selected mode; none is selected until the settings load.
    ShowSelectedMode(EmulationMode::None);
}

int Win32TrayMenu::ImageSize() const { return GetSystemMetrics(SM_CXSMICON); }

void Win32TrayMenu::ShowSelectedMode(EmulationMode selected) {
    const std::array<int, 4> images = ModeMenuImages(selected);
    for (std::size_t i = 0; i < kModeMenuItems.size(); ++i) {
        itemImages_[static_cast<std::size_t>(kModeMenuItems[i])] = images[i];
    }
}

std::optional<TrayMenuItem> Win32TrayMenu::ItemOfCommand(int commandId) {
    for (const MenuEntry& entry : kEntries) {
        if (entry.commandId == commandId) return entry.item;
    }
    return std::nullopt;
}

std::optional<TrayMenuItem> Win32TrayMenu::Track(HWND owner) {
    POINT cursor;
    GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(owner);
    const int command = TrackPopupMenu(menu_.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, cursor.x, cursor.y, 0,
                                       owner, nullptr);
    PostMessageA(owner, WM_NULL, 0, 0);
    return ItemOfCommand(command);
}

bool Win32TrayMenu::Measure(MEASUREITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU || !ItemOfCommand(static_cast<int>(item.itemID))) return false;
    item.itemWidth = static_cast<UINT>(ImageSize());
    item.itemHeight = static_cast<UINT>(ImageSize() + 2 * kPictureMargin);
    return true;
}

bool Win32TrayMenu::Draw(const DRAWITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU) return false;
    const auto menuItem = ItemOfCommand(static_cast<int>(item.itemID));
    if (!menuItem) return false;
    const int image = itemImages_[static_cast<std::size_t>(*menuItem)];
    if (image < 0 || image >= kImageCount) return true;
    const int size = ImageSize();
    const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - size) / 2;
    DrawIconEx(item.hDC, item.rcItem.left, top, images_[static_cast<std::size_t>(image)].Get(), size, size, 0, nullptr,
               DI_NORMAL);
    return true;
}

}  // namespace quorvel
