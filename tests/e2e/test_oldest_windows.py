"""scripts/check-oldest-windows.py refuses what the oldest supported Windows could not load
(it runs on the real builds in scripts/test.sh; here it must catch programs made to fail)."""

import subprocess
import sys

import pytest

from harness.paths import BUILD64_DIR, REPO_DIR

CHECK = REPO_DIR / "scripts" / "check-oldest-windows.py"
pytestmark = pytest.mark.win64_only("checks files of both builds, without Wine")

# Each function from the system of its row on: the oldest of the win32 build is Windows 2000,
# that of the win64 build XP x64.
PROGRAM = r"""
#include <windows.h>
#include <commctrl.h>
int main(void) {
    SetWindowSubclass(NULL, NULL, 0, 0);                      /* by name from XP on */
    AddVectoredExceptionHandler(0, NULL);                     /* XP */
    return (int)GetTickCount64() + (int)GetTickCount();       /* Vista, and every system */
}
"""


def run_check(*arguments):
    result = subprocess.run([sys.executable, str(CHECK), *map(str, arguments)], capture_output=True, text=True)
    return result.returncode, result.stdout + result.stderr


@pytest.mark.parametrize("compiler, flagged", [
    ("i686-w64-mingw32-gcc-posix", {"SetWindowSubclass", "AddVectoredExceptionHandler", "GetTickCount64"}),
    ("x86_64-w64-mingw32-gcc-posix", {"GetTickCount64"}),
], ids=["win32", "win64"])
def test_imports_newer_than_the_oldest_system_are_named_with_the_object_needing_them(tmp_path, compiler,
                                                                                      flagged):
    (tmp_path / "newer.c").write_text(PROGRAM)
    subprocess.run([compiler, "-D_WIN32_WINNT=0x0601", "-c", "newer.c"], cwd=tmp_path, check=True)
    subprocess.run([compiler, "newer.o", "-o", "newer.exe", "-lcomctl32", "-Wl,-Map=newer.exe.map"],
                   cwd=tmp_path, check=True)

    code, output = run_check(tmp_path / "newer.exe")
    assert code == 1, output
    problems = [line.strip() for line in output.splitlines() if line.startswith("    ")]
    assert {problem.split("!", 1)[1].split(":", 1)[0] for problem in problems} == flagged, output
    assert all(problem.endswith("; needed by newer.o") for problem in problems), output


def test_a_manifest_element_xp_does_not_know_is_refused(tmp_path):
    manifest = (REPO_DIR / "resources" / "Quorvel.manifest").read_text()
    newer_element = '<application xmlns="urn:schemas-microsoft-com:asm.v3">'
    assert newer_element in manifest
    broken = tmp_path / "broken.manifest"
    # Without a namespace of its own the element falls into the one XP checks.
    broken.write_text(manifest.replace(newer_element, "<application>"))
    program = BUILD64_DIR / "Quorvel.exe"

    assert run_check(program)[0] == 0
    code, output = run_check("--manifest", broken, program)
    assert code == 1, output
    assert "<application> is in the manifest namespace" in output, output
