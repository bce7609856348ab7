#!/usr/bin/env python3
"""Checks every #include under src/ against the page's layer diagram.

docs/architecture.md draws the layers as a mermaid flowchart whose nodes are
labelled with their folder ("src/music") and whose arrows point from a layer
to one it may use. A layer may use what its arrows reach, directly or through
other layers, and itself; any other #include "folder/..." is an arrow the
picture does not allow, and this check names it with its file and line. A
folder under src/ that the picture does not draw fails too, so the picture
cannot fall behind the tree.

Usage: check_layers.py SOURCE_DIR PAGE
"""
import pathlib
import re
import sys

HEADING = "## Layers and folders"
# A node's label starts with its folder: src/music, or tools/songc for a
# tool's library that src/ code includes as "songc/...".
NODE_RE = re.compile(r'(\w+)\["(?:src|tools)/(\w+)')
EDGE_RE = re.compile(r"(\w+)(?:\[[^\]]*\])?\s*-->\s*(\w+)")
INCLUDE_RE = re.compile(r'^\s*#\s*include\s*"(\w+)/')


def diagram(page_text):
    """The (folder -> folders it may name directly) arrows of the diagram."""
    section = page_text.split(HEADING, 1)
    if len(section) < 2:
        raise ValueError(f'no section "{HEADING}"')
    block = re.search(r"```mermaid\n(.*?)```", section[1], flags=re.S)
    if not block:
        raise ValueError(f'no mermaid block under "{HEADING}"')
    text = block.group(1)
    folders = {node: folder for node, folder in NODE_RE.findall(text)}
    arrows = {folder: set() for folder in folders.values()}
    for line in text.splitlines():
        for source, target in EDGE_RE.findall(line):
            if source not in folders or target not in folders:
                raise ValueError(f"arrow between nodes without a src/ label: {line.strip()}")
            arrows[folders[source]].add(folders[target])
    return arrows


def reachable(arrows):
    allowed = {}
    for start in arrows:
        seen = {start}
        todo = [start]
        while todo:
            for nxt in arrows[todo.pop()]:
                if nxt not in seen:
                    seen.add(nxt)
                    todo.append(nxt)
        allowed[start] = seen
    return allowed


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    root = pathlib.Path(argv[1])
    try:
        arrows = diagram(pathlib.Path(argv[2]).read_text(encoding="utf-8"))
    except ValueError as error:
        print(f"{argv[2]}: {error}")
        return 1
    allowed = reachable(arrows)
    problems = []
    for folder in sorted(p.name for p in (root / "src").iterdir() if p.is_dir()):
        if folder not in allowed:
            problems.append(f"src/{folder}: a layer the diagram does not draw")
    checked = 0
    for path in sorted((root / "src").rglob("*")):
        if path.suffix not in (".cpp", ".h") or not path.is_file():
            continue
        layer = path.relative_to(root / "src").parts[0]
        if layer not in allowed:
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            m = INCLUDE_RE.match(line)
            if not m:
                continue
            checked += 1
            used = m.group(1)
            if used not in allowed[layer]:
                problems.append(f"{path.relative_to(root)}:{number}: src/{layer} may not use "
                                f"src/{used} (no arrow in the diagram)")
    for line in problems:
        print(line)
    print(f"{checked} includes checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
