"""Plays the first start of a launcher installed away from any installation, as from the menu:
the launcher alone in a folder says it is outside an installation and takes typed paths. A
folder that is no installation is refused, and so is one holding someone else's rsim-launcher,
which is never run. A read-only installation with a 240-byte name takes no link: it is served
with its folder named on the command line, and saving the settings there fails with the usual
box. For a copy of the sample whose name holds "%" and "=" and whose rsim-launcher is a dead link,
the link is replaced, a menu entry written, and the sample's sceneries listed. Both menu entries,
read and started as the desktop does it (gio), start the launcher again. The window's class
matches the packaged entry, all four windows carry the icon, a window manager shows it in the
title bar, and Cancel ends a first start with 0."""

import ctypes
import glob
import json
import os
import shutil
import stat
import subprocess
import sys
import tempfile

import pyatspi

from player import click, fail, find, press, screenshot, showing, text_of, wait_for

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
# A name made on Windows may hold blanks, quotes, "$", "%", "=" and Polish letters.
installation = os.path.join(work, "Gry 'RSIM' 100% a=b $HOME (łódź)")
# Someone else's program under the link's name, as a downloaded folder may hold.
downloaded = os.path.join(work, "Pobrane RSIM")
stranger_ran = os.path.join(work, "stranger-ran")
# The longest last folder name whose menu entry's name must be cut to fit.
read_only = os.path.join(work, "Tylko do odczytu " + "R" * 223)
for copy in (installation, downloaded, read_only):
    shutil.copytree(install, copy, ignore=shutil.ignore_patterns("rsim-launcher"))
# The installation was copied from another machine, with its link.
os.symlink("/usr/games/rsim-424/rsim-launcher", os.path.join(installation, "rsim-launcher"))
stranger = os.path.join(downloaded, "rsim-launcher")
with open(stranger, "w") as program:
    program.write("#!/bin/sh\ntouch '%s'\n" % stranger_ran)
os.chmod(stranger, 0o755)
# A read-only mount, as of a hibernated Windows' partition, where this play may mount one (in a
# mount namespace of its own, which the launchers it starts share); a folder without write
# permission elsewhere. Neither takes a link.
def mount_read_only(folder):
    CLONE_NEWNS = 0x00020000
    if os.geteuid() != 0 or ctypes.CDLL(None, use_errno=True).unshare(CLONE_NEWNS) != 0:
        return False
    for command in (["mount", "--make-rprivate", "/"], ["mount", "--bind", folder, folder],
                    ["mount", "-o", "remount,bind,ro", folder]):
        if subprocess.run(command, stderr=subprocess.DEVNULL).returncode != 0:
            subprocess.run(["umount", folder], stderr=subprocess.DEVNULL)
            return False
    return True


mounted = mount_read_only(read_only)
if not mounted:
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


def type_path(line, path):
    """Types a path into the chooser's line, and waits until the line holds it whole."""
    subprocess.run(["xdotool", "type", "--delay", "25", path], check=True)
    wait_for("the chooser's line to hold " + path, lambda: text_of(line) == path)


def chooser():
    """The folder chooser's line for a typed path, once it has the keyboard."""
    window = wait_for("the folder chooser",
                      lambda: shown("Wskaż folder instalacji symulatora RSIM-424"))
    return wait_for("the chooser's line to take the keyboard", lambda: pyatspi.findDescendant(
        window, lambda n: n.getState().contains(pyatspi.STATE_FOCUSED) and
        n.getRoleName() == "text"))


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


def entry_for(folder):
    """The menu entry written for the installation in folder."""
    for path in glob.glob(os.path.join(data, "applications", "*.desktop")):
        if entry_value(path, "Comment").endswith(" " + folder + " and start the simulator"):
            return path
    return None


def launch_from_menu(entry):
    """Starts the menu entry as the desktop does; returns its main window and process id."""
    subprocess.run(["gio", "launch", entry], env=env, check=True)
    window = wait_for("the main window started from " + entry, main_window_listing, 20)
    if listed(window) != sceneries:
        fail("started from the menu entry, the window lists %r" % listed(window))
    return window, int(x_property(x_window("Torvia RSIM-424"), "_NET_WM_PID").split("=")[1])


# The keyboard has the Polish letters, as a Polish player's has. Without them, xdotool types each
# one by remapping a spare key, and a busy launcher that reads the map only after it has been
# put back loses the letter.
subprocess.run(["xmodmap"] + [arg for number, letters in enumerate(
    ("aogonek Aogonek", "cacute Cacute", "eogonek Eogonek", "lstroke Lstroke", "nacute Nacute",
     "oacute Oacute", "sacute Sacute", "zacute Zacute", "zabovedot Zabovedot"))
    for arg in ("-e", "keycode %d = %s" % (240 + number, letters))], check=True)

window_manager = None
launcher = subprocess.Popen([alone], cwd="/", env=env)
try:
    # Outside an installation the launcher says so, naming its folder, in Polish.
    text = wait_for("the first-start question", lambda: box_saying("nie ma ani rsim.exe"))
    if os.path.dirname(alone) not in text:
        fail("the first-start text does not name the launcher's folder: %r" % text)
    screenshot(screenshots, "30-first-start-outside.png")
    press("Return")

    # A folder that is no installation is refused, and the chooser comes back.
    type_path(chooser(), not_installation)
    press("Return")
    text = wait_for("the refusal", lambda: box_saying("nie jest to instalacja symulatora"))
    if not_installation not in text:
        fail("the refusal does not name the folder: %r" % text)
    screenshot(screenshots, "31-first-start-refused.png")
    press("Return")

    # Someone else's rsim-launcher is never run: the player is told, and chooses again.
    type_path(chooser(), downloaded)
    press("Return")
    wait_for("the refusal of a stranger", lambda: box_saying("nie jest odnośnikiem do tego"))
    if os.path.exists(stranger_ran) or os.path.exists(data):
        fail("a stranger's rsim-launcher ran, or an entry was written for it")
    press("Return")

    # A read-only folder takes no link; it is served with the folder named on the command line.
    type_path(chooser(), read_only)
    press("Return")
    text = wait_for("the read-only message", lambda: box_saying("nie da się umieścić odnośnika"))
    reason = "system plików tylko do odczytu" if mounted else "brak uprawnień"
    if reason not in text:
        fail("the read-only message gives no reason %r: %r" % (reason, text))
    screenshot(screenshots, "32-first-start-read-only.png")
    if os.path.lexists(os.path.join(read_only, "rsim-launcher")):
        fail("a link was placed in a read-only folder")
    press("Return")
    window = wait_for("the main window of the read-only installation", main_window_listing, 20)
    if listed(window) != sceneries:
        fail("the read-only installation lists %r, not %r" % (listed(window), sceneries))
    read_only_entry = entry_for(read_only)
    if read_only_entry is None or len(os.path.basename(read_only_entry)) > 223:
        fail("no menu entry, or one too long to replace, for the read-only installation: %r"
             % glob.glob(os.path.join(data, "applications", "*")))
    subprocess.run(["desktop-file-validate", read_only_entry], check=True)
    if "--installation" not in entry_value(read_only_entry, "Exec"):
        fail("the read-only installation's entry names no folder: %r"
             % entry_value(read_only_entry, "Exec"))
    # Saving the settings there fails as in any read-only folder.
    click(find(window, "Opcje", "push button"))
    options = wait_for("the options window", lambda: shown("Opcje"))
    # Pressed as a screen reader presses it: a window just shown takes no click for a moment.
    ok = find(options, "OK", "push button").queryAction()
    ok.doAction(next(i for i in range(ok.nActions) if ok.getName(i) == "Press"))
    text = wait_for("the save's error box", lambda: box_saying("Cannot create file"))
    if os.path.join(read_only, "rsim.ini") not in text:
        fail("the save's error names another file: %r" % text)
    press("Return")
    wait_for("the error box to close", lambda: not box_saying("Cannot create file"))
    quit_launcher(window)
    code = launcher.wait(timeout=10)
    if code != 0:
        fail("the launcher of the read-only installation ended with %d" % code)

    launcher = subprocess.Popen([alone], cwd="/", env=env)
    wait_for("the first-start question", lambda: box_saying("nie ma ani rsim.exe"))
    press("Return")
    type_path(chooser(), installation)
    screenshot(screenshots, "33-first-start-typed-path.png")
    press("Return")

    # The dead link is replaced, and the player told so.
    wait_for("the replaced link's message", lambda: box_saying("prowadził do pliku, którego"))
    screenshot(screenshots, "36-first-start-dead-link.png")
    press("Return")

    # The launcher starts anew through the link it placed, inside the installation.
    window = wait_for("the main window listing the sceneries", main_window_listing, 20)
    if listed(window) != sceneries:
        fail("the window lists %r, not the sample's %r" % (listed(window), sceneries))
    link = os.path.join(installation, "rsim-launcher")
    if not os.path.islink(link) or os.readlink(link) != alone:
        fail("no link to the launcher in the installation")
    entry = entry_for(installation)
    if entry is None or os.path.basename(entry) != "example.rsim424.Loader.Gry_RSIM_100_a_b_HOME_d_.desktop":
        fail("the menu entries written: %r" % glob.glob(os.path.join(data, "applications", "*")))
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

    # Each menu entry, as the desktop reads and starts it, starts the launcher in its
    # installation again, through a path with "%" and "=" or with the folder named.
    for menu_entry in (entry, read_only_entry):
        window, pid = launch_from_menu(menu_entry)
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
    if mounted:
        subprocess.run(["umount", read_only], check=True)
    os.chmod(read_only, stat.S_IRWXU)
    shutil.rmtree(work)

print("end-to-end: a first start outside an installation refused a folder that is none and one "
      "with a stranger's rsim-launcher, served a read-only one without a link, replaced a dead "
      "link and left menu entries that start both; Cancel ended with 0")
