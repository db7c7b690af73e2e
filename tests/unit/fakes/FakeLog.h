#pragma once

#include <string>
#include <vector>

#include "platform/Log.h"

namespace quorvel {

class FakeLog final : public Log {
public:
    std::vector<std::string> lines;
    void Write(const std::string& line) override { lines.push_back(line); }
};

}  // namespace quorvel
