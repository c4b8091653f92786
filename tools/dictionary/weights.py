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
# The part of a character's expected uses inside phrases that also counts for the character alone.
IN_PHRASE_WEIGHT = 0.1


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
    """Probability of each phrase among the words of the text, blended with the dictionary's phrase
    frequencies, and of each character as a word of its own. Words seen nowhere get a small count
    that falls with their rank among the words of their reading."""
    total = sum(counts.values())
    phrase_share = sum(c for w, c in counts.items() if len(w) > 1) / total
    frequency_total = sum(dictionary.phrase_frequency(w) for w in dictionary.readings if len(w) > 1)
    probabilities = {}
    for word in dictionary.readings:
        p = counts.get(word, 0) / total
        if len(word) > 1:
            listed = dictionary.phrase_frequency(word) / frequency_total * phrase_share
            p = CORPUS_WEIGHT * p + (1 - CORPUS_WEIGHT) * listed
        if p == 0:
            rank = min(dictionary.rank[(word, r)] for r in dictionary.readings[word])
            p = UNSEEN_COUNT / total * UNSEEN_RANK_DECAY ** rank
        probabilities[word] = p
    return probabilities


def probability_cost(probabilities):
    cost = {None: -math.log10(min(probabilities.values()))}
    cost.update((word, -math.log10(p)) for word, p in probabilities.items())
    return cost


def phrase_reading_shares(readings):
    total = sum(f + 1 for f in readings.values())
    return {r: (f + 1) / total for r, f in readings.items()}


def syllable_uses(dictionary, probabilities, total):
    """For each (character, syllable): how many dictionary phrases use it, and how often those
    phrases are expected in running text."""
    listed = defaultdict(float)
    expected = defaultdict(float)
    for word, readings in dictionary.readings.items():
        if len(word) < 2:
            continue
        count = probabilities[word] * total
        for reading, share in phrase_reading_shares(readings).items():
            if len(reading) != len(word):
                continue
            for character, syllable in zip(word, reading):
                listed[(character, syllable)] += share
                expected[(character, syllable)] += share * count
    return listed, expected


def character_scores(dictionary, counts, probabilities):
    """log10 probability of each character on each of its readings.

    A character's standalone count splits across its readings by how often each reading occurs in
    the dictionary's phrases (listed and expected in text). A character used mostly inside words is
    still a plausible word of its own in compounds the dictionary lacks, so a share of its uses
    inside phrases, with their known readings, is added.
    """
    total = sum(counts.values())
    listed, expected = syllable_uses(dictionary, probabilities, total)
    result = {}
    for word, readings in dictionary.readings.items():
        if len(word) != 1:
            continue
        weight = {r: READING_PRIOR + listed[(word, r[0])] + expected[(word, r[0])] for r in readings}
        weight_total = sum(weight.values())
        alone = counts.get(word, 0)
        for reading in readings:
            count = alone * weight[reading] / weight_total + IN_PHRASE_WEIGHT * expected[(word, reading[0])]
            floor = UNSEEN_COUNT * UNSEEN_RANK_DECAY ** dictionary.rank[(word, reading)]
            result[(reading, word)] = math.log10(max(count, floor) / total)
    return result


def scores(dictionary, lines):
    """log10 probability of every (reading, word) of the dictionary; also the word counts, and the
    word costs that segment text by those probabilities."""
    lines = list(lines)
    first = count_words(lines, fewest_words_cost(dictionary), dictionary.longest)
    second = count_words(lines, probability_cost(word_probabilities(dictionary, first)), dictionary.longest)
    probabilities = word_probabilities(dictionary, second)
    result = character_scores(dictionary, second, probabilities)
    for word, readings in dictionary.readings.items():
        if len(word) > 1:
            for reading, share in phrase_reading_shares(readings).items():
                result[(reading, word)] = math.log10(probabilities[word] * share)
    return result, second, probability_cost(probabilities)
