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
    // The answers to the questions asked, in turn; a question beyond them is answered "No".
    std::vector<bool> answers;

    void ShowMessage(const std::string& text, MessageKind kind) override { shown.push_back({text, kind}); }
    bool Ask(const std::string& question, MessageKind kind) override {
        shown.push_back({question, kind});
        if (answers.empty()) return false;
        const bool yes = answers.front();
        answers.erase(answers.begin());
        return yes;
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Shown& s : shown) texts.push_back(s.text);
        return texts;
    }
};

}  // namespace quorvel
