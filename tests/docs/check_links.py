#!/usr/bin/env python3
"""Checks every relative link of README.md, CHANGELOG.md and docs/*.md, pictures included: the
file it names must exist, and its anchor must be a heading of that Markdown file (GitHub's
anchors: lower case, spaces to hyphens, punctuation dropped, CJK kept, "-1", "-2" for repeats)
or an id of that HTML file.
Usage: check_links.py [repository root]; prints each broken link and exits 1 if any."""
import pathlib
import re
import sys
import urllib.parse

LINK = re.compile(r"!?\[(?:[^\[\]]|\[[^\]]*\])*\]\(\s*<?([^)\s>]+)>?(?:\s+\"[^\"]*\")?\s*\)")
REFERENCE = re.compile(r"^\s{0,3}\[[^\]]+\]:\s*<?(\S+?)>?(?:\s.*)?$")
HEADING = re.compile(r"^\s{0,3}(#{1,6})\s+(.*?)\s*#*\s*$")
FENCE = re.compile(r"^\s{0,3}(```|~~~)")


def prose_lines(text):
    """The numbered lines outside fenced code blocks, code spans left out."""
    fenced = False
    for number, line in enumerate(text.splitlines(), 1):
        if FENCE.match(line):
            fenced = not fenced
        elif not fenced:
            yield number, re.sub(r"`[^`]*`", "``", line)


def anchor(heading):
    text = re.sub(r"!?\[([^\]]*)\]\([^)]*\)", r"\1", heading)  # a link counts by its text
    text = re.sub(r"<[^>]+>", "", text).lower()
    text = re.sub(r"[^\w\- ]", "", text)  # \w keeps letters, digits, _ and CJK
    return text.replace(" ", "-")


CACHE = {}


def anchors(path, cache=CACHE):
    """The anchors a link may name in a Markdown or HTML file."""
    if path not in cache:
        text = path.read_text(encoding="utf-8")
        found = set()
        if path.suffix == ".md":
            seen = {}
            fenced = False
            for line in text.splitlines():
                if FENCE.match(line):
                    fenced = not fenced
                m = None if fenced else HEADING.match(line)
                if m:
                    base = anchor(m.group(2))
                    n = seen.get(base, 0)
                    seen[base] = n + 1
                    found.add(base if n == 0 else f"{base}-{n}")
        found |= set(re.findall(r"""\bid\s*=\s*["']([^"']+)["']""", text))
        cache[path] = found
    return cache[path]


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    pages = [root / "README.md", root / "CHANGELOG.md"] + sorted((root / "docs").glob("*.md"))
    broken = []
    for page in pages:
        for number, line in prose_lines(page.read_text(encoding="utf-8")):
            targets = LINK.findall(line) + REFERENCE.findall(line)
            for target in targets:
                if re.match(r"^[a-z][a-z0-9+.-]*:", target, re.I):
                    continue  # a web address, mailto: and the like
                name, _, fragment = urllib.parse.unquote(target).partition("#")
                file = (page.parent / name).resolve() if name else page
                where = f"{page.relative_to(root)}:{number}: ({target})"
                if not file.exists():
                    broken.append(f"{where}: no file {name}")
                elif fragment and file.suffix in (".md", ".html", ".htm"):
                    if fragment not in anchors(file):
                        broken.append(f"{where}: no anchor #{fragment} in {name or page.name}")
    for problem in broken:
        print(problem)
    print(f"{len(pages)} pages checked, {len(broken)} broken links")
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
