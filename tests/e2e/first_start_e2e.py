"""Plays the first start of a launcher installed away from any installation, as from the menu:
the launcher alone in a folder says it is outside an installation and takes typed paths; a
folder that is no installation and one it cannot write to are refused; for a copy of the sample
it places its link and a menu entry and lists the sample's sceneries. The menu entry, read as
the desktop reads it (gio), starts the launcher again there. The window's class matches the
packaged entry, all four windows carry the icon, a window manager shows it in the title bar,
and Cancel ends a first start with 0."""

import glob
import json
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import time

import pyatspi

from player import click, fail, find, press, screenshot, showing, wait_for

install, inspect, screenshots = sys.argv[1:4]
packaged_entry = os.environ["RSIM_DESKTOP_ENTRY"]

work = tempfile.mkdtemp()
home = os.path.join(work, "home")
data = os.path.join(work, "data")
os.makedirs(home)
alone = os.path.join(work, "alone", "rsim-launcher")
os.makedirs(os.path.dirname(alone))
shutil.copy2(os.path.join(install, "rsim-launcher"), alone)
not_installation = os.path.join(work, "Pusty folder")
os.makedirs(not_installation)
with open(os.path.join(not_installation, "notatki.txt"), "w") as notes:
    notes.write("nic\n")
# A name made on Windows may hold blanks, quotes, "$", "%" and Polish letters.
installation = os.path.join(work, "Gry 'RSIM' 100% $HOME (łódź)")
read_only = os.path.join(work, "Tylko do odczytu")
for copy in (installation, read_only):
    shutil.copytree(install, copy, ignore=shutil.ignore_patterns("rsim-launcher"))
os.chmod(read_only, 0o555)
sceneries = sorted(name for name in os.listdir(os.path.join(install, "scenery"))
                   if name.lower().endswith(".scn"))

env = dict(os.environ, HOME=home, XDG_DATA_HOME=data, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
           QT_QPA_PLATFORM="xcb")


def launcher_apps():
    desktop = pyatspi.Registry.getDesktop(0)
    apps = (desktop.getChildAtIndex(i) for i in range(desktop.childCount))
    return [app for app in apps if app is not None and app.name in ("RSIM", "rsim-launcher")]


def shown(name, role=None):
    """A shown window or box of the launcher, by its name."""
    for app in launcher_apps():
        try:
            for i in range(app.childCount):
                node = app.getChildAtIndex(i)
                if node is not None and node.name == name and showing(node) and \
                        (role is None or node.getRoleName() == role):
                    return node
        except Exception:
            pass  # an application that went away
    return None


def box_saying(words):
    """The text of a shown message box that holds words."""
    for app in launcher_apps():
        try:
            boxes = [app.getChildAtIndex(i) for i in range(app.childCount)]
            for box in boxes:
                if box is None or box.getRoleName() != "alert" or not showing(box):
                    continue
                label = pyatspi.findDescendant(box, lambda n: n.getRoleName() == "label" and
                                               words in n.name)
                if label:
                    return label.name
        except Exception:
            pass  # an application that went away
    return None


def type_path(path):
    subprocess.run(["xdotool", "type", "--delay", "25", path], check=True)


def chooser():
    """The folder chooser, once its line for a typed path has the keyboard."""
    window = wait_for("the folder chooser",
                      lambda: shown("Wskaż folder instalacji symulatora RSIM-424"))
    wait_for("the chooser's line to take the keyboard", lambda: pyatspi.findDescendant(
        window, lambda n: n.getState().contains(pyatspi.STATE_FOCUSED) and
        n.getRoleName() == "text"))
    return window


def main_window_listing():
    """The main window once its scenery list is filled."""
    window = shown("Torvia RSIM-424")
    scenery_list = window and find(window, "Pliki tras")
    return window if scenery_list is not None and scenery_list.childCount > 0 else None


def listed(window):
    scenery_list = find(window, "Pliki tras")
    return sorted(scenery_list.getChildAtIndex(i).name for i in range(scenery_list.childCount))


def x_window(name):
    ids = subprocess.run(["xdotool", "search", "--name", "^%s$" % name], capture_output=True,
                         text=True).stdout.split()
    return ids[0] if ids else None


def x_property(window_id, name):
    return subprocess.run(["xprop", "-id", window_id, "-notype", name], capture_output=True,
                          text=True, check=True).stdout


def entry_value(path, key):
    with open(path, encoding="utf-8") as entry:
        for line in entry:
            if line.startswith(key + "="):
                return line.rstrip("\n").split("=", 1)[1]
    return None


def quit_launcher(window):
    click(find(window, "Wyjście", "push button"))


window_manager = None
launcher = subprocess.Popen([alone], cwd="/", env=env)
try:
    # Outside an installation the launcher says so, naming its folder, in Polish.
    text = wait_for("the first-start question", lambda: box_saying("nie ma ani rsim.exe"))
    if os.path.dirname(alone) not in text:
        fail("the first-start text does not name the launcher's folder: %r" % text)
    time.sleep(0.3)
    screenshot(screenshots, "30-first-start-outside.png")
    press("Return")

    # A folder that is no installation is refused, and the chooser comes back.
    chooser()
    type_path(not_installation)
    press("Return")
    text = wait_for("the refusal", lambda: box_saying("nie jest to instalacja symulatora"))
    if not_installation not in text:
        fail("the refusal does not name the folder: %r" % text)
    time.sleep(0.3)
    screenshot(screenshots, "31-first-start-refused.png")
    press("Return")

    # A folder the launcher cannot write to is told so, and nothing is written.
    chooser()
    type_path(read_only)
    press("Return")
    wait_for("the read-only message", lambda: box_saying("Nie można zapisywać w folderze"))
    screenshot(screenshots, "32-first-start-read-only.png")
    if os.path.lexists(os.path.join(read_only, "rsim-launcher")) or os.path.exists(data):
        fail("something was written for a folder the launcher cannot write to")
    press("Return")

    chooser()
    type_path(installation)
    time.sleep(0.3)
    screenshot(screenshots, "33-first-start-typed-path.png")
    press("Return")

    # The launcher starts anew through the link it placed, inside the installation.
    window = wait_for("the main window listing the sceneries", main_window_listing, 20)
    if listed(window) != sceneries:
        fail("the window lists %r, not the sample's %r" % (listed(window), sceneries))
    link = os.path.join(installation, "rsim-launcher")
    if not os.path.islink(link) or os.readlink(link) != alone:
        fail("no link to the launcher in the installation")
    entries = glob.glob(os.path.join(data, "applications", "*.desktop"))
    if [os.path.basename(e) for e in entries] != ["example.rsim424.Loader.Gry_RSIM_100_HOME_d_.desktop"]:
        fail("the menu entries written: %r" % entries)
    entry = entries[0]
    subprocess.run(["desktop-file-validate", entry], check=True)

    # The window's class is what both entries expect.
    main_id = x_window("Torvia RSIM-424")
    window_class = x_property(main_id, "WM_CLASS").split("=", 1)[1].split(",")[-1].strip(' "\n')
    for path in (packaged_entry, entry):
        if entry_value(path, "StartupWMClass") != window_class:
            fail("%s expects the window class %r, the window has %r"
                 % (path, entry_value(path, "StartupWMClass"), window_class))

    # A window manager shows the icon in the window's title bar; the title bar's left end is
    # kept enlarged as well.
    window_manager = subprocess.Popen(["openbox"], env=dict(os.environ, HOME=home),
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for("the window manager's frame", lambda: "=" in x_property(main_id,
                                                                     "_NET_FRAME_EXTENTS"))
    time.sleep(0.5)
    screenshot(screenshots, "34-first-start-main-window.png")
    box = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["convert", os.path.join(screenshots, "34-first-start-main-window.png"),
                    "-crop", "240x24+%d+%d" % (box.x - 4, box.y - 23), "+repage", "-filter",
                    "point", "-resize", "400%", os.path.join(screenshots, "35-window-icon.png")],
                   check=True)
    window_manager.terminate()
    window_manager.wait()

    # Every window carries the icon, at the small and the large sizes.
    scenery = os.path.join(installation, "scenery", "Kolejowo.scn")
    details = json.loads(subprocess.run([inspect, "details", installation, scenery, "0"],
                                        capture_output=True, check=True).stdout)
    scenery_list = find(window, "Pliki tras")
    click(next(scenery_list.getChildAtIndex(i) for i in range(scenery_list.childCount)
               if scenery_list.getChildAtIndex(i).name == "Kolejowo.scn"))
    consists = find(window, "Składy")
    wait_for("the consists of Kolejowo.scn", lambda: consists.childCount > 0 or None, 5)
    click(consists.getChildAtIndex(0))
    timetable_button = find(window, "Zobacz rozkład jazdy", "push button")
    wait_for("the timetable button", lambda: timetable_button.getState().contains(
        pyatspi.STATE_ENABLED), 5)
    click(timetable_button)
    wait_for("the timetable window", lambda: shown(details["timetableCaption"]))
    click(find(window, "Opcje", "push button"))
    wait_for("the options window", lambda: shown("Opcje"))
    click(find(window, "O programie", "push button"))
    wait_for("the about window", lambda: shown("O programie"))
    for caption in ("Torvia RSIM-424", details["timetableCaption"], "Opcje", "O programie"):
        icon = x_property(wait_for("the X window " + caption, lambda: x_window(caption), 5),
                          "_NET_WM_ICON")
        if "Icon (16 x 16)" not in icon or "Icon (128 x 128)" not in icon:
            fail("the window %r carries no icon" % caption)

    quit_launcher(window)
    code = launcher.wait(timeout=10)
    if code != 0:
        fail("the quit button ended the launcher with exit code %d" % code)

    # The menu entry, as the desktop reads and starts it, starts the launcher in the
    # installation again.
    subprocess.run(["gio", "launch", entry], env=env, check=True)
    window = wait_for("the main window started from the menu entry", main_window_listing, 20)
    if listed(window) != sceneries:
        fail("started from the menu entry, the window lists %r" % listed(window))
    pid = int(x_property(x_window("Torvia RSIM-424"), "_NET_WM_PID").split("=")[1])
    quit_launcher(window)
    wait_for("the launcher started from the menu entry to end",
             lambda: not os.path.exists("/proc/%d" % pid), 10)
finally:
    if launcher.poll() is None:
        launcher.kill()
    if window_manager is not None and window_manager.poll() is None:
        window_manager.terminate()

# Cancel in the chooser ends a first start with 0.
launcher = subprocess.Popen([alone], cwd="/", env=env)
try:
    wait_for("the first-start question", lambda: box_saying("nie ma ani rsim.exe"))
    press("Return")
    chooser()
    press("Escape")
    code = launcher.wait(timeout=10)
    if code != 0:
        fail("Cancel ended the first start with exit code %d" % code)
finally:
    if launcher.poll() is None:
        launcher.kill()
    os.chmod(read_only, stat.S_IRWXU)
    shutil.rmtree(work)

print("end-to-end: a first start outside an installation refused two folders, linked and listed "
      "the typed one and left a menu entry that starts it; Cancel ended with 0")
