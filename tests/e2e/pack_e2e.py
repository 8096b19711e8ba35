"""Plays the install of a downloaded pack as a player meets it. The pack was made on Windows: it
is wrapped in a top folder, its folders differ in case from the installation's, one name is in
code page 852 and another has backslashes, it brings a scenery whose train needs the vehicle its
catalogue adds, replaces a thumbnail, and tries to replace rsim.ini and to write outside the
installation. Started through the installation's link with the pack, the launcher shows the
install window; an install lists the new scenery at once, with its train. Started again with
--undo-pack, as the menu entry's action starts it, it undoes the install, and the installation is
byte for byte as before."""

import base64
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile

import pyatspi

from player import application, click, fail, find, find_described, items_of, main_window, \
    screenshot_of, shown_window, showing, text_of, wait_end, wait_for, wait_for_presses

install, inspect, screenshots = sys.argv[1:4]
make_pack = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "packs", "make_pack.py")


def bitmap(width, height, colour):
    """A 24-bit bitmap of one colour, as Windows writes it."""
    row = bytes(reversed(colour)) * width
    row += b"\0" * (-len(row) % 4)
    pixels = row * height
    return (struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54) +
            struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835,
                        0, 0) + pixels)


def snapshot(root):
    """Every file, folder and link below root with what it holds and its permissions."""
    found = {}
    for folder, folders, files in os.walk(root):
        for name in folders + files:
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, root)
            mode = os.lstat(path).st_mode
            if os.path.islink(path):
                found[relative] = ("link", os.readlink(path))
            elif os.path.isdir(path):
                found[relative] = ("folder", mode)
            else:
                with open(path, "rb") as f:
                    found[relative] = ("file", mode, f.read())
    return found


work = tempfile.mkdtemp()
# The launcher reached through the installation's link, as a first start leaves it.
program = os.path.join(work, "bin", "rsim-launcher")
os.makedirs(os.path.dirname(program))
shutil.move(os.path.join(install, "rsim-launcher"), program)
link = os.path.join(install, "rsim-launcher")
os.symlink(program, link)

with open(os.path.join(install, "dynamic", "PKP", "dynamic.dat"), "rb") as f:
    catalogue = f.read().decode("cp1250")
scenery_name = "Łódź_Kaliska.scn"
scenery_text = ("//$N Łódź Kaliska – Zgierz\r\n"
                "//$D Podmiejski odcinek z Łodzi do Zgierza.\r\n"
                "//$I lodz.bmp\r\n"
                "trainset Os_81011 t1 0.0 0.0\r\n"
                "node -1 0 Lok_sm42_1 dynamic PKP\\SM42 sm42_zielona SM42 0 headdriver 0.00 0 brak\r\n"
                "node -1 0 Wag2_1 dynamic PKP\\wagony w2kl_zielony WAG2KL 0 passenger 0.00 40 ludzie\r\n"
                "endtrainset\r\n"
                "trainset Tow_99 t1 0.0 0.0\r\n"
                "node -1 0 Lok_st44 dynamic PKP\\ST44 st44 ST44 0 headdriver 0.00 0 brak\r\n"
                "endtrainset\r\n")
top = "Moja_Trasa_v2/"
entries = [
    {"name": top, "kind": "folder"},
    {"name": top + "SCENERY/" + scenery_name, "cp852": True, "text": scenery_text},
    {"name": top.rstrip("/") + "\\Scenery\\IMAGES\\lodz.bmp",
     "base64": base64.b64encode(bitmap(90, 60, (200, 60, 40))).decode()},
    {"name": top + "Dynamic/pkp/dynamic.dat",
     "text": catalogue + "SM42\r\nSM42\r\n1\r\n//----------------------------------------\r\n"},
    {"name": top + "Textures/MINI/SM42.bmp",
     "base64": base64.b64encode(bitmap(64, 32, (40, 140, 60))).decode()},
    {"name": top + "textures/mini/OTHER.BMP",
     "base64": base64.b64encode(bitmap(64, 32, (90, 90, 90))).decode()},
    {"name": top + "rsim.ini", "text": "Fullscreen=no\r\n"},
    {"name": "../Pulpit/uwaga.txt", "text": "poza instalacją"},
]
description = os.path.join(work, "pack.json")
with open(description, "w", encoding="utf-8") as f:
    json.dump({"format": "zip", "windows": True, "entries": entries}, f)
pack = os.path.join(work, "Moja Trasa v2 (100%).zip")
subprocess.run([sys.executable, make_pack, description, pack], check=True)

before = snapshot(install)
env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
launcher = subprocess.Popen([link, pack], cwd="/", env=env)
try:
    app = wait_for("the launcher on the accessibility bus", application)
    window = main_window(app)
    form5 = wait_for("the install window", lambda: shown_window(app, "Instalacja paczki"))
    wait_for_presses(form5, "the install window")
    install_button = find(form5, "Zainstaluj", "push button")
    wait_for("the pack's plan",
             lambda: install_button.getState().contains(pyatspi.STATE_ENABLED), 30)

    titles = items_of(find(form5, "Nowe trasy"))
    if titles != ["Łódź Kaliska – Zgierz"]:
        fail("the new routes shown: %r" % titles)
    counts = find(form5, "Nowe: 3    Zastępowane: 1    Odrzucone: 3", "label")
    if counts is None:
        fail("the counts of files are not shown")
    records = items_of(find(form5, "Pojazdy dopisywane do katalogu"))
    if records != ["SM42"]:
        fail("the catalogue records offered: %r" % records)
    lacks = text_of(find(form5, "Braki nowych tras"))
    if "Tow_99" not in lacks or "ST44" not in lacks or "Os_81011" in lacks:
        fail("what the new route lacks: %r" % lacks)
    click(find(form5, "Pokaż pliki >>", "push button"))
    files = wait_for("the list of files", lambda: (lambda m: m and showing(m) and text_of(m))(
        find(form5, "Pliki paczki")))
    for line in ("  scenery/" + scenery_name, "  scenery/Images/lodz.bmp",
                 "  textures/Mini/other.bmp",
                 "  Moja_Trasa_v2/rsim.ini: ustawień gracza (rsim.ini) paczka nigdy nie zastępuje",
                 "  ../Pulpit/uwaga.txt: poza paczką"):
        if line not in files.split("\n"):
            fail("the list of files lacks %r: %r" % (line, files))
    screenshot_of(screenshots, form5, "40-pack-plan.png")
    click(install_button)
    undo = find(form5, "Cofnij instalację", "push button")
    wait_for("the install to finish", lambda: showing(undo), 60)
    backup = text_of(find(form5, "Folder kopii zapasowej"))
    if not backup.startswith(os.path.join(install, "pack-backups", "Moja Trasa v2 (100%) 20")) \
            or not os.path.isdir(backup):
        fail("the backup folder shown: %r" % backup)
    status = find_described(form5, "Stan instalacji").name
    if "nowe pliki: 3, zastąpione: 2" not in status:
        fail("the install's state: %r" % status)
    screenshot_of(screenshots, form5, "41-pack-installed.png")

    # The main window lists the new scenery at once; its train is drivable with the vehicle the
    # pack's catalogue added.
    scenery_list = find(window, "Pliki tras")
    wait_for("the new scenery listed", lambda: scenery_name in items_of(scenery_list))
    # The pack's files landed in the installation's own folders, whatever their case.
    installed = set(snapshot(install)) - set(before)
    expected = {os.path.join("scenery", scenery_name), os.path.join("scenery", "Images", "lodz.bmp"),
                os.path.join("textures", "Mini", "SM42.bmp")}
    if {name for name in installed if not name.startswith("pack-backups")} != expected:
        fail("the pack added %r" % sorted(installed))
    if snapshot(install)["rsim.ini"] != before["rsim.ini"] or \
            os.path.exists(os.path.join(install, "..", "Pulpit")):
        fail("the pack replaced rsim.ini or wrote outside the installation")
    click(find(form5, "Zamknij", "push button"))
    wait_for("the install window to close", lambda: shown_window(app, "Instalacja paczki") is None)
    path = os.path.join(install, "scenery", scenery_name)
    consists = json.loads(subprocess.run([inspect, "consists", install, path],
                                         capture_output=True, check=True).stdout)
    if len(consists["rows"]) != 1:
        fail("the new scenery's trains: %r" % consists["rows"])
    click(scenery_list.getChildAtIndex(items_of(scenery_list).index(scenery_name)))
    consist_list = find(window, "Składy")
    wait_for("the new scenery's train", lambda: items_of(consist_list) == consists["rows"])
    title = find_described(window, "Nazwa trasy")
    wait_for("the new scenery's title", lambda: title.name == "Łódź Kaliska – Zgierz")
    click(consist_list.getChildAtIndex(0))
    wait_for("the train's vehicles", lambda: "SM42" in text_of(find(window, "Opis składu")))
    screenshot_of(screenshots, window, "42-pack-listed.png")
    click(find(window, "Wyjście", "push button"))
    wait_end(launcher)

    # Later, the menu entry's action offers to undo the last install.
    launcher = subprocess.Popen([link, "--undo-pack"], cwd="/", env=env)
    app = wait_for("the launcher on the accessibility bus", application)
    window = main_window(app)
    form5 = wait_for("the offer to undo", lambda: shown_window(app, "Instalacja paczki"))
    offer = find_described(form5, "Stan instalacji").name
    if "(3)" not in offer or "(2)" not in offer or text_of(
            find(form5, "Folder kopii zapasowej")) != backup:
        fail("the offer to undo: %r" % offer)
    screenshot_of(screenshots, form5, "43-pack-undo-offered.png")
    wait_for_presses(form5, "the offer to undo")
    click(find(form5, "Cofnij instalację", "push button"))
    close = find(form5, "Zamknij", "push button")
    wait_for("the undo to finish", lambda: showing(close), 60)
    screenshot_of(screenshots, form5, "44-pack-undone.png")
    scenery_list = find(window, "Pliki tras")
    wait_for("the scenery gone from the list", lambda: scenery_name not in items_of(scenery_list))
    click(close)
    wait_for("the install window to close", lambda: shown_window(app, "Instalacja paczki") is None)
    click(find(window, "Wyjście", "push button"))
    code = wait_end(launcher)
    if code != 0:
        fail("the launcher ended with %d" % code)

    after = snapshot(install)
    if after != before:
        changed = sorted(set(before) ^ set(after) |
                         {k for k in before if k in after and before[k] != after[k]})
        fail("the installation differs after the undo: %r" % changed)
finally:
    if launcher.poll() is None:
        launcher.kill()
    shutil.rmtree(work)

print("end-to-end: a Windows-made pack installed through the link, its scenery listed with its "
      "train, and --undo-pack left the installation byte for byte as before")
