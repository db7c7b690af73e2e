"""Where the built programs are. QUORVEL_E2E_BUILD and QUORVEL_E2E_BUILD32 point the tests at
other win64 and win32 builds."""

import os
import re
from pathlib import Path

REPO_DIR = Path(__file__).resolve().parents[3]
BUILD_DIR = Path(os.environ.get("QUORVEL_E2E_BUILD", REPO_DIR / "build" / "win64")).resolve()
BUILD32_DIR = Path(os.environ.get("QUORVEL_E2E_BUILD32", REPO_DIR / "build" / "win32")).resolve()
SIM_DIR = BUILD_DIR / "sim"
WORK_DIR = REPO_DIR / "build" / "e2e"


def tool_path(name: str) -> Path:
    """A helper exe of tests/e2e/tools, e.g. tool_path("wintool")."""
    return BUILD_DIR / "tests" / "e2e" / "tools" / f"{name}.exe"


def quorvel_version() -> str:
    """The program's version as resources/Version.h gives it, e.g. "0.1.0.1"."""
    header = (REPO_DIR / "resources" / "Version.h").read_text()
    return ".".join(re.search(rf"#define QUORVEL_VERSION_{part} (\d+)", header).group(1)
                    for part in ("MAJOR", "MINOR", "PATCH", "BUILD"))
