#pragma once

#include <string>

namespace quorvel {

// Requests to show a text in large letters for three seconds.
class OsdRequests {
public:
    virtual ~OsdRequests() = default;
    virtual void ShowOsd(const std::string& text, bool secondDisplay) = 0;
};

}  // namespace quorvel
