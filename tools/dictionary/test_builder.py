"""Tests of the dictionary builder's parts that do not need the downloaded packages."""

import struct
import unittest

import bigrams
import chewing
import corpus
import vocabulary
import weights


def node(key, a, b):
    return struct.pack("<H", key) + a.to_bytes(3, "little") + b.to_bytes(3, "little")


def code(initial=0, medial=0, final=0, tone=0):
    return (initial << 9) | (medial << 7) | (final << 3) | tone


class ChewingTest(unittest.TestCase):
    def test_syllable_codes_become_canonical_readings(self):
        self.assertEqual(chewing.canonical_syllable(code(13)), "ㄑ")
        self.assertEqual(chewing.canonical_syllable(code(15, 2, 12, 4)), "ㄓㄨㄥˋ")
        self.assertEqual(chewing.canonical_syllable(code(3, 0, 1, 1)), "ㄇㄚ˙")
        self.assertEqual(chewing.canonical_syllable(code(0, 1, 0, 2)), "ㄧˊ")
        self.assertEqual(chewing.canonical_syllable(code(21, 3, 13, 3)), "ㄙㄩㄦˇ")
        self.assertIsNone(chewing.canonical_syllable(code(0, 0, 0, 1)))
        with self.assertRaises(ValueError):
            chewing.canonical_syllable(code(22))
        with self.assertRaises(ValueError):
            chewing.canonical_syllable(code(1, 0, 0, 5))

    def test_walks_the_tree_into_readings(self):
        text = "你\0你好\0擬\0˙\0".encode()  # phrases at byte offsets 0, 4, 11 and 15
        ni, hao = code(7, 1, 0, 3), code(11, 0, 7, 3)
        tree = b"".join([
            node(1, 1, 3),            # 0: root, children 1..2
            node(ni, 4, 7),           # 1: ㄋㄧˇ, children 4..6
            node(code(0, 0, 0, 1), 8, 9),  # 2: a bare tone mark, no syllable
            node(0, 0, 0),            # 3: unused
            node(0, 0, 5),            # 4: leaf 你
            node(hao, 7, 8),          # 5: ㄏㄠˇ under ㄋㄧˇ
            node(0, 11, 0),           # 6: leaf 擬
            node(0, 4, 1227),         # 7: leaf 你好
            node(0, 15, 0),           # 8: leaf ˙
        ])
        phrases = list(chewing.read_phrases(tree, text))
        # The phrases of a node come before those of the nodes below it.
        self.assertEqual(phrases, [(("ㄋㄧˇ",), "你", 5), (("ㄋㄧˇ",), "擬", 0),
                                   (("ㄋㄧˇ", "ㄏㄠˇ"), "你好", 1227)])


class CorpusTest(unittest.TestCase):
    def test_html_keeps_visible_text_in_blocks(self):
        page = b"<html><head><title>\xe6\xa8\x99</title><script>var a='\xe4\xb8\x8d';</script></head>" \
               b"<body><p>\xe6\x96\x87<b>\xe5\xad\x97</b></p><code>\xe7\xa2\xbc</code><p>&#x4F60;</p></body></html>"
        lines = [line for line in corpus.html_text(page).splitlines() if line]
        self.assertEqual(lines, ["標", "文字", "你"])

    def test_troff_drops_comments_requests_and_escapes(self):
        page = '.\\" 註解\n.SH 描述\n列出\\fB目錄\\fP內容\n.TP\n\\fB\\-a\\fP 全部\n'.encode()
        self.assertEqual(corpus.troff_text(page).split("\n"), ["描述", "列出目錄內容", "", "a 全部"])

    def test_han_runs_are_split_at_everything_else(self):
        self.assertEqual(corpus.HAN_RUN.findall("請按 OK 鍵，再試3次𠀀"), ["請按", "鍵", "再試", "次𠀀"])


class WeightsTest(unittest.TestCase):
    def test_segmentation_takes_the_cheapest_words(self):
        cost = {None: 5.0, "中文": 2.0, "文字": 1.0, "中": 1.0}
        self.assertEqual(weights.segment("中文字", cost, 2), ["中", "文字"])
        self.assertEqual(weights.segment("中文", cost, 2), ["中文"])
        self.assertEqual(weights.segment("字字", cost, 2), ["字", "字"])

    def test_scores_rank_common_words_first_and_split_readings(self):
        entries = [(("ㄉㄜ˙",), "的", 0), (("ㄉㄧˋ",), "的", 0), (("ㄉㄜ˙",), "得", 0),
                   (("ㄇㄨˋ", "ㄉㄧˋ"), "目的", 10), (("ㄏㄠˇ", "ㄉㄜ˙"), "好的", 50), (("ㄏㄠˇ",), "好", 0),
                   (("ㄇㄨˋ",), "目", 0)]
        lines = [["我的書", "好的", "你的的的"], ["的目的"]]
        scores, counts, _ = weights.scores(weights.Dictionary(entries), lines)
        self.assertGreater(scores[(("ㄉㄜ˙",), "的")], scores[(("ㄉㄜ˙",), "得")])
        self.assertGreater(scores[(("ㄉㄜ˙",), "的")], scores[(("ㄉㄧˋ",), "的")])
        self.assertEqual(counts["好的"], 1)
        self.assertEqual(set(scores), {(r, w) for r, w, _ in entries})
        self.assertTrue(all(score < 0 for score in scores.values()))


class BigramsTest(unittest.TestCase):
    def test_pairs_count_within_runs_and_a_context_lifts_what_follows_it(self):
        cost = {None: 5.0, "自動": 1.0, "刪除": 1.0, "以": 1.0, "已": 1.0}
        lines = [["已自動刪除", "已自動刪除"], ["以已", "自動刪除已"], ["刪除以"]]
        words, pairs = bigrams.count_pairs(lines, cost, 2)
        self.assertEqual(pairs[("自動", "刪除")], 3)
        self.assertEqual(pairs[("刪除", "以")], 1)  # across runs nothing pairs
        backoff, kept, discount = bigrams.model(words, pairs)
        # Seen once: 刪除 已, 以 已, 刪除 以; twice: 已 自動; thrice: 自動 刪除.
        self.assertAlmostEqual(discount, 3 / (3 + 2))
        self.assertEqual(set(kept), set(pairs))
        self.assertGreater(kept[("自動", "刪除")], 0)
        self.assertLess(backoff["自動"], 0)

    def test_pairs_after_a_context_of_many_followers_keep_their_order(self):
        # 的 is followed by 已, 以 and ten words, each less often than they come alone.
        words = {"的": 100, "已": 1000, "以": 1000, "0": 1000, **{f"w{i}": 10 for i in range(10)}}
        pairs = {("的", "已"): 20, ("的", "以"): 10, ("的", "0"): 10, ("已", "以"): 1, ("以", "已"): 2,
                 **{("的", f"w{i}"): 5 for i in range(10)}}
        backoff, kept, _ = bigrams.model(words, pairs)
        self.assertEqual(backoff["的"], bigrams.LOWEST_FIGURE)
        self.assertGreater(kept[("的", "已")], kept[("的", "以")])
        self.assertGreater(kept[("的", "以")], backoff["的"])
        self.assertEqual(kept[("的", "0")], bigrams.LOWEST_FIGURE)  # a number's pair is never raised

    def test_a_number_or_an_english_word_between_han_characters_is_one_word(self):
        runs = corpus._han_and_number_runs("第 3 個、共 1048576 位元組，x80 和 2.6.30 版 10，按 Tab 鍵用 GNOME Shell 或 /usr/bin")
        self.assertEqual(runs, ["第0個", "共0位元組", "A和", "版0", "按A鍵用AA或"])
        cost = {None: 5.0, "位元組": 1.0}
        self.assertEqual(bigrams.segmented("共0位元組", cost, 3), ["共", "0", "位元組"])
        self.assertEqual(bigrams.segmented("用AA或", cost, 3), ["用", "A", "A", "或"])

    def test_the_file_is_the_same_for_the_same_model(self):
        model = ({"他": -0.5, "媽媽": -0.3}, {("媽媽", "他"): 1.0})
        data = bigrams.encode(*model)
        self.assertEqual(data, bigrams.encode(*model))
        self.assertEqual(data[:8], b"KELVOBG2")
        words, pair_count, slots, string_bytes = struct.unpack("<IIII", data[8:24])
        self.assertEqual((words, pair_count, slots), (2, 1, 4))
        self.assertEqual(len(data), 28 + 16 * words + 8 * pair_count + 4 * slots + string_bytes)


class VocabularyTest(unittest.TestCase):
    def test_words_take_their_smallest_size_and_rank_by_it(self):
        lists = {10: ["the", "Linux", "don't", "x"], 35: ["the", "theme", "a"], 70: ["zymurgy", "naïve"]}
        sizes = vocabulary.graded_words(lists)
        self.assertEqual(sizes, {"the": 10, "linux": 10, "theme": 35, "a": 35, "zymurgy": 70})
        probabilities = vocabulary.graded_probabilities(sizes)
        self.assertAlmostEqual(probabilities["the"], 0.1 / 1.5)  # middle of ranks 1 and 2
        self.assertGreater(probabilities["theme"], probabilities["zymurgy"])

    def test_documentation_counts_each_distinct_line_once(self):
        texts = ["use mmap to map files\nuse mmap to map files\nMMAP(2)", "mmap, munmap - map files"]
        counts = vocabulary.document_counts(texts)
        self.assertEqual(counts["mmap"], 3)
        self.assertEqual(counts["map"], 2)
        self.assertNotIn("2", counts)

    def test_scores_blend_both_sources_and_drop_rare_documented_words(self):
        graded = {"file": 0.01, "zymurgy": 0.0001}
        counts = {"file": 30, "mmap": 10, "frobnicate": 2}
        scores = vocabulary.scores(graded, counts)
        self.assertEqual(set(scores), {"file", "zymurgy", "mmap"})
        self.assertGreater(scores["file"], scores["mmap"])
        self.assertGreater(scores["mmap"], scores["zymurgy"])
        self.assertEqual(vocabulary.vocabulary_lines({"b": -2.0, "a": -1.23456}), ["a -1.235\n", "b -2.000\n"])


if __name__ == "__main__":
    unittest.main()
