#include "platform/TrayRequests.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>
#include <vector>

namespace quorvel {
namespace {

using Kind = TrayCall::Kind;

std::vector<TrayCall> TakeAll(TrayRequests& requests) {
    std::vector<TrayCall> calls;
    while (const std::optional<TrayCall> call = requests.Take()) calls.push_back(*call);
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
    EXPECT_FALSE(requests.Take());
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
    std::thread tray([&] { EXPECT_EQ(requests.Next(), TrayCall{Kind::Add}); });
    requests.Release();
    tray.join();
}

TEST(TrayRequestsTest, RefusedIconDropsBalloonsUntilTheShellStartsAnew) {
    TrayRequests requests;
    requests.Show();
    requests.Take();
    requests.Added(false);
    requests.SetPicture(TrayPicture::Held);
    requests.ShowBalloon({"WinLIRC server", "Client connected"});
    EXPECT_TRUE(TakeAll(requests).empty());

    requests.AddAgain();
    EXPECT_EQ(TakeAll(requests), (std::vector{TrayCall{Kind::Add, TrayPicture::Held}}));
    requests.Added(true);
    requests.ShowBalloon({"WinLIRC server", "Client disconnected"});
    EXPECT_EQ(TakeAll(requests), (std::vector{TrayCall{Kind::Balloon, TrayPicture::Held, {"WinLIRC server", "Client disconnected"}}}));
}

TEST(TrayRequestsTest, CloseRemovesAShownIconThenStops) {
    TrayRequests shown;
    shown.Show();
    shown.Take();
    shown.Added(true);
    shown.SetPicture(TrayPicture::Held);
    shown.Close();
    EXPECT_EQ(shown.Take(), TrayCall{Kind::Remove});
    EXPECT_EQ(shown.Next(), TrayCall{Kind::Stop});

    TrayRequests hidden;
    hidden.SetPicture(TrayPicture::Held);
    hidden.Close();
    EXPECT_EQ(hidden.Next(), TrayCall{Kind::Stop});
}

}  // namespace
}  // namespace quorvel
