#include "platform/TrayRequests.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>
#include <vector>

namespace quorvel {
namespace {

using Kind = TrayCall::Kind;
using namespace std::chrono_literals;

std::optional<TrayCall> Due(TrayRequests& requests) { return requests.Next(0ms); }

std::vector<TrayCall> TakeAll(TrayRequests& requests) {
    std::vector<TrayCall> calls;
    while (const std::optional<TrayCall> call = Due(requests)) calls.push_back(*call);
    return calls;
}

TEST(TrayRequestsTest, SlowShellGetsOnlyTheLatestPictureAndBalloon) {
    TrayRequests requests;
    requests.ShowBalloon({"Beholder TV card used", "Card\r\n"});
    requests.Show();
    EXPECT_EQ(TakeAll(requests), (std::vector{TrayCall{Kind::Add, TrayPicture::Starting}}));
    requests.Added(true);
    EXPECT_EQ(TakeAll(requests), (std::vector{TrayCall{Kind::Balloon, TrayPicture::Starting, {"Beholder TV card used", "Card\r\n"}}}));

    // Nothing is due while a tick holds the calls back, not even what came before the hold.
    requests.SetPicture(TrayPicture::Held);
    requests.Hold();
    for (const TrayPicture picture : {TrayPicture::Idle, TrayPicture::Held, TrayPicture::Idle, TrayPicture::ClientEvent}) {
        requests.SetPicture(picture);
    }
    requests.ShowBalloon({"Button pressed", "Name: A"});
    requests.ShowBalloon({"Button pressed", "Name: B"});
    EXPECT_FALSE(Due(requests));
    requests.Release();
    EXPECT_EQ(TakeAll(requests), (std::vector{TrayCall{Kind::Picture, TrayPicture::ClientEvent},
                                              TrayCall{Kind::Balloon, TrayPicture::ClientEvent, {"Button pressed", "Name: B"}}}));
    // Back to what the shell shows already before the thread looked: nothing to tell it.
    requests.SetPicture(TrayPicture::Idle);
    requests.SetPicture(TrayPicture::ClientEvent);
    EXPECT_TRUE(TakeAll(requests).empty());
}

TEST(TrayRequestsTest, EndOfAHoldWakesTheTrayThreadForWhatCameBefore) {
    TrayRequests requests;
    requests.Show();
    requests.Hold();
    std::thread tray([&] { EXPECT_EQ(requests.Next(1h), TrayCall{Kind::Add}); });
    requests.Release();
    tray.join();
}

TEST(TrayRequestsTest, RefusedIconIsAddedAgainAfterAGrowingPauseOrAtOnceWhenTheShellStartsAnew) {
    TrayRequests::Time now{};
    TrayRequests requests([&] { return now; });
    requests.Show();
    Due(requests);
    requests.Added(false);
    requests.SetPicture(TrayPicture::Held);
    // Balloons raised while the shell refuses the icon are lost with it; pictures wait for it.
    requests.ShowBalloon({"WinLIRC server", "Client connected"});
    EXPECT_TRUE(TakeAll(requests).empty());

    // Refused again and again: after 1, 2, 4, ... seconds, never less often than once a minute.
    for (const auto pause : {1s, 2s, 4s, 8s, 16s, 32s, 60s, 60s}) {
        now += pause - 1ms;
        EXPECT_TRUE(TakeAll(requests).empty()) << pause.count();
        now += 1ms;
        EXPECT_EQ(TakeAll(requests), (std::vector{TrayCall{Kind::Add, TrayPicture::Held}})) << pause.count();
        requests.Added(false);
    }
    // A shell started anew is asked at once, and a first refusal then waits a second again.
    requests.AddAgain();
    EXPECT_EQ(TakeAll(requests), (std::vector{TrayCall{Kind::Add, TrayPicture::Held}}));
    requests.Added(false);
    now += 1s;
    EXPECT_EQ(TakeAll(requests), (std::vector{TrayCall{Kind::Add, TrayPicture::Held}}));
    requests.Added(true);
    requests.ShowBalloon({"WinLIRC server", "Client disconnected"});
    EXPECT_EQ(TakeAll(requests), (std::vector{TrayCall{Kind::Balloon, TrayPicture::Held, {"WinLIRC server", "Client disconnected"}}}));
    now += 1h;
    EXPECT_TRUE(TakeAll(requests).empty());
}

TEST(TrayRequestsTest, CloseRemovesAShownIconThenStopsAndTellsWhenTheShellHasTheRemoval) {
    TrayRequests shown;
    shown.Show();
    Due(shown);
    shown.Added(true);
    shown.SetPicture(TrayPicture::Held);
    shown.Close();
    EXPECT_FALSE(shown.Told());
    EXPECT_EQ(Due(shown), TrayCall{Kind::Remove});
    EXPECT_TRUE(shown.Told());
    EXPECT_EQ(Due(shown), TrayCall{Kind::Stop});

    // An add the shell has not answered yet when the close comes: what it made is removed.
    TrayRequests adding;
    adding.Show();
    Due(adding);
    adding.Close();
    EXPECT_FALSE(adding.Told());
    adding.Added(true);
    EXPECT_EQ(Due(adding), TrayCall{Kind::Remove});
    EXPECT_TRUE(adding.Told());

    TrayRequests hidden;
    hidden.SetPicture(TrayPicture::Held);
    hidden.Close();
    EXPECT_EQ(Due(hidden), TrayCall{Kind::Stop});
    EXPECT_TRUE(hidden.Told());
}

}  // namespace
}  // namespace quorvel
