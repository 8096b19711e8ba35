"""Plays the launcher as a player would: clicks in its window with xdotool and reads what it
shows through the accessibility bus, as a screen reader does."""

import json
import os
import subprocess
import sys

import pyatspi

from player import application, click, fail, find, find_described, items_of, main_window, \
    screenshot, screenshot_of, showing, start_launcher, text_of, wait_end, wait_for

install, inspect, screenshots = sys.argv[1:4]

launcher = start_launcher(install)
try:
    app = wait_for("the launcher on the accessibility bus", application)
    window = main_window(app)
    scenery_list = wait_for("the scenery list", lambda: find(window, "Pliki tras"))
    screenshot(screenshots, "01-start.png")

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
        wait_for("the title of " + name, lambda: title.name == scenery["title"])
        shown_rows = wait_for("the consists of " + name,
                              lambda: items_of(consist_list) == consists["rows"] or None)
        screenshot(screenshots, "02-scenery-%d.png" % (index + 1))
        print("chose %s: title %r, %d consists" % (name, scenery["title"], len(consists["rows"])))
        checked += 1

    # Every consist of every scenery: the details a screen reader reads agree with
    # rsim-inspect, and a timetable opens in its own window.
    details_box = find(window, "Opis składu")
    timetable_button = find(window, "Zobacz rozkład jazdy", "push button")
    timetables = 0
    for index, name in enumerate(names):
        path = os.path.join(install, "scenery", name)
        click(scenery_list.getChildAtIndex(index))
        wait_for("the consists of " + name, lambda: consist_list.childCount > 0 or None)
        for row in range(consist_list.childCount):
            details = json.loads(subprocess.run([inspect, "details", install, path, str(row)],
                                                capture_output=True, check=True).stdout)
            click(consist_list.getChildAtIndex(row))
            expected = "\n".join(details["lines"])
            wait_for("the details of %s row %d" % (name, row),
                     lambda: text_of(details_box) == expected)
            has_timetable = details["timetable"] != ""
            if timetable_button.getState().contains(pyatspi.STATE_ENABLED) != has_timetable:
                fail("the timetable button of %s row %d" % (name, row))
            if not has_timetable:
                continue
            click(timetable_button)
            caption = details["timetableCaption"]
            form2 = wait_for("the timetable window " + caption,
                             lambda: (lambda w: w if w and showing(w) else None)(find(app, caption)))
            with open(os.path.join(install, details["timetable"]), "rb") as f:
                lines = f.read().decode("cp1250").splitlines()
            memo3 = form2.getChildAtIndex(0)
            wait_for("the timetable of " + caption, lambda: text_of(memo3) == "\n".join(lines))
            timetables += 1
            screenshot(screenshots, "03-timetable-%d.png" % timetables)
            screenshot_of(screenshots, form2, "04-timetable-window-%d.png" % timetables)
            # The player drags the window aside, off the consist list.
            subprocess.run(["xdotool", "search", "--name", "^%s$" % caption,
                            "windowmove", "%1", "900", "700"], check=True)
            wait_for("the timetable window moved aside",
                     lambda: form2.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x == 900)
        screenshot(screenshots, "03-consists-%d.png" % (index + 1))
    if timetables == 0:
        fail("no consist of the sample opened a timetable")

    click(find(window, "Wyjście", "push button"))
    code = wait_end(launcher)
    if code != 0:
        fail("the quit button ended the launcher with exit code %d" % code)
    print("end-to-end: %d sceneries chosen, %d timetables shown, quit ended the launcher with 0"
          % (checked, timetables))
finally:
    if launcher.poll() is None:
        launcher.kill()
