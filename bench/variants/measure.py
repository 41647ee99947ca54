#!/usr/bin/env python3
"""Measures what each kind of variants joins on real vocabulary.

    python3 bench/variants/measure.py BATCH KIND [SAMPLE [BEFORE]]

BATCH is the built tavrin-batch, KIND a kind's name (kanji, compat, space,
symbol, kana, company, number, okurigana). Builds word lists from the Debian dictionaries
(mecab-ipadic, mecab-naist-jdic, skkdic, skkdic-extra): names, places,
addresses, organisations, office names and nouns, both as written and, for
names and places, as read in kana. Runs `map` without kinds and with KIND,
lists every group that only KIND creates (lines the kind puts together that
no plain key joins), and draws a fixed random sample of SAMPLE groups (40)
as TSV on standard output: the rule that joined it, then its spellings. The
count of such groups, and per rule, goes to standard error. Given BEFORE,
an earlier build of tavrin-batch, it lists instead the groups KIND makes
now that it did not make in BEFORE: what a change of the kind adds.

The dictionaries rarely list one word with both kanji numerals and digits,
so for the number kind each line with a kanji numeral comes a second time
with its numerals as digits (一郎 and 1郎, 一丁目 and 1丁目): every group
of a line and its digits asks whether the rule may join them.

A judged sample is kept beside this script (sample-KIND-*.tsv): its first
column says "same" (one word or entity) or "diff", and precision is the
share of "same". Without the dictionaries the script says so and exits 0.

For the kanji kind it also counts how many of the pairs of SKK-JISYO.itaiji
(both ideographs) and of the name-kanji list's old forms (Unihan
kJinmeiyoKanji "2010:U+XXXX") the kind joins, each character a line alone.
"""
import bz2
import collections
import glob
import re
import os
import random
import subprocess
import sys

from recall import canonical_of

IPADIC = "/usr/share/mecab/dic/ipadic/"
NAIST = "/usr/share/mecab/dic/naist-jdic-eucjp/naist-jdic.csv"
SKK = "/usr/share/skk/"
UNIHAN_OTHER = "/usr/share/unicode/Unihan_OtherMappings.txt.bz2"
SKK_FILES = ["SKK-JISYO.L", "SKK-JISYO.jinmei", "SKK-JISYO.fullname", "SKK-JISYO.geo", "SKK-JISYO.station",
             "SKK-JISYO.propernoun", "SKK-JISYO.zipcode", "SKK-JISYO.office.zipcode"]
# Entries whose kana reading is a list line as well: names and places.
SKK_READINGS = {"SKK-JISYO.jinmei", "SKK-JISYO.fullname", "SKK-JISYO.geo", "SKK-JISYO.station"}


def words():
    found = set()
    for path in glob.glob(IPADIC + "Noun*.csv"):
        for line in open(path, encoding="euc-jp", errors="replace"):
            found.add(line.split(",", 1)[0])
    for line in open(NAIST, encoding="euc-jp", errors="replace"):
        f = line.split(",")
        if len(f) > 4 and f[4] == "名詞":
            found.add(f[0])
    for name in SKK_FILES:
        for line in open(SKK + name, encoding="euc-jp", errors="replace"):
            if line.startswith(";") or " /" not in line:
                continue
            head, rest = line.rstrip("\n").split(" /", 1)
            if name in SKK_READINGS and not head[-1:].isascii():
                found.add(head)
            for cand in rest.split("/"):
                cand = cand.split(";")[0]
                if cand and not cand.startswith("("):
                    found.add(cand)
    lines = []
    for w in sorted(found):
        w = w.strip()
        if not w or any(c in w for c in "\t\r\n\""):
            continue
        try:
            w.encode("cp932")
        except UnicodeEncodeError:
            continue
        lines.append(w)
    return lines


NUMERALS = {c: v for v, c in enumerate("〇一二三四五六七八九")}
NUMERALS.update({"十": 10, "百": 100, "千": 1000})


def as_digits(run):
    """A run of kanji numerals as digits: by places with 十, 百 or 千, else
    digit by digit; None when it is no number."""
    values = [NUMERALS[c] for c in run]
    if all(v < 10 for v in values):
        return "".join(str(v) for v in values)
    total, last, i = 0, 10000, 0
    while i < len(values):
        factor = 1
        if values[i] < 10:
            factor = values[i]
            i += 1
            if factor == 0:
                return None
            if i == len(values):
                return str(total + factor)
            if values[i] < 10:
                return None
        if values[i] >= last:
            return None
        last = values[i]
        total += factor * last
        i += 1
    return str(total)


def with_digits(lines):
    """Each line with a kanji numeral, its numerals as digits."""
    out = []
    for w in lines:
        runs, cur = [], ""
        for c in w + " ":
            if c in NUMERALS:
                cur += c
            elif cur:
                runs.append(cur)
                cur = ""
        d = w
        for run in runs:
            digits = as_digits(run)
            if digits is not None:
                d = d.replace(run, digits, 1)
        if d != w:
            out.append(d)
    return out


def groups(batch, text, kinds):
    args = [batch, "map"] + (["--fold=" + kinds] if kinds else [])
    out = subprocess.run(args, input=text, capture_output=True, check=True).stdout.decode("cp932")
    found = collections.defaultdict(set)
    for line in out.split("\r\n"):
        if line:
            variant, canonical, _ = line.split("\t")[:3]
            found[canonical] |= {variant, canonical}
    return list(found.values())


def ideograph(c):
    c = ord(c)
    return 0x3400 <= c <= 0x4DBF or 0x4E00 <= c <= 0x9FFF or 0xF900 <= c <= 0xFAFF or 0x20000 <= c <= 0x3FFFF


def kanji_pairs():
    """The pairs of SKK-JISYO.itaiji and the name-kanji list's old forms."""
    itaiji = set()
    for line in open(SKK + "SKK-JISYO.itaiji", encoding="euc-jp"):
        if line.startswith(";") or " /" not in line:
            continue
        head, rest = line.rstrip("\n").split(" /", 1)
        for cand in rest.split("/"):
            cand = cand.split(";")[0]
            if len(head) == 1 and len(cand) == 1 and head != cand and ideograph(head) and ideograph(cand):
                itaiji.add(frozenset((head, cand)))
    names = set()
    for line in bz2.open(UNIHAN_OTHER, "rt", encoding="utf-8"):
        f = line.rstrip("\n").split("\t")
        if len(f) == 3 and f[1] == "kJinmeiyoKanji":
            for b in re.findall(r"U\+([0-9A-F]+)", f[2]):
                names.add(frozenset((chr(int(f[0][2:], 16)), chr(int(b, 16)))))
    return {"SKK-JISYO.itaiji": itaiji, "name-kanji old forms": names}


def count_kanji_pairs(batch):
    sets = kanji_pairs()
    chars = sorted({c for pairs in sets.values() for p in pairs for c in p})
    canonical = canonical_of(batch, chars, "kanji")
    for name, pairs in sets.items():
        joined = sum(len({canonical.get(c, c) for c in p}) == 1 for p in pairs)
        print("%s: %d of %d pairs joined" % (name, joined, len(pairs)), file=sys.stderr)


def okurigana_words():
    """The spellings of engine/okurigana_table.h."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "engine", "okurigana_table.h")
    found = set()
    for line in open(path, encoding="utf-8"):
        m = re.match(r'\s*"(.*)",$', line)
        if m:
            found.update(m.group(1).split("\\t"))
    return found


def rule_of(kind, group):
    """The rule of a kind that most likely made the group (for the kana kind,
    which spelling; for the okurigana kind, whether a line of kana alone, a
    whole word of the table or a word inside a line; else the kind itself)."""
    if kind == "okurigana":
        if not hasattr(rule_of, "words"):
            rule_of.words = okurigana_words()
        if any(all("\u3041" <= c <= "\u30ff" for c in w) for w in group):
            return "kana"
        return "word" if sum(w in rule_of.words for w in group) >= 2 else "inline"
    if kind != "kana":
        return kind
    text = "".join(group)
    for rule, chars in (("vu", "ヴゔ"), ("di", "ぢヂ"), ("du", "づヅ"), ("wo", "をヲ"), ("repeat", "ゝゞヽヾ"),
                        ("old", "ゐゑヰヱ"), ("ke", "ヶヵケカがガｹｶ")):
        if any(c in text for c in chars):
            return rule
    return "other"


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    if not (os.path.isdir(IPADIC) and os.path.exists(NAIST) and os.path.isdir(SKK)):
        print("measure.py: the Debian dictionaries (mecab-ipadic, mecab-naist-jdic, skkdic, skkdic-extra) "
              "are not installed; nothing measured", file=sys.stderr)
        return
    batch, kind = sys.argv[1], sys.argv[2]
    size = int(sys.argv[3]) if len(sys.argv) > 3 else 40
    if kind == "kanji":
        count_kanji_pairs(batch)
    lines = words()
    if kind == "number":
        seen = set(lines)
        lines += sorted(set(w for w in with_digits(lines) if w not in seen))
    text = "\r\n".join(lines).encode("cp932") + b"\r\n"
    before = sys.argv[4] if len(sys.argv) > 4 else None
    plain_of = {}
    for i, g in enumerate(groups(before, text, kind) if before else groups(batch, text, "")):
        for w in g:
            plain_of[w] = i
    only = []
    for g in groups(batch, text, kind):
        keys = {plain_of.get(w, ("alone", w)) for w in g}
        if len(keys) > 1:
            only.append(sorted(g))
    only.sort()
    by_rule = collections.Counter(rule_of(kind, g) for g in only)
    print("%d lines; %d groups only %s makes: %s" % (len(lines), len(only), kind,
          ", ".join("%s %d" % kv for kv in sorted(by_rule.items()))), file=sys.stderr)
    for g in random.Random(32).sample(only, min(size, len(only))):
        print("\t".join([rule_of(kind, g)] + g))


main()
