#!/usr/bin/env python3
"""Writes editor/resources/app/stepsmith.svg: the Tango text-x-script icon with the Tango
preferences-system icon as a badge in the lower right quarter (both 48×48 public-domain
drawings). Ids of the badge are prefixed so that its gradients do not clash with the base's."""

import os
import re

TANGO = "/usr/share/icons/Tango/scalable"
ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


def body(path, prefix=""):
    text = open(path, encoding="utf-8").read()
    text = re.sub(r"<metadata.*?</metadata>", "", text, flags=re.S)
    text = re.sub(r"<sodipodi:namedview.*?(/>|</sodipodi:namedview>)", "", text, flags=re.S)
    start = re.search(r"<svg\b[^>]*>", text, flags=re.S).end()
    inner = text[start:text.rindex("</svg>")]
    if prefix:
        inner = re.sub(r'\bid="([^"]+)"', lambda m: f'id="{prefix}{m.group(1)}"', inner)
        inner = re.sub(r"url\(#([^)]+)\)", lambda m: f"url(#{prefix}{m.group(1)})", inner)
        inner = re.sub(r'xlink:href="#([^"]+)"', lambda m: f'xlink:href="#{prefix}{m.group(1)}"',
                       inner)
    return inner


def main():
    base = body(os.path.join(TANGO, "mimetypes", "text-x-script.svg"))
    badge = body(os.path.join(TANGO, "categories", "preferences-system.svg"), "badge_")
    svg = ('<?xml version="1.0" encoding="UTF-8" standalone="no"?>\n'
           '<!-- Stepsmith application icon, composed from two Tango Desktop Project icons '
           '(public domain). -->\n'
           '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"\n'
           '     xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"\n'
           '     xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"\n'
           '     xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:cc="http://creativecommons.org/ns#"\n'
           '     xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#"\n'
           '     width="48" height="48" viewBox="0 0 48 48">\n'
           f'<g>{base}</g>\n'
           f'<g transform="translate(22,22) scale(0.54)">{badge}</g>\n'
           '</svg>\n')
    out = os.path.join(ROOT, "editor", "resources", "app", "stepsmith.svg")
    with open(out, "w", encoding="utf-8") as f:
        f.write(svg)


if __name__ == "__main__":
    main()
