#pragma once

#include <array>
#include <cstdint>

namespace quorvel::sim {

// The virtual remote's buttons, where they sit in its grid, and the extended code each one
// sends; the low byte doubles as the RC code, as on the real remotes.
struct RemoteButton {
    const char* label;
    std::uint32_t extCode;
    int row;
    int column;
};

constexpr int kRemoteColumns = 4;
constexpr int kRemoteRows = 10;

constexpr std::array kRemoteButtons = {
    RemoteButton{"Power", 0x00BE000C, 0, 0},  RemoteButton{"TV", 0x00BE003F, 0, 1},
    RemoteButton{"Info", 0x00BE000F, 0, 2},   RemoteButton{"Mute", 0x00BE000D, 0, 3},
    RemoteButton{"1", 0x00BE0001, 1, 0},      RemoteButton{"2", 0x00BE0002, 1, 1},
    RemoteButton{"3", 0x00BE0003, 1, 2},      RemoteButton{"Vol+", 0x00BE0010, 1, 3},
    RemoteButton{"4", 0x00BE0004, 2, 0},      RemoteButton{"5", 0x00BE0005, 2, 1},
    RemoteButton{"6", 0x00BE0006, 2, 2},      RemoteButton{"Vol-", 0x00BE0011, 2, 3},
    RemoteButton{"7", 0x00BE0007, 3, 0},      RemoteButton{"8", 0x00BE0008, 3, 1},
    RemoteButton{"9", 0x00BE0009, 3, 2},      RemoteButton{"Ch+", 0x00BE0020, 3, 3},
    RemoteButton{"Back", 0x00BE000A, 4, 0},   RemoteButton{"0", 0x00BE0000, 4, 1},
    RemoteButton{"Menu", 0x00BE0052, 4, 2},   RemoteButton{"Ch-", 0x00BE0021, 4, 3},
    RemoteButton{"Up", 0x00BE0058, 5, 1},
    RemoteButton{"Left", 0x00BE005A, 6, 0},   RemoteButton{"OK", 0x00BE005C, 6, 1},
    RemoteButton{"Right", 0x00BE005B, 6, 2},
    RemoteButton{"Down", 0x00BE0059, 7, 1},
    RemoteButton{"Rewind", 0x00BE0032, 8, 0}, RemoteButton{"Play", 0x00BE0035, 8, 1},
    RemoteButton{"Pause", 0x00BE0030, 8, 2},  RemoteButton{"Forward", 0x00BE0034, 8, 3},
    RemoteButton{"Stop", 0x00BE0036, 9, 0},   RemoteButton{"Rec", 0x00BE0037, 9, 1},
};

}  // namespace quorvel::sim
