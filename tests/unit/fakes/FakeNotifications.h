#pragma once

#include <string>
#include <vector>

#include "osd/OsdRequests.h"
#include "platform/Sound.h"
#include "platform/TrayIcon.h"

namespace quorvel {

class FakeTrayIcon final : public TrayIcon {
public:
    struct Balloon {
        std::string title;
        std::string text;
        friend bool operator==(const Balloon&, const Balloon&) = default;
    };
    bool shown = false;
    std::vector<TrayPicture> pictures;
    std::vector<Balloon> balloons;

    void Show() override { shown = true; }
    void SetPicture(TrayPicture picture) override { pictures.push_back(picture); }
    void ShowBalloon(const std::string& title, const std::string& text) override { balloons.push_back({title, text}); }
    void Remove() override {}
};

class FakeSound final : public Sound {
public:
    std::vector<std::string> played;
    void PlayResourceAsync(const std::string& name) override { played.push_back(name); }
};

class FakeOsd final : public OsdRequests {
public:
    struct Request {
        std::string text;
        bool secondDisplay;
        friend bool operator==(const Request&, const Request&) = default;
    };
    std::vector<Request> requests;
    void ShowOsd(const std::string& text, bool secondDisplay) override { requests.push_back({text, secondDisplay}); }
};

}  // namespace quorvel
