#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the program's accessibility tree off the AT-SPI bus.

accessibility.py tree TITLE      prints the tree of the program's window whose name starts
                                 with TITLE: one line per object,
                                 role "name" [description] (labelled by "label")
accessibility.py wait-name TEXT  waits until an object of the program is named TEXT
"""
import sys
import time

import pyatspi


def program():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and "Tarvik" in (app.name or ""):
            return app
    return None


def walk(acc, depth=0, lines=None):
    if lines is None:
        lines = []
    if acc is None or depth > 12:
        return lines
    try:
        states = acc.getState()
        if not states.contains(pyatspi.STATE_SHOWING) and depth > 0:
            return lines
        line = '%s%s "%s"' % ("  " * depth, acc.getRoleName(), acc.name or "")
        if acc.description:
            line += " [%s]" % acc.description
        for relation in acc.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                for i in range(relation.getNTargets()):
                    line += ' (labelled by "%s")' % (relation.getTarget(i).name or "")
        lines.append(line)
        for child in acc:
            walk(child, depth + 1, lines)
    except Exception as error:  # an object that went away while being read
        lines.append("%s(gone: %s)" % ("  " * depth, error))
    return lines


def find_window(title):
    app = program()
    if app is None:
        return None
    for window in app:
        if window is not None and (window.name or "").startswith(title):
            return window
    return None


def named(acc, text, depth=0):
    if acc is None or depth > 12:
        return False
    acc.clearCache()  # the name is read again, not taken from an earlier answer
    if acc.name == text:
        return True
    return any(named(child, text, depth + 1) for child in acc)


def main():
    command, argument = sys.argv[1], sys.argv[2]
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        try:
            if command == "tree":
                window = find_window(argument)
                if window is not None:
                    print("\n".join(walk(window)))
                    return 0
            elif command == "wait-name":
                app = program()
                if app is not None and named(app, argument):
                    return 0
        except Exception:
            pass  # the bus or the program is still starting
        time.sleep(0.2)
    print("accessibility.py: %s %s: not found" % (command, argument), file=sys.stderr)
    app = program()
    if app is not None:
        for window in app:
            print("\n".join(walk(window)), file=sys.stderr)
    return 1


sys.exit(main())
