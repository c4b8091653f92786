"""Traditional Chinese running text from the documentation that Debian packages ship.

Only prose is read: HTML pages and manual pages. Message catalogs are never a source.
"""

import gzip
import html.parser
import re
from pathlib import Path

# The Han ranges that the input method treats as Han characters.
HAN = "\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaff\U00020000-\U000323af"
HAN_RUN = re.compile(f"[{HAN}]+")
# A number standing by itself (not part of a name such as x86 or a version such as 2.6.32), with
# the spaces around it: in the runs of number_lines it becomes NUMBER.
STANDALONE_NUMBER = re.compile(r"\s*(?<![\w.])\d+(?:\.\d+)?(?![\w.])\s*", re.ASCII)
NUMBER = "0"
# An English word standing by itself among Han characters (Tab 鍵, 用 GNOME 的), a name such as x86
# included but not a version such as 2.6.32 or a path: in the runs of number_lines it becomes ENGLISH.
STANDALONE_ENGLISH = re.compile(r"\s*(?<![\w.\-/])[A-Za-z][A-Za-z0-9]*(?![\w.\-/])\s*", re.ASCII)
ENGLISH = "A"
_MARK = "\0"  # where a number stood, while the digits of other names are still in the line
_ENGLISH_MARK = "\1"
_HAN_OR_MARK_RUN = re.compile(f"[{HAN}{_MARK}{_ENGLISH_MARK}]+")

BLOCK_TAGS = {"p", "div", "br", "li", "td", "th", "tr", "h1", "h2", "h3", "h4", "h5", "h6", "title",
              "pre", "dt", "dd", "table", "section", "blockquote", "caption"}
SKIPPED_TAGS = {"script", "style", "code", "tt", "kbd", "samp"}


class _HTMLText(html.parser.HTMLParser):
    """Visible text of a page, one line per block element; scripts, styles and code are dropped."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.parts = []
        self.skipping = 0

    def handle_starttag(self, tag, attrs):
        if tag in SKIPPED_TAGS:
            self.skipping += 1
        elif tag in BLOCK_TAGS:
            self.parts.append("\n")

    def handle_endtag(self, tag):
        if tag in SKIPPED_TAGS:
            self.skipping = max(0, self.skipping - 1)
        elif tag in BLOCK_TAGS:
            self.parts.append("\n")

    def handle_data(self, data):
        if not self.skipping:
            self.parts.append(data)


def html_text(raw):
    parser = _HTMLText()
    parser.feed(raw.decode("utf-8", errors="replace"))
    parser.close()
    return "".join(parser.parts)


_TROFF_ESCAPE = re.compile(r"\\(f(\[[^\]]*\]|\(..|.)|s[-+]?\d+|\(..|\[[^\]]*\]|[&/,:%|^!~0 -])")


def troff_text(raw):
    """Text of a manual page: comment lines dropped, request names dropped, inline escapes removed."""
    lines = []
    for line in raw.decode("utf-8", errors="replace").splitlines():
        if line.startswith(('.\\"', "'\\\"", '.\\\'')):
            continue
        if line.startswith((".", "'")):
            request = line.split(None, 1)
            line = request[1] if len(request) == 2 else ""
        lines.append(_TROFF_ESCAPE.sub("", line))
    return "\n".join(lines)


def page_text(path):
    """The prose of one documentation page (HTML or manual page); None for other files."""
    raw = path.read_bytes()
    name = path.name
    if name.endswith(".gz"):
        raw = gzip.decompress(raw)
        name = name[:-3]
    if name.endswith((".mo", ".po", ".gmo")):
        raise ValueError(f"message catalogs are no text source: {path}")
    if name.endswith(".html"):
        return html_text(raw)
    if "/man/" in path.as_posix():
        return troff_text(raw)
    return None


def source_pages(root, patterns):
    """The pages below `root` that match one of the glob patterns, in a fixed order."""
    pages = set()
    for pattern in patterns:
        pages.update(p for p in root.glob(pattern) if p.is_file())
    return sorted(pages)


def _distinct_runs(pages, runs_of):
    """The runs that `runs_of` finds in each line of the pages, once for each distinct list of runs.

    Pages repeat boilerplate (navigation, shared help sections); each distinct line counts once.
    """
    seen = set()
    for page in pages:
        text = page_text(page)
        if text is None:
            continue
        for line in text.splitlines():
            runs = runs_of(line)
            key = "\u3000".join(runs)
            if not runs or key in seen:
                continue
            seen.add(key)
            yield runs


def han_lines(pages):
    """The distinct lines of all pages, each reduced to its runs of Han characters."""
    return _distinct_runs(pages, HAN_RUN.findall)


def _han_and_number_runs(line):
    marked = STANDALONE_NUMBER.sub(_MARK, line.replace(_MARK, " ").replace(_ENGLISH_MARK, " "))
    marked = STANDALONE_ENGLISH.sub(_ENGLISH_MARK, marked)
    return [run.replace(_MARK, NUMBER).replace(_ENGLISH_MARK, ENGLISH)
            for run in _HAN_OR_MARK_RUN.findall(marked) if run.strip(_MARK + _ENGLISH_MARK)]


def number_lines(pages):
    """The distinct lines of all pages as runs of Han characters and the numbers and English words
    between them.

    Each number becomes the one character NUMBER and each English word the one character ENGLISH,
    so that a run reads 第0個 for 第 3 個 and A鍵 for Tab 鍵; runs without Han are dropped.
    """
    return _distinct_runs(pages, _han_and_number_runs)
