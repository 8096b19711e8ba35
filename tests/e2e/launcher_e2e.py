"""Plays the launcher as a player would: clicks in its window with xdotool and reads what it
shows through the accessibility bus, as a screen reader does."""

import json
import os
import subprocess
import sys
import time

from player import application, click, fail, find, find_described, items_of, screenshot, \
    start_launcher, wait_for

install, inspect, screenshots = sys.argv[1:4]

launcher = start_launcher(install)
try:
    app = wait_for("the launcher on the accessibility bus", application)
    window = wait_for("the main window", lambda: find(app, "Torvia RSIM-424"))
    scenery_list = wait_for("the scenery list", lambda: find(window, "Pliki tras"))
    time.sleep(0.5)
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
        wait_for("the title of " + name, lambda: title.name == scenery["title"], 5)
        shown_rows = wait_for("the consists of " + name,
                              lambda: items_of(consist_list) == consists["rows"] or None, 5)
        screenshot(screenshots, "02-scenery-%d.png" % (index + 1))
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
