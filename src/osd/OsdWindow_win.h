#pragma once

#include <windows.h>

#include <mutex>
#include <string>

namespace quorvel {

constexpr char kOsdClassName[] = "Quorvel OSD Class";
constexpr char kOsdWindowTitle[] = "Quorvel OSD Window";

// What one display thread shows, copied when the request is made.
struct OsdJob {
    HINSTANCE instance = nullptr;
    std::string text;
    bool secondDisplay = false;
    COLORREF colour = 0;
};

// Where a requester and one display thread meet: the display's window once it is about to be
// shown, and whether a newer display (or the program's end) has taken its place.
class OsdSlot {
public:
    // Display thread: offers the window; false when the display has already been superseded,
    // in which case the window must not be shown.
    bool Publish(HWND window);
    // Display thread: the window is going away; nothing more is posted to it.
    void Withdraw();
    // Requester: ends the display; its window, if published, hides and its loop ends.
    void Supersede();

private:
    std::mutex mutex_;
    HWND window_ = nullptr;
    bool superseded_ = false;
};

// Runs one display on the calling thread: shows the text above all windows for three
// seconds, or until superseded, then destroys the window again.
void RunOsdDisplay(const OsdJob& job, OsdSlot& slot);

}  // namespace quorvel
