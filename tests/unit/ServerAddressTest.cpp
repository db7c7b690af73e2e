#include <gtest/gtest.h>

#include "receivers/NetworkReceiver.h"
#include "receivers/ServerAddress.h"

namespace quorvel {
namespace {

TEST(ParseServerAddress, TakesHostPortAndBracketedIpv6AndRefusesTheRest) {
    const std::pair<const char*, std::optional<ServerAddress>> cases[] = {
        {"192.168.1.20:8765", ServerAddress{"192.168.1.20", 8765}},
        {"  localhost:8765\t", ServerAddress{"localhost", 8765}},
        {"lirc-box.example_net.local:1", ServerAddress{"lirc-box.example_net.local", 1}},
        {"[::1]:8765", ServerAddress{"::1", 8765}},
        {"[fe80::1%eth0]:65535", ServerAddress{"fe80::1%eth0", 65535}},
        {"", std::nullopt},
        {"localhost", std::nullopt},
        {"localhost:", std::nullopt},
        {":8765", std::nullopt},
        {"host:0", std::nullopt},
        {"host:65536", std::nullopt},
        {"host:87a5", std::nullopt},
        {"host: 8765", std::nullopt},
        {"my host:8765", std::nullopt},
        {"::1:8765", std::nullopt},
        {"[::1]8765", std::nullopt},
        {"[::1]", std::nullopt},
        {"[]:8765", std::nullopt},
        {"[localhost]:8765", std::nullopt},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(ParseServerAddress(text), expected) << text;
}

TEST(ServerAddress, LoopbackIsLocalhostOr127OrIpv6One) {
    for (const char* host : {"localhost", "LocalHost", "127.0.0.1", "127.1.2.3", "::1"}) {
        EXPECT_TRUE(NamesLoopback(host)) << host;
    }
    for (const char* host : {"192.168.1.20", "127.0.0", "127.example.com", "localhost.example", "::2", "lirc"}) {
        EXPECT_FALSE(NamesLoopback(host)) << host;
    }

    const auto v4 = [](std::uint8_t first, std::uint8_t last) { return SocketAddress{false, {first, 0, 0, last}}; };
    const auto v6 = [](std::array<std::uint8_t, 16> bytes) { return SocketAddress{true, bytes}; };
    EXPECT_TRUE(IsLoopback(v4(127, 1)));
    EXPECT_TRUE(IsLoopback(v4(127, 9)));
    EXPECT_FALSE(IsLoopback(v4(10, 1)));
    EXPECT_TRUE(IsLoopback(v6({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1})));
    EXPECT_TRUE(IsLoopback(v6({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 127, 0, 0, 1})));
    EXPECT_FALSE(IsLoopback(v6({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 10, 0, 0, 1})));
    EXPECT_FALSE(IsLoopback(v6({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2})));
    EXPECT_FALSE(IsLoopback(v6({0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1})));
}

TEST(RetryDelay, DoublesFromTwoSecondsUpToThirty) {
    const NetworkTimings timings;
    const std::pair<int, int> cases[] = {{0, 2000}, {1, 4000}, {2, 8000}, {3, 16000}, {4, 30000}, {30, 30000}};
    for (const auto& [failures, ms] : cases) {
        EXPECT_EQ(RetryDelay(failures, timings), std::chrono::milliseconds(ms)) << failures;
    }
}

}  // namespace
}  // namespace quorvel
