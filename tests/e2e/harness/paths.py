"""Where the built programs are. QUORVEL_E2E_BUILD and QUORVEL_E2E_BUILD32 point the tests at
other win64 and win32 builds."""

import os
from pathlib import Path

REPO_DIR = Path(__file__).resolve().parents[3]
BUILD_DIR = Path(os.environ.get("QUORVEL_E2E_BUILD", REPO_DIR / "build" / "win64")).resolve()
BUILD32_DIR = Path(os.environ.get("QUORVEL_E2E_BUILD32", REPO_DIR / "build" / "win32")).resolve()
SIM_DIR = BUILD_DIR / "sim"
WORK_DIR = REPO_DIR / "build" / "e2e"


def tool_path(name: str) -> Path:
    """A helper exe of tests/e2e/tools, e.g. tool_path("wintool")."""
    return BUILD_DIR / "tests" / "e2e" / "tools" / f"{name}.exe"
