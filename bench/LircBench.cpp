// What a tick pays for the WinLIRC broadcast, with real loopback clients.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "LircLoopback.h"
#include "lirc/LircLine.h"
#include "lirc/LircServer.h"
#include "platform/MainThread.h"

namespace quorvel {
namespace {

class IgnoredEvents final : public LircServerEvents {
public:
    void ServerConnect() override {}
    void ServerDisconnect() override {}
};

class DiscardingMainThread final : public MainThread {
public:
    void Post(std::function<void()>) override {}
};

// A client that reads everything until the server closes the connection.
class Reader {
public:
    explicit Reader(std::uint16_t port) : client_(port) {
        thread_ = std::thread([this] {
            while (!client_.ReceiveOnce(std::chrono::hours(1)).empty()) {
            }
        });
    }
    ~Reader() { thread_.join(); }

private:
    LoopbackClient client_;
    std::thread thread_;
};

// A listening server with `readers` reading clients; the server is stopped first on the way
// out so that the readers see the end of their connections.
struct Setup {
    explicit Setup(int readers) {
        server.Start(port);
        for (int i = 0; i < readers; ++i) clients.push_back(std::make_unique<Reader>(port));
        WaitUntil([&] { return server.ClientCount() == static_cast<std::size_t>(readers); });
    }
    ~Setup() { server.Stop(); }

    // Connects a client with a small receive buffer that never reads.
    void ConnectStalled() {
        const std::size_t before = server.ClientCount();
        stalled = std::make_unique<LoopbackClient>(port, 4096);
        WaitUntil([&] { return server.ClientCount() == before + 1; });
    }

    PosixSockets sockets;
    DiscardingMainThread mainThread;
    IgnoredEvents events;
    std::uint16_t port = FreeLoopbackPort();
    LircServer server{sockets, mainThread, events};
    std::vector<std::unique_ptr<Reader>> clients;
    std::unique_ptr<LoopbackClient> stalled;
};

const std::string kLine = FormatLircLine(0x00FF12ED, 0, "Power", "RC");

void BM_BroadcastToReadingClients(benchmark::State& state) {
    Setup setup(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(setup.server.Broadcast(kLine));
}
BENCHMARK(BM_BroadcastToReadingClients)->Arg(0)->Arg(1)->Arg(16)->Unit(benchmark::kMicrosecond);

// Fifteen readers and one client that never reads, while its buffers fill up. When it has
// been dropped, a new stalled client takes its place.
void BM_BroadcastWithOneStalledClient(benchmark::State& state) {
    Setup setup(15);
    setup.ConnectStalled();
    std::int64_t drops = 0;
    for (auto _ : state) {
        setup.server.Broadcast(kLine);
        if (setup.server.ClientCount() < 16) {
            state.PauseTiming();
            ++drops;
            setup.ConnectStalled();
            state.ResumeTiming();
        }
    }
    state.counters["drops"] = static_cast<double>(drops);
}
BENCHMARK(BM_BroadcastWithOneStalledClient)->Unit(benchmark::kMicrosecond);

// The broadcast on which the stalled client's buffers are full and it is dropped. Long lines
// fill them sooner; only the dropping broadcast is timed.
void BM_BroadcastThatDropsTheStalledClient(benchmark::State& state) {
    Setup setup(15);
    const std::string longLine = std::string(2000, 'x') + kLine;
    for (auto _ : state) {
        setup.ConnectStalled();
        for (;;) {
            const auto start = std::chrono::steady_clock::now();
            setup.server.Broadcast(longLine);
            const auto elapsed = std::chrono::steady_clock::now() - start;
            if (setup.server.ClientCount() < 16) {
                state.SetIterationTime(std::chrono::duration<double>(elapsed).count());
                break;
            }
        }
    }
}
BENCHMARK(BM_BroadcastThatDropsTheStalledClient)->UseManualTime()->Iterations(20)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvel
