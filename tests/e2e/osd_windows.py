"""The program's on-screen display windows, seen from outside through osdprobe.exe."""


def osd_windows(program) -> list:
    """[(visible, left, top, width, height)] of every OSD window in the test's prefix."""
    code, output = program.prefix.run(program.path / "osdprobe.exe", ["windows"], name="osdprobe")
    assert code == 0, output
    rows = [line.split("\t") for line in output.splitlines() if line.strip()]
    return [(row[2] == "1", *map(int, row[3:7])) for row in rows]


def visible_osd(program):
    """The one visible OSD window, or None."""
    shown = [window for window in osd_windows(program) if window[0]]
    return shown[0] if len(shown) == 1 else None
