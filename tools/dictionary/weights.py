"""Estimates a score for every (reading, word) of the phrase dictionary from running text.

The text is segmented into the dictionary's words by maximum probability (twice: first preferring the
fewest words, then with the probabilities that the first pass gave), words are counted, corpus counts
are blended with the dictionary's own phrase frequencies, and a word's probability is split across its
readings. Scores are log10 probabilities of a word among all words of the text.
"""

import math
from collections import defaultdict

# How much of a phrase's probability comes from the text's counts; the rest from the dictionary's
# own phrase frequencies.
CORPUS_WEIGHT = 0.5
# Counts given to a word that occurs neither in the text nor with a frequency in the dictionary; a
# single character also loses a little per rank it stands behind others of its reading.
UNSEEN_COUNT = 0.5
UNSEEN_RANK_DECAY = 0.97
# Added to every reading of a character before its occurrences in phrases are counted, so that a
# reading no phrase uses still gets a share.
READING_PRIOR = 1.0


class Dictionary:
    """The phrase dictionary: per word its readings with their frequencies, in file order."""

    def __init__(self, entries):
        self.readings = defaultdict(dict)  # word -> {reading tuple: frequency}
        self.rank = {}  # (word, reading) -> position among the words of the reading, file order
        next_rank = defaultdict(int)
        for reading, word, frequency in entries:
            known = self.readings[word]
            if reading not in known:
                self.rank[(word, reading)] = next_rank[reading]
                next_rank[reading] += 1
            known[reading] = max(known.get(reading, 0), frequency)
        self.longest = max(len(word) for word in self.readings)

    def phrase_frequency(self, word):
        return sum(self.readings[word].values())


def segment(run, cost, longest):
    """The words of `run` with the lowest total cost; a character not in `cost` stands alone."""
    n = len(run)
    best = [0.0] + [math.inf] * n
    back = [0] * (n + 1)
    for end in range(1, n + 1):
        for start in range(max(0, end - longest), end):
            word = run[start:end]
            word_cost = cost.get(word)
            if word_cost is None:
                if end - start > 1:
                    continue
                word_cost = cost[None]
            total = best[start] + word_cost
            if total < best[end]:
                best[end] = total
                back[end] = start
    words = []
    end = n
    while end > 0:
        words.append(run[back[end]:end])
        end = back[end]
    words.reverse()
    return words


def count_words(lines, cost, longest):
    counts = defaultdict(int)
    for runs in lines:
        for run in runs:
            for word in segment(run, cost, longest):
                counts[word] += 1
    return counts


def fewest_words_cost(dictionary):
    """First pass: every word costs about the same; among equal counts higher frequency wins."""
    top = max(dictionary.phrase_frequency(w) for w in dictionary.readings) + 1
    cost = {None: 1.0}
    for word in dictionary.readings:
        frequency = dictionary.phrase_frequency(word) if len(word) > 1 else 0
        cost[word] = 1.0 + 0.01 * math.log10(top / (frequency + 1))
    return cost


def word_probabilities(dictionary, counts):
    """Probability of each dictionary word among the words of the text, blended and smoothed."""
    total = sum(counts.values())
    phrase_tokens = sum(c for w, c in counts.items() if len(w) > 1)
    phrase_share = phrase_tokens / total
    frequency_total = sum(dictionary.phrase_frequency(w) for w in dictionary.readings if len(w) > 1)
    probabilities = {}
    for word in dictionary.readings:
        corpus = counts.get(word, 0) / total
        if len(word) > 1:
            listed = dictionary.phrase_frequency(word) / frequency_total * phrase_share
            p = CORPUS_WEIGHT * corpus + (1 - CORPUS_WEIGHT) * listed
        else:
            p = corpus
        if p == 0:
            rank = min(dictionary.rank[(word, r)] for r in dictionary.readings[word])
            p = UNSEEN_COUNT / total * UNSEEN_RANK_DECAY ** rank
        probabilities[word] = p
    return probabilities


def probability_cost(probabilities):
    cost = {None: -math.log10(min(probabilities.values()))}
    cost.update((word, -math.log10(p)) for word, p in probabilities.items())
    return cost


def character_reading_shares(dictionary, probabilities):
    """How a character's probability splits over its readings: by how often, weighted by use, each
    reading of the character occurs inside the dictionary's phrases."""
    weight = defaultdict(float)
    for word, readings in dictionary.readings.items():
        if len(word) < 2:
            continue
        uses = 1.0 + probabilities[word] * 1e6
        for reading in readings:
            if len(reading) != len(word):
                continue
            for character, syllable in zip(word, reading):
                weight[(character, syllable)] += uses
    shares = {}
    for word, readings in dictionary.readings.items():
        if len(word) != 1:
            continue
        raw = {r: READING_PRIOR + weight.get((word, r[0]), 0.0) for r in readings}
        total = sum(raw.values())
        shares[word] = {r: v / total for r, v in raw.items()}
    return shares


def phrase_reading_shares(readings):
    total = sum(f + 1 for f in readings.values())
    return {r: (f + 1) / total for r, f in readings.items()}


def scores(dictionary, lines):
    """log10 probability of every (reading, word) of the dictionary."""
    lines = list(lines)
    first = count_words(lines, fewest_words_cost(dictionary), dictionary.longest)
    second = count_words(lines, probability_cost(word_probabilities(dictionary, first)), dictionary.longest)
    probabilities = word_probabilities(dictionary, second)
    character_shares = character_reading_shares(dictionary, probabilities)
    result = {}
    for word, readings in dictionary.readings.items():
        shares = character_shares[word] if len(word) == 1 else phrase_reading_shares(readings)
        for reading, share in shares.items():
            result[(reading, word)] = math.log10(probabilities[word] * share)
    return result, second
