#!/usr/bin/env python3
"""Recall of the kinds of variants on a labelled set of pairs.

    python3 bench/variants/recall.py BATCH [PAIRS]

BATCH is the built tavrin-batch; PAIRS (pairs.tsv beside this script) holds
one pair a line: kind TAB a TAB b TAB same|apart [TAB note]. Runs `map
--fold=all` over every spelling and counts a pair as joined when both land
in one group. Prints, per kind, how many "same" pairs are joined, then the
"same" pairs missed and the "apart" pairs joined. Kinds the batch does not
know yet (`--fold=all` without them) are counted on their own, after the
overall figure, so that the rest can be judged. Exit status 1 when an
"apart" pair is joined.
"""
import collections
import os
import subprocess
import sys


def cell(text):
    if text.startswith('"') and text.endswith('"') and len(text) >= 2:
        return text[1:-1].replace('""', '"')
    return text


def canonical_of(batch, spellings, fold="all"):
    """Each spelling `map --fold=FOLD` maps to another: {variant: canonical}."""
    # A quote inside one line is the text's own; the map writes a text with
    # a quote as a quoted cell.
    text = ("\r\n".join(spellings) + "\r\n").encode("utf-8")
    out = subprocess.run([batch, "map", "--utf8", "--fold=" + fold], input=text, capture_output=True,
                         check=True).stdout.decode("utf-8")
    to = {}
    for line in out.split("\r\n"):
        if line:
            variant, canonical = line.rsplit("\t", 1)[0].split("\t", 1) if line.count("\t") == 2 else (None, None)
            if variant is not None:
                to[cell(variant)] = cell(canonical)
    return to


def kinds_known(batch):
    # A kind the batch does not know is refused by name.
    known = set()
    for kind in ("kanji", "compat", "space", "symbol", "kana", "company", "number", "okurigana"):
        r = subprocess.run([batch, "similar", "--fold=" + kind], input=b"x\r\n", capture_output=True)
        if r.returncode == 0:
            known.add(kind)
    return known


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    batch = sys.argv[1]
    path = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), "pairs.tsv")
    pairs = []
    for line in open(path, encoding="utf-8"):
        if line.startswith("#") or not line.strip():
            continue
        f = line.rstrip("\n").split("\t")
        pairs.append((f[0], f[1], f[2], f[3]))
    # A line that opens with a quote may start a cell that runs on over the
    # next lines: such a pair is run alone, that line last.
    quote = lambda s: s.startswith('"')
    to = canonical_of(batch, sorted({s for p in pairs if not any(map(quote, p[1:3])) for s in p[1:3]}))
    alone = {}
    for p in pairs:
        if any(map(quote, p[1:3])):
            alone[p[1:3]] = canonical_of(batch, sorted(p[1:3], key=quote))

    def joined(a, b):
        m = alone.get((a, b), to)
        return m.get(a, a) == m.get(b, b)

    known = kinds_known(batch)
    same, hit = collections.Counter(), collections.Counter()
    missed, wrong = [], []
    for kind, a, b, label in pairs:
        if label == "same":
            same[kind] += 1
            if joined(a, b):
                hit[kind] += 1
            else:
                missed.append((kind, a, b))
        elif joined(a, b):
            wrong.append((kind, a, b))
    print("kind        joined/same  recall")
    for unknown in (False, True):
        rows = [k for k in sorted(same) if (k not in known) == unknown]
        if unknown and rows:
            print("-- kinds this batch does not know:")
        for k in rows:
            print("%-11s %4d/%-4d   %5.1f %%" % (k, hit[k], same[k], 100.0 * hit[k] / same[k]))
        if unknown:
            rows = list(same)  # with them: every row
        total, got = sum(same[k] for k in rows), sum(hit[k] for k in rows)
        if rows and (not unknown or len(rows) > len(known & set(same))):
            print("%-11s %4d/%-4d   %5.1f %%" % ("overall" if not unknown else "all rows", got, total,
                                                 100.0 * got / total))
    apart = sum(1 for p in pairs if p[3] == "apart")
    print("apart pairs joined: %d of %d" % (len(wrong), apart))
    for kind, a, b in missed:
        print("missed\t%s\t%s\t%s" % (kind, a, b))
    for kind, a, b in wrong:
        print("JOINED\t%s\t%s\t%s" % (kind, a, b))
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
