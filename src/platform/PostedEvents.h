#pragma once

#include <memory>
#include <utility>

#include "platform/MainThread.h"

namespace quorvel {

// Events a worker thread hands to the main thread's handler. The handler's link outlives the
// owner, so an event still on its way after Close finds it closed and does nothing.
template <typename Events>
class PostedEvents {
public:
    PostedEvents(MainThread& mainThread, Events& events)
        : mainThread_(mainThread), link_(std::make_shared<Link>(events)) {}

    // Any thread; `call` runs on the main thread with the handler, unless closed by then.
    template <typename Call>
    void Post(Call call) {
        mainThread_.Post([link = link_, call = std::move(call)] {
            if (link->open) call(link->events);
        });
    }
    // The main thread: no event reaches the handler any more.
    void Close() { link_->open = false; }

private:
    struct Link {
        explicit Link(Events& handler) : events(handler) {}
        Events& events;
        bool open = true;  // the main thread's
    };

    MainThread& mainThread_;
    const std::shared_ptr<Link> link_;
};

}  // namespace quorvel
