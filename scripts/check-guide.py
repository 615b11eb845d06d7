#!/usr/bin/env python3
"""Checks the user guide's HTML pages, English and Chinese, as CI does.

    scripts/check-guide.py [GUIDE_DIR]        (default: docs/guide)

Every page must pass tidy without a warning, and beyond what a validator sees:
- a picture's caption is its alt text, whole (no bracket left open), and nothing stray
  follows it;
- no bare text stands between the paragraphs of a page, and no line break between two Chinese
  characters, which a browser shows as a space;
- every link and picture points at a file that is there;
- the compiled help's project lists every page, and every file it lists is there;
- the Chinese pages are the English ones, page for page and picture for picture, each
  picture in its Chinese version where one was made (and a Chinese picture shown for contrast
  in its English version).
"""

import configparser
import html.parser
import pathlib
import re
import shutil
import subprocess
import sys

# An empty <span> is a colour swatch, not a fault.
TIDY = ["tidy", "-q", "-e", "-utf8", "--gnu-emacs", "yes", "--drop-empty-elements", "no"]
VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source",
        "track", "wbr"}
# Text may stand directly in these; anywhere else it belongs in a paragraph, list or table.
TEXT_HOLDERS = {"p", "li", "td", "th", "pre", "h1", "h2", "h3", "h4", "title", "a", "b", "i",
                "code", "kbd", "span", "em", "strong", "dt", "dd", "caption", "style", "script"}


def squeeze(text):
    return " ".join(text.split())


class Page(html.parser.HTMLParser):
    """What the checks need of one page: its language, links, pictures with their captions and
    the places where bare text stands."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.lang = None
        self.links = []
        self.shots = []  # [alt, src, caption or None, line]
        self.stray = []  # (line, text)
        self.open = []
        self.caption = None  # the caption paragraph being read
        self.expect_caption = False

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "html":
            self.lang = attrs.get("lang")
        for name in ("href", "src"):
            if name in attrs:
                self.links.append((attrs[name], self.getpos()[0]))
        if tag == "img" and "shot" in (attrs.get("class") or "").split():
            self.shots.append([attrs.get("alt") or "", attrs.get("src"), None, self.getpos()[0]])
            self.expect_caption = True
        elif tag == "p" and self.expect_caption:
            self.expect_caption = False
            if attrs.get("class") == "caption":
                self.caption = []
        if tag not in VOID:
            self.open.append(tag)

    def handle_endtag(self, tag):
        if tag in VOID:
            return
        while self.open:
            if self.open.pop() == tag:
                break
        if tag == "p" and self.caption is not None:
            self.shots[-1][2] = squeeze("".join(self.caption))
            self.caption = None

    def handle_data(self, data):
        if self.caption is not None:
            self.caption.append(data)
        if data.strip() and (not self.open or self.open[-1] not in TEXT_HOLDERS):
            self.stray.append((self.getpos()[0], squeeze(data)))


def balanced(text):
    depth = 0
    for char in text:
        depth += {"(": 1, ")": -1, "（": 1, "）": -1}.get(char, 0)
        if depth < 0:
            return False
    return depth == 0


def read_page(path):
    page = Page()
    page.feed(path.read_text(encoding="utf-8"))
    page.close()
    return page


def check_page(path, lang, faults):
    rel = path.as_posix()
    tidy = subprocess.run(TIDY + [str(path)], capture_output=True, text=True)
    report = (tidy.stdout + tidy.stderr).strip()
    if tidy.returncode != 0 or report:
        faults.append(f"{rel}: tidy:\n{report}")
    page = read_page(path)
    if lang == "zh-CN":
        # A browser shows a line break between two Chinese characters as a space.
        text = re.sub(r"<pre>.*?</pre>", "", path.read_text(encoding="utf-8"), flags=re.S)
        for match in re.finditer(r"[^\x00-\x7f]\n\s*[^\x00-\x7f]", text):
            line = text.count("\n", 0, match.start()) + 1
            faults.append(f"{rel}:{line}: a line break between Chinese characters shows as a space")
    if page.lang != lang:
        faults.append(f'{rel}: <html lang="{page.lang}">, not "{lang}"')
    for alt, src, caption, line in page.shots:
        if not alt.strip():
            faults.append(f"{rel}:{line}: the picture {src} has no alt text")
        elif caption is None:
            faults.append(f'{rel}:{line}: the picture {src} has no <p class="caption"> after it')
        elif caption != squeeze(alt):
            faults.append(f'{rel}:{line}: caption "{caption}" is not the alt text "{alt}"')
        elif not balanced(alt):
            # A model's name has brackets: a caption cut inside one is cut short.
            faults.append(f'{rel}:{line}: the caption "{alt}" is cut inside a bracket')
    for line, text in page.stray:
        faults.append(f'{rel}:{line}: stray text outside a paragraph: "{text}"')
    for target, line in page.links:
        if re.match(r"[a-z]+:", target) or target.startswith("#"):
            continue
        if not (path.parent / target.split("#")[0]).is_file():
            faults.append(f"{rel}:{line}: {target} is not there")
    return page


def counterpart(folder, src):
    """The picture a Chinese page in `folder` shows where the English page shows `src`: the
    Chinese window's where one was made, and the English window's where the English page shows
    the Chinese one for contrast."""
    local = pathlib.PurePosixPath("..") / src
    if local.stem.endswith("-zh"):
        other = local.with_name(local.stem[:-3] + local.suffix)
    else:
        other = local.with_name(local.stem + "-zh" + local.suffix)
    return str(other if (folder / other).is_file() else local)


def check_help_project(guide, pages, faults):
    project = configparser.ConfigParser(allow_no_value=True, delimiters=("=",))
    project.optionxform = str
    project.read(guide / "Quillo.hhp", encoding="utf-8")
    listed = {name.replace("\\", "/") for name in project["FILES"]}
    for name in sorted(listed):
        if not (guide / name).is_file():
            faults.append(f"Quillo.hhp lists {name}, which is not there")
    contents = (guide / "Quillo.hhc").read_text(encoding="utf-8")
    for page in pages:
        name = page.relative_to(guide).as_posix()
        if name not in listed:
            faults.append(f"Quillo.hhp does not list {name}")
    for name in re.findall(r'name="Local" value="([^"]+)"', contents):
        if name not in listed:
            faults.append(f"Quillo.hhc names {name}, which Quillo.hhp does not list")


def main():
    guide = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "docs/guide")
    if not shutil.which("tidy"):
        sys.exit("check-guide: tidy is missing (scripts/install-deps.sh)")
    faults = []
    english = sorted(guide.glob("*.html"))
    chinese = sorted((guide / "zh-CN").glob("*.html"))
    shots = {}
    for path in english:
        shots[path.name] = [src for _, src, _, _ in check_page(path, "en", faults).shots]
    for path in chinese:
        page = check_page(path, "zh-CN", faults)
        if path.name not in shots:
            faults.append(f"{path.as_posix()}: there is no English page {path.name}")
            continue
        wanted = [counterpart(path.parent, src) for src in shots[path.name]]
        found = [src for _, src, _, _ in page.shots]
        if found != wanted:
            faults.append(f"{path.as_posix()}: pictures {found}, not those of the English page"
                          f" (in their Chinese versions where there are some): {wanted}")
    for name in sorted(set(shots) - {p.name for p in chinese}):
        faults.append(f"zh-CN/{name} is missing: the English page has no Chinese one")
    check_help_project(guide, english + chinese, faults)
    for fault in faults:
        print(f"check-guide: {fault}", file=sys.stderr)
    if faults:
        sys.exit(1)
    print(f"check-guide: {len(english)} English and {len(chinese)} Chinese pages are well-formed")


if __name__ == "__main__":
    main()
