#!/usr/bin/env python3
"""Checks that the programs and substitute libraries of a Windows build load on the oldest
Windows that build supports: Windows 2000 (NT 5.0) for 32 bits, Windows XP x64 and Server 2003
(NT 5.2) for 64 bits. Wine cannot tell: its system libraries export every function whatever
Windows version it reports.

Windows refuses a program before any of its code runs when
- it imports a function that the system's libraries lack. A function is taken to be missing
  when the MinGW headers do not declare it with _WIN32_WINNT and WINVER set to that system: a
  file taking the address of every import is compiled at that setting. The headers leave some
  newer functions unguarded; the reviewed lists below name those;
- its subsystem version is newer than the system;
- (XP and later) its manifest has an element that XP's side-by-side loader does not know in the
  manifest's own namespace. Newer settings live in namespaces of their own, which XP skips.

Each missing import is printed with the object that needed it, from the link map that the
build writes beside each program (PROGRAM.map).

Usage: check-oldest-windows.py [--manifest FILE] BUILD_FOLDER_OR_PROGRAM...
A build folder stands for its Quorvel.exe and the programs and libraries under its sim/.
Exit status: 0 when everything loads, 1 when something would not, 2 when the check cannot run.
"""
import argparse
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
from dataclasses import dataclass, field
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent

XP, SERVER_2003, VISTA, WINDOWS_7 = 0x0501, 0x0502, 0x0600, 0x0601
SYSTEM_NAMES = {0x0500: "Windows 2000", XP: "Windows XP", SERVER_2003: "Windows XP x64 and Server 2003",
                VISTA: "Windows Vista", WINDOWS_7: "Windows 7"}


@dataclass(frozen=True)
class Target:
    compiler: str
    oldest: int


TARGETS = {
    "pei-i386": Target("i686-w64-mingw32-gcc-posix", 0x0500),
    "pei-x86-64": Target("x86_64-w64-mingw32-gcc-posix", SERVER_2003),
}

# Functions the headers declare whatever _WIN32_WINNT says, with the first system that has
# them (reviewed against each function's documented minimum system).
UNGUARDED_NEWER = {
    "AddVectoredExceptionHandler": XP, "RemoveVectoredExceptionHandler": XP,
    "AddVectoredContinueHandler": SERVER_2003, "RemoveVectoredContinueHandler": SERVER_2003,
    "GetModuleHandleExA": XP, "GetModuleHandleExW": XP,
    "GetNativeSystemInfo": XP, "IsWow64Process": XP, "GetSystemTimes": XP,
    "GetProcessId": XP, "GetThreadId": SERVER_2003, "GetProcessIdOfThread": SERVER_2003,
    "SetDllDirectoryA": XP, "SetDllDirectoryW": XP, "AttachConsole": XP,
    "CheckRemoteDebuggerPresent": XP, "GetLogicalProcessorInformation": XP,
    "EncodePointer": XP, "DecodePointer": XP, "RtlCaptureContext": XP,
    "InitializeSListHead": XP, "InterlockedPushEntrySList": XP, "InterlockedPopEntrySList": XP,
    "InterlockedFlushSList": XP, "QueryDepthSList": XP,
    "GetLayeredWindowAttributes": XP, "PrintWindow": XP,
    "RegisterRawInputDevices": XP, "GetRawInputData": XP, "GetRawInputDeviceList": XP,
    "getaddrinfo": XP, "freeaddrinfo": XP, "getnameinfo": XP,
    # Windows 2000's comctl32 exports these by ordinal only (410 to 413).
    "SetWindowSubclass": XP, "GetWindowSubclass": XP, "RemoveWindowSubclass": XP, "DefSubclassProc": XP,
}

# Libraries that are newer as a whole.
NEWER_LIBRARIES = {"uxtheme.dll": XP, "dwmapi.dll": VISTA, "shcore.dll": 0x0603, "ucrtbase.dll": 0x0A00}
NEWER_LIBRARY_PREFIXES = {"api-ms-win-": WINDOWS_7}

# The MinGW start-up code's own imports from msvcrt.dll, which no public header declares as a
# function whose address can be taken; msvcrt.dll has them on every NT 5 system.
RUNTIME_START_UP = {
    "__argc", "__argv", "__getmainargs", "__initenv", "__mb_cur_max", "__p__commode", "__set_app_type",
    "_acmdln", "_amsg_exit", "_commode", "_fmode", "_initterm", "_iob", "_lock", "_unlock",
}

PROBE_HEADERS = """\
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <mmsystem.h>
#include <uxtheme.h>
#include <powrprof.h>
#include <errno.h>
#include <io.h>
#include <locale.h>
#include <math.h>
#include <process.h>
#include <setjmp.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wchar.h>
#include <wctype.h>
void probe(void) {
    void *volatile address;
"""

# What XP's side-by-side loader knows in the manifest namespace.
MANIFEST_NAMESPACE = "urn:schemas-microsoft-com:asm.v1"
XP_MANIFEST_ELEMENTS = {
    "assembly", "assemblyIdentity", "description", "dependency", "dependentAssembly", "noInherit",
    "noInheritable", "file", "comClass", "comInterfaceExternalProxyStub", "comInterfaceProxyStub",
    "typelib", "windowClass", "progid", "bindingRedirect", "clrClass", "clrSurrogate",
}


@dataclass
class Program:
    path: Path
    format: str
    subsystem: tuple
    imports: list = field(default_factory=list)  # (library, function name or None, ordinal)


def system_name(version: int) -> str:
    return SYSTEM_NAMES.get(version, f"Windows {version >> 8}.{version & 0xFF}")


def run(command, **kwargs):
    try:
        return subprocess.run(command, capture_output=True, text=True, env={**os.environ, "LC_ALL": "C"}, **kwargs)
    except FileNotFoundError:
        sys.exit(f"check-oldest-windows: {command[0]} is missing (scripts/setup.sh installs it)")


def read_program(path: Path) -> Program:
    dump = run(["x86_64-w64-mingw32-objdump", "-p", str(path)])
    if dump.returncode != 0:
        sys.exit(f"check-oldest-windows: cannot read {path}: {dump.stderr.strip()}")
    text = dump.stdout
    file_format = re.search(r"file format (\S+)", text).group(1)
    major = int(re.search(r"^MajorSubsystemVersion\s+(\d+)", text, re.M).group(1))
    minor = int(re.search(r"^MinorSubsystemVersion\s+(\d+)", text, re.M).group(1))
    program = Program(path, file_format, (major, minor))
    library = None
    for line in text.splitlines():
        if line.startswith("The Export Tables") or line.startswith("PE File Base Relocations"):
            library = None
        named = re.match(r"\s*DLL Name: (\S+)", line)
        if named:
            library = named.group(1)
            continue
        entry = re.match(r"\t[0-9a-f]+\t\s*(\d+)\s+(\S+)\s*$", line)
        if library and entry:
            name = None if entry.group(2) == "<none>" else entry.group(2)
            program.imports.append((library, name, int(entry.group(1))))
    return program


def undeclared_functions(target: Target, names: set) -> tuple:
    """The names the headers do not declare at the oldest system, and those they cannot judge."""
    ordered = sorted(names)
    source = PROBE_HEADERS + "".join(f"    address = (void *)&{name};\n" for name in ordered) + "}\n"
    first_line = PROBE_HEADERS.count("\n") + 1
    version = f"0x{target.oldest:04X}"
    result = run([target.compiler, "-fsyntax-only", "-w", "-fmax-errors=0", "-x", "c", "-",
                  f"-D_WIN32_WINNT={version}", f"-DWINVER={version}"], input=source)
    undeclared, unjudged = set(), set()
    for message in re.finditer(r"^<stdin>:(\d+):\d+: error: (.*)$", result.stderr, re.M):
        index = int(message.group(1)) - first_line
        if not 0 <= index < len(ordered):
            sys.exit(f"check-oldest-windows: the headers do not compile at {version}:\n{result.stderr}")
        (undeclared if "undeclared" in message.group(2) else unjudged).add(ordered[index])
    if result.returncode != 0 and not undeclared and not unjudged:
        sys.exit(f"check-oldest-windows: {target.compiler} failed:\n{result.stderr}")
    return undeclared, unjudged


def import_origins(program: Path) -> dict:
    """Function name -> the object whose reference brought the import into the program."""
    map_file = Path(f"{program}.map")
    if not map_file.exists():
        return {}
    text = map_file.read_text(errors="replace")
    section = text.split("\n\n", 2)[1] if text.startswith("Archive member included") else ""
    origins = {}
    for entry in re.finditer(r"^\S+\s+(.+?) \(([^()\s]+)\)$", section.replace("\n ", " "), re.M):
        symbol = re.sub(r"@\d+$", "", entry.group(2)).lstrip("_")
        symbol = symbol[len("imp_"):].lstrip("_") if symbol.startswith("imp_") else symbol
        origins.setdefault(symbol, re.sub(r"^\S*/", "", entry.group(1)))
    return origins


def import_problems(program: Program, target: Target, undeclared: set, unjudged: set) -> list:
    version = f"0x{target.oldest:04X}"
    problems = []
    for library, name, ordinal in program.imports:
        lower = library.lower()
        newer = NEWER_LIBRARIES.get(lower) or next(
            (since for prefix, since in NEWER_LIBRARY_PREFIXES.items() if lower.startswith(prefix)), None)
        if newer and newer > target.oldest:
            problems.append((library, name or f"#{ordinal}", f"the library exists from {system_name(newer)} on"))
        elif name is None:
            problems.append((library, f"#{ordinal}", "imported by ordinal, which the headers cannot judge"))
        elif name in UNGUARDED_NEWER and UNGUARDED_NEWER[name] > target.oldest:
            problems.append((library, name, f"{system_name(UNGUARDED_NEWER[name])} and later (reviewed list)"))
        elif lower == "msvcrt.dll" and name in RUNTIME_START_UP:
            continue
        elif name in undeclared:
            problems.append((library, name, f"not declared with _WIN32_WINNT={version}"))
        elif name in unjudged:
            problems.append((library, name, f"the headers cannot tell whether {system_name(target.oldest)} has it"))
    return problems


def manifest_problems(path: Path) -> list:
    try:
        root = ElementTree.parse(path).getroot()
    except (OSError, ElementTree.ParseError) as error:
        return [f"cannot be read: {error}"]
    problems = []
    if root.tag != f"{{{MANIFEST_NAMESPACE}}}assembly" or root.get("manifestVersion") != "1.0":
        problems.append("the root is not an assembly of manifest version 1.0")
    for element in root.iter():
        namespace, _, name = element.tag[1:].partition("}")
        if namespace == MANIFEST_NAMESPACE and name not in XP_MANIFEST_ELEMENTS:
            problems.append(f"<{name}> is in the manifest namespace, which XP refuses; give it its own")
    controls = root.findall(f".//{{{MANIFEST_NAMESPACE}}}dependentAssembly/{{{MANIFEST_NAMESPACE}}}assemblyIdentity")
    if not any(c.get("name") == "Microsoft.Windows.Common-Controls" and c.get("version") == "6.0.0.0"
               for c in controls):
        problems.append("no dependency on Common-Controls 6.0.0.0")
    return problems


def programs_of(argument: str) -> list:
    path = Path(argument)
    if path.is_file():
        return [path]
    found = [path / "Quorvel.exe"] + sorted(p for p in (path / "sim").rglob("*") if p.suffix in (".exe", ".dll"))
    missing = [str(p) for p in found if not p.is_file()]
    if missing or not path.is_dir():
        sys.exit(f"check-oldest-windows: not built: {', '.join(missing) or argument}")
    return found


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--manifest", type=Path, default=REPO / "resources" / "Quorvel.manifest")
    parser.add_argument("programs", nargs="+", help="build folder or program")
    arguments = parser.parse_args()

    programs = [read_program(p) for argument in arguments.programs for p in programs_of(argument)]
    verdicts = {}
    for file_format, target in TARGETS.items():
        names = {name for p in programs if p.format == file_format for _, name, _ in p.imports if name}
        if names:
            verdicts[file_format] = undeclared_functions(target, names)

    failures = 0
    for program in programs:
        target = TARGETS.get(program.format)
        if target is None:
            print(f"{program.path}: {program.format} is neither a 32-bit nor a 64-bit Windows program")
            failures += 1
            continue
        problems = import_problems(program, target, *verdicts[program.format])
        subsystem = "%d.%d" % program.subsystem
        if program.subsystem > (target.oldest >> 8, target.oldest & 0xFF):
            problems.append(("", "", f"subsystem version {subsystem} is newer than the system"))
        if not program.imports:
            problems.append(("", "", "no imports found: the import table could not be read"))
        libraries = {library.lower() for library, _, _ in program.imports}
        print(f"{program.path}: for {system_name(target.oldest)} (0x{target.oldest:04X}), subsystem {subsystem}, "
              f"{len(program.imports)} imports from {len(libraries)} libraries: "
              f"{'ok' if not problems else f'{len(problems)} missing there'}")
        origins = import_origins(program.path) if problems else {}
        for library, name, reason in problems:
            where = f"; needed by {origins[name]}" if name in origins else ""
            print(f"    {library}!{name}: {reason}{where}" if library else f"    {reason}")
        failures += bool(problems)

    problems = manifest_problems(arguments.manifest)
    print(f"{arguments.manifest}: {'ok for XP' if not problems else 'XP would refuse it'}")
    for problem in problems:
        print(f"    {problem}")
    failures += bool(problems)
    print(f"check-oldest-windows: {len(programs)} programs and libraries checked, "
          f"{failures} would not load on the oldest Windows of their build")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
