"""Plays the launcher as a player would: clicks in its window with xdotool and reads what it
shows through the accessibility bus, as a screen reader does."""

import json
import os
import subprocess
import sys
import time

import pyatspi

install, inspect, screenshots = sys.argv[1:4]


def fail(message):
    print("FAIL:", message, file=sys.stderr)
    sys.exit(1)


def screenshot(name):
    subprocess.run(["import", "-window", "root", os.path.join(screenshots, name)], check=True)


def wait_for(what, probe, seconds=15):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    fail("timed out waiting for " + what)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name in ("RSIM", "rsim-launcher"):
            return app
    return None


def find(root, name, role=None):
    def matches(node):
        return node.name == name and (role is None or node.getRoleName() == role)

    return pyatspi.findDescendant(root, matches)


def find_described(root, description):
    return pyatspi.findDescendant(root, lambda node: node.description == description)


def click(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x, y = box.x + box.width // 2, box.y + box.height // 2
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def items_of(listbox):
    return [listbox.getChildAtIndex(i).name for i in range(listbox.childCount)]


env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
launcher = subprocess.Popen([os.path.join(install, "rsim-launcher")], cwd="/", env=env)
try:
    app = wait_for("the launcher on the accessibility bus", application)
    window = wait_for("the main window", lambda: find(app, "Torvia RSIM-424"))
    scenery_list = wait_for("the scenery list", lambda: find(window, "Pliki tras"))
    time.sleep(0.5)
    screenshot("01-start.png")

    # The title label carries the title as its name, as a screen reader reads it; while it is
    # empty, the name falls back to its group's caption.
    title = find_described(window, "Nazwa trasy")
    if title.name not in ("", "Trasa:"):
        fail("the title is not empty at start: %r" % title.name)

    names = items_of(scenery_list)
    if len(names) < 3:
        fail("expected the sample sceneries, the list shows %r" % names)
    consist_list = find(window, "Składy")
    checked = 0
    for index, name in enumerate(names):
        path = os.path.join(install, "scenery", name)
        scenery = json.loads(subprocess.run([inspect, "scenery", install, path],
                                            capture_output=True, check=True).stdout)
        consists = json.loads(subprocess.run([inspect, "consists", install, path],
                                             capture_output=True, check=True).stdout)
        click(scenery_list.getChildAtIndex(index))
        wait_for("the title of " + name, lambda: title.name == scenery["title"], 5)
        shown_rows = wait_for("the consists of " + name,
                              lambda: items_of(consist_list) == consists["rows"] or None, 5)
        screenshot("02-scenery-%d.png" % (index + 1))
        print("chose %s: title %r, %d consists" % (name, scenery["title"], len(consists["rows"])))
        checked += 1

    click(find(window, "Wyjście", "push button"))
    code = launcher.wait(timeout=10)
    if code != 0:
        fail("the quit button ended the launcher with exit code %d" % code)
    print("end-to-end: %d sceneries chosen, quit ended the launcher with 0" % checked)
finally:
    if launcher.poll() is None:
        launcher.kill()
