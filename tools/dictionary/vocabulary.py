"""English words with estimated frequencies: general English from SCOWL's size-graded lists, technical
words with counts from English documentation.

SCOWL grades its words by size: a word first listed at a smaller size is more common. Words are
ranked by that size and given a Zipf probability, 0.1 / rank, at the middle rank of their size
class. Documentation gives counts of running words; its probability is count / total. The two are
blended half and half, as the Chinese dictionary blends its sources.
"""

import math
import re
from collections import Counter

# SCOWL sizes up to this one: beyond it the lists hold rare and archaic words.
LARGEST_SIZE = 70
# The lists read at each size: American and common English words, abbreviations, upper-case words
# and proper names, and the hacker list.
LIST_NAMES = ("english-words", "american-words", "english-upper", "american-upper",
              "english-abbreviations", "american-abbreviations", "english-proper-names",
              "american-proper-names", "special-hacker")
# A word of the documentation counts from this many occurrences on.
SHORTEST_COUNT = 3
LONGEST_WORD = 24

WORD = re.compile(r"[A-Za-z][A-Za-z0-9]*")


def usable(word):
    """A word typed on the letter keys: ASCII letters (digits after the first), 2 to 24 long, or "a"
    and "i"."""
    return (word in ("a", "i") or 2 <= len(word) <= LONGEST_WORD) and WORD.fullmatch(word) is not None


def graded_words(lists):
    """The smallest size at which each usable word appears, lower-cased; `lists` maps a size to the
    lines of that size's lists."""
    size_of = {}
    for size in sorted(lists):
        for line in lists[size]:
            word = line.strip().lower()
            if usable(word) and word not in size_of:
                size_of[word] = size
    return size_of


def graded_probabilities(size_of):
    """Each word's Zipf probability at the middle rank of its size class."""
    per_size = Counter(size_of.values())
    middle_rank = {}
    before = 0
    for size in sorted(per_size):
        middle_rank[size] = before + (per_size[size] + 1) / 2
        before += per_size[size]
    return {word: 0.1 / middle_rank[size] for word, size in size_of.items()}


def document_counts(texts):
    """Lower-cased counts of the usable running words of `texts`; each distinct line counts once,
    as pages repeat their navigation and boilerplate."""
    counts = Counter()
    seen = set()
    for text in texts:
        for line in text.splitlines():
            line = line.strip()
            if not line or line in seen:
                continue
            seen.add(line)
            counts.update(w.lower() for w in WORD.findall(line) if usable(w.lower()))
    return counts


def scores(graded, counts):
    """log10 of the blended probability of every graded word and every documented word counted at
    least SHORTEST_COUNT times."""
    total = sum(counts.values()) or 1
    documented = {w: c / total for w, c in counts.items() if c >= SHORTEST_COUNT}
    result = {}
    for word in graded.keys() | documented.keys():
        probability = 0.5 * graded.get(word, 0.0) + 0.5 * documented.get(word, 0.0)
        result[word] = math.log10(probability)
    return result


def vocabulary_lines(word_scores):
    """One line per word, "word score", sorted by word."""
    return [f"{word} {word_scores[word]:.3f}\n" for word in sorted(word_scores)]
