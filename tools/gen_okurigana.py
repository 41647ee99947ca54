#!/usr/bin/env python3
"""Writes engine/okurigana_table.h, the spellings the okurigana kind joins
(申込/申込み/申し込み, 引越し/引っ越し, 子ども/子供, ください/下さい), from
UniDic's lexicon (Debian's unidic-mecab):

    python3 tools/gen_okurigana.py > engine/okurigana_table.h

Needs unidic-mecab only to regenerate the table; the build and the tests
read the committed header.

UniDic files every spelling of a word under its lemma (語彙素) with the
lemma's standard written form. Entries of one lemma, reading, part of
speech and form are one word; its other spellings are mapped to the
spelling of the standard form. A spelling is left out when
  - its kanji are not those of the standard form, in order, with none
    added (卸/下ろし, 叔父/伯父, 早い/速い: another kanji is another word);
  - it spells a word of another standard form, or is one's standard
    form (上り is のぼり, not 上がり);
  - it is all kana and read like another lemma (きよう is 器用 and 起用,
    じんめい 人名 and 人命): kana alone do not tell which word it is;
  - it is all kana and the word a noun: a line of kana is as often the
    reading of a name (あおはた of the place 青畑, not 青旗; カゴメ the
    company, not 籠目), so only verbs, adjectives, adverbs and the like
    are mapped from kana (ください, たくさん, ちょうど);
  - it, or its standard form, is read in more than one way (人形 is
    にんぎょう and ひとがた, 上下 じょうげ and かみしも, 人心 じんしん and
    ひとごころ): the line does not say which word it is;
  - it is a name's spelling: proper nouns are never mapped, and neither is
    a spelling, or a standard form, that is also a proper noun's (源五郎);
  - it is one character long, or all kana and shorter than three
    characters: inside a line it would match pieces of other words;
  - it maps to two standard forms, or its standard form is itself mapped.
Hiragana and katakana spellings compare alike in the comparison key, and
so do small and large kana: a spelling is compared in that form.
"""
import collections
import sys

LEX = "/usr/share/mecab/dic/unidic/lex_3_1.csv"
PARTS = {"名詞", "動詞", "形容詞", "副詞", "形状詞", "連体詞", "接続詞", "感動詞"}
# Conjugating words in their dictionary and continuative forms (the latter
# is the noun of many: 申し込み, 引っ越し); a non-conjugating word has "*".
# The imperative only of auxiliary verbs: 下さい/ください.
FORMS = {"*", "終止形-一般", "連用形-一般"}

SMALL = str.maketrans("ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ", "あいうえおつやゆよわアイウエオツヤユヨワカケ")


def is_kanji(c):
    o = ord(c)
    return 0x3400 <= o <= 0x4DBF or 0x4E00 <= o <= 0x9FFF or 0xF900 <= o <= 0xFAFF or 0x20000 <= o <= 0x3FFFF or c == "々"


def is_kana(c):
    return 0x3041 <= ord(c) <= 0x309F or 0x30A1 <= ord(c) <= 0x30FF


def compared(s):
    """The spelling as the comparison key sees it: katakana, large kana."""
    s = "".join(chr(ord(c) + 0x60) if 0x3041 <= ord(c) <= 0x3096 else c for c in s)
    return s.translate(SMALL)


def kanji_of(s):
    return [c for c in s if is_kanji(c)]


def is_subsequence(a, b):
    it = iter(b)
    return all(c in it for c in a)


groups = collections.defaultdict(set)  # (lemma, reading, part, form, kana) -> spellings
standard = {}                          # the same key -> the standard form's spelling
every = collections.defaultdict(set)   # the same for every entry, proper nouns and all forms included
every_standard = {}
readers_of = collections.defaultdict(set)  # katakana reading -> lemmas read so
readings_of = collections.defaultdict(set)  # compared spelling -> its readings, as a word of a standard form
proper = set()                         # compared spellings of proper nouns

for line in open(LEX, encoding="utf-8"):
    f = line.rstrip("\n").split(",")
    if len(f) < 33:
        continue
    orth, pos1, pos2, ctype, cform, lform, lemma, orth_base, kana = (f[12], f[4], f[5], f[8], f[9], f[10], f[11],
                                                                      f[14], f[24])
    who = (lemma, lform)
    key = (lemma, lform, pos1 + "-" + pos2, ctype, cform, kana)
    every[key].add(orth)
    if orth_base == lemma:
        every_standard[key] = orth
    readers_of[compared(kana)].add(who)
    if pos2 == "固有名詞":
        proper.add(compared(orth))
        continue
    if pos1 not in PARTS or pos2 == "数詞":
        continue
    if cform not in FORMS and not (cform == "命令形" and pos2 == "非自立可能"):
        continue
    groups[key].add(orth)
    if orth_base == lemma:
        standard[key] = orth

# What each spelling may stand for: the standard spellings of every word
# (of a known standard form) that it spells.
stands_for = collections.defaultdict(set)
for key, spellings in every.items():
    if key in every_standard:
        for v in spellings:
            stands_for[compared(v)].add(compared(every_standard[key]))
            readings_of[compared(v)].add(key[5])

mapped = collections.defaultdict(set)  # variant -> standard forms
for key, spellings in groups.items():
    std = standard.get(key)
    if std is None or not any(is_kanji(c) for c in std):
        continue
    who = (key[0], key[1])
    for v in spellings:
        cv = compared(v)
        if cv == compared(std) or len(v) < 2:
            continue
        if not all(is_kanji(c) or is_kana(c) for c in v) or not all(is_kanji(c) or is_kana(c) for c in std):
            continue
        kv = kanji_of(v)
        if not is_subsequence(kv, kanji_of(std)):
            continue
        if not kv and (len(v) < 3 or readers_of[cv] - {who} or key[2].startswith("名詞")):
            continue
        if stands_for[cv] != {compared(std)} or cv in proper or compared(std) in proper:
            continue
        if len(readings_of[cv]) > 1 or len(readings_of[compared(std)]) > 1:
            continue
        mapped[v].add(std)

pairs = {v: next(iter(s)) for v, s in mapped.items() if len(s) == 1}
# Spellings that compare alike must agree, and no standard form is mapped.
by_compared = collections.defaultdict(set)
for v, s in pairs.items():
    by_compared[compared(v)].add(compared(s))
pairs = {v: s for v, s in pairs.items() if len(by_compared[compared(v)]) == 1 and compared(s) not in by_compared}

by_standard = collections.defaultdict(list)
for v, s in sorted(pairs.items()):
    by_standard[s].append(v)

out = sys.stdout
out.write("""// Generated by tools/gen_okurigana.py from UniDic's lexicon (unidic-mecab,
// lex_3_1.csv); do not edit. Regenerate with
//   python3 tools/gen_okurigana.py > engine/okurigana_table.h
// One line a word, in UTF-8: its standard spelling, then TAB and each other
// spelling the okurigana kind joins to it. The fold's table is built from
// these when the kind is first used (engine/variant_folding.cpp).
#pragma once

namespace tavrin::okurigana_table {

inline constexpr const char* kWords[] = {
""")
for s in sorted(by_standard):
    out.write('    "%s\\t%s",\n' % (s, "\\t".join(by_standard[s])))
out.write("""};

}  // namespace tavrin::okurigana_table
""")
print("%d spellings of %d words" % (len(pairs), len(by_standard)), file=sys.stderr)
