"""Plays the options window as a player would: opens it with a click, saves it unchanged, then
moves the resolution slider with the keyboard, ticks a box with a click and saves again, and
compares rsim.ini byte for byte with the file expected."""

import os
import subprocess
import sys

import pyatspi

from player import application, click, fail, find, main_window, press, screenshot_of, showing, \
    start_launcher, wait_end, wait_for, wait_for_presses

install, inspect, screenshots = sys.argv[1:4]
here = os.path.dirname(os.path.abspath(__file__))
ini = os.path.join(install, "rsim.ini")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def options_window(app):
    window = find(app, "Opcje", "filler")
    return window if window is not None and showing(window) else None


def save_and_wait(app, options, what):
    click(find(options, "OK", "push button"))
    wait_for("the options window to close after " + what, lambda: options_window(app) is None)


sample = read(ini)
resaved = subprocess.run([inspect, "resave", install], capture_output=True, check=True).stdout
if resaved != sample:
    fail("rsim-inspect resave does not give the sample's rsim.ini back")

launcher = start_launcher(install)
try:
    app = wait_for("the launcher on the accessibility bus", application)
    window = main_window(app)
    options_button = wait_for("the options button", lambda: find(window, "Opcje", "push button"))

    # OK with nothing changed rewrites the same bytes.
    click(options_button)
    options = wait_for("the options window", lambda: options_window(app))
    wait_for_presses(options, "the options window")
    screenshot_of(screenshots, options, "10-options.png")
    before = os.stat(ini).st_ino
    save_and_wait(app, options, "saving it unchanged")
    if os.stat(ini).st_ino == before:
        fail("OK did not replace rsim.ini")
    if read(ini) != sample:
        fail("OK with nothing changed did not rewrite the sample's bytes")

    click(options_button)
    options = wait_for("the options window again", lambda: options_window(app))
    wait_for_presses(options, "the options window")
    click(find(options, "Rozdzielczość ekranu:", "slider"))
    press("Home", "Right", "Right", "Right")
    wait_for("the resolution 1024x768", lambda: find(options, "1024x768", "label"))
    freefly = find(options, "Tryb Freefly - latanie po całej trasie", "check box")
    click(freefly)
    wait_for("the freefly box ticked", lambda: freefly.getState().contains(pyatspi.STATE_CHECKED))
    screenshot_of(screenshots, options, "11-options-changed.png")
    save_and_wait(app, options, "saving the changes")
    expected = read(os.path.join(here, "options_expected.ini"))
    if read(ini) != expected:
        fail("rsim.ini is not the file expected after the changes:\n%r" % read(ini))

    click(find(window, "Wyjście", "push button"))
    code = wait_end(launcher)
    if code != 0:
        fail("the quit button ended the launcher with exit code %d" % code)
    print("end-to-end: the options window saved the sample unchanged, then a new size and freefly")
finally:
    if launcher.poll() is None:
        launcher.kill()
