#pragma once

namespace quorvel {

// Called first on every thread of the program's own: the process runs in a raised class with
// its main thread lowered, and no other thread may run above the main thread, so that a flood
// or a fault on one of them cannot starve the system.
void LowerCurrentThread();

}  // namespace quorvel
