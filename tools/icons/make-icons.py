#!/usr/bin/env python3
"""Builds the action icons of Stepsmith from the Tango icon theme (Debian package
tango-icon-theme, public domain) with ImageMagick, and writes editor/resources/icons.qrc and
the mapping table of editor/resources/icons/README.md.

Run from the repository root: tools/icons/make-icons.py
The generated PNGs are committed; the theme is only needed to regenerate them."""

import os
import subprocess
import sys
import tempfile

TANGO = "/usr/share/icons/Tango"
ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
OUT = os.path.join(ROOT, "editor", "resources", "icons")

# Badges painted in the lower right corner to tell related actions apart.
SET = "apps/accessories-text-editor"      # pencil: sets a value
GET = "actions/edit-copy"                  # copy: reads a value into a variable
COUNT = "apps/accessories-calculator"      # calculator: counts
END_BLOCK = "actions/format-indent-less"   # closes a block
DOWN, UP = "actions/go-down", "actions/go-up"

OUTPUT = "apps/utilities-system-monitor"   # the output window
BOOKMARK = "actions/bookmark-new"
CONDITION = "apps/help-browser"
LOOP = "actions/view-refresh"
DOCUMENT = "mimetypes/x-office-document"
TEXT = "mimetypes/text-x-generic"
LINES = "actions/format-justify-left"
SELECTION = "actions/edit-select-all"
VARIABLE = "apps/accessories-character-map"

# name -> (base icon, badge or None) or ("stack", spec): the base drawn twice, offset.
ICONS = {
    "var": (VARIABLE, None),
    "set": (VARIABLE, SET),
    "range": (SELECTION, None),
    "setrange": (SELECTION, SET),
    "shortexpression": ("apps/accessories-calculator", None),
    "printdoc": ("actions/document-print", None),
    "outputsetvisible": (OUTPUT, "actions/view-fullscreen"),
    "outputgetvisible": (OUTPUT, "status/dialog-information"),
    "linecount": (LINES, COUNT),
    "outputclear": (OUTPUT, "actions/edit-clear"),
    "outputgetline": (OUTPUT, LINES),
    "outputgettext": (OUTPUT, GET),
    "outputlinecount": (OUTPUT, COUNT),
    "outputgetselected": (OUTPUT, SELECTION),
    "outputsetselected": (OUTPUT, "actions/go-jump"),
    "outputaddtext": (OUTPUT, "actions/list-add"),
    "savedoc": ("actions/document-save", None),
    "saveall": ("stack", ("actions/document-save", None)),
    "printall": ("stack", ("actions/document-print", None)),
    "opendoc": ("actions/document-open", None),
    "cut": ("actions/edit-cut", None),
    "paste": ("actions/edit-paste", None),
    "copy": ("actions/edit-copy", None),
    "showinbrowser": ("apps/internet-web-browser", None),
    "newdoc": ("actions/document-new", None),
    "undo": ("actions/edit-undo", None),
    "redo": ("actions/edit-redo", None),
    "closedoc": (DOCUMENT, "actions/process-stop"),
    "closeall": ("stack", (DOCUMENT, "actions/process-stop")),
    "if": (CONDITION, None),
    "else": (CONDITION, "actions/go-next"),
    "endif": (CONDITION, END_BLOCK),
    "loop": (LOOP, None),
    "breakloop": (LOOP, "actions/process-stop"),
    "endloop": (LOOP, END_BLOCK),
    "getlanguage": ("apps/preferences-desktop-locale", GET),
    "setlanguage": ("apps/preferences-desktop-locale", SET),
    "inserttext": ("apps/accessories-text-editor", None),
    "setseltext": (SELECTION, "actions/edit-paste"),
    "settext": (TEXT, "actions/edit-paste"),
    "getseltext": (SELECTION, GET),
    "gettext": (TEXT, GET),
    "getline": (LINES, GET),
    "insertfile": (TEXT, "actions/list-add"),
    "findtext": ("actions/edit-find", None),
    "findprev": ("actions/edit-find", UP),
    "findnext": ("actions/edit-find", DOWN),
    "replacetext": ("actions/edit-find-replace", None),
    "replacenext": ("actions/edit-find-replace", DOWN),
    "replaceall": ("stack", ("actions/edit-find-replace", None)),
    "usertool": ("categories/preferences-system", None),
    "findmarkall": ("actions/edit-find", BOOKMARK),
    "bmcount": (BOOKMARK, COUNT),
    "shell": ("apps/utilities-terminal", None),
    "goto": ("actions/go-jump", None),
    "msgbox": ("status/dialog-information", None),
    "inputbox": ("devices/input-keyboard", None),
    "choicedlg": ("status/dialog-information", LINES),
    "vbscript": ("mimetypes/text-x-script", None),
    "bmtoggle": (BOOKMARK, None),
    "bmclear": (BOOKMARK, "actions/edit-clear"),
    "bmnext": (BOOKMARK, DOWN),
    "bmprev": (BOOKMARK, UP),
    "bmfirst": (BOOKMARK, "actions/go-top"),
    "bmlast": (BOOKMARK, "actions/go-bottom"),
    "Default_Icon": ("categories/applications-other", None),
    "folder": ("places/folder", None),
    "OpenFolder": ("status/folder-open", None),
}

# The application icon: 16 and 32 px are composed here from Tango's hand-drawn small icons; the
# 48, 64 and 128 px files are rendered from stepsmith.svg with Qt's SVG image plugin.
APP_FILES = ("stepsmith.svg", "stepsmith-16.png", "stepsmith-32.png", "stepsmith-48.png",
             "stepsmith-64.png", "stepsmith-128.png")

# Badge size and stack offset per icon size.
BADGE = {16: 9, 32: 16}


def src(path, size):
    return os.path.join(TANGO, f"{size}x{size}", path + ".png")


def run(*args):
    # No metadata chunks: the same input gives byte-identical files.
    *inputs, output = args
    subprocess.run(["convert", *inputs, "-strip", "-define", "png:exclude-chunk=date,time",
                    output], check=True)


def render(spec, size, dest, tmp):
    if spec[0] == "stack":
        inner = os.path.join(tmp, "inner.png")
        render(spec[1], size, inner, tmp)
        small = size * 3 // 4
        offset = size - small
        run("-size", f"{size}x{size}", "xc:none",
            "(", inner, "-resize", f"{small}x{small}", ")", "-geometry", "+0+0", "-composite",
            "(", inner, "-resize", f"{small}x{small}", ")", "-geometry", f"+{offset}+{offset}",
            "-composite", "PNG32:" + dest)
        return
    base, badge = spec
    if badge is None:
        run(src(base, size), "PNG32:" + dest)
        return
    b = BADGE[size]
    run(src(base, size),
        "(", src(badge, 16), "-resize", f"{b}x{b}", ")",
        "-gravity", "southeast", "-geometry", "+0+0", "-composite", "PNG32:" + dest)


def arrow(size, dest):
    # The drag overlay: a small curved arrow in the lower left corner, transparent elsewhere.
    b = 16 if size == 32 else 9
    run("-size", f"{size}x{size}", "xc:none",
        "(", src("actions/go-jump", 16), "-resize", f"{b}x{b}", ")",
        "-gravity", "southwest", "-geometry", "+0+0", "-composite", "PNG32:" + dest)


def describe(spec):
    if spec[0] == "stack":
        return "two stacked " + describe(spec[1])
    base, badge = spec
    return f"`{base}`" + (f" + badge `{badge}`" if badge else "")


def main():
    names = list(ICONS) + ["Arrow"]
    with tempfile.TemporaryDirectory() as tmp:
        for size in (16, 32):
            os.makedirs(os.path.join(OUT, str(size)), exist_ok=True)
            for name, spec in ICONS.items():
                render(spec, size, os.path.join(OUT, str(size), name + ".png"), tmp)
            arrow(size, os.path.join(OUT, str(size), "Arrow.png"))

    with open(os.path.join(ROOT, "editor", "resources", "icons.qrc"), "w") as qrc:
        qrc.write("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n")
        for size in (16, 32):
            qrc.write(f"    <qresource prefix=\"/icons/{size}\">\n")
            for name in names:
                qrc.write(f"        <file alias=\"{name}.png\">icons/{size}/{name}.png</file>\n")
            qrc.write("    </qresource>\n")
        qrc.write("    <qresource prefix=\"/icons/app\">\n")
        for f in APP_FILES:
            qrc.write(f"        <file alias=\"{f}\">app/{f}</file>\n")
        qrc.write("    </qresource>\n</RCC>\n")

    os.makedirs(os.path.join(ROOT, "editor", "resources", "app"), exist_ok=True)
    for size in (16, 32):
        render(("mimetypes/text-x-script", "categories/preferences-system"), size,
               os.path.join(ROOT, "editor", "resources", "app", f"stepsmith-{size}.png"), "/tmp")
    subprocess.run([sys.executable, os.path.join(os.path.dirname(__file__), "compose-app-svg.py")],
                   check=True)

    with open(os.path.join(OUT, "MAPPING.md"), "w") as out:
        out.write("# Icon mapping\n\nGenerated by `tools/icons/make-icons.py` from the Tango icon "
                  "theme (paths below are relative to\n`/usr/share/icons/Tango/<size>x<size>/`). "
                  "A badge is the 16 px Tango icon scaled down into the\nlower right corner.\n\n"
                  "| Key | Built from |\n|---|---|\n")
        for name, spec in ICONS.items():
            out.write(f"| {name} | {describe(spec)} |\n")
        out.write("| Arrow | badge `actions/go-jump` in the lower left corner of a transparent "
                  "icon (drag overlay) |\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
