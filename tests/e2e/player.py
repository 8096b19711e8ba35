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


def unpainted(screen, node):
    """Whether a window shown on the screen is still black all over, as the X server shows a
    window before its program has drawn it."""
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if box.width <= 0 or box.height <= 0:
        return False
    brightest = subprocess.run(
        ["convert", "ppm:-", "-crop", "%dx%d+%d+%d" % (box.width, box.height, box.x, box.y),
         "+repage", "-format", "%[max]", "info:"], input=screen, capture_output=True,
        check=True).stdout
    return float(brightest or 0) == 0


def settled_screen():
    """The screen's pixels once every window the launcher shows has been drawn and two looks in
    a row find them the same."""
    previous = None
    waiting = []
    deadline = time.monotonic() + 15 * PATIENCE
    while time.monotonic() < deadline:
        current = subprocess.run(["import", "-window", "root", "ppm:-"], capture_output=True,
                                 check=True).stdout
        if current == previous:
            app = application()
            windows = [app.getChildAtIndex(i) for i in range(app.childCount)] if app else []
            waiting = [w.name for w in windows
                       if w is not None and showing(w) and unpainted(current, w)]
            if not waiting:
                return current
        previous = current
        time.sleep(POLL)
    fail("timed out waiting for the screen to settle; not drawn: %r" % waiting)


def screenshot(folder, name):
    subprocess.run(["convert", "ppm:-", os.path.join(folder, name)], input=settled_screen(),
                   check=True)


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


# How many times longer than usual the launcher may take. The limits are generous, three times
# what an idle machine needs, since a wait ends as soon as its event comes and a machine busy
# with other builds is slow; a sanitized build runs a few times slower again.
PATIENCE = 3 * float(os.environ.get("RSIM_E2E_PATIENCE", "1"))
# How often a wait looks again.
POLL = 0.05


def wait_for(what, probe, seconds=15):
    deadline = time.monotonic() + seconds * PATIENCE
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        time.sleep(POLL)
    fail("timed out waiting for " + what)


def wait_end(process, what="the launcher to end", seconds=15):
    """The exit code of a process, once it has ended."""
    try:
        return process.wait(timeout=seconds * PATIENCE)
    except subprocess.TimeoutExpired:
        fail("timed out waiting for " + what)


# A window just shown ignores presses of the mouse on its buttons for the double-click interval
# (Qt's, 400 ms), counted from when it was shown. It has been shown once the accessibility bus
# says so, so the interval counted from then has passed for the window too.
DOUBLE_CLICK_INTERVAL = 0.4


def wait_for_presses(window, what="the window"):
    """Waits until a window just shown takes presses on its buttons."""
    wait_for(what + " to show", lambda: showing(window))
    time.sleep(DOUBLE_CLICK_INTERVAL)


def wait_mapped(caption):
    """Waits until the X server shows a window of that caption, so that a click reaches it."""
    try:
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                        "^%s$" % caption], stdout=subprocess.DEVNULL, check=True,
                       timeout=15 * PATIENCE)
    except subprocess.TimeoutExpired:
        fail("timed out waiting for the window %r on screen" % caption)


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


def main_window(app):
    """The launcher's main window, once it is on screen to take clicks."""
    window = wait_for("the main window",
                      lambda: (lambda w: w if w is not None and showing(w) else None)(
                          find(app, "Torvia RSIM-424")))
    wait_mapped("Torvia RSIM-424")
    return window


def start_launcher(install, **variables):
    """The launcher of the installation, with the play's environment and the variables given."""
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
               **variables)
    return subprocess.Popen([os.path.join(install, "rsim-launcher")], cwd="/", env=env)


def stay_open(app, window):
    """Ticks "do not close this program" in the options window, and leaves it by Anuluj."""
    click(wait_for("the options button", lambda: find(window, "Opcje", "push button")))
    options = wait_for("the options window", lambda: shown_window(app, "Opcje"))
    wait_for_presses(options, "the options window")
    stay = find(options, "Nie zamykaj tego programu automatycznie po uruchomieniu symulatora",
                "check box")
    click(stay)
    wait_for("the box ticked", lambda: stay.getState().contains(pyatspi.STATE_CHECKED))
    click(find(options, "Anuluj", "push button"))
    wait_for("the options window to close", lambda: shown_window(app, "Opcje") is None)
