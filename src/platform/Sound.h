#pragma once

#include <string>

namespace quorvel {

class Sound {
public:
    virtual ~Sound() = default;
    // PlaySoundA of the program's own WAVE resource, asynchronously.
    virtual void PlayResourceAsync(const std::string& name) = 0;
};

}  // namespace quorvel
