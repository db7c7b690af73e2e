#pragma once

// Windows' own exports reached through GetProcAddress use the WINAPI convention: in 32-bit
// code the callee removes its arguments from the stack.
#if defined(__i386__)
#define QUORVEL_WINAPI __attribute__((stdcall))
#else
#define QUORVEL_WINAPI
#endif
