#include "platform/win32/Clock_win32.h"

#include <windows.h>

namespace quorvel {

std::string Win32Clock::LongTimeText() {
    char text[80];
    // No flags and no format: the user's long time format.
    const int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, sizeof text);
    return length > 0 ? std::string(text, static_cast<std::size_t>(length) - 1) : std::string();
}

}  // namespace quorvel
