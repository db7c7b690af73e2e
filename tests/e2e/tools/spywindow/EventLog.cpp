#include "EventLog.h"

namespace spywindow {

EventLog::EventLog(const char* path) : file_(std::fopen(path, "ab")) {}

EventLog::~EventLog() {
    if (file_) std::fclose(file_);
}

void EventLog::Write(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    WriteV(format, arguments);
    va_end(arguments);
}

void EventLog::WriteV(const char* format, std::va_list arguments) {
    if (!file_) return;
    std::vfprintf(file_, format, arguments);
    std::fputc('\n', file_);
    std::fflush(file_);
}

}  // namespace spywindow
