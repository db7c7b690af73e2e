#pragma once

#include <cstdint>

// The makers' exports are plain C names with the cdecl convention, also in 32-bit builds.
#define SIM_EXPORT extern "C" __declspec(dllexport)
