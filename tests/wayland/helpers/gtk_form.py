#!/usr/bin/python3
# A native GTK 3 entry form for the Wayland tests: five labelled boxes in a column, as a competition's form has
# them. It writes what it holds to a state file after every change, as paste_target does:
#   window=1, box0=... box1=..., focus=<index of the box with the focus, or none>
#
#   gtk_form.py --target-title=TITLE --state-file=PATH [--boxes=N] [--refuse-paste]
#
# --refuse-paste makes every box refuse a paste, as e-mail confirmation boxes of entry forms do.
import os
import sys

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import GLib, Gtk  # noqa: E402


def option(name, default=None):
    prefix = "--" + name + "="
    for argument in sys.argv[1:]:
        if argument.startswith(prefix):
            return argument[len(prefix):]
    return default


state_path = option("state-file")
window = Gtk.Window(title=option("target-title", "form"))
grid = Gtk.Grid(row_spacing=4, column_spacing=8, margin=8)
window.add(grid)
boxes = []
for index in range(int(option("boxes", "5"))):
    box = Gtk.Entry(width_chars=30)
    grid.attach(Gtk.Label(label="box %d" % index), 0, index, 1, 1)
    grid.attach(box, 1, index, 1, 1)
    boxes.append(box)


def write_state(*_):
    focus = next((str(i) for i, box in enumerate(boxes) if box.has_focus()), "none")
    lines = ["window=1", "focus=" + focus] + ["box%d=%s" % (i, box.get_text()) for i, box in enumerate(boxes)]
    part = state_path + ".part"
    with open(part, "w", encoding="utf-8") as file:
        file.write("\n".join(lines) + "\n")
    os.replace(part, state_path)
    return False


for box in boxes:
    if "--refuse-paste" in sys.argv:
        box.connect("paste-clipboard", lambda entry: entry.stop_emission_by_name("paste-clipboard"))
    box.connect("changed", write_state)
    box.connect("notify::has-focus", write_state)
window.connect("destroy", Gtk.main_quit)
window.show_all()
boxes[0].grab_focus()
GLib.idle_add(write_state)
Gtk.main()
