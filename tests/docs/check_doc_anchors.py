#!/usr/bin/env python3
"""Checks that a page's code anchors still exist in the tree.

A page such as docs/architecture.md names files (`src/music/SoundOutput.cpp`)
and functions (`SoundOutput::run`) in backticks. When code moves, the page
goes stale without anyone noticing; this check fails instead, naming each
anchor it could not find.

Usage: check_doc_anchors.py SOURCE_DIR PAGE...
"""
import pathlib
import re
import sys

SOURCE_SUFFIXES = (".cpp", ".h")
PATH_RE = re.compile(r"^[\w.+-]+(/[\w.+-]+)+/?$")
# Class::member, optionally with a call's parentheses: `Synth::render()`.
MEMBER_RE = re.compile(r"^((?:[A-Z]\w*::)+)(~?\w+)(\(\))?$")


def code_text(root):
    texts = {}
    for folder in ("src", "tools"):
        for path in (root / folder).rglob("*"):
            if path.suffix in SOURCE_SUFFIXES and path.is_file():
                texts[path] = path.read_text(encoding="utf-8", errors="replace")
    return texts


def member_defined(texts, scope, member):
    cls = scope.rstrip(":").split("::")[-1]
    # A definition outside the class (Class::member() or Class::member(...) {)
    # or a declaration inside a header that declares the class.
    outside = re.compile(re.escape(scope) + re.escape(member) + r"\b")
    inside = re.compile(r"\b" + re.escape(member) + r"\s*\(")
    declares = re.compile(r"\b(class|struct)\s+" + re.escape(cls) + r"\b[^;]*\{")
    for path, text in texts.items():
        if outside.search(text):
            return True
        if path.suffix == ".h" and declares.search(text) and inside.search(text):
            return True
    return False


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    root = pathlib.Path(argv[1])
    texts = code_text(root)
    missing = []
    anchors = 0
    for page in argv[2:]:
        text = pathlib.Path(page).read_text(encoding="utf-8")
        # Fenced blocks hold diagrams, not anchors.
        text = re.sub(r"```.*?```", "", text, flags=re.S)
        for name in re.findall(r"`([^`\n]+)`", text):
            name = name.strip()
            if PATH_RE.match(name) and (name.endswith("/") or "." in name.rsplit("/", 1)[-1]):
                anchors += 1
                if not (root / name).exists():
                    missing.append(f"{page}: no file or folder {name}")
                continue
            m = MEMBER_RE.match(name)
            if m:
                anchors += 1
                if not member_defined(texts, m.group(1), m.group(2)):
                    missing.append(f"{page}: no function {name}")
    for line in missing:
        print(line)
    print(f"{anchors} anchors checked, {len(missing)} missing")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
