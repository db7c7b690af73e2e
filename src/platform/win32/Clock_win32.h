#pragma once

#include "platform/Clock.h"

namespace quorvel {

class Win32Clock final : public Clock {
public:
    std::string LongTimeText() override;
};

}  // namespace quorvel
