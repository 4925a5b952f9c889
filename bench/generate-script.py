#!/usr/bin/env python3
"""Writes a large ZML script for the benchmarks.

generate-script.py STEPS OUT.zml [--catalogue data/actions.json] [--dense ACTION]

The script mixes actions of the bundled catalogue (every attribute written, values with
escaped characters and text content), comment steps, disabled steps and if/else/loop blocks
nested up to ten deep, in the layout the editor writes (CR LF line ends, 4-space indent).
With --dense ACTION the body is instead STEPS empty elements of that action written one after
another on a single line ("<msgbox/>" 2 000 000 times is 18 MB): the most steps per byte.
"""
import argparse
import json
import os
import random

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BLOCKS = {"if", "else", "endif", "loop", "endloop"}
MAX_DEPTH = 10


def encode(text):
    text = text.replace("&", "&amp;").replace("\n", "&#10;").replace("\t", "&#9;")
    return text.replace("<", "&lt;").replace(">", "&gt;").replace('"', "&quot;")


def element(action, rnd, n):
    parts = ["<" + action["ElementName"]]
    for a in action.get("Attributes", []):
        value = rnd.choice(["", "count", "x > 1", "Hello & \"welcome\" to the script", str(n),
                            "C:/Users/somebody/Documents/Tessaro scripts/file%d.txt" % n,
                            "a longer value with several words, %d of them" % (n % 97)])
        parts.append(' %s="%s"' % (a["Name"], encode(value)))
    if action.get("ContainsText") and rnd.random() < 0.6:
        body = "Line %d of the message\nsecond <line> with more words in it" % n
        return "".join(parts) + ">" + encode(body) + "</%s>" % action["ElementName"]
    return "".join(parts) + " />"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("steps", type=int)
    parser.add_argument("out")
    parser.add_argument("--catalogue", default=os.path.join(ROOT, "data", "actions.json"))
    parser.add_argument("--seed", type=int, default=7)
    parser.add_argument("--dense", metavar="ACTION",
                        help="write STEPS empty <ACTION/> elements on one line instead")
    args = parser.parse_args()

    rnd = random.Random(args.seed)
    actions = json.load(open(args.catalogue, encoding="utf-8"))["Actions"]
    by_name = {a["ElementName"]: a for a in actions}
    plain = [a for a in actions if a["ElementName"] not in BLOCKS]

    lines = ['<zml version="1.0" edition="Tessaro">', "    <zmlhead>",
             "        <author>Bench Author</author>", "        <company>Bench &amp; Co</company>",
             "        <web></web>", "        <email></email>", "        <version>1.0</version>",
             "        <description>Generated script of %d steps</description>" % args.steps,
             "    </zmlhead>", "    <zmlbody>"]
    if args.dense:
        if args.dense not in by_name:
            parser.error("no action %r in the catalogue" % args.dense)
        lines.append("<%s/>" % args.dense * args.steps)
        args.steps = 0  # the block loop below adds nothing
    stack = []  # open blocks: ("if", has_else) or ("loop", False)
    steps = 0
    while steps < args.steps:
        remaining = args.steps - steps
        indent = " " * (4 * (len(stack) + 2))
        r = rnd.random()
        if stack and (remaining <= len(stack) or r < 0.08):
            kind, _ = stack.pop()
            lines.append(" " * (4 * (len(stack) + 2)) + ("</if>" if kind == "if" else "</loop>"))
        elif len(stack) < MAX_DEPTH and remaining > len(stack) + 2 and r < 0.18:
            kind = "if" if r < 0.13 else "loop"
            lines.append(indent + element(by_name[kind], rnd, steps)[:-3] + ">")
            stack.append((kind, False))
        elif stack and stack[-1] == ("if", False) and r < 0.21:
            lines.append(" " * (4 * (len(stack) + 1)) + "<else />")
            stack[-1] = ("if", True)
        elif r < 0.27:
            lines.append("    <!--")
            lines.append("Comment %d: the next steps look for the marker -> and replace it" % steps)
            lines.append("-->")
        elif r < 0.30:
            lines.append(indent + "<!-- " + element(rnd.choice(plain), rnd, steps) + " -->")
        else:
            lines.append(indent + element(rnd.choice(plain), rnd, steps))
        steps += 1
    while stack:
        kind, _ = stack.pop()
        lines.append(" " * (4 * (len(stack) + 2)) + ("</if>" if kind == "if" else "</loop>"))
    lines += ["    </zmlbody>", "</zml>"]
    with open(args.out, "w", encoding="utf-8", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")


if __name__ == "__main__":
    main()
