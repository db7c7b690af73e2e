#pragma once

#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace quorvel {

class FakeDialogs final : public Dialogs {
public:
    struct Shown {
        std::string text;
        MessageKind kind;
        friend bool operator==(const Shown&, const Shown&) = default;
    };
    std::vector<Shown> shown;

    void ShowMessage(const std::string& text, MessageKind kind) override { shown.push_back({text, kind}); }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Shown& s : shown) texts.push_back(s.text);
        return texts;
    }
};

}  // namespace quorvel
