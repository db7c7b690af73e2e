"""Quorvel's registry values seen from outside: seeding them before a start and reading what
the program wrote, in one Wine tool call each."""

import re

from harness import WinePrefix

PROGRAM_KEY = r"HKCU\Software\Vantrel\Quorvel"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"

_ROOTS = {"HKCU": "HKEY_CURRENT_USER"}


def _reg_file_key(key: str) -> str:
    root, _, path = key.partition("\\")
    return f"{_ROOTS.get(root, root)}\\{path}"


def _reg_file_data(value) -> str:
    if isinstance(value, int):
        return f"dword:{value:08x}"
    if isinstance(value, bytes):
        return "hex:" + ",".join(f"{byte:02x}" for byte in value)
    escaped = value.replace("\\", "\\\\").replace('"', '\\"')
    return f'"{escaped}"'


def seed_values(prefix: WinePrefix, values_by_key: dict):
    """Writes {key: {name: value}} with one regedit import: an int as REG_DWORD, a str as REG_SZ,
    bytes as REG_BINARY."""
    lines = ["REGEDIT4", ""]
    for key, values in values_by_key.items():
        lines.append(f"[{_reg_file_key(key)}]")
        lines += [f'"{name}"={_reg_file_data(value)}' for name, value in values.items()]
        lines.append("")
    reg_file = prefix.drive_c / "seed.reg"
    reg_file.write_bytes(("\r\n".join(lines) + "\r\n").encode("cp1252"))
    code, _ = prefix.run_tool("regedit", ["/s", prefix.windows_path(reg_file)])
    assert code == 0, f"regedit failed to import {reg_file}"


def read_values(prefix: WinePrefix, key: str):
    """The key's values as {name: data}, a REG_DWORD as int, a REG_SZ as str and any other type
    as (type, text); None when the key does not exist. One call for the whole key, since value
    names hold spaces ("Force Shutdown") that a per-value query would have to split around."""
    code, output = prefix.reg("query", key)
    if code != 0:
        return None
    values = {}
    # reg prints each value as "    <name>    <type>    <data>".
    for line in output.splitlines():
        if not line.startswith("    "):
            continue
        fields = line[4:].split("    ", 2)
        name, value_type = fields[0], fields[1]
        text = fields[2] if len(fields) == 3 else ""
        if value_type == "REG_DWORD":
            values[name] = int(text, 16)
        elif value_type == "REG_SZ":
            values[name] = text
        else:
            values[name] = (value_type, text)
    return values


def read_text_whole(prefix: WinePrefix, key: str, name: str):
    """A REG_SZ value with every character it holds, or None: regedit exports in UTF-16, while
    reg prints in the console's code page."""
    reg_file = prefix.drive_c / "export.reg"
    code, _ = prefix.run_tool("regedit", ["/e", prefix.windows_path(reg_file), _reg_file_key(key)])
    assert code == 0, f"regedit failed to export {key}"
    for line in reg_file.read_bytes().decode("utf-16").splitlines():
        if line.lower().startswith(f'"{name.lower()}"="'):
            return re.sub(r"\\(.)", r"\1", line[len(name) + 4:-1])
    return None
