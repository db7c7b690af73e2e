// simprobe <library> <step>...: loads a substitute receiver library as the program does
// (LoadLibraryA) and calls its exports in the given order, printing each result.
// Exits 0 when every step ran, 1 when a step failed, 2 when the library did not load.

#include <windows.h>

#include <cstdio>

#include "ProbeSteps.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: simprobe <library> <step>...\n");
        return 2;
    }
    HMODULE library = LoadLibraryA(argv[1]);
    if (library == nullptr) {
        std::printf("load failed %lu\n", GetLastError());
        return 2;
    }
    bool allRan = true;
    for (int index = 2; index < argc; ++index) {
        allRan = quorvel::simprobe::RunStep(library, argv[index]) && allRan;
    }
    return allRan ? 0 : 1;
}
