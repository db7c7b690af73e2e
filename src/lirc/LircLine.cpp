#include "lirc/LircLine.h"

#include <cstdio>

namespace quorvel {

std::string FormatLircLine(std::uint32_t extendedCode, std::uint8_t repeat, std::string_view buttonName,
                           std::string_view remoteName) {
    char head[24];
    std::snprintf(head, sizeof head, "%016llX %02X ", static_cast<unsigned long long>(extendedCode),
                  static_cast<unsigned>(repeat));
    std::string line(head);
    line.reserve(line.size() + buttonName.size() + remoteName.size() + 2);
    line.append(buttonName).append(1, ' ').append(remoteName).append(1, '\n');
    return line;
}

}  // namespace quorvel
