#include "osd/Osd_win.h"

#include <atomic>
#include <system_error>
#include <thread>
#include <utility>

#include "osd/OsdWindow_win.h"
#include "platform/ThreadPriority.h"

namespace quorvel {

// One display: its copy of the request, the slot it shares with the requester, and the
// thread that runs it. Joined when destroyed.
class OsdThread {
public:
    explicit OsdThread(OsdJob job) : job_(std::move(job)), thread_([this] { Run(); }) {}
    ~OsdThread() { thread_.join(); }
    OsdThread(const OsdThread&) = delete;
    OsdThread& operator=(const OsdThread&) = delete;

    bool Finished() const { return finished_; }
    void Supersede() { slot_.Supersede(); }

private:
    void Run() {
        LowerCurrentThread();
        RunOsdDisplay(job_, slot_);
        finished_ = true;
    }

    const OsdJob job_;
    OsdSlot slot_;
    std::atomic<bool> finished_ = false;
    // Last, so that everything the thread uses exists before it starts.
    std::thread thread_;
};

namespace {

// COLORREF's top byte selects palette colours; a display colour is always a plain RGB value.
constexpr COLORREF kRgbMask = 0x00FFFFFF;

}  // namespace

Osd::Osd(HINSTANCE instance, COLORREF colour) : instance_(instance), colour_(colour) {}

Osd::~Osd() { Close(); }

void Osd::ShowOsd(const std::string& text, bool secondDisplay) {
    if (closed_) return;
    FreeFinishedThreads();
    for (const auto& thread : threads_) thread->Supersede();
    try {
        threads_.push_back(std::make_unique<OsdThread>(OsdJob{instance_, text, secondDisplay, colour_ & kRgbMask}));
    } catch (const std::system_error&) {
        // No thread to be had: this press goes without a display, as when layering fails.
    }
}

void Osd::Close() {
    closed_ = true;
    for (const auto& thread : threads_) thread->Supersede();
    threads_.clear();
}

void Osd::FreeFinishedThreads() {
    std::erase_if(threads_, [](const std::unique_ptr<OsdThread>& thread) { return thread->Finished(); });
}

}  // namespace quorvel
