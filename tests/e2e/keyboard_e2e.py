"""Plays the launcher as a player who does not use the mouse: chooses a scenery and the first
consist with Tab and Down, opens the timetable with Enter and closes it with Escape, switches to
English with Space on the flag, opens the options and cancels them with Escape, and starts the
simulator with Enter. At each kind of control, a screenshot taken with the focus there is
compared with one taken without: the focus mark is a dark blue ring round the control. Before
that, a real double-click on "Opcje" opens the options window over the button without saving
rsim.ini through the OK button that opens under the pointer."""

import json
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

from player import application, click, fail, find, find_described, lines_of, press, screenshot, \
    showing, shown_window, start_launcher, text_of, wait_for

install, inspect, screenshots = sys.argv[1:4]
ini = os.path.join(install, "rsim.ini")
log = os.path.join(install, "rsim-started.log")
scenery_path = os.path.join(install, "scenery", "Kolejowo.scn")
RING = (0, 0, 128)
work = tempfile.mkdtemp()


def inspect_json(*arguments):
    return json.loads(subprocess.run([inspect, *arguments], capture_output=True,
                                     check=True).stdout)


scenery = inspect_json("scenery", install, scenery_path)
details = inspect_json("details", install, scenery_path, "0")


def ini_state():
    info = os.stat(ini)
    with open(ini, "rb") as f:
        return info.st_ino, info.st_mtime_ns, f.read()


def extents(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def focused(node):
    """The node, or one of its items, has the keyboard focus."""
    if node.getState().contains(pyatspi.STATE_FOCUSED):
        return True
    return any(node.getChildAtIndex(i) is not None and
               node.getChildAtIndex(i).getState().contains(pyatspi.STATE_FOCUSED)
               for i in range(min(node.childCount, 50)))


def key(*keys):
    press(*keys)


def tab_to(node, what, backwards=False, most=12):
    """Tabs until the node has the focus."""
    for _ in range(most):
        if focused(node):
            return
        key("shift+Tab" if backwards else "Tab")
        time.sleep(0.15)
    wait_for(what + " to have the focus", lambda: focused(node), 2)


def shot(name):
    path = os.path.join(work, name + ".png")
    subprocess.run(["import", "-window", "root", path], check=True)
    return path


def pixels(path, box):
    """The RGB bytes of a part of a screenshot, row by row."""
    x, y, width, height = box
    return subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (width, height, x, y),
                           "+repage", "-depth", "8", "rgb:-"], capture_output=True,
                          check=True).stdout


def keep(path, box, name):
    """Keeps the part of a screenshot that shows a control, a little around it."""
    x, y, width, height = box
    subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (width + 16, height + 16, x - 8,
                                                                y - 8),
                    "+repage", os.path.join(screenshots, name)], check=True)


def expect_mark(kind, box, without, with_focus, name, around=0):
    """Between a screenshot without the focus on the control and one with it, what changed in
    the control, or as far around it as its ring stands, is the ring, in the ring's colour, at
    least once round a small control."""
    x, y, width, height = box
    box = (x - around, y - around, width + 2 * around, height + 2 * around)
    before, after = pixels(without, box), pixels(with_focus, box)
    changed = ring = 0
    for i in range(0, len(after), 3):
        if before[i:i + 3] != after[i:i + 3]:
            changed += 1
            ring += tuple(after[i:i + 3]) == RING
    if ring < 2 * (box[2] + box[3]):
        fail("no focus mark on the %s: %d pixels changed, %d of them in the ring's colour"
             % (kind, changed, ring))
    if ring < 0.8 * changed:
        fail("the focus on the %s changed %d pixels, only %d of them to the ring" %
             (kind, changed, ring))
    keep(with_focus, box, name)
    print("focus mark on the %s: %d pixels of the ring" % (kind, ring))


def started_lines():
    return lines_of(log)


# A double-click on "Opcje": the first click opens the options window, over the button; the
# second lands on its OK and must not save.
launcher = start_launcher(install)
try:
    app = wait_for("the launcher on the accessibility bus", application)
    window = wait_for("the main window", lambda: find(app, "Torvia RSIM-424"))
    options_button = wait_for("the options button", lambda: find(window, "Opcje", "push button"))
    time.sleep(0.5)
    before = ini_state()
    x, y, width, height = extents(options_button)
    spot = (x + width // 2, y + height // 2)
    subprocess.run(["xdotool", "mousemove", str(spot[0]), str(spot[1]), "click", "--repeat", "2",
                    "--delay", "120", "1"], check=True)
    options = wait_for("the options window", lambda: shown_window(app, "Opcje"))
    ok_x, ok_y, ok_width, ok_height = extents(find(options, "OK", "push button"))
    if not (ok_x <= spot[0] < ok_x + ok_width and ok_y <= spot[1] < ok_y + ok_height):
        fail("the options window's OK did not open under the pointer; the double-click proves "
             "nothing")
    time.sleep(1)
    if not showing(options):
        fail("the second click of a double-click on Opcje closed the options window")
    if ini_state() != before:
        fail("the second click of a double-click on Opcje saved rsim.ini")
    print("a double-click on Opcje opened the options window and left rsim.ini untouched")
    key("Escape")
    wait_for("the options window to close", lambda: shown_window(app, "Opcje") is None, 5)

    # The about window's one stop is its address, which has the focus while the window is the
    # active one.
    click(find(window, "O programie", "push button"))
    about = wait_for("the about window", lambda: shown_window(app, "O programie"))
    address = find(about, "https://rsim424.example/")
    wait_for("the address to have the focus", lambda: focused(address), 5)
    time.sleep(0.3)
    address_focused = shot("about-focused")
    click(find(window, "Trasa:"))
    wait_for("the address to lose the focus", lambda: not focused(address), 5)
    time.sleep(0.3)
    expect_mark("about window's address", extents(address), shot("about-unfocused"),
                address_focused, "40-focus-address.png")
    click(find(window, "Wyjście", "push button"))
    launcher.wait(timeout=10)
finally:
    if launcher.poll() is None:
        launcher.kill()

# The whole play from the keyboard alone.
launcher = start_launcher(install)
try:
    app = wait_for("the launcher on the accessibility bus", application)
    window = wait_for("the main window", lambda: find(app, "Torvia RSIM-424"))
    memo1 = wait_for("the description box", lambda: find(window, "Opis trasy"))
    scenery_list = find(window, "Pliki tras")
    consist_list = find(window, "Składy")
    memo2 = find(window, "Opis składu")
    vehicles = find(window, "Pojazdy składu")
    title = find_described(window, "Nazwa trasy")
    wait_for("the focus on the description box at start", lambda: focused(memo1), 5)
    time.sleep(0.3)
    at_start = shot("start")
    screenshot(screenshots, "41-keyboard-start.png")

    tab_to(scenery_list, "the scenery list")
    time.sleep(0.3)
    on_list = shot("scenery-list")
    expect_mark("text box", extents(memo1), on_list, at_start, "40-focus-text-box.png")
    expect_mark("list", extents(scenery_list), at_start, on_list, "40-focus-list.png")
    for _ in range(len(os.listdir(os.path.join(install, "scenery")))):
        if title.name == scenery["title"]:
            break
        key("Down")
        time.sleep(0.3)
    wait_for("Kolejowo chosen with Down", lambda: title.name == scenery["title"], 5)

    tab_to(consist_list, "the consist list")
    time.sleep(0.3)
    if text_of(memo2) != "<- Wybierz skład":
        fail("the focus alone chose a consist: %r" % text_of(memo2))
    key("Down")
    wait_for("the first consist chosen with the first Down",
             lambda: text_of(memo2) == "\n".join(details["lines"]), 5)

    before_row = shot("before-vehicles")
    tab_to(vehicles, "the vehicle pictures")
    time.sleep(0.3)
    on_vehicles = shot("vehicles")
    expect_mark("vehicle-picture row", extents(vehicles), before_row, on_vehicles,
                "40-focus-vehicle-row.png")

    start_button = find(window, "Uruchom symulator", "push button")
    tab_to(start_button, "the start button")
    time.sleep(0.3)
    expect_mark("button", extents(start_button), on_vehicles, shot("start-button"),
                "40-focus-button.png")

    flag = find(window, "English")
    tab_to(flag, "the flag")
    time.sleep(0.3)
    expect_mark("flag", extents(flag), at_start, shot("flag"), "40-focus-flag.png", around=3)

    timetable_button = find(window, "Zobacz rozkład jazdy", "push button")
    tab_to(timetable_button, "the timetable button")
    key("Return")
    timetable = wait_for("the timetable window",
                         lambda: shown_window(app, details["timetableCaption"]))
    memo3 = timetable.getChildAtIndex(0)
    wait_for("the timetable to have the focus", lambda: focused(memo3), 5)
    time.sleep(0.3)
    screenshot(screenshots, "42-keyboard-timetable.png")
    key("Escape")
    wait_for("the timetable window to close with Escape",
             lambda: shown_window(app, details["timetableCaption"]) is None, 5)
    wait_for("the focus back in the main window", lambda: focused(timetable_button), 5)

    tab_to(flag, "the flag", backwards=True)
    key("space")
    wait_for("the English captions", lambda: find(window, "Run simulator", "push button"), 5)
    wait_for("the focus on the Polish flag", lambda: focused(find(window, "Polski")), 5)
    time.sleep(0.3)
    screenshot(screenshots, "43-keyboard-english.png")

    options_button = find(window, "Options", "push button")
    tab_to(options_button, "the options button", backwards=True)
    ini_before = ini_state()
    key("KP_Enter")
    options = wait_for("the options window", lambda: shown_window(app, "Options"))
    resolution = find(options, "Screen resolution:", "slider")
    wait_for("the resolution slider to have the focus", lambda: focused(resolution), 5)
    time.sleep(0.3)
    on_slider = shot("slider")
    invert = find(options, "Invert mouse", "check box")
    tab_to(invert, "the first invert box")
    time.sleep(0.3)
    on_box = shot("check-box")
    expect_mark("slider", extents(resolution), on_box, on_slider, "40-focus-slider.png")
    expect_mark("check box", extents(invert), on_slider, on_box, "40-focus-check-box.png")
    screenshot(screenshots, "44-keyboard-options.png")
    key("Escape")
    wait_for("the options window to close with Escape",
             lambda: shown_window(app, "Options") is None, 5)
    if ini_state() != ini_before:
        fail("Escape in the options window saved rsim.ini")

    start_button = find(window, "Run simulator", "push button")
    wait_for("the focus back on the options button", lambda: focused(options_button), 5)
    tab_to(start_button, "the start button", backwards=True)
    key("Return")
    code = launcher.wait(timeout=10)
    if code != 0:
        fail("the start ended the launcher with exit code %d" % code)
    want = "  4 argument(s): [-s] [Kolejowo.scn] [-v] [%s]" % details["chosenVehicle"]
    lines = wait_for("the start in rsim-started.log",
                     lambda: started_lines() if len(started_lines()) >= 2 else None, 5)
    if lines[-1] != want:
        fail("the simulator received %r, not %r" % (lines[-1], want))
    print("end-to-end: chose, read the timetable, switched to English, cancelled the options "
          "and started the simulator from the keyboard alone")
finally:
    if launcher.poll() is None:
        launcher.kill()
