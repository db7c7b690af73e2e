#include "platform/ThreadPriority.h"

#include <windows.h>

namespace quorvel {

// The main thread's own priority (see Win32ProcessControl::RaisePriority). A failure leaves the
// thread as it was; there is no log to tell on every thread that calls this.
void LowerCurrentThread() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE); }

}  // namespace quorvel
