"""Checks that the source folders depend on each other one way only.

Each folder of src/ may include from itself and from the folders below it:

    platform, gl_over_webgl, geometry  <  view  <  terrain  <  actions  <  app

and inside a folder no two units (a header with its source file) include
each other, directly or round a longer circle. Prints every offending
include and exits non-zero when there is one.
"""

import os
import re
import sys

LAYERS = {"platform": 0, "gl_over_webgl": 0, "geometry": 0, "view": 1, "terrain": 2, "actions": 3, "app": 4}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def units(src):
    """{unit: set of units it includes}, a unit being a path under src without its extension."""
    graph = {}
    for folder, _, files in os.walk(src):
        for name in files:
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder, name)
            unit = os.path.splitext(os.path.relpath(path, src))[0]
            with open(path, encoding="utf-8") as f:
                found = {os.path.splitext(i)[0] for i in INCLUDE.findall(f.read())}
            graph.setdefault(unit, set()).update(found - {unit})
    return graph


def layer_faults(graph):
    faults = []
    for unit, includes in sorted(graph.items()):
        top = unit.split("/")[0]
        for included in sorted(includes):
            other = included.split("/")[0]
            if other in LAYERS and top in LAYERS and LAYERS[other] > LAYERS[top]:
                faults.append("%s includes %s, from a folder above it" % (unit, included))
    return faults


def circles(graph):
    """Every circle of includes among the units, each as a list that starts and ends on the same unit."""
    found, state, path = [], {}, []

    def visit(unit):
        state[unit] = "open"
        path.append(unit)
        for nxt in sorted(graph.get(unit, ())):
            if nxt not in graph:
                continue
            if state.get(nxt) == "open":
                found.append(path[path.index(nxt):] + [nxt])
            elif nxt not in state:
                visit(nxt)
        path.pop()
        state[unit] = "done"

    for unit in sorted(graph):
        if unit not in state:
            visit(unit)
    return found


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "src")
    graph = units(src)
    faults = layer_faults(graph) + ["circle: " + " -> ".join(c) for c in circles(graph)]
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
