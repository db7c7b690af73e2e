#include "lirc/LircPort.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(LircPort, AcceptsDecimalNumbersFromOneTo65535) {
    const struct {
        const char* text;
        std::optional<std::uint16_t> port;
    } cases[] = {
        {"8765", 8765},  {"1", 1},          {"65535", 65535}, {"08765", 8765},     {" 8765 ", 8765},
        {"\t80", 80},    {"0", {}},         {"65536", {}},    {"99999999999", {}}, {"", {}},
        {"   ", {}},     {"-1", {}},        {"+80", {}},      {"87 65", {}},       {"8765x", {}},
        {"0x1F", {}},    {"\xB9\xB2", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParsePort(c.text), c.port) << '"' << c.text << '"';
}

}  // namespace
}  // namespace quorvel
