#include "platform/ThreadPriority.h"

namespace quorvel {

// The tests' threads run at the priority they were given.
void LowerCurrentThread() {}

}  // namespace quorvel
