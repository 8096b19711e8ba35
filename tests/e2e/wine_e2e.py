"""Plays the start of a simulator made on Windows, through the real wine, as a player whose own
locale is English (C.UTF-8) meets it. The installation's rsim.exe is a Windows recording
program of our own. A scenery whose file name has Polish letters and a consist whose vehicle's
node name holds Windows-1250 Polish letters are chosen and "Uruchom symulator" is pressed: the
recording must show code page 1250, the installation as working folder and, byte for byte, the
arguments a Windows launcher hands over, and the launcher must end with 0, while the simulator
goes on and writes error output after the launcher has ended. Then a 32-bit rsim.exe, where
wine cannot run one, must bring up the error box naming the cause with the launcher still open
and its choice intact; and told to stay open, a good start must bring the windows back with
nothing chosen."""

import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

from player import application, click, fail, find, press, screenshot, showing, start_launcher, \
    text_of, wait_for

install, inspect, screenshots = sys.argv[1:4]
work = os.path.dirname(install)
recorder64 = os.environ["RSIM_WINDOWS_RECORDER64"]
recorder32 = os.environ["RSIM_WINDOWS_RECORDER32"]
simulator = os.path.join(install, "rsim.exe")
record = os.path.join(install, "rsim-record.txt")
cache = os.path.join(work, "cache")

# The player's own locale is English; their wine prefix (the tests' own), display and the rest
# pass through to wine.
player = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8", HOME=os.path.join(work, "home"),
              XDG_CACHE_HOME=cache)
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


def check_record(pressed):
    got = read_record()
    if got["acp"] != 1250:
        fail("the simulator ran with code page %d, not 1250" % got["acp"])
    if got["folder"] != expected_folder:
        fail("the simulator worked in %r, not %r" % (got["folder"], expected_folder))
    if got["arg"][0].lower() != (expected_folder + b"\\rsim.exe").lower():
        fail("the simulator was started as %r" % got["arg"][0])
    if got["arg"][1:] != expected_arguments:
        fail("the simulator received %r, not %r" % (got["arg"][1:], expected_arguments))
    return got["main"] / 1e6 - pressed


def choose(window):
    scenery_list = wait_for("the scenery list", lambda: find(window, "Pliki tras"))
    rows = [scenery_list.getChildAtIndex(i) for i in range(scenery_list.childCount)]
    click(next(row for row in rows if row.name == scenery_name))
    consists = find(window, "Składy")
    wait_for("the consist of Łódź.scn", lambda: consists.childCount > 0 or None, 5)
    click(consists.getChildAtIndex(0))
    wait_for("the consist's details",
             lambda: text_of(find(window, "Opis składu")).startswith("Nazwa składu: Os_1"), 5)


def press_start(window):
    if os.path.exists(record):
        os.remove(record)
    pressed = time.time()
    click(find(window, "Uruchom symulator", "push button"))
    return pressed


def main_window(app):
    return wait_for("the main window", lambda: find(app, "Torvia RSIM-424"))


def shown_box(app):
    """The launcher's error box, while it is on screen."""
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is not None and window.name == "RSIM" and showing(window):
            return window
    return None


def texts_in(node):
    found = []
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child.getRoleName() == "label":
            found.append(child.name)
        found += texts_in(child)
    return found


def wine_runs_32_bit_programs():
    """Tried directly in a folder of its own, outside the launcher."""
    folder = tempfile.mkdtemp(dir=work)
    program = os.path.join(folder, "probe.exe")
    shutil.copy(recorder32, program)
    subprocess.run(["wine", program], cwd=folder, env=dict(os.environ, WINEDEBUG="-all"),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    return os.path.exists(os.path.join(folder, "rsim-record.txt"))


# The start as rsim-inspect shows it is the command the button runs.
shutil.copy(recorder64, simulator)
inspected = json.loads(subprocess.run(
    [inspect, "details", install, os.path.join(install, "scenery", scenery_name), "0"],
    capture_output=True, check=True).stdout)["command"]
if inspected["program"] != shutil.which("wine") or \
        inspected["arguments"] != [simulator, "-s", scenery_name, "-v", "Lok_Łódź"] or \
        inspected["environment"].get("LC_ALL") != "pl_PL.UTF-8":
    fail("rsim-inspect shows another command: %r" % inspected)

# A good start: the launcher ends with 0 and the simulator goes on without it.
open(os.path.join(install, "linger"), "w").close()
launcher = start_launcher(install)
try:
    app = wait_for("the launcher on the accessibility bus", application)
    window = main_window(app)
    choose(window)
    pressed = press_start(window)
    code = launcher.wait(timeout=90)
    if code != 0:
        fail("the start ended the launcher with exit code %d" % code)
    wait_for("the simulator's record", lambda: os.path.exists(record), 30)
    first = check_record(pressed)
finally:
    if launcher.poll() is None:
        launcher.kill()
if not glob.glob(os.path.join(cache, "rsim-launcher", "locale", "*", "pl_PL.UTF-8", "LC_CTYPE")):
    fail("the Polish locale was not built in the cache folder")
open(os.path.join(install, "launcher-ended"), "w").close()
wait_for("the simulator to live on after the launcher", lambda: os.path.exists(
    os.path.join(install, "rsim-survived.txt")), 30)
with open(os.path.join(cache, "rsim-launcher", "wine.log"), errors="replace") as f:
    if "recorder: line 999 after the launcher" not in f.read():
        fail("the simulator's error output after the launcher's end is not in wine.log")
os.remove(os.path.join(install, "linger"))
print("wine: started with code page 1250 and the arguments byte for byte; %.2f s from the press "
      "to the simulator's main, building the locale first" % first)

launcher = start_launcher(install)
try:
    app = wait_for("the launcher on the accessibility bus", application)
    window = main_window(app)
    if wine_runs_32_bit_programs():
        print("SKIPPED: this wine runs 32-bit programs, so a 32-bit simulator cannot fail for "
              "the want of them")
    else:
        shutil.copy(recorder32, simulator)
        choose(window)
        press_start(window)
        box = wait_for("the error box", lambda: shown_box(app), 60)
        time.sleep(0.3)
        screenshot(screenshots, "30-wine-32-bit.png")
        text = "\n".join(texts_in(box))
        for part in ("Nie udało się uruchomić symulatora: " + simulator,
                     "to 32-bitowy program Windows, a to wine nie uruchamia programów 32-bitowych",
                     "dpkg --add-architecture i386", "apt-get update",
                     "apt-get install wine32:i386", "ShellExecuteEx", "wine.log"):
            if part not in text:
                fail("the error box does not say %r: %r" % (part, text))
        press("Return")
        wait_for("the box to close", lambda: shown_box(app) is None, 5)
        if launcher.poll() is not None:
            fail("the launcher ended after a failed start")
        if not showing(window):
            fail("the main window did not come back after a failed start")
        if text_of(find(window, "Opis składu")).split("\n")[0] != "Nazwa składu: Os_1":
            fail("the choice was lost after a failed start")
        print("wine: a 32-bit simulator where wine cannot run one is reported, the choice kept")

    # Told to stay open, a good start brings the windows back with nothing chosen.
    shutil.copy(recorder64, simulator)
    click(wait_for("the options button", lambda: find(window, "Opcje", "push button")))
    # A window just shown ignores presses of its buttons for the double-click interval.
    time.sleep(0.5)
    stay = wait_for("the stay-open box", lambda: find(
        app, "Nie zamykaj tego programu automatycznie po uruchomieniu symulatora", "check box"))
    click(stay)
    wait_for("the box ticked", lambda: stay.getState().contains(pyatspi.STATE_CHECKED), 5)
    click(find(app, "Anuluj", "push button"))
    choose(window)
    pressed = press_start(window)
    wait_for("the simulator's record", lambda: os.path.exists(record), 30)
    later = check_record(pressed)
    wait_for("the main window back", lambda: showing(window), 10)
    if find(window, "Składy").childCount != 0:
        fail("a consist is still listed after a start that stays open")
    click(find(window, "Wyjście", "push button"))
    code = launcher.wait(timeout=10)
    if code != 0:
        fail("the quit button ended the launcher with exit code %d" % code)
    print("wine: told to stay open, the launcher came back with nothing chosen; %.2f s from the "
          "press to the simulator's main" % later)
finally:
    if launcher.poll() is None:
        launcher.kill()
