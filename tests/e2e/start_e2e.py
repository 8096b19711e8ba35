"""Plays the start of the simulator as a player would: chooses a scenery and a consist with
clicks and presses the start button, which hands them to the installation's rsim.exe (here the
sample's recording script) and ends the launcher; then, with "do not close" ticked, starts again
and finds the launcher open with nothing chosen, switches it to English and takes a picture of
each of its four windows."""

import json
import os
import subprocess
import sys

import pyatspi

from player import application, click, fail, find, lines_of, main_window, screenshot, \
    screenshot_of, shown_window, start_launcher, stay_open, text_of, wait_end, wait_for

install, inspect, screenshots = sys.argv[1:4]
log = os.path.join(install, "rsim-started.log")
scenery = os.path.join(install, "scenery", "Kolejowo.scn")


def details_of_first_consist(language):
    return json.loads(subprocess.run([inspect, "details", install, scenery, "0", "--lang", language],
                                     capture_output=True, check=True).stdout)


details = details_of_first_consist("pl")
english = details_of_first_consist("en")


def started_lines():
    return lines_of(log)


def move_aside(name):
    """The player drags a window out of the way of the next one."""
    subprocess.run(["xdotool", "search", "--name", "^%s$" % name, "windowmove", "%1", "0", "0"],
                   check=True)


# The names a screen reader gives the scenery list, the consist list and the details box, in
# each language.
POLISH_NAMES = ("Pliki tras", "Składy", "Opis składu")
ENGLISH_NAMES = ("Route files", "Trains", "Train description")


def choose_scenery_and_consist(window, shown=details, names=POLISH_NAMES):
    scenery_list = wait_for("the scenery list", lambda: find(window, names[0]))
    rows = [scenery_list.getChildAtIndex(i) for i in range(scenery_list.childCount)]
    click(next(row for row in rows if row.name == "Kolejowo.scn"))
    consists = find(window, names[1])
    wait_for("the consists of Kolejowo.scn", lambda: consists.childCount > 0 or None)
    click(consists.getChildAtIndex(0))
    memo2 = find(window, names[2])
    wait_for("the details of the first consist",
             lambda: text_of(memo2) == "\n".join(shown["lines"]))


def expect_started(count):
    lines = wait_for("start number %d in rsim-started.log" % count,
                     lambda: started_lines() if len(started_lines()) == 2 * count else None)
    folder, arguments = lines[-2], lines[-1]
    if not folder.endswith("folder: " + install):
        fail("the simulator did not work in the installation folder: %r" % folder)
    want = "  4 argument(s): [-s] [Kolejowo.scn] [-v] [%s]" % details["chosenVehicle"]
    if arguments != want:
        fail("the simulator received %r, not %r" % (arguments, want))


# A start ends the launcher with 0.
launcher = start_launcher(install)
try:
    app = wait_for("the launcher on the accessibility bus", application)
    window = main_window(app)
    choose_scenery_and_consist(window)
    click(find(window, "Uruchom symulator", "push button"))
    code = wait_end(launcher)
    if code != 0:
        fail("the start ended the launcher with exit code %d" % code)
    expect_started(1)
finally:
    if launcher.poll() is None:
        launcher.kill()

# With "do not close" ticked the launcher stays, with nothing chosen.
launcher = start_launcher(install)
try:
    app = wait_for("the launcher on the accessibility bus", application)
    window = main_window(app)
    stay_open(app, window)

    choose_scenery_and_consist(window)
    click(find(window, "Uruchom symulator", "push button"))
    expect_started(2)
    # Staying open, the launcher empties its window after the start.
    wait_for("the window emptied after the start",
             lambda: text_of(find(window, "Opis składu")) == "<- Wybierz skład")
    if launcher.poll() is not None:
        fail("the launcher ended although it was told to stay open")
    scenery_list = find(window, "Pliki tras")
    if any(scenery_list.getChildAtIndex(i).getState().contains(pyatspi.STATE_SELECTED)
           for i in range(scenery_list.childCount)):
        fail("a scenery is still chosen after the start")
    if find(window, "Składy").childCount != 0:
        fail("consists are still listed after the start")
    if text_of(find(window, "Opis składu")) != "<- Wybierz skład":
        fail("the consist details were not reset after the start")

    # In English: the main window, then each of the other three as it opens.
    click(find(window, "English"))
    wait_for("the English captions", lambda: find(window, "Run simulator", "push button"))
    choose_scenery_and_consist(window, english, ENGLISH_NAMES)
    screenshot(screenshots, "20-english-main.png")
    click(find(window, "Show timetable", "push button"))
    caption = english["timetableCaption"]
    timetable = wait_for("the timetable window", lambda: shown_window(app, caption))
    screenshot_of(screenshots, timetable, "21-english-timetable.png")
    move_aside(caption)
    click(find(window, "Options", "push button"))
    options = wait_for("the options window", lambda: shown_window(app, "Options"))
    screenshot_of(screenshots, options, "22-english-options.png")
    move_aside("Options")
    click(find(window, "About", "push button"))
    about = wait_for("the about window", lambda: shown_window(app, "About"))
    screenshot_of(screenshots, about, "23-english-about.png")
    screenshot(screenshots, "24-english-all.png")

    click(find(window, "Quit", "push button"))
    code = wait_end(launcher)
    if code != 0:
        fail("the quit button ended the launcher with exit code %d" % code)
    print("end-to-end: started and ended with 0; started again and stayed open with nothing "
          "chosen; the four windows pictured in English")
finally:
    if launcher.poll() is None:
        launcher.kill()
