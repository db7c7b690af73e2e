"""Fixtures of the end-to-end tests.

A run tests one build (harness.paths.ARCH): the win64 one under the system's Wine, or the win32
one under the private 32-bit Wine. Tests marked `win64_only` (with the reason) run in the win64
run only.

Session: one Xvfb display and one Wine prefix template per run, under build/e2e/run-<pid>
(so runs on the same machine never share one). Per test: a copy of the template with its own
persistent wineserver (`wine`), a program folder in it (`program`) and the window tool
(`wintool`). When a test fails, its program folder's logs and INI files, Quorvel's own log, the
programs' output and a screenshot are kept in build/e2e/failed/<test> (failed-win32 for the
win32 run)."""

import os
import re
import shutil
import subprocess
from pathlib import Path

import pytest

from harness import SIM_DIR, ProgramFolder, WinePrefix, WinTool, Xvfb, tool_path
from harness.paths import ARCH, WORK_DIR


def pytest_configure(config):
    config.addinivalue_line("markers", "win64_only(reason): runs against the win64 build only")


def pytest_collection_modifyitems(config, items):
    if ARCH == "win64":
        return
    kept = [item for item in items if item.get_closest_marker("win64_only") is None]
    config.hook.pytest_deselected(items=[item for item in items if item not in kept])
    items[:] = kept


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    outcome = yield
    report = outcome.get_result()
    setattr(item, f"report_{report.when}", report)


def _process_alive(pid: int) -> bool:
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    except PermissionError:
        return True
    return True


def _remove_abandoned_runs():
    """Runs that died without cleaning up leave a 700 MB template behind."""
    for run in WORK_DIR.glob("run-*"):
        match = re.fullmatch(r"run-(\d+)", run.name)
        if match and not _process_alive(int(match.group(1))):
            shutil.rmtree(run, ignore_errors=True)


@pytest.fixture(scope="session")
def run_dir():
    needed = [SIM_DIR / "BeholdRC.dll", *(tool_path(name) for name in ("wintool", "simprobe", "fakeform"))]
    missing = [path for path in needed if not path.exists()]
    if missing:
        pytest.fail(f"not built: {', '.join(map(str, missing))} (run scripts/build.sh {ARCH})", pytrace=False)
    _remove_abandoned_runs()
    path = WORK_DIR / f"run-{os.getpid()}"
    path.mkdir(parents=True, exist_ok=True)
    yield path
    shutil.rmtree(path, ignore_errors=True)


@pytest.fixture(scope="session")
def xvfb_display():
    server = Xvfb()
    display = server.start()
    yield display
    server.stop()


@pytest.fixture(scope="session")
def wine_template(run_dir, xvfb_display):
    return WinePrefix.create_template(run_dir / "template", xvfb_display)


@pytest.fixture
def wine(request, run_dir, wine_template):
    test_name = re.sub(r"[^\w.-]+", "_", request.node.name)
    prefix = wine_template.clone(run_dir / "prefixes" / test_name)
    prefix.start_server()
    yield prefix
    failed = any(getattr(getattr(request.node, f"report_{when}", None), "failed", False)
                 for when in ("setup", "call"))
    if failed:
        _keep_artifacts(prefix, WORK_DIR / ("failed" if ARCH == "win64" else f"failed-{ARCH}") / test_name)
    prefix.stop_server()
    prefix.remove()


def _keep_artifacts(prefix: WinePrefix, target: Path):
    shutil.rmtree(target, ignore_errors=True)
    target.mkdir(parents=True)
    subprocess.run(["import", "-display", prefix.display, "-window", "root", str(target / "screen.png")],
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
    if (prefix.path / "output").exists():
        shutil.copytree(prefix.path / "output", target / "output")
    for log in (prefix.drive_c / "users").glob("*/AppData/Local/Quorvel/Quorvel*.log"):
        shutil.copy2(log, target / log.name)
    system_folders = {"windows", "users", "Program Files", "Program Files (x86)", "ProgramData"}
    for folder in prefix.drive_c.iterdir():
        if folder.name in system_folders or not folder.is_dir():
            continue
        for path in [*folder.glob("*.log"), *folder.glob("*.ini")]:
            (target / folder.name).mkdir(exist_ok=True)
            shutil.copy2(path, target / folder.name / path.name)


@pytest.fixture
def program(wine):
    return ProgramFolder(wine)


@pytest.fixture
def wintool(wine):
    return WinTool(wine)
