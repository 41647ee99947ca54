#!/usr/bin/env python3
"""Builds a corpus of short Japanese text files for measuring the batch
program's encoding guess (bench/encoding_guess_bench.cpp): word lists from
Debian's dictionaries (names, places, organisations and nouns of
mecab-ipadic and mecab-naist-jdic, full names, given names, places and
stations of skkdic and skkdic-extra), as the surface forms, the katakana
readings, the same in half-width kana, the hiragana readings,
"surface TAB half-width reading" rows, each file a few lines long, and lists
of names in half-width kana of up to 12 lines, each file written
once in CP932 and once in UTF-8. A third set holds the UTF-8 files without
their final line break, cut inside their last character.

  tools/encoding_corpus.py OUT_DIR [FILES_PER_SET] [SEED]

writes OUT_DIR/cp932, OUT_DIR/utf8 and OUT_DIR/utf8-cut. Without the
dictionaries it says which packages to install and writes nothing.
"""
import csv
import io
import os
import random
import sys
import unicodedata

IPADIC = "/usr/share/mecab/dic/ipadic"
NAIST = "/usr/share/mecab/dic/naist-jdic-eucjp/naist-jdic.csv"
SKK = "/usr/share/skk"
PACKAGES = "mecab-ipadic mecab-naist-jdic skkdic skkdic-extra"


def half_width_map():
    """Full-width katakana (and their voiced forms) to half-width kana."""
    table = {}
    for code in range(0xFF61, 0xFFA0):
        half = chr(code)
        table[unicodedata.normalize("NFKC", half)] = half
    out = {}
    for code in range(0x30A1, 0x30FD):
        full = chr(code)
        if full in table:
            out[full] = table[full]
            continue
        base = unicodedata.normalize("NFD", full)
        if len(base) == 2 and base[0] in table:
            mark = {"\u3099": "\uFF9E", "\u309A": "\uFF9F"}.get(base[1])
            if mark:
                out[full] = table[base[0]] + mark
    out["\u30FC"] = "\uFF70"
    return out


HALF = half_width_map()


def to_half(katakana):
    if any(c not in HALF for c in katakana):
        return None
    return "".join(HALF[c] for c in katakana)


def to_hiragana(katakana):
    if not all("\u30A1" <= c <= "\u30F6" or c == "\u30FC" for c in katakana):
        return None
    return "".join(c if c == "\u30FC" else chr(ord(c) - 0x60) for c in katakana)


def fits_cp932(text):
    try:
        text.encode("cp932")
        return True
    except UnicodeEncodeError:
        return False


def mecab_words(path, encoding):
    """(surface, katakana reading) of a MeCab dictionary CSV."""
    with open(path, "rb") as f:
        data = f.read().decode(encoding, errors="replace")
    for row in csv.reader(io.StringIO(data)):
        if len(row) >= 12 and row[11] != "*":
            yield row[0], row[11]


def skk_words(path):
    """Candidates of an SKK dictionary, with the hiragana reading."""
    with open(path, "rb") as f:
        data = f.read().decode("euc_jis_2004", errors="replace")
    for line in data.splitlines():
        if line.startswith(";") or " /" not in line:
            continue
        reading, rest = line.split(" /", 1)
        for candidate in rest.split("/"):
            candidate = candidate.split(";")[0]
            if candidate and not candidate.startswith("("):
                katakana = "".join(chr(ord(c) + 0x60) if "\u3041" <= c <= "\u3096" else c for c in reading)
                yield candidate, katakana


def load():
    sources = []
    for name in ("Noun.name.csv", "Noun.place.csv", "Noun.org.csv", "Noun.proper.csv", "Noun.csv"):
        sources.append(("ipadic " + name, lambda n=name: mecab_words(os.path.join(IPADIC, n), "euc_jp")))
    sources.append(("naist-jdic", lambda: mecab_words(NAIST, "euc_jp")))
    for name in ("SKK-JISYO.fullname", "SKK-JISYO.jinmei", "SKK-JISYO.geo", "SKK-JISYO.station"):
        sources.append(("skkdic " + name, lambda n=name: skk_words(os.path.join(SKK, n))))
    words, names = set(), set()
    for source, read in sources:
        for surface, reading in read():
            if fits_cp932(surface) and fits_cp932(reading) and "\ufffd" not in surface + reading:
                words.add((surface, reading))
                if "name" in source or "jinmei" in source:
                    names.add((surface, reading))
    return sorted(words), sorted(names)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    missing = [p for p in (IPADIC, NAIST, os.path.join(SKK, "SKK-JISYO.geo"), os.path.join(SKK, "SKK-JISYO.jinmei"))
               if not os.path.exists(p)]
    if missing:
        print("encoding corpus skipped: the dictionaries are not installed (%s missing);\n"
              "install them with: apt-get install -y %s" % (", ".join(missing), PACKAGES))
        return 0
    out = sys.argv[1]
    per_set = int(sys.argv[2]) if len(sys.argv) > 2 else 20000
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    words, names = load()
    # What a line of a file shows of a word.
    shapes = {
        "surface": lambda s, r: s,
        "katakana": lambda s, r: r,
        "half-width": lambda s, r: to_half(r),
        "hiragana": lambda s, r: to_hiragana(r),
        "surface+half": lambda s, r: s + "\t" + to_half(r) if to_half(r) else None,
        "half-width-names": lambda s, r: to_half(r),
    }
    kinds = sorted(shapes)
    for kind in ("cp932", "utf8", "utf8-cut"):
        os.makedirs(os.path.join(out, kind), exist_ok=True)
    counts = {}
    made = 0
    while made < per_set:
        shape = kinds[made % len(kinds)]
        # Names come in longer lists (up to 12 lines), the rest in 1 to 5.
        lines, count = [], rng.randint(1, 12 if shape.endswith("names") else 5)
        while len(lines) < count:
            line = shapes[shape](*rng.choice(names if shape.endswith("names") else words))
            if line and fits_cp932(line):
                lines.append(line)
        end = rng.choice(["\r\n", "\n", ""])
        text = ("\r\n" if end == "" else end).join(lines) + end
        name = "%06d-%s.txt" % (made, shape)
        cp932, utf8 = text.encode("cp932"), text.encode("utf-8")
        with open(os.path.join(out, "cp932", name), "wb") as f:
            f.write(cp932)
        with open(os.path.join(out, "utf8", name), "wb") as f:
            f.write(utf8)
        last = text.rstrip("\r\n")[-1:]
        if end == "" and len(last.encode("utf-8")) > 1:
            with open(os.path.join(out, "utf8-cut", name), "wb") as f:
                f.write(utf8[:-rng.randint(1, len(last.encode("utf-8")) - 1)])
        counts[shape] = counts.get(shape, 0) + 1
        made += 1
    print("%d words; %d files per encoding in %s (%s)" %
          (len(words), made, out, ", ".join("%s %d" % kv for kv in sorted(counts.items()))))
    return 0


if __name__ == "__main__":
    sys.exit(main())
