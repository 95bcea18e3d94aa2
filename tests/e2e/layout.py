#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program's widgets as its accessibility interface reports them.

Prints one line for every widget on screen of the running program (found by the
name it gives the application, the first argument): role, name, its rectangle in screen pixels
and the states focused and checked where they hold, tab-separated:
    push button<TAB>开始计时<TAB>371<TAB>40<TAB>60<TAB>25<TAB>
The end-to-end scripts take the places they click from here instead of copies of
the program's numbers. Needs the session's accessibility bus (at-spi2-core) and
the program started with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1.
"""

import sys
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# get_component_iface is the call libatspi 2.46 has; its binding warns all the same.
warnings.filterwarnings("ignore", category=DeprecationWarning)


def walk(node, out, depth=0):
    if depth > 40:
        return
    try:
        states = node.get_state_set()
        if not states.contains(Atspi.StateType.SHOWING):
            return
        component = node.get_component_iface()
        if component is not None:
            r = component.get_extents(Atspi.CoordType.SCREEN)
            flags = [name for name, state in (("focused", Atspi.StateType.FOCUSED),
                                              ("checked", Atspi.StateType.CHECKED))
                     if states.contains(state)]
            out.append("\t".join([node.get_role_name(), node.get_name() or "",
                                  str(r.x), str(r.y), str(r.width), str(r.height),
                                  " ".join(flags)]))
        for i in range(node.get_child_count()):
            child = node.get_child_at_index(i)
            if child is not None:
                walk(child, out, depth + 1)
    except gi.repository.GLib.Error:
        # A window that closed while it was being read: what was read still stands.
        pass


def main(app_name):
    desktop = Atspi.get_desktop(0)
    out = []
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is None or app.get_name() != app_name:
            continue
        for j in range(app.get_child_count()):
            window = app.get_child_at_index(j)
            if window is not None:
                walk(window, out)
    if not out:
        return 1
    print("\n".join(out))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
