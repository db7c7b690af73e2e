"""What the benchmarks under Wine share: the build they run, from their --build folder (a win64
build under the system's Wine, a win32 build under the private 32-bit Wine of scripts/wine32.sh),
chosen before the harness is imported since the harness reads the choice once; and a prefix on a
private display with Quorvel and the substitute Beholder library in a program folder."""

import contextlib
import os
import shutil
import struct
import tempfile
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


@contextlib.contextmanager
def quorvel_folder(repo: Path, name: str):
    """A program folder with Quorvel and the Beholder library in a fresh prefix whose server
    runs, on a private display; all of it goes at the end."""
    from harness import ProgramFolder, WinePrefix, Xvfb

    xvfb = Xvfb()
    display = xvfb.start()
    work = Path(tempfile.mkdtemp(prefix=f"quorvel-{name}-", dir=repo / "build"))
    try:
        prefix = WinePrefix.create_template(work / "prefix", display)
        prefix.start_server()
        program = ProgramFolder(prefix)
        program.add_quorvel()
        program.add_library("BeholdRC")
        try:
            yield program
        finally:
            prefix.stop_server()
    finally:
        xvfb.stop()
        shutil.rmtree(work, ignore_errors=True)
