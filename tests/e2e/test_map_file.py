"""The button map file: Quorvel reads it as the system's profile functions do, and the map file,
its copy and the log work in folders whose names the ANSI code page cannot hold."""

from harness import MAIN_WINDOW, ProgramFolder, tool_path
from harness.ports import free_port
from lirc_clients import write_settings
from quorvel import RunningQuorvel, wait_for_text
from settings_registry import RUN_KEY, read_text_whole

# Files a user or an older copy may leave, each with lookups that differ from the file's names.
AWKWARD_FILES = {
    "duplicates": (b"[Buttons]\r\nA=1\r\na=2\r\nB=3\r\n[buttons]\r\nA=4\r\nC=5\r\n[Other]\r\nA=6\r\n",
                   [("BUTTONS", "c"), ("buttons", "b")]),
    "case": (b"[Keys]\r\n0000a35c=0041\r\n0000A35D=0042\r\n", [("keys", "0000A35C"), ("KEYS", "0000a35d")]),
    "blanks": (b"[S]\r\n  key  =  value  \r\n\tk2\t=\tv2\t\r\nk3=\r\n k4 = \r\n\x0bk5\x0c=\x1av5\r\n", [("s", "KEY")]),
    "quotes": (b"[S]\r\nq1=\"a b\"\r\nq2='c'\r\nq3=\"\r\nq4=\"\"\r\nq5=\"a\" \"b\"\r\nq6='x\"\r\nq7= ' y ' \r\n", []),
    "no equals": (b"[S]\r\na line without equals\r\nk=v\r\n=nameless\r\n", [("S", "a line without equals")]),
    "comments": (b"; top\r\n[S]\r\n;k=v\r\n; note\r\nk=v ; not a comment\r\n", [("S", ";k"), ("S", "k")]),
    "utf16": ("\ufeff[S]\r\nk=\u00e9t\u00e9\r\nw=\u0416\r\n[\u00c4]\r\nx=1\r\n".encode("utf-16-le"), [("s", "K")]),
    "long values": (b"[S]\r\nk=" + b"x" * 100000 + b"\r\n" + b"".join(b"%08X=%d\r\n" % (i, i) for i in range(3000)),
                    [("S", "00000BB7")]),
    "unterminated": (b"[S]\r\nj=1\r\nk=v", [("S", "K")]),
    "headers": (b"[ spaced ]\r\nk=1\r\n[broken\r\nk=2\r\n[a]b]\r\nk=3\r\n[]\r\nk=4\r\n[T] trailing\r\nk=5\r\n",
                [(" spaced ", "k"), ("spaced", "k"), ("a]b", "k"), ("T", "k")]),
    "line ends": (b"top=0\n[S]\rk=1\nj=2\r\n\r\n\r\r\nl=3\x1a", [("S", "l")]),
}


def dump(wine, mode: str, path, probes) -> str:
    """What inidump prints; a run that ends with code 1 and prints nothing is tried again."""
    arguments = [mode, wine.windows_path(path), *(part for probe in probes for part in probe)]
    for _ in range(3):
        code, output = wine.run(str(tool_path("inidump")), arguments)
        if code == 0:
            return output
    raise AssertionError(f"inidump {mode} {path.name} ended with {code}: {output!r}")


def test_quorvels_reader_reads_awkward_files_as_the_profile_functions_do(wine):
    folder = wine.drive_c / "maps"
    folder.mkdir()
    differences = []
    for name, (content, probes) in AWKWARD_FILES.items():
        path = folder / f"{name.replace(' ', '-')}.ini"
        path.write_bytes(content)
        expected = dump(wine, "profile", path, probes)
        assert expected.strip(), f"the profile functions read nothing from {name}"
        read = dump(wine, "quorvel", path, probes)
        if read != expected:
            differences.append(f"{name}:\nprofile functions:\n{expected}\nQuorvel:\n{read}")
    assert not differences, "\n".join(differences)


# Letters that the Western code page lacks: Cyrillic and CJK.
USER = "\u042e\u0440\u0438\u0439 \u7528\u6237"
INSTALL = f"users/{USER}/AppData/Local/Programs/\u041a\u0432\u043e\u0440 \u7a0b\u5e8f"
USER_SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders"
CODE = 0xA35C


def test_an_install_folder_and_a_user_name_outside_the_code_page_keep_the_map_and_the_log(wine, wintool):
    local = wine.drive_c / "users" / USER / "AppData" / "Local"
    local.mkdir(parents=True)
    wine.reg_add(USER_SHELL_FOLDERS, "Local AppData", wine.windows_path(local), "REG_EXPAND_SZ")
    write_settings(wine, {"LIRC Server Port": str(free_port())})
    program = ProgramFolder(wine, INSTALL)
    program.add_quorvel()
    program.add_library("BeholdRC")
    ini = program.path / "Quorvel.ini"
    # Without its "Name" the remote is called "RC", which the save writes into its place.
    ini.write_bytes(b"; kept\r\n[RC]\r\n[Buttons]\r\n0000A35C = Play\r\n[Applications]\r\n"
                    b"0000A35C=C:\\Caf\xe9\\player.exe\r\n")
    quorvel = RunningQuorvel(program, wintool, program.start(), "BeholdRC").wait_started()
    assert quorvel.texts("RemoteNameE") == {"RemoteNameE": "RC"}
    quorvel.control.hold(CODE)
    wait_for_text(quorvel, "NameST", "Play")
    quorvel.control.release()
    assert wintool.click(*MAIN_WINDOW, "AutorunCB")
    quorvel.exit()

    # Windows starts this copy from its folder, and the next start sees that it does.
    assert read_text_whole(wine, RUN_KEY, "Quorvel") == f'"{program.windows_path}\\Quorvel.exe"'
    quorvel = RunningQuorvel(program, wintool, program.start(), "BeholdRC").wait_started()
    assert wintool.state(*MAIN_WINDOW, "AutorunCB")["AutorunCB"].checked
    quorvel.exit()

    # What was written by hand stays as it was, and the file stays in the ANSI code page.
    assert ini.read_bytes() == (b"; kept\r\n[RC]\r\nName=RC\r\n[Buttons]\r\n0000A35C = Play\r\n[Applications]\r\n"
                                b"0000A35C=C:\\Caf\xe9\\player.exe\r\n")
    assert [path.name for path in program.path.iterdir() if path.suffix.lower() == ".tmp"] == []
    log = local / "Quorvel" / "Quorvel.log"
    assert log.exists(), f"no log under {local}"
    assert "Saved the settings, the autorun entry and the button map" in log.read_text(errors="replace")
