"""Prints what a screen reader finds in a program's window over AT-SPI: for every object its
role, name, description, text, value, states and actions, indented by depth. For looking at a
program as a reader would:
    tests/atspi/run_check.sh PROGRAM tests/atspi/dump_tree.py APPLICATION-NAME"""
import sys
import time

import pyatspi

from reader import find_app


def describe(obj):
    ifaces = obj.get_interfaces()
    parts = [obj.getRoleName(), repr(obj.name)]
    if obj.description:
        parts.append("description=%r" % obj.description)
    if "Text" in ifaces:
        parts.append("text=%r" % obj.queryText().getText(0, -1))
    if "Value" in ifaces:
        parts.append("value=%g" % obj.queryValue().currentValue)
    if "Action" in ifaces:
        action = obj.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if names:
            parts.append("actions=%s" % ",".join(names))
    states = sorted(pyatspi.stateToString(s) for s in obj.getState().getStates()
                    if s in (pyatspi.STATE_CHECKED, pyatspi.STATE_EDITABLE, pyatspi.STATE_READ_ONLY,
                             pyatspi.STATE_SELECTED, pyatspi.STATE_FOCUSED, pyatspi.STATE_SHOWING))
    parts.append("[%s]" % " ".join(states))
    return " ".join(parts)


def dump(obj, depth, cells):
    print("  " * depth + describe(obj))
    if obj.getRoleName() == "table" and "Table" in obj.get_interfaces():
        table = obj.queryTable()
        headers = [table.getColumnHeader(c) for c in range(table.nColumns)]
        caption = table.caption.name if table.caption else None
        print("  " * depth + "  caption=%r headers=%r" % (caption, [h.name if h else None for h in headers]))
        for r in range(min(table.nRows, cells)):
            row = [describe(table.getAccessibleAt(r, c)) for c in range(table.nColumns)]
            print("  " * depth + "  row %d: %s" % (r, " | ".join(row)))
        return
    for i in range(obj.childCount):
        child = obj.getChildAtIndex(i)
        if child is not None:
            dump(child, depth + 1, cells)


def main():
    name = sys.argv[1] if len(sys.argv) > 1 else "korvane_gallery"
    app = find_app(name, 15)
    if app is None:
        print("no application %r on the accessibility bus" % name)
        return 1
    time.sleep(1.0)
    dump(app, 0, 3)
    return 0


if __name__ == "__main__":
    sys.exit(main())
