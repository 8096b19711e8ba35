"""What every play script needs: starting the launcher, finding its controls on the
accessibility bus as a screen reader does, clicking them with xdotool, and screenshots."""

import os
import subprocess
import sys
import time

import pyatspi


def fail(message):
    print("FAIL:", message, file=sys.stderr)
    sys.exit(1)


def screenshot(folder, name):
    subprocess.run(["import", "-window", "root", os.path.join(folder, name)], check=True)


def screenshot_of(folder, node, name):
    """The window alone, cut from a screenshot of the screen."""
    screenshot(folder, name)
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    path = os.path.join(folder, name)
    subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (box.width, box.height, box.x, box.y),
                    "+repage", path], check=True)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def shown_window(app, name):
    """A window of the launcher's that is on screen, by its caption."""
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is not None and window.name == name and showing(window):
            return window
    return None


def lines_of(path):
    """The lines a recording program has written so far; none while it has written nothing."""
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read().splitlines()


def press(*keys):
    subprocess.run(["xdotool", "key", "--delay", "100", *keys], check=True)


# How many times longer than usual the launcher may take: a sanitized build runs slower.
PATIENCE = float(os.environ.get("RSIM_E2E_PATIENCE", "1"))


def wait_for(what, probe, seconds=15):
    deadline = time.monotonic() + seconds * PATIENCE
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


def start_launcher(install):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    return subprocess.Popen([os.path.join(install, "rsim-launcher")], cwd="/", env=env)
