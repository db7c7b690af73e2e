#pragma once

#include <string>

namespace quorvel {

enum class MessageKind { Information, Error };

// Modal message boxes with one OK button, captioned with the program's title.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void ShowMessage(const std::string& text, MessageKind kind) = 0;
};

}  // namespace quorvel
