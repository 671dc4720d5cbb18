"""Reads the probe program's window over AT-SPI as a screen reader does and checks what a
reader gets: each label's text, each field's shown text, names, states and interfaces, the
table's caption, headers and cells, and the events when the selection moves by keyboard.
Exit 0 when all holds, 1 with the list of what did not."""
import os
import sys
import time

import pyatspi
from gi.repository import GLib

from reader import find_app

APP_NAME = "korvane_atspi_probe"
failures = []


def check(what, got, want):
    if got != want:
        failures.append("%s: got %r, want %r" % (what, got, want))


def walk(obj, depth=0):
    yield obj
    if depth > 12:
        return
    for i in range(obj.childCount):
        child = obj.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def wait_for_tree(app, timeout):
    """The window shows its components a moment after the application registers."""
    end = time.time() + timeout
    while time.time() < end:
        objects = list(walk(app))
        if any(o.getRoleName() == "table" for o in objects):
            return objects
        time.sleep(0.1)
    return list(walk(app))


def states(obj):
    return {pyatspi.stateToString(s) for s in obj.getState().getStates()}


def text_of(obj):
    if "Text" not in obj.get_interfaces():
        return None
    return obj.queryText().getText(0, -1)


def actions_of(obj):
    if "Action" not in obj.get_interfaces():
        return []
    action = obj.queryAction()
    return [action.getName(i) for i in range(action.nActions)]


def by_role(objects, role):
    return [o for o in objects if o.getRoleName() == role]


def one(objects, role, name):
    found = [o for o in objects if o.getRoleName() == role and o.name == name]
    if len(found) != 1:
        failures.append("%s %r: found %d" % (role, name, len(found)))
        return None
    return found[0]


def check_labels(objects):
    for name in ("U = 12.34 V", "12:34", "Axis title", "KORVANE scrolls"):
        label = one(objects, "label", name)
        if label is not None:
            check("text of label %r" % name, text_of(label), name)


def check_fields(objects):
    hexfield = one(objects, "spin button", "Code")
    if hexfield is not None:
        check("hex field text", text_of(hexfield), "0000BEEF")
        check("hex field editable", "editable" in states(hexfield), True)
        check("hex field value", hexfield.queryValue().currentValue, 48879.0)
        children = {(c.getRoleName(), c.name) for c in hexfield}
        check("hex field caption", ("label", "Code") in children, True)
        check("hex field freeze box", ("check box", "Freeze") in children, True)
        labelled = [r for r in hexfield.getRelationSet()
                    if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
        check("hex field labelled by its caption", [r.getTarget(0).name for r in labelled], ["Code"])

    amount = one(objects, "text", "Amount")
    if amount is not None:
        check("line-edit field text", text_of(amount), "42")
        check("line-edit field editable", "editable" in states(amount), True)
        check("line-edit field has editable text", "EditableText" in amount.get_interfaces(), True)
        check("line-edit field value", amount.queryValue().currentValue, 42.0)

    meter = one(objects, "progress bar", "V")
    if meter is not None:
        check("meter text", text_of(meter), "12.3 V")
        check("meter actions", actions_of(meter), [])
    bars = [o for o in by_role(objects, "progress bar") if o.name != "V"]
    check("progress bars", len(bars), 1)
    if bars:
        check("progress bar text", text_of(bars[0]), "64 %")
        check("progress bar actions", actions_of(bars[0]), [])
    shown_pictures = [o for o in by_role(objects, "image") if "showing" in states(o)]
    check("decorative gradient left out", shown_pictures, [])


def check_table(table):
    t = table.queryTable()
    check("table size", (t.nRows, t.nColumns), (3, 3))
    check("caption", t.caption.name if t.caption else None, "Staff")
    headers = [t.getColumnHeader(c) for c in range(3)]
    check("column headers", [h.name if h else None for h in headers], ["Name", "Active", "Pass word"])
    check("header role", [h.getRoleName() if h else None for h in headers], ["table column header"] * 3)
    first = t.getAccessibleAt(0, 0)
    check("first cell", first.name, "Ann")
    box = t.getAccessibleAt(0, 1)
    check("check cell named after its column", box.name, "Active")
    check("check cell checked", "checked" in states(box), True)
    check("check cell toggles", "Toggle" in actions_of(box), True)
    check("unchecked cell", "checked" in states(t.getAccessibleAt(1, 1)), False)
    secret = t.getAccessibleAt(0, 2)
    check("password cell role", secret.getRoleName(), "password text")
    check("password cell shows its mask", secret.name, "******")
    check("cell on screen showing", "showing" in states(first), True)


def check_keyboard_events(table):
    """Down moves the current cell and the selection: the reader hears both."""
    heard = []

    def listener(event):
        heard.append((event.type, event.source.name, event.detail1))

    for kind in ("focus:", "object:state-changed:focused", "object:state-changed:selected"):
        pyatspi.Registry.registerEventListener(listener, kind)

    def press_down():
        with open(os.environ["KORVANE_PROBE_INPUT"], "w") as pipe:
            pipe.write("key Down\n")
        return False

    def done():
        pyatspi.Registry.stop()
        return False

    GLib.timeout_add(600, press_down)
    GLib.timeout_add(2000, done)
    pyatspi.Registry.start()
    check("focus went to the new current cell",
          any(kind.startswith("object:state-changed:focused") and name == "Bob" and d == 1
              for kind, name, d in heard), True)
    check("the new row was selected",
          any(kind.startswith("object:state-changed:selected") and name == "Bob" and d == 1
              for kind, name, d in heard), True)
    check("the old row was deselected",
          any(kind.startswith("object:state-changed:selected") and name == "Ann" and d == 0
              for kind, name, d in heard), True)
    t = table.queryTable()
    check("selected rows after Down", list(t.getSelectedRows()), [1])


def main():
    app = find_app(APP_NAME, 15)
    if app is None:
        print("FAILED: the probe program never reached the accessibility bus")
        return 1
    objects = wait_for_tree(app, 10)
    check_labels(objects)
    check_fields(objects)
    tables = by_role(objects, "table")
    check("tables", len(tables), 1)
    if tables:
        check_table(tables[0])
        check_keyboard_events(tables[0])
    for f in failures:
        print("FAILED:", f)
    if not failures:
        print("PASSED: the reader got every text, name, state, header and event")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
