#!/usr/bin/env python3
"""Writes tools/kana_words.txt, the words the kana kind joins across ヴ/ブ,
ぢ/じ, づ/ず and を/お, from Debian's MeCab dictionaries:

    python3 tools/gen_kana_words.py > tools/kana_words.txt

Needs mecab-ipadic and mecab-naist-jdic (only to regenerate the list; the
build and the tests read the committed list). A pair is listed when both
spellings are entries of general vocabulary of one part of speech (nouns,
adverbs, and verbs and adjectives in their dictionary form), neither is a
proper noun, and they differ only by those spellings. Names and places are
never listed: ちず子/ちづ子, かずき/かづき are different people, and the
spellings alone do not tell (ベン/ヴェン, エルベ/エルヴェ). Each line is
"standard TAB variant", the standard spelling without ヴ, ぢ, づ or を.
"""
import collections
import glob

IPADIC = "/usr/share/mecab/dic/ipadic/"
NAIST = "/usr/share/mecab/dic/naist-jdic-eucjp/naist-jdic.csv"
# Listed by the dictionaries but different words: ズル (cheating) and ヅル
# (slang), 築く and 気付く.
DENY = {"ヅル", "きづく"}
PARTS = ("名詞", "動詞", "形容詞", "副詞")


def fold(w):
    for a, b in (("ヴァ", "バ"), ("ヴィ", "ビ"), ("ヴェ", "ベ"), ("ヴォ", "ボ"), ("ヴ", "ブ"), ("ゔぁ", "ば"),
                 ("ゔぃ", "び"), ("ゔぇ", "べ"), ("ゔぉ", "ぼ"), ("ゔ", "ぶ")):
        w = w.replace(a, b)
    return w.translate(str.maketrans("ぢづをヂヅヲ", "じずおジズオ"))


general = collections.defaultdict(set)  # spelling -> parts of speech
proper = set()


def add(f):
    word, part = f[0], f[4] + "/" + f[5]
    if f[5] == "固有名詞" or f[4] not in PARTS:
        proper.add(word)
    elif f[4] in ("名詞", "副詞") or f[9] == "基本形":
        general[word].add(part)


for path in sorted(glob.glob(IPADIC + "*.csv")):
    for line in open(path, encoding="euc-jp", errors="replace"):
        add(line.split(","))
for line in open(NAIST, encoding="euc-jp", errors="replace"):
    add(line.split(","))

by_fold = collections.defaultdict(set)
for word in general:
    if word not in proper and word not in DENY and len(word) >= 2:
        by_fold[fold(word)].add(word)
for standard, spellings in sorted(by_fold.items()):
    if standard not in spellings:
        continue
    for variant in sorted(spellings - {standard}):
        if general[standard] & general[variant]:
            print("%s\t%s" % (standard, variant))
