#pragma once

#include <string>

namespace quorvel {

enum class MessageKind { Information, Error, Question };

// Modal message boxes captioned with the program's title.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // One OK button.
    virtual void ShowMessage(const std::string& text, MessageKind kind) = 0;
    // "Yes" and "No", "No" the default; true for "Yes".
    virtual bool Ask(const std::string& question, MessageKind kind) = 0;
};

}  // namespace quorvel
