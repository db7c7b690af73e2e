#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "osd/OsdRequests.h"

namespace quorvel {

class OsdThread;

// The on-screen display: every request is shown by a thread of its own, and a newer request
// ends the display before it. Requests come from one thread (the main thread) only.
class Osd final : public OsdRequests {
public:
    Osd(HINSTANCE instance, COLORREF colour);
    // Closes, so no display thread outlives its requester.
    ~Osd() override;
    Osd(const Osd&) = delete;
    Osd& operator=(const Osd&) = delete;

    COLORREF Colour() const { return colour_; }
    void SetColour(COLORREF colour) { colour_ = colour; }

    // Returns at once; the text, the flag and the colour are copied for the display.
    void ShowOsd(const std::string& text, bool secondDisplay) override;
    // Ends the current display and waits for every display thread; later requests show nothing.
    void Close();

private:
    void FreeFinishedThreads();

    HINSTANCE instance_;
    COLORREF colour_;
    std::vector<std::unique_ptr<OsdThread>> threads_;
    bool closed_ = false;
};

}  // namespace quorvel
