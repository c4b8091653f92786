"""A word-bigram model of running text, for the decoder's word layer, in the binary file it maps.

The text is segmented into the dictionary's words with the word costs of the final weighting (see
weights.py), and pairs of neighbouring words within a run of Han characters are counted. A number
standing between Han characters is one word of its own, "0" (corpus.NUMBER), so that the model also
says how likely a number is after a word (第 3, 為 0) and a word after a number (3 個, 90 度). The decoder
already scores each word by its probability alone, so the model stores only what the previous word
adds to it: log10 P(w | v) / P(w). P(w | v) is absolute discounting interpolated with the text's
word probabilities, P(w | v) = max(c(v w) - D, 0) / c(v) + lam(v) P(w) with lam(v) = D N(v) / c(v)
(N(v) the number of words seen after v, D = n1 / (n1 + 2 n2) from the pairs seen once and twice).
This is Kneser-Ney's discounting without its continuation counts: the decoder multiplies onto its
own word probabilities, so the lower order must be the words' probabilities, not how many contexts
they follow. Every pair seen is kept: the text is small enough that the file stays under 2 MB;
every other pair scores log10 lam(v). In so little text a pair not seen says little, so no figure
goes below log10 1/2: a frequent word followed by one it was never seen with loses at most that much.
Where that raises a context's unseen figure, its seen pairs are raised by as much, so that the pairs
seen after a frequent context (的, an English word) still differ among themselves and stay above the
pairs not seen; pairs with a number keep their plain figure (see lift).
A word the text never shows, or shows only at the end of its runs, is a context no pair was seen with
either, so what follows it gets that lowest figure too: otherwise a wrong homophone the text lacks (大加) would lose nothing to the word
the text has (大家), which every unseen follower costs.

The file, little-endian, every section aligned to 4 bytes:
  "KELVOBG2", then u32 word count W, pair count P, hash slots H (a power of two above W), string bytes S,
  f32 log10 P(w | v) / P(w) where v is no word of the model;
  W words: u32 string offset, u32 string length, u32 end of its pairs, f32 log10 lam(v);
  P pairs, each word's sorted by the following word: u32 following word, f32 log10 P(w | v) / P(w);
  H slots: u32 word index + 1 (0 empty), at FNV-1a of the word's UTF-8, probing linearly;
  S bytes of UTF-8 strings.
"""

import math
import re
import struct
from collections import defaultdict

import corpus
import weights

MAGIC = b"KELVOBG2"
# The lowest figure: no context makes a word less than half as likely as it is alone.
LOWEST_FIGURE = math.log10(0.5)


def segmented(run, cost, longest):
    """The words of a run, each number in it one word, NUMBER, and each English word one, ENGLISH."""
    words = []
    for piece in re.split(f"([{corpus.NUMBER}{corpus.ENGLISH}])", run):
        if piece in (corpus.NUMBER, corpus.ENGLISH):
            # Numbers side by side read as one (3 4), English words as the words they are (GNOME Shell).
            if not words or words[-1] != piece or piece == corpus.ENGLISH:
                words.append(piece)
        elif piece:
            words.extend(weights.segment(piece, cost, longest))
    return words


def count_pairs(lines, cost, longest):
    """Word counts and neighbouring-word pair counts of the segmented text."""
    words = defaultdict(int)
    pairs = defaultdict(int)
    for runs in lines:
        for run in runs:
            segmented_run = segmented(run, cost, longest)
            for word in segmented_run:
                words[word] += 1
            for previous, following in zip(segmented_run, segmented_run[1:]):
                pairs[(previous, following)] += 1
    return words, pairs


def model(words, pairs):
    """log10 lam(v) per context, and log10 P(w | v) / P(w) per pair."""
    seen_once = sum(1 for c in pairs.values() if c == 1)
    seen_twice = sum(1 for c in pairs.values() if c == 2)
    discount = seen_once / (seen_once + 2 * seen_twice)
    total = sum(words.values())
    followers = defaultdict(int)
    context_count = defaultdict(int)
    for (previous, _), count in pairs.items():
        followers[previous] += 1
        context_count[previous] += count
    backoff = {previous: discount * followers[previous] / count for previous, count in context_count.items()}
    kept = {}
    for (previous, following), count in pairs.items():
        p_word = words[following] / total
        p_pair = (count - discount) / context_count[previous] + backoff[previous] * p_word
        kept[(previous, following)] = max(math.log10(p_pair / p_word) + lift(previous, following, backoff),
                                          LOWEST_FIGURE)
    return {w: max(math.log10(lam), LOWEST_FIGURE) for w, lam in backoff.items()}, kept, discount


def lift(previous, following, backoff):
    """What a pair's figure is raised by where its context's unseen figure was raised to the lowest:
    as much, so that the pairs seen keep their order above it (A 已 against A 以). Not for numbers,
    whose figures weigh a number against the syllables its keys also spell: there a raised figure
    would read 八進位 as 18 進位."""
    if corpus.NUMBER in (previous, following):
        return 0.0
    return max(0.0, LOWEST_FIGURE - math.log10(backoff[previous]))


def fnv1a(data):
    value = 0x811C9DC5
    for byte in data:
        value = ((value ^ byte) * 0x01000193) & 0xFFFFFFFF
    return value


def encode(backoff, kept):
    """The binary file of a model; the same model always gives the same bytes."""
    vocabulary = sorted(set(backoff) | {w for _, w in kept})
    index = {w: i for i, w in enumerate(vocabulary)}
    following = defaultdict(list)
    for (previous, word), bonus in kept.items():
        following[previous].append((index[word], bonus))
    strings = bytearray()
    word_rows = bytearray()
    pair_rows = bytearray()
    pair_count = 0
    for word in vocabulary:
        data = word.encode("utf-8")
        for next_index, bonus in sorted(following.get(word, [])):
            pair_rows += struct.pack("<If", next_index, bonus)
            pair_count += 1
        word_rows += struct.pack("<IIIf", len(strings), len(data), pair_count, backoff.get(word, LOWEST_FIGURE))
        strings += data
    slots = 1
    while slots < 2 * len(vocabulary):
        slots *= 2
    table = [0] * slots
    for i, word in enumerate(vocabulary):
        slot = fnv1a(word.encode("utf-8")) & (slots - 1)
        while table[slot]:
            slot = (slot + 1) & (slots - 1)
        table[slot] = i + 1
    strings += b"\0" * (-len(strings) % 4)
    header = MAGIC + struct.pack("<IIIIf", len(vocabulary), pair_count, slots, len(strings), LOWEST_FIGURE)
    return bytes(header + word_rows + pair_rows + struct.pack(f"<{slots}I", *table) + strings)


def build(lines, cost, longest):
    """The model file's bytes and what to say of it."""
    words, pairs = count_pairs(lines, cost, longest)
    backoff, kept, discount = model(words, pairs)
    summary = (f"{sum(words.values())} words of text, {len(words)} distinct, {len(pairs)} pairs seen, "
               f"{len(backoff)} contexts and {len(kept)} pairs kept, D = {discount:.3f}")
    return encode(backoff, kept), summary
