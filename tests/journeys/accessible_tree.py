#!/usr/bin/python3
"""Prints what the accessibility bus knows of one running application.

Usage: accessible_tree.py APPLICATION

One line per object of every application named APPLICATION, depth first, its fields separated
by tabs: role, name, description, text, then the object's screen extents x, y, width, height.
Tabs and newlines inside the fields become blanks. Ends with status 1 when no such application
is on the bus, so the caller can wait for it to appear.
"""

import sys

import pyatspi


def flat(text):
    return " ".join(str(text).replace("\t", " ").splitlines())


def text_of(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        return ""
    return text.getText(0, -1)


def extents_of(node):
    try:
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    except NotImplementedError:
        return (0, 0, 0, 0)
    return (box.x, box.y, box.width, box.height)


def dump(node, depth, out):
    if node is None or depth > 40:
        return
    fields = [node.getRoleName(), node.name, node.description, text_of(node)]
    fields = [flat(field) for field in fields] + [str(value) for value in extents_of(node)]
    out.append("\t".join(fields))
    for child in node:
        dump(child, depth + 1, out)


def main():
    wanted = sys.argv[1]
    out = []
    found = False
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.name == wanted:
            found = True
            dump(application, 0, out)
    print("\n".join(out))
    return 0 if found else 1


if __name__ == "__main__":
    sys.exit(main())
