#!/usr/bin/env python3
"""Checks the layering of the core in src/.

The layers and the layers each one links are read from src/CMakeLists.txt (the velk_layer
calls). Every quoted include "<folder>/..." in a layer must name the layer itself or one it
reaches through its links; a layer of `intended` reaches no more than its entry there; the
core never includes Qt or the window (gui/, app/); every folder of src/ is a layer; the window
includes nothing of dialogs/ but the caption tables. Exit code 0 when all of that holds, 1 with
one line per violation otherwise. With --graph it prints the include graph of src/ as arrows
between folders instead.
"""
import pathlib
import re
import sys

args = [a for a in sys.argv[1:] if a != "--graph"]
graph = "--graph" in sys.argv[1:]
src = pathlib.Path(args[0] if args else pathlib.Path(__file__).resolve().parents[2] / "src")

declared = {}
for m in re.finditer(r"^\s*velk_layer\((\w+)([^)]*)\)", (src / "CMakeLists.txt").read_text(), re.M):
    declared[m.group(1)] = m.group(2).split()

problems = []
for layer, deps in declared.items():
    for d in deps:
        if d not in declared:
            problems.append(f"{layer}: links {d}, which is no layer")


def reach(layer):
    seen, todo = set(), list(declared.get(layer, []))
    while todo:
        d = todo.pop()
        if d not in seen:
            seen.add(d)
            todo.extend(declared.get(d, []))
    return seen


closure = {layer: reach(layer) for layer in declared}

# The layers that stand apart from the chain: what each may reach at most, whatever it links.
# The engines stand apart: the drawing layer and the dBASE engine on the bottom layers alone, the
# calculation on the document alone, the report writer on the calculation and the settings; none of
# them sees the user-interface port, the dialogs or the session.
intended = {
    "draw": {"data", "platform", "base"},
    "dbf": {"platform", "base"},
    "calc": {"data", "platform", "base"},
    "report": {"calc", "config", "dbf", "data", "platform", "base"},
}
for layer, most in intended.items():
    if layer not in closure:
        problems.append(f"{layer}: no such layer")
        continue
    for extra in sorted(closure[layer] - most):
        problems.append(f"{layer}: reaches {extra}, which it must not see")
for layer, below in closure.items():
    if layer in below:
        problems.append(f"{layer}: its links lead back to itself")

include = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
for folder in sorted(p for p in src.iterdir() if p.is_dir()):
    sources = sorted(f for f in folder.rglob("*") if f.suffix in (".h", ".cpp"))
    if not sources:
        continue
    if folder.name not in declared:
        problems.append(f"{folder.name}: folder of src/ without a layer")
        continue
    allowed = closure[folder.name] | {folder.name}
    for f in sources:
        for kind, target in include.findall(f.read_text(errors="replace")):
            top = target.split("/")[0]
            rel = f.relative_to(src)
            if kind == "<" and (top.startswith("Q") or top.startswith("qt")):
                problems.append(f"{rel}: includes Qt ({target})")
            elif kind == '"' and top in ("gui", "app"):
                problems.append(f"{rel}: includes the window ({target})")
            elif kind == '"' and "/" in target and top in declared and top not in allowed:
                problems.append(f"{rel}: includes {target}, above its layer {folder.name}")

# The window sees the user-interface port (ui/) and, of the form logic in dialogs/, only the
# caption tables.
gui = src.parent / "gui"
if gui.is_dir():
    for f in sorted(p for p in gui.rglob("*") if p.suffix in (".h", ".cpp")):
        for kind, target in include.findall(f.read_text(errors="replace")):
            if kind == '"' and target.startswith("dialogs/") and target != "dialogs/captions.h":
                problems.append(f"gui/{f.relative_to(gui)}: includes {target}; the window sees ui/")

if graph:
    arrows = set()
    for folder in sorted(p for p in src.iterdir() if p.is_dir()):
        for f in folder.rglob("*"):
            if f.suffix in (".h", ".cpp"):
                for kind, target in include.findall(f.read_text(errors="replace")):
                    top = target.split("/")[0]
                    if kind == '"' and "/" in target and top in declared and top != folder.name:
                        arrows.add((folder.name, top))
    for a, b in sorted(arrows):
        print(f"{a} -> {b}")
    sys.exit(0)

for p in problems:
    print(p)
print(f"{len(declared)} layers, {len(problems)} violation(s)")
sys.exit(1 if problems else 0)
