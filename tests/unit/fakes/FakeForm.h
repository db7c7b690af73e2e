#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/Form.h"

namespace quorvel {

// The main window's controls in memory. It behaves as the real controls do: a radio click
// checks the button, unchecks its siblings and runs the click handler; an index outside a
// list chooses nothing. The window itself is a visibility state, and its dialogs answer with
// what the test put into them.
class FakeForm final : public Form {
public:
    FakeForm() {
        SetItems(ListControl::NameActionCB, {"None", "Sleep", "Hibernate", "Shutdown", "Change Mode", "Sleep Timer"});
        SetItems(ListControl::MsCB, {"None", "Move Left", "Move Right", "Move Up", "Move Down", "Click Left",
                                     "Click Right", "Click Middle", "DblClick Left", "Wheel Up", "Wheel Down"});
        std::vector<std::string> messages = {"None"};
        for (int i = 1; i < 55; ++i) messages.push_back("MESSAGE_" + std::to_string(i));
        messages[10] = "VOLUME_UP";
        SetItems(ListControl::NameMessageCB, messages);
        texts_[TextControl::KeyE] = "None";
    }

    enum class WindowState { Hidden, Shown, Closed };

    FormEvents* events = nullptr;
    std::vector<CheckControl> radioClicks;
    std::map<int, std::string> statusPanels;
    int indicatorImage = -1;
    int indicatorChanges = 0;
    std::vector<std::uint32_t> swatchColours;
    // The answers of the next dialogs; nothing stands for Cancel.
    std::optional<std::string> applicationChoice;
    std::optional<std::uint32_t> colourChoice;
    std::vector<std::uint32_t> colourDialogPresets;
    int fileDialogs = 0;
    WindowState window = WindowState::Hidden;
    int closeRequests = 0;

    std::string GetText(TextControl control) const override {
        const auto found = texts_.find(control);
        return found == texts_.end() ? std::string() : found->second;
    }
    void SetText(TextControl control, const std::string& text) override { texts_[control] = text; }

    bool IsChecked(CheckControl control) const override {
        const auto found = checks_.find(control);
        return found != checks_.end() && found->second;
    }
    void SetChecked(CheckControl control, bool checked) override { checks_[control] = checked; }

    void ClickRadio(CheckControl radio) override {
        radioClicks.push_back(radio);
        for (CheckControl sibling : {CheckControl::WinLIRCRB, CheckControl::KeysRB, CheckControl::MouseRB,
                                     CheckControl::WMRB}) {
            checks_[sibling] = sibling == radio;
        }
        if (events) events->OnClick(radio);
    }

    void SetItems(ListControl control, const std::vector<std::string>& items) override {
        lists_[control] = {items, -1};
    }
    int ItemCount(ListControl control) const override { return static_cast<int>(List(control).items.size()); }
    std::string ItemText(ListControl control, int index) const override {
        const auto& items = List(control).items;
        return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : std::string();
    }
    int GetItemIndex(ListControl control) const override { return List(control).index; }
    void SetItemIndex(ListControl control, int index) override {
        auto& list = lists_[control];
        list.index = index >= 0 && index < static_cast<int>(list.items.size()) ? index : -1;
    }

    void SetEnabled(ListControl control, bool enabled) override { enabled_[Key(control)] = enabled; }
    void SetEnabled(TextControl control, bool enabled) override { enabled_[Key(control)] = enabled; }
    void SetEnabled(CheckControl control, bool enabled) override { enabled_[Key(control)] = enabled; }
    template <typename Control>
    bool IsEnabled(Control control) const {
        const auto found = enabled_.find(Key(control));
        return found == enabled_.end() || found->second;
    }

    std::uint16_t KeyCodeValue() const override { return keyCodeValue_; }
    void SetKeyCodeValue(std::uint16_t value) override { keyCodeValue_ = value; }

    void SetStatusText(int panel, const std::string& text) override { statusPanels[panel] = text; }
    void SetIndicatorImage(int index) override {
        indicatorImage = index;
        ++indicatorChanges;
    }

    void SetSwatchColour(std::uint32_t colour) override { swatchColours.push_back(colour); }

    std::optional<std::string> ChooseApplication() override {
        ++fileDialogs;
        return applicationChoice;
    }
    std::optional<std::uint32_t> ChooseColour(std::uint32_t current) override {
        colourDialogPresets.push_back(current);
        return colourChoice;
    }

    void Restore() override { window = WindowState::Shown; }
    void Minimize() override {
        if (window == WindowState::Shown) window = WindowState::Hidden;
    }
    // As the real window: the close query decides, and an allowed close runs FormClose.
    void Close() override {
        ++closeRequests;
        if (window == WindowState::Closed || (events && !events->OnCloseQuery())) return;
        if (events) events->OnClose();
        window = WindowState::Closed;
    }

    std::vector<std::string> Items(ListControl control) const { return List(control).items; }

private:
    struct ListState {
        std::vector<std::string> items;
        int index = -1;
    };
    const ListState& List(ListControl control) const {
        static const ListState empty;
        const auto found = lists_.find(control);
        return found == lists_.end() ? empty : found->second;
    }
    static std::string Key(ListControl c) { return "list" + std::to_string(static_cast<int>(c)); }
    static std::string Key(TextControl c) { return "text" + std::to_string(static_cast<int>(c)); }
    static std::string Key(CheckControl c) { return "check" + std::to_string(static_cast<int>(c)); }

    std::map<TextControl, std::string> texts_;
    std::map<CheckControl, bool> checks_;
    std::map<ListControl, ListState> lists_;
    std::map<std::string, bool> enabled_;
    std::uint16_t keyCodeValue_ = 0;
};

}  // namespace quorvel
