"""Plays the start of a simulator made on Windows, through the real wine, as a player whose own
locale is English (C.UTF-8) meets it. The installation's rsim.exe is a Windows recording
program of our own, 64-bit or 32-bit, which runs until told to quit. A scenery whose file name
has Polish letters and a consist whose vehicle's node name holds Windows-1250 Polish letters are
chosen and "Uruchom symulator" is pressed: the recording must show code page 1250, the
installation as working folder and, byte for byte, the arguments a Windows launcher hands over.

- 64-bit, in the tests' wine prefix (WINEPREFIX, booted afresh for the run): the launcher ends
  with 0, while the simulator goes on and writes error output after the launcher has ended.
- 32-bit, with a wine first on the search path that runs only 64-bit programs: the error box
  names the cause before anything runs, and the launcher stays open with its choice.
- 32-bit through the system's wine (which needs wine32:i386), in a prefix of the play's own that
  the 64-bit-only wine created: wine brings the prefix up to date and the simulator starts; told
  to stay open, the launcher comes back with nothing chosen. Then the cached Polish locale is
  cut short, emptied and removed in turn: each start builds it again and the names arrive
  exact, and a build folder left by a killed launcher is removed.
- Opened again on that prefix, now up to date, with no wine running: the launcher makes wine
  ready while its window is open, showing no window of wine's, and the press finds it ready."""

import contextlib
import glob
import json
import os
import shutil
import subprocess
import sys
import time

from player import application, click, fail, find, main_window, press, screenshot, showing, \
    shown_window, start_launcher, stay_open, text_of, wait_end, wait_for

install, inspect, screenshots = sys.argv[1:4]
work = os.path.dirname(install)
recorder64 = os.environ["RSIM_WINDOWS_RECORDER64"]
recorder32 = os.environ["RSIM_WINDOWS_RECORDER32"]
simulator = os.path.join(install, "rsim.exe")
record = os.path.join(install, "rsim-record.txt")
quit_file = os.path.join(install, "quit")
cache = os.path.join(work, "cache")
wine_log = os.path.join(cache, "rsim-launcher", "wine.log")
# Debian's wine: a script choosing between a 32-bit loader, from wine32:i386, and a 64-bit one.
system_loader32 = "/usr/lib/wine/wine"
system_loader64 = "/usr/lib/wine/wine64"

# The player's own locale is English; their display and the rest pass through to wine. Wine
# writes no menu entries and asks nothing about Mono or Gecko.
player = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8", HOME=os.path.join(work, "home"),
              XDG_CACHE_HOME=cache, WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d")
player.pop("WINEDEBUG", None)
os.makedirs(player["HOME"], exist_ok=True)
os.environ.clear()
os.environ.update(player)

# "Łódź.scn" as a Linux copy names it, in UTF-8; its consist's vehicle in Windows-1250.
scenery_name = "Łódź.scn"
node = b"Lok_\xa3\xf3d\x9f"
with open(os.path.join(install, "scenery", scenery_name), "wb") as f:
    f.write("//$N Łódź Fabryczna\r\n".encode("cp1250") +
            b"trainset Os_1 t1 0.0 0.0\r\n"
            b"node -1 0 " + node + b" dynamic PKP\\EL424 el424_zielony EL424 0 headdriver 0.00 0 brak\r\n"
            b"endtrainset\r\n")

# What a Windows launcher hands over on a Polish Windows: the names in Windows-1250.
expected_arguments = [b"-s", scenery_name.encode("cp1250"), b"-v", node]
expected_folder = ("Z:" + install.replace("/", "\\")).encode("cp1250")


def read_record():
    fields = {"arg": []}
    with open(record) as f:
        for line in f:
            key, _, value = line.rstrip("\n").partition(" ")
            if key == "arg":
                fields["arg"].append(bytes.fromhex(value))
            elif key == "folder":
                fields[key] = bytes.fromhex(value)
            else:
                fields[key] = int(value)
    return fields


def check_record(pressed, what):
    got = read_record()
    if got["acp"] != 1250:
        fail("%s: the simulator ran with code page %d, not 1250" % (what, got["acp"]))
    if got["folder"] != expected_folder:
        fail("%s: the simulator worked in %r, not %r" % (what, got["folder"], expected_folder))
    if got["arg"][0].lower() != (expected_folder + b"\\rsim.exe").lower():
        fail("%s: the simulator was started as %r" % (what, got["arg"][0]))
    if got["arg"][1:] != expected_arguments:
        fail("%s: the simulator received %r, not %r" % (what, got["arg"][1:], expected_arguments))
    return got["main"] / 1e6 - pressed


def quit_simulator():
    """The recording program quits when told, and takes the word away as it goes."""
    open(quit_file, "w").close()
    wait_for("the simulator to quit", lambda: not os.path.exists(quit_file))


def choose(window):
    scenery_list = wait_for("the scenery list", lambda: find(window, "Pliki tras"))
    rows = [scenery_list.getChildAtIndex(i) for i in range(scenery_list.childCount)]
    click(next(row for row in rows if row.name == scenery_name))
    consists = find(window, "Składy")
    wait_for("the consist of Łódź.scn", lambda: consists.childCount > 0 or None)
    click(consists.getChildAtIndex(0))
    wait_for("the consist's details",
             lambda: text_of(find(window, "Opis składu")).startswith("Nazwa składu: Os_1"))


def press_start(window):
    if os.path.exists(record):
        os.remove(record)
    pressed = time.time()
    click(find(window, "Uruchom symulator", "push button"))
    return pressed


def texts_in(node):
    found = []
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child.getRoleName() == "label":
            found.append(child.name)
        found += texts_in(child)
    return found


def start_staying_open(window, what):
    """A start with "do not close" ticked: the simulator's record, and the window back with
    nothing chosen. The seconds from the press to the simulator's main."""
    choose(window)
    pressed = press_start(window)
    wait_for(what + ": the simulator's record", lambda: os.path.exists(record), 60)
    seconds = check_record(pressed, what)
    wait_for(what + ": the main window back with nothing chosen",
             lambda: showing(window) and find(window, "Składy").childCount == 0)
    quit_simulator()
    return seconds


def wine_for_64_bit_programs_only():
    """A wine that runs only 64-bit programs, as Debian's without wine32: the system's 64-bit
    loader alone in a folder of its own, beside the system's libraries and data, with no 32-bit
    loader beside it. The folder to put first on the search path."""
    root = os.path.join(work, "wine64-only")
    for folder in ("bin", "lib/wine", "lib/x86_64-linux-gnu", "share"):
        os.makedirs(os.path.join(root, folder))
    loader = os.path.join(root, "lib", "wine", "wine64")
    shutil.copy(system_loader64, loader)
    os.symlink("/usr/lib/x86_64-linux-gnu/wine", os.path.join(root, "lib/x86_64-linux-gnu/wine"))
    os.symlink("/usr/share/wine", os.path.join(root, "share", "wine"))
    with open(os.path.join(root, "bin", "wine"), "w") as script:
        script.write('#!/bin/sh\nWINELOADER=%s exec %s "$@"\n' % (loader, loader))
    os.chmod(os.path.join(root, "bin", "wine"), 0o755)
    return os.path.join(root, "bin")


def wine_processes(prefix):
    """The names of the processes that wine runs in that prefix."""
    names = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/environ" % pid, "rb") as f:
                if ("WINEPREFIX=" + prefix).encode() not in f.read().split(b"\0"):
                    continue
            with open("/proc/%s/comm" % pid) as f:
                names.append(f.read().strip())
        except OSError:
            pass
    return names


@contextlib.contextmanager
def launcher_on(prefix):
    """The launcher on the installation, with that wine prefix, as it is shown; then ended by
    its quit button, which must end it with 0, and the prefix's wine stopped."""
    launcher = start_launcher(install, WINEPREFIX=prefix)
    try:
        app = wait_for("the launcher on the accessibility bus", application)
        window = main_window(app)
        yield launcher, app, window
        click(find(window, "Wyjście", "push button"))
        if wait_end(launcher) != 0:
            fail("the quit button did not end the launcher with 0")
    finally:
        if launcher.poll() is None:
            launcher.kill()
        subprocess.run(["wineserver", "--kill"], env=dict(os.environ, WINEPREFIX=prefix),
                       stderr=subprocess.DEVNULL)


def create_prefix(prefix, search_path):
    """A wine prefix created by the wine first on search_path, without a display."""
    env = dict(os.environ, PATH=search_path, WINEPREFIX=prefix, WINEDEBUG="-all")
    env.pop("DISPLAY", None)
    for command in (["wine", "wineboot", "--init"], ["wineserver", "--wait"]):
        subprocess.run(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       check=True, timeout=300)


for loader in (system_loader32, system_loader64):
    if not os.path.exists(loader):
        fail("%s is missing: ./test.sh installs wine64 and wine32:i386" % loader)

# The start as rsim-inspect shows it is the command the button runs.
shutil.copy(recorder64, simulator)
inspected = json.loads(subprocess.run(
    [inspect, "details", install, os.path.join(install, "scenery", scenery_name), "0"],
    capture_output=True, check=True).stdout)["command"]
if inspected["program"] != shutil.which("wine") or \
        inspected["arguments"] != [simulator, "-s", scenery_name, "-v", "Lok_Łódź"] or \
        inspected["environment"].get("LC_ALL") != "pl_PL.UTF-8":
    fail("rsim-inspect shows another command: %r" % inspected)

# 64-bit: the launcher ends with 0 and the simulator goes on without it.
open(os.path.join(install, "linger"), "w").close()
launcher = start_launcher(install)
try:
    app = wait_for("the launcher on the accessibility bus", application)
    window = main_window(app)
    choose(window)
    pressed = press_start(window)
    code = wait_end(launcher, "the launcher to end after the start", 60)
    if code != 0:
        fail("the start ended the launcher with exit code %d" % code)
    wait_for("the simulator's record", lambda: os.path.exists(record))
    first = check_record(pressed, "64-bit")
finally:
    if launcher.poll() is None:
        launcher.kill()
if not glob.glob(os.path.join(cache, "rsim-launcher", "locale", "*", "pl_PL.UTF-8", "LC_CTYPE")):
    fail("the Polish locale was not built in the cache folder")
open(os.path.join(install, "launcher-ended"), "w").close()
wait_for("the simulator to live on after the launcher", lambda: os.path.exists(
    os.path.join(install, "rsim-survived.txt")))
with open(wine_log, errors="replace") as f:
    if "recorder: line 999 after the launcher" not in f.read():
        fail("the simulator's error output after the launcher's end is not in wine.log")
quit_simulator()
os.remove(os.path.join(install, "linger"))
print("wine: a 64-bit simulator started with code page 1250 and the arguments byte for byte; "
      "%.2f s from the press to the simulator's main, building the locale first" % first)

# 32-bit, where wine runs only 64-bit programs: said before anything runs.
shutil.copy(recorder32, simulator)
only64 = wine_for_64_bit_programs_only()
log_before = os.stat(wine_log).st_mtime_ns
launcher = start_launcher(install, PATH=only64 + ":" + os.environ["PATH"])
try:
    app = wait_for("the launcher on the accessibility bus", application)
    window = main_window(app)
    choose(window)
    press_start(window)
    box = wait_for("the error box", lambda: shown_window(app, "RSIM"))
    screenshot(screenshots, "30-wine-32-bit.png")
    text = "\n".join(texts_in(box))
    for part in ("Nie udało się uruchomić symulatora: " + simulator,
                 "to 32-bitowy program Windows, a to wine nie uruchamia programów 32-bitowych",
                 "dpkg --add-architecture i386", "apt-get update", "apt-get install wine32:i386"):
        if part not in text:
            fail("the error box does not say %r: %r" % (part, text))
    if os.path.exists(record) or os.stat(wine_log).st_mtime_ns != log_before:
        fail("wine ran although it could not run the simulator")
    press("Return")
    wait_for("the box to close", lambda: shown_window(app, "RSIM") is None)
    if launcher.poll() is not None:
        fail("the launcher ended after a refused start")
    if not showing(window):
        fail("the main window is not shown after a refused start")
    if text_of(find(window, "Opis składu")).split("\n")[0] != "Nazwa składu: Os_1":
        fail("the choice was lost after a refused start")
    click(find(window, "Wyjście", "push button"))
    if wait_end(launcher) != 0:
        fail("the quit button did not end the launcher with 0")
finally:
    if launcher.poll() is None:
        launcher.kill()
print("wine: a 32-bit simulator where wine runs only 64-bit programs is refused at once, "
      "naming the cause, with the choice kept")

# 32-bit through the system's wine, in a prefix the 64-bit-only wine created.
prefix = os.path.join(work, "prefix-made-without-32-bit")
create_prefix(prefix, only64 + ":" + os.environ["PATH"])
if os.path.exists(os.path.join(prefix, "drive_c", "windows", "syswow64", "ntdll.dll")):
    fail("the 64-bit-only wine filled the prefix's syswow64")
with launcher_on(prefix) as (launcher, app, window):
    stay_open(app, window)
    seconds = start_staying_open(window, "32-bit")
    print("wine: a 32-bit simulator started with code page 1250 and the arguments byte for byte "
          "after wine brought the prefix up to date; %.2f s from the press to the simulator's "
          "main" % seconds)

    locale, = glob.glob(os.path.join(cache, "rsim-launcher", "locale", "*", "pl_PL.UTF-8"))
    ctype = os.path.join(locale, "LC_CTYPE")
    whole = os.path.getsize(ctype)
    abandoned = locale + ".part-abandoned"
    os.makedirs(abandoned)
    with open(os.path.join(abandoned, "LC_CTYPE"), "wb") as f:
        f.write(b"\0" * 4096)
    for damage in ("cut short", "empty", "missing"):
        if damage == "missing":
            os.remove(ctype)
        else:
            os.truncate(ctype, whole // 2 if damage == "cut short" else 0)
        seconds = start_staying_open(window, "LC_CTYPE " + damage)
        if not os.path.exists(ctype) or os.path.getsize(ctype) != whole:
            fail("the locale with its LC_CTYPE %s was not built again and kept" % damage)
        print("wine: with the cached LC_CTYPE %s, the locale was built again and the names "
              "arrived exact; %.2f s from the press to the simulator's main" % (damage, seconds))
    if glob.glob(locale + ".part-*"):
        fail("build folders are left: %r" % glob.glob(locale + ".part-*"))

# Opened again on that prefix, with no wine running: wine made ready behind the window.
with launcher_on(prefix) as (launcher, app, window):
    wait_for("wine made ready: its interpreter and desktop running, its start over",
             lambda: {"cmd.exe", "explorer.exe"} <= set(wine_processes(prefix)) and
             "rundll32.exe" not in wine_processes(prefix), 60)
    shown = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", ""],
                           capture_output=True, text=True).stdout.split()
    owners = {subprocess.run(["xdotool", "getwindowpid", w], capture_output=True,
                             text=True).stdout.strip() for w in shown}
    if owners - {str(launcher.pid), ""}:
        fail("wine showed a window while it was made ready: %r" % owners)
    stay_open(app, window)
    seconds = start_staying_open(window, "32-bit, wine made ready")
    print("wine: made ready by the launcher, showing nothing; %.2f s from the press to the "
          "simulator's main" % seconds)
