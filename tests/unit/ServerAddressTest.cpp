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

    const auto v6 = [](std::uint8_t b10, std::uint8_t b11, std::uint8_t b12, std::uint8_t b15) {
        return SocketAddress{true, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, b10, b11, b12, 0, 0, b15}};
    };
    EXPECT_TRUE(IsLoopback(SocketAddress{false, {127, 0, 0, 9}}));
    EXPECT_FALSE(IsLoopback(SocketAddress{false, {10, 0, 0, 1}}));
    EXPECT_TRUE(IsLoopback(v6(0, 0, 0, 1)));
    EXPECT_TRUE(IsLoopback(v6(0xFF, 0xFF, 127, 1)));
    EXPECT_FALSE(IsLoopback(v6(0xFF, 0xFF, 10, 1)));
    EXPECT_FALSE(IsLoopback(v6(0, 0, 0, 2)));
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
