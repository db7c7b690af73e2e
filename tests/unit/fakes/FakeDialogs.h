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
    std::vector<std::string> asked;
    // The answer to every question.
    bool answer = true;

    void ShowMessage(const std::string& text, MessageKind kind) override { shown.push_back({text, kind}); }
    bool Ask(const std::string& question) override {
        asked.push_back(question);
        return answer;
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Shown& s : shown) texts.push_back(s.text);
        return texts;
    }
};

}  // namespace quorvel
