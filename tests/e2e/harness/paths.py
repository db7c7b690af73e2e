"""Where the built programs are, and which build a run tests.

QUORVEL_E2E_ARCH picks the build under test: win64 (the default) under the system's Wine, or
win32 under the private 32-bit Wine of scripts/wine32.sh (QUORVEL_WINE32 names its folder).
QUORVEL_E2E_BUILD and QUORVEL_E2E_BUILD32 point the tests at other win64 and win32 builds."""

import os
import re
from pathlib import Path

REPO_DIR = Path(__file__).resolve().parents[3]
ARCH = os.environ.get("QUORVEL_E2E_ARCH", "win64")
if ARCH not in ("win32", "win64"):
    raise RuntimeError(f"QUORVEL_E2E_ARCH must be win32 or win64, not {ARCH!r}")
BUILD64_DIR = Path(os.environ.get("QUORVEL_E2E_BUILD", REPO_DIR / "build" / "win64")).resolve()
BUILD32_DIR = Path(os.environ.get("QUORVEL_E2E_BUILD32", REPO_DIR / "build" / "win32")).resolve()
BUILDS = {"win32": BUILD32_DIR, "win64": BUILD64_DIR}
# The build under test, and the one of the other width (whose libraries this one cannot load).
BUILD_DIR = BUILDS[ARCH]
OTHER_ARCH = "win64" if ARCH == "win32" else "win32"
OTHER_BUILD_DIR = BUILDS[OTHER_ARCH]
BITS = {"win32": 32, "win64": 64}
SIM_DIR = BUILD_DIR / "sim"
WORK_DIR = REPO_DIR / "build" / "e2e"


def tool_path(name: str) -> Path:
    """A helper exe of tests/e2e/tools, e.g. tool_path("wintool"), of the build under test."""
    return BUILD_DIR / "tests" / "e2e" / "tools" / f"{name}.exe"


def quorvel_version() -> str:
    """The program's version as resources/Version.h gives it, e.g. "0.1.0.1"."""
    header = (REPO_DIR / "resources" / "Version.h").read_text()
    return ".".join(re.search(rf"#define QUORVEL_VERSION_{part} (\d+)", header).group(1)
                    for part in ("MAJOR", "MINOR", "PATCH", "BUILD"))
