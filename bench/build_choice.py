"""The build a Wine benchmark runs, from its --build folder: a win64 build (the default) runs
under the system's Wine, a win32 build under the private 32-bit Wine of scripts/wine32.sh. Chosen
before the harness is imported, since the harness reads the choice once."""

import os
import struct
from pathlib import Path

I386_MACHINE = 0x14C


def add_build_option(parser, repo: Path):
    parser.add_argument("--build", default=str(repo / "build" / "win64"),
                        help="the build to run: build/win64 (default) or build/win32 (under the 32-bit Wine)")


def use_build(build: str) -> str:
    """Points the harness at the build; returns its architecture, "win32" or "win64"."""
    folder = Path(build).resolve()
    header = (folder / "Quorvel.exe").read_bytes()[:4096]
    pe_offset = struct.unpack_from("<I", header, 0x3C)[0]
    arch = "win32" if struct.unpack_from("<H", header, pe_offset + 4)[0] == I386_MACHINE else "win64"
    os.environ["QUORVEL_E2E_ARCH"] = arch
    os.environ["QUORVEL_E2E_BUILD32" if arch == "win32" else "QUORVEL_E2E_BUILD"] = str(folder)
    return arch
