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

import pyatspi

from player import application, click, fail, find, find_described, lines_of, main_window, press, \
    screenshot, showing, shown_window, start_launcher, text_of, wait_end, wait_for

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


def top_window(node):
    while node.parent is not None and node.parent.getRoleName() != "application":
        node = node.parent
    return node


def focus_of(window):
    """What in a window says it has the keyboard focus (a list's current row keeps saying so
    after the list has lost it), told apart by role, name and place, as the launcher answers
    now rather than as the accessibility library kept it."""
    window.clearCache()
    return [(node.getRoleName(), node.name, extents(node)) for node in pyatspi.findAllDescendants(
        window, lambda n: n.getState().contains(pyatspi.STATE_FOCUSED))]


def chosen_rows(listbox):
    return [listbox.getChildAtIndex(i).name for i in range(listbox.childCount)
            if listbox.getChildAtIndex(i).getState().contains(pyatspi.STATE_SELECTED)]


def move_focus(window, *keys):
    """Presses keys that move the focus, and waits until it has moved."""
    before = focus_of(window)
    key(*keys)
    wait_for("the focus to move from %r with %s" % (before, " ".join(keys)),
             lambda: focus_of(window) != before)


def tab_to(node, what, backwards=False, most=12):
    """Tabs until the node has the focus."""
    window = top_window(node)
    for _ in range(most):
        if focused(node):
            return
        move_focus(window, "shift+Tab" if backwards else "Tab")
    wait_for(what + " to have the focus", lambda: focused(node))


def shot(name):
    path = os.path.join(work, name + ".png")
    screenshot(work, name + ".png")
    return path


def ring_pixels(path, box, around=0):
    x, y, width, height = box
    area = pixels(path, (x - around, y - around, width + 2 * around, height + 2 * around))
    return sum(tuple(area[i:i + 3]) == RING for i in range(0, len(area), 3))


def full_ring(box, around=0):
    return 2 * (box[2] + 2 * around + box[3] + 2 * around)


def shot_when(name, ringed=(), plain=()):
    """A screenshot once the launcher has drawn the focus ring round each (box, around) of
    ringed and taken it away from each of plain."""
    def drawn():
        path = shot(name)
        if all(ring_pixels(path, box, around) >= full_ring(box, around) for box, around in ringed) \
                and all(ring_pixels(path, box, around) < full_ring(box, around)
                        for box, around in plain):
            return path
        return None

    return wait_for("the focus ring drawn for " + name, drawn)


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
    if ring < full_ring(box):
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
    window = main_window(app)
    options_button = wait_for("the options button", lambda: find(window, "Opcje", "push button"))
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
    # Keys come after the clicks: once Tab has moved the focus, both clicks have been taken.
    move_focus(options, "Tab")
    if not showing(options):
        fail("the second click of a double-click on Opcje closed the options window")
    if ini_state() != before:
        fail("the second click of a double-click on Opcje saved rsim.ini")
    print("a double-click on Opcje opened the options window and left rsim.ini untouched")
    key("Escape")
    wait_for("the options window to close", lambda: shown_window(app, "Opcje") is None)

    # The about window's one stop is its address, which has the focus while the window is the
    # active one.
    click(find(window, "O programie", "push button"))
    about = wait_for("the about window", lambda: shown_window(app, "O programie"))
    address = find(about, "https://rsim424.example/")
    wait_for("the address to have the focus", lambda: focused(address))
    address_focused = shot_when("about-focused", ringed=[(extents(address), 0)])
    click(find(window, "Trasa:"))
    wait_for("the address to lose the focus", lambda: not focused(address))
    expect_mark("about window's address", extents(address),
                shot_when("about-unfocused", plain=[(extents(address), 0)]), address_focused,
                "40-focus-address.png")
    click(find(window, "Wyjście", "push button"))
    wait_end(launcher)
finally:
    if launcher.poll() is None:
        launcher.kill()

# The whole play from the keyboard alone.
launcher = start_launcher(install)
try:
    app = wait_for("the launcher on the accessibility bus", application)
    window = main_window(app)
    memo1 = wait_for("the description box", lambda: find(window, "Opis trasy"))
    scenery_list = find(window, "Pliki tras")
    consist_list = find(window, "Składy")
    memo2 = find(window, "Opis składu")
    vehicles = find(window, "Pojazdy składu")
    title = find_described(window, "Nazwa trasy")
    wait_for("the focus on the description box at start", lambda: focused(memo1))
    flag = find(window, "English")
    at_start = shot_when("start", ringed=[(extents(memo1), 0)],
                         plain=[(extents(scenery_list), 0), (extents(flag), 3)])
    screenshot(screenshots, "41-keyboard-start.png")

    tab_to(scenery_list, "the scenery list")
    on_list = shot_when("scenery-list", ringed=[(extents(scenery_list), 0)],
                        plain=[(extents(memo1), 0)])
    expect_mark("text box", extents(memo1), on_list, at_start, "40-focus-text-box.png")
    expect_mark("list", extents(scenery_list), at_start, on_list, "40-focus-list.png")
    for _ in range(len(os.listdir(os.path.join(install, "scenery")))):
        if title.name == scenery["title"]:
            break
        chosen = chosen_rows(scenery_list)
        key("Down")
        wait_for("Down to choose another scenery than %r" % chosen,
                 lambda: chosen_rows(scenery_list) != chosen)
    wait_for("Kolejowo chosen with Down", lambda: title.name == scenery["title"])

    # The focus alone chooses nothing: what the window shows once the list has it tells.
    tab_to(consist_list, "the consist list")
    if text_of(memo2) != "<- Wybierz skład":
        fail("the focus alone chose a consist: %r" % text_of(memo2))
    key("Down")
    wait_for("the first consist chosen with the first Down",
             lambda: text_of(memo2) == "\n".join(details["lines"]))

    before_row = shot_when("before-vehicles", plain=[(extents(vehicles), 0)])
    tab_to(vehicles, "the vehicle pictures")
    start_button = find(window, "Uruchom symulator", "push button")
    on_vehicles = shot_when("vehicles", ringed=[(extents(vehicles), 0)],
                            plain=[(extents(start_button), 0)])
    expect_mark("vehicle-picture row", extents(vehicles), before_row, on_vehicles,
                "40-focus-vehicle-row.png")

    tab_to(start_button, "the start button")
    expect_mark("button", extents(start_button), on_vehicles,
                shot_when("start-button", ringed=[(extents(start_button), 0)]),
                "40-focus-button.png")

    tab_to(flag, "the flag")
    expect_mark("flag", extents(flag), at_start, shot_when("flag", ringed=[(extents(flag), 3)]),
                "40-focus-flag.png", around=3)

    timetable_button = find(window, "Zobacz rozkład jazdy", "push button")
    tab_to(timetable_button, "the timetable button")
    key("Return")
    timetable = wait_for("the timetable window",
                         lambda: shown_window(app, details["timetableCaption"]))
    memo3 = timetable.getChildAtIndex(0)
    wait_for("the timetable to have the focus", lambda: focused(memo3))
    screenshot(screenshots, "42-keyboard-timetable.png")
    key("Escape")
    wait_for("the timetable window to close with Escape",
             lambda: shown_window(app, details["timetableCaption"]) is None)
    wait_for("the focus back in the main window", lambda: focused(timetable_button))

    tab_to(flag, "the flag", backwards=True)
    key("space")
    wait_for("the English captions", lambda: find(window, "Run simulator", "push button"))
    wait_for("the focus on the Polish flag", lambda: focused(find(window, "Polski")))
    screenshot(screenshots, "43-keyboard-english.png")

    options_button = find(window, "Options", "push button")
    tab_to(options_button, "the options button", backwards=True)
    ini_before = ini_state()
    key("KP_Enter")
    options = wait_for("the options window", lambda: shown_window(app, "Options"))
    resolution = find(options, "Screen resolution:", "slider")
    wait_for("the resolution slider to have the focus", lambda: focused(resolution))
    invert = find(options, "Invert mouse", "check box")
    on_slider = shot_when("slider", ringed=[(extents(resolution), 0)],
                          plain=[(extents(invert), 0)])
    tab_to(invert, "the first invert box")
    on_box = shot_when("check-box", ringed=[(extents(invert), 0)],
                       plain=[(extents(resolution), 0)])
    expect_mark("slider", extents(resolution), on_box, on_slider, "40-focus-slider.png")
    expect_mark("check box", extents(invert), on_slider, on_box, "40-focus-check-box.png")
    screenshot(screenshots, "44-keyboard-options.png")
    key("Escape")
    wait_for("the options window to close with Escape",
             lambda: shown_window(app, "Options") is None)
    if ini_state() != ini_before:
        fail("Escape in the options window saved rsim.ini")

    start_button = find(window, "Run simulator", "push button")
    wait_for("the focus back on the options button", lambda: focused(options_button))
    tab_to(start_button, "the start button", backwards=True)
    key("Return")
    code = wait_end(launcher)
    if code != 0:
        fail("the start ended the launcher with exit code %d" % code)
    want = "  4 argument(s): [-s] [Kolejowo.scn] [-v] [%s]" % details["chosenVehicle"]
    lines = wait_for("the start in rsim-started.log",
                     lambda: started_lines() if len(started_lines()) >= 2 else None)
    if lines[-1] != want:
        fail("the simulator received %r, not %r" % (lines[-1], want))
    print("end-to-end: chose, read the timetable, switched to English, cancelled the options "
          "and started the simulator from the keyboard alone")
finally:
    if launcher.poll() is None:
        launcher.kill()
