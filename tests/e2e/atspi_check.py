# SPDX-License-Identifier: MIT
# What a screen reader finds of the running program on the accessibility bus: a name on every
# button, label and text box, "笑い系" a push button that can be pressed, and the chosen face
# read out once a face is chosen.
# usage: atspi_check.py names | press | chosen FACE
import sys
import time

import pyatspi


def application(name, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    sys.exit(f"no application {name} on the accessibility bus")


def nodes(node):
    yield node
    for child in node:
        if child is not None:
            yield from nodes(child)


def main():
    app = application("picora3")
    everything = list(nodes(app))
    if sys.argv[1] == "names":
        named_roles = {"push button", "label", "text"}
        controls = [n for n in everything if n.getRoleName() in named_roles]
        unnamed = [n.getRoleName() for n in controls if not n.name]
        if len(controls) < 11 or unnamed:
            sys.exit(f"{len(controls)} controls, unnamed: {unnamed}")
    elif sys.argv[1] == "press":
        buttons = [n for n in everything if n.getRoleName() == "push button" and n.name == "笑い系"]
        if len(buttons) != 1:
            sys.exit("no push button named 笑い系")
        action = buttons[0].queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        action.doAction(names.index("Press") if "Press" in names else 0)
    elif sys.argv[1] == "chosen":
        wanted = "選んだ顔：" + sys.argv[2]
        deadline = time.time() + 10
        while not any(n.getRoleName() == "label" and n.name == wanted for n in nodes(app)):
            if time.time() > deadline:
                sys.exit(f"no label reads {wanted}")
            time.sleep(0.1)
    print(f"accessibility {sys.argv[1]}: passed")


main()
