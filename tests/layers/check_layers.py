"""Holds each folder of the launcher to its layer: what it may include, whether it may use Qt,
and that its library links what it includes. The table below is the one place that states the
layers; the build's own record of which folder makes which library and links what is read from
the file CMake writes (tests/layers/CMakeLists.txt).

    check_layers.py SOURCE_DIR LIBRARIES_FILE QT_INCLUDE_DIRS
"""

import os
import re
import sys

# Qt: "" none at all, "gui" Qt's image type and what it needs (QtCore, QtGui), "widgets" any.
# A folder may include its own headers and those of the folders it names, never one above it.
SYSTEM = "platform/system"
LAYERS = {
    # folder: (Qt, folders it may include)
    SYSTEM: ("", []),
    "platform/pictures": ("gui", [SYSTEM]),
    "catalogue": ("", [SYSTEM]),
    "catalogue/pictures": ("gui", ["catalogue", "platform/pictures", SYSTEM]),
    "settings": ("", ["catalogue", SYSTEM]),
    "settings/launch": ("", [SYSTEM]),
    "shell": ("", ["packs", SYSTEM]),
    "packs": ("", ["catalogue", SYSTEM]),
    "platform/widgets": ("widgets", ["platform/pictures", SYSTEM]),
    "catalogue/window": ("widgets", ["platform/widgets", "catalogue", "platform/pictures", SYSTEM]),
    "settings/window": ("widgets", ["platform/widgets", "settings", "catalogue",
                                    "platform/pictures", SYSTEM]),
    "packs/window": ("widgets", ["platform/widgets", "packs", "catalogue/pictures", "catalogue",
                                 "platform/pictures", SYSTEM]),
    "shell/window": ("widgets", ["catalogue/window", "settings/window", "packs/window",
                                 "platform/widgets", "settings/launch", "shell", "settings",
                                 "packs", "catalogue/pictures", "catalogue",
                                 "platform/pictures", SYSTEM]),
    # The command-line companion shows what the windows would, without a window.
    "tools": ("gui", ["catalogue/pictures", "settings/launch", "settings", "packs", "catalogue",
                      "platform/pictures", SYSTEM]),
}
# Programs of their own beside the launcher, each a folder that makes no library.
PROGRAM_FOLDERS = {"tools", "tools/standin"}
# Folders of data or of scripts, not of the launcher's code.
NOT_CODE = ("tests", "bench", "fuzz", "sample", "build", "shell/desktop", "shell/resources",
            "tools/draw", "tools/standin", "scripts")

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def qt_headers(include_dirs):
    """The headers of each Qt module, by the module's folder."""
    modules = {}
    for folder in include_dirs:
        name = os.path.basename(folder.rstrip("/"))
        if name.startswith("Qt") and os.path.isdir(folder):
            modules[name] = set(os.listdir(folder))
    return modules


def read_libraries(path):
    """folder -> [(target, type, links, interface links)] as the build records them."""
    libraries = {}
    with open(path) as f:
        for line in f:
            folder, target, kind, links, interface = (line.rstrip("\n").split("\t") + [""] * 5)[:5]
            libraries.setdefault(folder, []).append(
                (target, kind, [l for l in links.split(";") if l],
                 [l for l in interface.split(";") if l]))
    return libraries


def usable(target, records):
    """The libraries whose headers target may use: those it links, and what they pass on."""
    interface = {t: i for entries in records.values() for (t, _, _, i) in entries}
    direct = next(l for entries in records.values() for (t, _, l, _) in entries if t == target)
    seen, todo = set(), list(direct)
    while todo:
        library = todo.pop()
        if library in seen:
            continue
        seen.add(library)
        todo.extend(interface.get(library, []))
    return seen


def main():
    source, libraries_file, qt_dirs = sys.argv[1], sys.argv[2], sys.argv[3]
    records = read_libraries(libraries_file)
    modules = qt_headers(qt_dirs.split(":"))
    gui_headers = modules.get("QtCore", set()) | modules.get("QtGui", set())
    problems = []

    library_of = {}
    for folder, entries in records.items():
        made = [t for (t, kind, _, _) in entries if kind == "STATIC_LIBRARY"]
        if folder in PROGRAM_FOLDERS:
            continue
        if len(made) != 1:
            problems.append("%s builds %d libraries, not one: %s" % (folder, len(made), made))
        elif folder not in LAYERS:
            problems.append("%s is no layer of the table in %s" % (folder, sys.argv[0]))
        else:
            library_of[folder] = made[0]

    for folder, (qt, allowed) in sorted(LAYERS.items()):
        path = os.path.join(source, folder)
        if not os.path.isdir(path):
            continue
        if folder in records:
            targets = [t for (t, _, _, _) in records[folder]]
        else:
            problems.append("%s is built by no CMakeLists.txt of its own" % folder)
            continue
        for name in sorted(os.listdir(path)):
            if not name.endswith((".h", ".cpp")):
                continue
            with open(os.path.join(path, name), encoding="utf-8", errors="replace") as f:
                text = f.read()
            where = "%s/%s" % (folder, name)
            for bracket, header in INCLUDE.findall(text):
                if bracket == "<":
                    top = header.split("/")[0]
                    if not top.startswith("Q"):
                        continue
                    if not qt:
                        problems.append("%s uses Qt (<%s>), which its layer does not" % (where, header))
                    elif qt == "gui" and top not in gui_headers and top not in ("QtCore", "QtGui"):
                        problems.append("%s uses <%s>, more of Qt than its image type" % (where, header))
                    continue
                included = os.path.dirname(header)
                if included == folder or not included or not header.endswith(".h"):
                    continue
                if included not in LAYERS:
                    if not included.startswith("tests"):
                        problems.append("%s includes %s, of no layer" % (where, header))
                    continue
                if included not in allowed:
                    problems.append("%s includes %s: %s may not use %s" % (where, header, folder, included))
                    continue
                library = library_of.get(included)
                if library and not any(library in usable(t, records) for t in targets):
                    problems.append("%s includes %s, but %s does not link %s" %
                                    (where, header, " / ".join(targets), library))

    # Every folder of code is in the table.
    for top, dirs, files in os.walk(source):
        rel = os.path.relpath(top, source)
        dirs[:] = [d for d in dirs if not d.startswith(".")
                   and not os.path.join(rel, d).lstrip("./").startswith(NOT_CODE)]
        if rel != "." and any(f.endswith((".cpp", ".h")) for f in files) and rel not in LAYERS:
            problems.append("%s holds code but is no layer of the table" % rel)

    for problem in problems:
        print("layers:", problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
