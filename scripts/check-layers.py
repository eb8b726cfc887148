#!/usr/bin/env python3
"""Folders are floors: a source file includes only its own floor or the floors below it,
the engine's folders include no Qt, and no window family includes another one's headers
(only the application and its window registry, directly under src/gui, know every window).

Prints each include that breaks a rule and exits 1; exits 0 when there is none."""
import pathlib
import re
import sys

FLOORS = {"base": 0, "config": 1, "tariff": 2, "alerts": 2, "dialup": 2, "history": 2,
          "desktop": 2, "meter": 3, "gui": 4}
# Pieces every window may use: message boxes, the toolbar builder, menu commands.
SHARED_GUI = {"common"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def problems(src):
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or path.parent == src:
            continue
        rel = path.relative_to(src).parts
        floor, family = rel[0], (rel[1] if rel[0] == "gui" and len(rel) > 2 else None)
        if floor not in FLOORS:
            yield f"{path}: folder '{floor}' has no floor; add it to {__file__}"
            continue
        for kind, name in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            parts = name.split("/")
            if kind == "<" and floor != "gui" and re.match(r"Q[A-Za-z]*$", parts[0]):
                yield f"{path}: includes <{name}>, Qt in an engine folder"
            if kind != '"' or parts[0] not in FLOORS:
                continue
            if FLOORS[parts[0]] > FLOORS[floor]:
                yield f"{path}: includes \"{name}\", a higher floor"
            elif family and parts[0] == "gui" and len(parts) > 2 \
                    and parts[1] not in SHARED_GUI | {family}:
                yield f"{path}: includes \"{name}\", another window family's header"


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "src")
    found = list(problems(src))
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
