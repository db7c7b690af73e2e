#pragma once

#include <cstdarg>
#include <cstdio>

namespace spywindow {

// Appends one line per event to a file and flushes it at once, so a test reading the file
// from outside sees every event as soon as the window has handled it.
class EventLog {
public:
    explicit EventLog(const char* path);
    ~EventLog();
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    void Write(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void WriteV(const char* format, std::va_list arguments) __attribute__((format(printf, 2, 0)));

private:
    std::FILE* file_;
};

}  // namespace spywindow
