"""Reads the phrase dictionary of libchewing's data files (index_tree.dat and dictionary.dat)."""

import struct

INITIALS = "ㄅㄆㄇㄈㄉㄊㄋㄌㄍㄎㄏㄐㄑㄒㄓㄔㄕㄖㄗㄘㄙ"
MEDIALS = "ㄧㄨㄩ"
FINALS = "ㄚㄛㄜㄝㄞㄟㄠㄡㄢㄣㄤㄥㄦ"
# Tone codes in the file: 0 first tone, 1 neutral, 2 to 4 the second to fourth tones.
TONE_MARKS = {0: "", 1: "˙", 2: "ˊ", 3: "ˇ", 4: "ˋ"}


def canonical_syllable(code):
    """The canonical form of one syllable code: letters, then the tone mark (none for the first tone).

    A code with no letters is no syllable (the file lists the bare tone marks under such codes): None.
    """
    initial = (code >> 9) & 0x1F
    medial = (code >> 7) & 0x3
    final = (code >> 3) & 0xF
    tone = code & 0x7
    if initial > len(INITIALS) or final > len(FINALS) or tone not in TONE_MARKS:
        raise ValueError(f"syllable code {code:#06x} is out of range")
    text = ""
    if initial:
        text += INITIALS[initial - 1]
    if medial:
        text += MEDIALS[medial - 1]
    if final:
        text += FINALS[final - 1]
    if not text:
        return None
    return text + TONE_MARKS[tone]


def read_phrases(index_tree, dictionary):
    """Yields (syllables, phrase, frequency) for every leaf, in the file's order (depth first).

    Subtrees under a code that is no syllable are left out.
    """
    def u24(raw, offset):
        return raw[offset] | (raw[offset + 1] << 8) | (raw[offset + 2] << 16)

    def node(i):
        base = i * 8
        key = index_tree[base] | (index_tree[base + 1] << 8)
        return key, u24(index_tree, base + 2), u24(index_tree, base + 5)

    def text_at(offset):
        end = dictionary.index(b"\0", offset)
        return dictionary[offset:end].decode("utf-8")

    stack = [(0, ())]
    while stack:
        index, reading = stack.pop()
        _, begin, end = node(index)
        children = []
        for child in range(begin, end):
            key, a, b = node(child)
            if key == 0:
                yield reading, text_at(a), b
            else:
                syllable = canonical_syllable(key)
                if syllable is not None:
                    children.append((child, reading + (syllable,)))
        stack.extend(reversed(children))
