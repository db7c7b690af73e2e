#pragma once

#include <string>

#include "platform/Clock.h"

namespace quorvel {

class FakeClock final : public Clock {
public:
    std::string time = "21:07:45";
    std::string LongTimeText() override { return time; }
};

}  // namespace quorvel
