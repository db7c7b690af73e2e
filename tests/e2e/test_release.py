"""The release in dist/ (built by scripts/package.sh): the installer of the build under test
installs, upgrades over a running Quorvel and uninstalls under that build's Wine; the zips, both
installers' contents and the checksums are checked without running them."""

import getpass
import hashlib
import shutil
import subprocess
import zipfile
from pathlib import Path, PureWindowsPath

import pefile
import pytest

from harness import MAIN_WINDOW, ProgramFolder
from harness.wine import SILENT_FAILURE_ATTEMPTS
from harness.paths import ARCH, BITS, BUILD_DIR, BUILDS, OTHER_ARCH, OTHER_BUILD_DIR, REPO_DIR, quorvel_version
from harness.ports import free_port
from harness.waiting import wait_until
from quorvel import RunningQuorvel
from quorvel_window import MENU_ITEMS
from settings_registry import PROGRAM_KEY, RUN_KEY, read_values, seed_values

DIST_DIR = REPO_DIR / "dist"
VERSION = quorvel_version()
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel"
PROGRAM_FILES = {"Quorvel.exe", "README.txt", "LICENSE.txt", "CHANGELOG.txt"}
# (machine, optional header magic) of each build: i386 PE32 and x86-64 PE32+.
PE_KINDS = {"win32": (0x14C, 0x10B), "win64": (0x8664, 0x20B)}
# An uninstaller's exit code when it could not start the copy of itself that does the work.
UNINSTALLER_COPY_NOT_STARTED = 2
# The exit through "Exit" may take the installer this long before it gives up.
INSTALLER_EXIT_WAIT = 10


def dist_file(name: str) -> Path:
    path = DIST_DIR / name
    if not path.exists():
        pytest.fail(f"not built: {path} (run scripts/package.sh)", pytrace=False)
    return path


def setup_exe(arch: str) -> Path:
    return dist_file(f"Quorvel-{VERSION}-{arch}-setup.exe")


def version_info(data: bytes) -> tuple:
    """(machine, optional header magic, fixed file version, {string: value}) of a PE file."""
    pe = pefile.PE(data=data, fast_load=True)
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    fixed = pe.VS_FIXEDFILEINFO[0]
    numbers = (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF, fixed.FileVersionLS >> 16,
               fixed.FileVersionLS & 0xFFFF)
    strings = {key.decode(): value.decode() for info in pe.FileInfo[0] if hasattr(info, "StringTable")
               for table in info.StringTable for key, value in table.entries.items()}
    return pe.FILE_HEADER.Machine, pe.OPTIONAL_HEADER.Magic, ".".join(map(str, numbers)), strings


def installer_listing(setup: Path) -> set:
    """The files an NSIS installer carries, as 7-Zip lists them (its plug-ins left out)."""
    output = subprocess.run(["7z", "l", "-ba", "-slt", str(setup)], capture_output=True, text=True,
                            check=True).stdout
    paths = {line[len("Path = "):] for line in output.splitlines() if line.startswith("Path = ")}
    return {path for path in paths if not path.startswith("$PLUGINSDIR")}


def windows_text(path: Path) -> bytes:
    return path.read_bytes().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


@pytest.mark.win64_only("reads both builds' packages without running them")
@pytest.mark.parametrize("arch", ["win32", "win64"])
def test_zip_and_installer_carry_the_program_its_texts_and_the_version(arch):
    with zipfile.ZipFile(dist_file(f"Quorvel-{VERSION}-{arch}.zip")) as archive:
        assert set(archive.namelist()) == PROGRAM_FILES
        files = {name: archive.read(name) for name in PROGRAM_FILES}
    assert files["Quorvel.exe"] == (BUILDS[arch] / "Quorvel.exe").read_bytes(), "dist/ is older than the build"
    assert files["README.txt"] == windows_text(REPO_DIR / "docs" / "guide.md")
    assert files["LICENSE.txt"] == windows_text(REPO_DIR / "LICENSE")
    assert files["CHANGELOG.txt"] == windows_text(REPO_DIR / "CHANGELOG.md")
    assert f"## [{VERSION}]" in files["CHANGELOG.txt"].decode()

    machine, magic, fixed, strings = version_info(files["Quorvel.exe"])
    assert (machine, magic) == PE_KINDS[arch]
    assert (fixed, strings["FileVersion"], strings["ProductVersion"]) == (VERSION, VERSION, VERSION)

    setup = setup_exe(arch)
    machine, magic, fixed, strings = version_info(setup.read_bytes())
    assert (machine, magic) == PE_KINDS[arch]
    assert fixed == VERSION
    assert {key: strings[key] for key in ("ProductName", "CompanyName", "FileVersion", "ProductVersion")} == {
        "ProductName": "Quorvel", "CompanyName": "Vantrel", "FileVersion": VERSION, "ProductVersion": VERSION}
    # The makers' libraries come with the card; the substitutes and the virtual remote are for tests.
    assert installer_listing(setup) == PROGRAM_FILES | {"Uninstall.exe"}
    packed_exe = subprocess.run(["7z", "x", "-so", str(setup), "Quorvel.exe"], capture_output=True,
                                check=True).stdout
    assert packed_exe == files["Quorvel.exe"]


@pytest.mark.win64_only("reads the packages without running them")
def test_checksums_cover_every_package():
    sums = {}
    for line in dist_file("SHA256SUMS").read_text().splitlines():
        digest, name = line.split(maxsplit=1)
        sums[name.lstrip("*")] = digest
    assert set(sums) == {f"Quorvel-{VERSION}-{arch}{kind}" for arch in BUILDS for kind in (".zip", "-setup.exe")}
    for name, digest in sums.items():
        assert hashlib.sha256((DIST_DIR / name).read_bytes()).hexdigest() == digest, name


def test_the_release_reads_the_version_and_the_exit_command_whatever_the_spacing(tmp_path):
    script = REPO_DIR / "scripts" / "release-numbers.sh"

    def read(kind: str, text: str = None):
        header = tmp_path / "header.h"
        header.write_text(text or "")
        result = subprocess.run([str(script), kind] + ([str(header)] if text is not None else []),
                                capture_output=True, text=True)
        return result.stdout.strip() if result.returncode == 0 else None

    # The program's own headers, as the tests read them.
    assert (read("version"), read("exit-command")) == (VERSION, str(MENU_ITEMS["ExitPM"]))
    version = "#define QUORVEL_VERSION_MAJOR 1\n#define QUORVEL_VERSION_MINOR 2\n#define QUORVEL_VERSION_PATCH 3\n"
    cases = [
        ("version", version + "#define QUORVEL_VERSION_BUILD 4\n", "1.2.3.4"),
        ("version", version.replace(" 1", "\t 1  ").replace("#define QUORVEL_VERSION_MINOR", "# define  QUORVEL_VERSION_MINOR")
         + "#define QUORVEL_VERSION_BUILD 4  // the build\n", "1.2.3.4"),
        ("version", version, None),
        ("exit-command", "    X(ExitPM, 2007)\n", "2007"),
        ("exit-command", "#define QUORVEL_TRAY_MENU(X) \\\n    X( WinLIRCPM,2001 ) \\\n    X(\tExitPM ,  2099 )\n", "2099"),
        ("exit-command", "    X(ExitPM,2007)\n", "2007"),
        ("exit-command", "    X(ExitPMItem, 2007)\n    X(WinLIRCPM, 2001)\n", None),
    ]
    assert [read(kind, text) for kind, text, _ in cases] == [expected for _, _, expected in cases]


class Installation:
    """Quorvel installed by the installer of the build under test into a test's prefix, seen from
    outside."""

    def __init__(self, wine, wintool):
        self.wine = wine
        self.wintool = wintool
        self.windows_dir = None  # the folder the first install chose, as its uninstall entry names it

    def install(self, timeout: float = 120) -> int:
        code, _ = self.wine.run(setup_exe(ARCH), ["/S"], timeout=timeout)
        if code == 0 and self.windows_dir is None:
            self.windows_dir = self.registration()["InstallLocation"]
        return code

    def install_with_wizard(self) -> "Wizard":
        """Clicks through the installer's wizard up to its finish page, which it returns."""
        self.wine.start(setup_exe(ARCH))
        setup = Wizard(self.wintool, f"Quorvel {VERSION} ({BITS[ARCH]}-bit) Setup")
        assert setup.click("&Next >")
        assert setup.click("&Install")
        assert wait_until(lambda: setup.has_button("Start Quorvel"), 30), "no finish page"
        self.windows_dir = self.registration()["InstallLocation"]
        return setup

    def registration(self):
        return read_values(self.wine, UNINSTALL_KEY)

    @property
    def folder(self) -> Path:
        path = PureWindowsPath(self.windows_dir)
        assert path.drive.upper() == "C:", self.windows_dir
        return self.wine.drive_c.joinpath(*path.parts[1:])

    @property
    def profile(self) -> Path:
        """The user's profile folder: Wine names it after the Unix user."""
        return self.wine.drive_c / "users" / getpass.getuser()

    @property
    def shortcut(self) -> Path:
        return self.profile / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quorvel.lnk"

    def program_folder(self) -> ProgramFolder:
        return ProgramFolder(self.wine, str(self.folder.relative_to(self.wine.drive_c)))

    def start_quorvel(self, program: ProgramFolder) -> RunningQuorvel:
        return RunningQuorvel(program, self.wintool, program.start(), "BeholdRC").wait_started()

    def uninstall_silently(self):
        """Runs the uninstall entry's quiet command and waits until it has finished: the
        uninstaller copies itself into the temp folder, starts the copy and ends at once; the copy
        removes the program, its own original last. A first run ending with 2 could not start
        its copy ("Error launching installer"), which Wine has failed to do on a loaded machine,
        and removed nothing: it is run again, as a user would click "Uninstall" again."""
        exe, argument = self.registration()["QuietUninstallString"].rsplit(" ", 1)
        for _ in range(SILENT_FAILURE_ATTEMPTS):
            code, _ = self.wine.run(exe.strip('"'), [argument])
            if code != UNINSTALLER_COPY_NOT_STARTED:
                break
            assert {path.name for path in self.folder.iterdir()} >= PROGRAM_FILES, "a failed start removed files"
        assert code == 0, f"the uninstaller ended with {code}"
        assert wait_until(lambda: not (self.folder / "Uninstall.exe").exists(), 60), "the uninstaller did not finish"


@pytest.fixture
def installation(wine, wintool):
    return Installation(wine, wintool)


def test_silent_install_upgrade_over_a_running_quorvel_and_silent_uninstall(installation, wine, wintool):
    assert installation.install() == 0
    folder = installation.folder
    assert folder == installation.profile / "AppData/Local/Programs/Quorvel"
    assert {path.name for path in folder.iterdir()} == PROGRAM_FILES | {"Uninstall.exe"}
    assert (folder / "Quorvel.exe").read_bytes() == (BUILD_DIR / "Quorvel.exe").read_bytes()
    exe = installation.windows_dir + r"\Quorvel.exe"
    uninstaller = installation.windows_dir + r"\Uninstall.exe"
    # The link's target, as its LinkInfo block holds it: in the ANSI code page.
    assert exe.encode("cp1252") + b"\0" in installation.shortcut.read_bytes()
    registration = installation.registration()
    estimated_kib = registration.pop("EstimatedSize")
    assert registration == {
        "DisplayName": f"Quorvel ({BITS[ARCH]}-bit)", "DisplayVersion": VERSION, "Publisher": "Vantrel", "DisplayIcon": exe,
        "UninstallString": f'"{uninstaller}"', "QuietUninstallString": f'"{uninstaller}" /S',
        "InstallLocation": installation.windows_dir, "NoModify": 1, "NoRepair": 1}
    assert abs(estimated_kib - sum(path.stat().st_size for path in folder.iterdir()) // 1024) <= 1

    # The installed program runs from there with a substitute library beside it, starts with
    # Windows, and saves its button map there at "Exit".
    program = installation.program_folder()
    program.add_library("BeholdRC")
    port = free_port()
    seed_values(wine, {PROGRAM_KEY: {"LIRC Server Port": str(port)}, RUN_KEY: {"Quorvel": f'"{exe}"'}})
    installation.start_quorvel(program).exit()
    saved_map = (folder / "Quorvel.ini").read_bytes()

    # Installing again while it runs ends it through "Exit": the setting removed behind its back
    # is written again, and the button map it saves is kept.
    quorvel = installation.start_quorvel(program)
    wine.reg("delete", PROGRAM_KEY, "/v", "Mode", "/f")
    assert installation.install() == 0
    assert not quorvel.process.is_running()
    settings = read_values(wine, PROGRAM_KEY)
    assert (settings.get("Mode"), settings.get("LIRC Server Port")) == (1, str(port))
    assert (folder / "Quorvel.ini").read_bytes() == saved_map
    assert (folder / "Quorvel.exe").read_bytes() == (BUILD_DIR / "Quorvel.exe").read_bytes()

    installation.uninstall_silently()
    assert {path.name for path in folder.iterdir()} == {"Quorvel.ini", "BeholdRC.dll", "QuorvelSim.ini",
                                                        "QuorvelSim.log"}
    assert (folder / "Quorvel.ini").read_bytes() == saved_map
    assert not installation.shortcut.exists()
    assert read_values(wine, UNINSTALL_KEY) is None
    assert read_values(wine, PROGRAM_KEY)["LIRC Server Port"] == str(port)
    assert "Quorvel" not in read_values(wine, RUN_KEY)


def test_installing_over_the_other_build_replaces_it_in_its_folder_under_one_entry(installation, wine):
    """One Quorvel per user, since both builds share the settings, the start with Windows and the
    lock that lets one copy run: over the other build (its entry and its folder, with its exe and
    the user's button map), setup installs into that folder, even when told another one, and the
    one entry then names this build; uninstalling it leaves the button map only."""
    old_dir = r"C:\Quorvel Other"
    old = wine.drive_c / "Quorvel Other"
    old.mkdir()
    shutil.copy2(OTHER_BUILD_DIR / "Quorvel.exe", old)
    for name in PROGRAM_FILES - {"Quorvel.exe"}:
        (old / name).write_text("the other build's")
    button_map = b"[Buttons]\r\n00BE0035=Play\r\n"
    (old / "Quorvel.ini").write_bytes(button_map)
    seed_values(wine, {UNINSTALL_KEY: {
        "DisplayName": f"Quorvel ({BITS[OTHER_ARCH]}-bit)", "DisplayVersion": "0.0.0.1", "InstallLocation": old_dir,
        "UninstallString": f'"{old_dir}\\Uninstall.exe"', "QuietUninstallString": f'"{old_dir}\\Uninstall.exe" /S'}})

    code, _ = wine.run(setup_exe(ARCH), ["/S", r"/D=C:\Elsewhere"], timeout=120)
    assert code == 0
    assert not (wine.drive_c / "Elsewhere").exists()
    assert not (installation.profile / "AppData/Local/Programs/Quorvel").exists()
    assert (old / "Quorvel.exe").read_bytes() == (BUILD_DIR / "Quorvel.exe").read_bytes()
    assert (old / "Quorvel.ini").read_bytes() == button_map
    registration = installation.registration()
    assert (registration["DisplayName"], registration["DisplayVersion"], registration["InstallLocation"]) == (
        f"Quorvel ({BITS[ARCH]}-bit)", VERSION, old_dir)

    installation.windows_dir = old_dir
    installation.uninstall_silently()
    assert [path.name for path in old.iterdir()] == ["Quorvel.ini"]
    assert read_values(wine, UNINSTALL_KEY) is None


class Wizard:
    """The installer's or the uninstaller's window, found by the start of its title (each page
    adds to it), and its buttons by caption."""

    def __init__(self, wintool, title: str):
        self.wintool = wintool
        self.title = title

    def _window_title(self):
        return next((window.title for window in self.wintool.list()
                     if window.class_name == "#32770" and window.visible and window.title.startswith(self.title)),
                    None)

    def has_button(self, caption: str) -> bool:
        title = self._window_title()
        return title is not None and any(kind == "Button" and text == caption
                                         for _, _, kind, _, text in self.wintool.children("#32770", title))

    def checked(self, caption: str):
        return self.wintool.button_checked("#32770", self._window_title(), caption)

    def texts(self) -> list:
        title = self._window_title()
        return [text for _, _, kind, _, text in self.wintool.children("#32770", title) if kind == "Static"]

    def click(self, caption: str, timeout: float = 30) -> bool:
        """Clicks the button once its page shows it."""
        def clicked():
            title = self._window_title()
            return title is not None and self.wintool.click_button("#32770", title, caption)
        return bool(wait_until(clicked, timeout))


def test_wizard_starts_quorvel_and_uninstalling_it_with_the_box_ticked_removes_its_map_and_settings(
        installation, wine, wintool):
    # A card library of the other width waits in the folder: the finish page says which build
    # it needs and does not start Quorvel, which could only say that it cannot load it.
    default_folder = installation.profile / "AppData/Local/Programs/Quorvel"
    default_folder.mkdir(parents=True)
    shutil.copy2(OTHER_BUILD_DIR / "sim" / "BeholdRC.dll", default_folder)
    setup = installation.install_with_wizard()
    texts = setup.texts()
    other, own = BITS[OTHER_ARCH], BITS[ARCH]
    assert (f"BeholdRC.dll in {installation.windows_dir} is a {other}-bit library, which this {own}-bit Quorvel "
            f"cannot load: it needs the {other}-bit Quorvel (the setup ending in -{OTHER_ARCH}-setup.exe).") in texts, \
        texts
    assert not setup.has_button("Open the folder")

    # With the right library copied in, the user ticks "Start Quorvel" (unticked until then).
    program = installation.program_folder()
    program.add_library("BeholdRC")
    assert setup.click("Start Quorvel")
    # A copy elsewhere set to start with Windows: removing all settings removes that too.
    seed_values(wine, {PROGRAM_KEY: {"LIRC Server Port": str(free_port())},
                       RUN_KEY: {"Quorvel": r'"C:\Portable\Quorvel.exe"'}})
    assert setup.click("&Finish")
    assert wintool.wait_for_window(*MAIN_WINDOW, 30), "Quorvel did not start from the finish page"
    program.sim_control().wait_ready()
    log_folder = installation.profile / "AppData/Local/Quorvel"
    assert wait_until(log_folder.is_dir, 10)

    # The uninstaller ends the running Quorvel first, so what it saves on the way out goes too.
    wine.start(installation.registration()["UninstallString"].strip('"'))
    uninstall = Wizard(wintool, "Quorvel Uninstall")
    assert uninstall.click("Remove my button map and settings")
    assert uninstall.click("&Uninstall")
    folder = installation.folder
    assert wait_until(lambda: not (folder / "Uninstall.exe").exists(), 60), "the uninstaller did not finish"

    assert not log_folder.exists()
    assert not any(window.class_name == MAIN_WINDOW[0] for window in wintool.list())
    # The library and the files the user put beside the program stay.
    assert {path.name for path in folder.iterdir()} == {"BeholdRC.dll", "QuorvelSim.ini", "QuorvelSim.log"}
    assert not installation.shortcut.exists()
    assert read_values(wine, UNINSTALL_KEY) is None
    assert read_values(wine, r"HKCU\Software\Vantrel") is None
    assert "Quorvel" not in read_values(wine, RUN_KEY)


def test_the_finish_page_without_a_card_library_says_what_to_copy_where_and_opens_the_folder(
        installation, wine, wintool):
    # Whatever would show the folder writes its name to a file instead.
    for kind in ("Directory", "Folder"):
        assert wine.reg("add", rf"HKCR\{kind}\shell\open\command", "/ve", "/d",
                        r"C:\windows\system32\cmd.exe /c echo %1>>C:\opened.txt", "/f")[0] == 0
    setup = installation.install_with_wizard()
    assert ("Copy your TV card's remote-control library, BeholdRC.dll (Beholder) or RemoteSdk.dll (Compro), into "
            f"{installation.windows_dir}.\r\n\r\nWithout a card, Quorvel can receive from a LIRC or WinLIRC server: "
            "start it, answer \"Yes\" when it finds no library, and set \"Receive from\" on its \"WinLIRC\" tab."
            ) in setup.texts()
    assert setup.click("Open the folder")
    opened = wine.drive_c / "opened.txt"
    assert wait_until(lambda: opened.exists() and opened.read_text().strip(), 20), "the folder was not opened"
    assert PureWindowsPath(opened.read_text().strip()) == PureWindowsPath(installation.windows_dir)
    # Unticked: finishing starts nothing that could only say that the library is missing.
    assert setup.checked("Start Quorvel") == 0
    assert setup.click("&Finish")


def test_an_install_while_quorvel_cannot_end_changes_nothing(installation, wine, wintool):
    assert installation.install() == 0
    folder = installation.folder
    program = installation.program_folder()
    program.add_library("BeholdRC")
    seed_values(wine, {PROGRAM_KEY: {"LIRC Server Port": str(free_port())}})
    quorvel = installation.start_quorvel(program)
    # A button map it cannot write keeps its exit waiting on the message that says so.
    map_file = folder / "Quorvel.ini"
    map_file.write_bytes(b"")
    (folder / "README.txt").unlink()
    subprocess.run(["chattr", "+i", str(map_file)], check=True)
    try:
        assert installation.install(timeout=INSTALLER_EXIT_WAIT + 60) == 2
        assert wintool.wait_for_dialog("Unable to write to", 1)
        assert quorvel.process.is_running()
        assert not (folder / "README.txt").exists()
    finally:
        subprocess.run(["chattr", "-i", str(map_file)], check=True)
