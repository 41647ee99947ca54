#!/usr/bin/env python3
"""Writes engine/variant_tables.h, the tables of the optional variant folds
(kanji forms, compatibility characters, spaces and dots, symbols, katakana
spellings, company forms), from Debian's data files:

    python3 tools/gen_variant_tables.py > engine/variant_tables.h

Needs the packages skkdic-extra (/usr/share/skk/SKK-JISYO.itaiji) and
unicode-data (/usr/share/unicode), and reads tools/kana_words.txt. Characters are written as the engine's
text: CP932 (util/cp932_table.h), a fixed code of the codec, or its 6-byte
form for a character CP932 cannot hold (util/cp932.h).

Kanji forms are grouped from these pairs, each with its origin:
  - SKK-JISYO.itaiji, every pair of two ideographs (JIS level 1 pairs such
    as 峯/峰 and 燈/灯 included; the Joyo table's old forms 學/学, 驛/駅 come
    from here);
  - the old forms the name-kanji list allows (Unihan kJinmeiyoKanji values
    "2010:U+XXXX": 亞/亜, 瀨/瀬, 桧/檜);
  - Unihan kZVariant, kSemanticVariant, kSpecializedSemanticVariant (never
    the simplified/traditional fields);
  - the canonical decompositions of the CJK compatibility ideographs
    (UnicodeData.txt) and the radicals' equivalent ideographs
    (EquivalentUnifiedIdeograph.txt);
  - a short list of our own for name forms none of these relate.
A group never holds two Joyo kanji, two kanji of the name-kanji list's own
(not its allowed old forms), nor two characters of one entry of the deny
list: those are different characters that merely look or sound alike, or
that a spelling reform put one for the other. Each group folds to its Joyo
kanji, else its name kanji, else its first character in CP932 order (JIS
level 1 before level 2 before the vendor rows), else the smallest code
point. The deny list was reviewed against every group the itaiji list makes
and against judged samples of the dictionaries' words
(bench/variants/sample-kanji-added.tsv).
"""
import bz2
import collections
import re
import sys
import unicodedata

SKK = "/usr/share/skk/SKK-JISYO.itaiji"
UNI = "/usr/share/unicode/"
CP932_TABLE = "util/cp932_table.h"

# Characters that look or sound related but are different names or words;
# no two characters of one entry share a group.
DENY = ["斉斎", "崎埼", "后後", "干乾", "叶葉", "叶協", "云言", "蔭陰", "一壱", "個箇", "藤籐", "机機", "准準",
        "咲笑", "才歳", "愈癒"]
# The itaiji list also relates a character to the everyday one that replaced
# it in the spelling reforms (障碍/障害, 蒐集/収集, 颱風/台風): one word, but two
# characters with meanings and readings of their own, in other words and
# names (碍子, 蒐, 颱) that are not the replacement's. An entry's variant
# forms (礙 of 碍, 收 of 収) are listed where they would join the other side.
DENY += ["害碍", "害礙", "収集聚蒐輯", "回廻蛔恢", "奇畸綺", "専擅", "模摸糢", "決訣蹶", "溶熔", "溶鎔", "画劃",
         "発溌醗", "發溌醗", "稿藁", "綿棉", "連聯", "連聨", "関函", "関凾", "食喰蝕", "台颱", "叙抒", "両輛",
         "両輌", "湾彎", "湾弯", "灣彎", "灣弯", "浄滌", "枯涸", "枯凅", "活闊", "活濶", "砕摧", "粋萃", "薫燻",
         "薫熏", "障墻", "障牆", "託托", "座坐", "恵慧", "疎疏", "略掠", "欠歇", "薯藷", "汎範笵", "包疱", "包皰",
         "包靤", "総惣綜", "總惣", "總綜"]
# Different characters, and different names, that the list calls variants.
DENY += ["留溜", "留澑", "広宏弘曠", "広昿", "宏昿", "弘昿", "乱濫燗", "乱爛", "濫爛", "券倦", "倦劵", "圭珪",
         "英叡", "英睿", "界堺", "瑠琉", "生栖", "生棲", "濯灌", "濯潅", "蛮蕃", "装裳", "踏沓", "蹈沓", "賛讃", "賛讚",
         "来徠", "作做", "凭憑", "労撈", "柾柩", "棟楝", "潟瀉", "蛇它", "累縲", "靭靫", "靱靫", "錏鐚", "厳儼",
         "梁簗", "庵广", "厘壥", "厘廛", "轢轣", "坡陂",
         "畑畠", "杉椙", "燗爛", "二貮", "二貳", "呈抂", "肉宍"]
# Name forms the data files do not relate.
OWN = [("𠮷", "吉"), ("﨑", "崎"), ("髙", "高"), ("德", "徳"), ("靑", "青"), ("龍", "竜"), ("嶋", "島"), ("冨", "富"),
       ("邊", "辺"), ("邉", "辺"), ("齋", "斎"), ("齊", "斉"), ("澤", "沢"), ("櫻", "桜"), ("國", "国"), ("廣", "広"),
       ("濱", "浜"), ("黑", "黒"), ("眞", "真"), ("惠", "恵"), ("藝", "芸"), ("邨", "村"), ("嶌", "島"),
       ("壹", "壱"), ("貳", "弐"), ("弍", "弐"), ("嵜", "崎"), ("碕", "崎")]

ORIGIN = {"itaiji": 1, "unihan-z": 2, "unihan-sem": 4, "unihan-specialized": 8, "radical": 16, "unicode": 32,
          "cp932": 64, "own": 128, "jinmeiyo": 256}


def read_cp932():
    text = open(CP932_TABLE, encoding="utf-8").read()

    def pairs(name):
        body = text[text.index("k%s[] = {" % name):]
        body = body[:body.index("};")]
        return [(int(a, 16), int(b, 16)) for a, b in re.findall(r"\{0x([0-9A-F]+), 0x([0-9A-F]+)\}", body)]
    decode = pairs("Decode")   # code, character
    encode = dict(pairs("Encode"))  # character, code
    return decode, encode


DECODE, ENCODE = read_cp932()
FIXED = [0x301C, 0x2212, 0x2016, 0x2014, 0x00A2, 0x00A3, 0x00AC, 0x00A5, 0x203E, 0x3099, 0x309A]
LEADS = [0x85, 0x86, 0xEB, 0xEC, 0xEF]


def unassigned_code(index):
    t = index % 188
    return LEADS[index // 188] << 8 | (0x40 + t if t < 63 else 0x80 + (t - 63))


def code_bytes(code):
    return bytes([code]) if code < 0x100 else bytes([code >> 8, code & 0xFF])


def engine_bytes(s):
    out = b""
    for ch in s:
        c = ord(ch)
        if c in ENCODE:
            out += code_bytes(ENCODE[c])
        elif c in FIXED:
            out += code_bytes(unassigned_code(FIXED.index(c)))
        else:
            out += bytes([0xEF, 0x41 + (c >> 16)]) + code_bytes(unassigned_code(376 + (c >> 8 & 0xFF))) + \
                code_bytes(unassigned_code(376 + (c & 0xFF)))
    return out


def c_string(b):
    return '"' + "".join("\\x%02X" % x for x in b) + '"'


def shown(s):
    return "".join(ch if unicodedata.category(ch)[0] not in "CZM" and ch != "\\" else "U+%04X" % ord(ch) for ch in s)


def is_ideograph(c):
    return (0x3400 <= c <= 0x4DBF or 0x4E00 <= c <= 0x9FFF or 0xF900 <= c <= 0xFAFF or
            0x20000 <= c <= 0x3FFFF)


def chars(field):
    return [int(m, 16) for m in re.findall(r"U\+([0-9A-F]+)", field)]


# --- kanji forms -----------------------------------------------------------
def unihan(name, fields):
    found = collections.defaultdict(list)
    for line in bz2.open(UNI + name, "rt", encoding="utf-8"):
        if line.startswith("#") or not line.strip():
            continue
        code, field, value = line.rstrip("\n").split("\t")
        if field in fields:
            found[field].append((int(code[2:], 16), value))
    return found


variants = unihan("Unihan_Variants.txt.bz2", ("kZVariant", "kSemanticVariant", "kSpecializedSemanticVariant"))
others = unihan("Unihan_OtherMappings.txt.bz2", ("kJoyoKanji", "kJinmeiyoKanji"))
JOYO = {c for c, _ in others["kJoyoKanji"]}
# The name-kanji list: its own characters ("2010"), and the old forms it
# allows beside a Joyo or name kanji ("2010:U+XXXX", 亞/亜, 峯/峰, 桧/檜).
JINMEIYO = {c for c, v in others["kJinmeiyoKanji"] if ":" not in v}
JINMEIYO_FORMS = [(c, b) for c, v in others["kJinmeiyoKanji"] for b in chars(v)]

pair_origin = collections.defaultdict(int)  # frozenset{a, b} -> origin bits
unihan_pairs = collections.defaultdict(int)
itaiji_pairs = set()
for field, origin in (("kZVariant", "unihan-z"), ("kSemanticVariant", "unihan-sem"),
                      ("kSpecializedSemanticVariant", "unihan-specialized")):
    for a, value in variants[field]:
        for b in chars(value):
            if a != b and is_ideograph(a) and is_ideograph(b):
                unihan_pairs[frozenset((a, b))] |= ORIGIN[origin]


for line in open(SKK, encoding="euc-jp"):
    if line.startswith(";") or " /" not in line:
        continue
    head, rest = line.rstrip("\n").split(" /", 1)
    if len(head) != 1:
        continue
    for cand in rest.split("/"):
        cand = cand.split(";")[0]
        if len(cand) != 1 or cand == head or not (is_ideograph(ord(head)) and is_ideograph(ord(cand))):
            continue
        itaiji_pairs.add(frozenset((ord(head), ord(cand))))

# A Unihan pair counts when it is a z-variant, or when the itaiji list
# relates the two as well: the semantic fields alone join different
# characters of one meaning (回/廻, 留/溜, 衆/匝).
for key, bits in unihan_pairs.items():
    if bits & ORIGIN["unihan-z"] or key in itaiji_pairs:
        pair_origin[key] |= bits
for key in itaiji_pairs:
    pair_origin[key] |= ORIGIN["itaiji"]

radical_pairs = []  # (source, target, origin)
for line in open(UNI + "UnicodeData.txt", encoding="utf-8"):
    f = line.split(";")
    c = int(f[0], 16)
    if 0xF900 <= c <= 0xFAFF and f[5] and not f[5].startswith("<"):
        radical_pairs.append((c, int(f[5], 16), "unicode"))
for line in open(UNI + "EquivalentUnifiedIdeograph.txt", encoding="utf-8"):
    line = line.split("#")[0].strip()
    if not line:
        continue
    src, dst = (x.strip() for x in line.split(";"))
    lo, _, hi = src.partition("..")
    for c in range(int(lo, 16), int(hi or lo, 16) + 1):
        radical_pairs.append((c, int(dst, 16), "radical"))
for a, b in OWN:
    if a != b:
        pair_origin[frozenset((ord(a), ord(b)))] |= ORIGIN["own"]
for a, b in JINMEIYO_FORMS:
    pair_origin[frozenset((a, b))] |= ORIGIN["jinmeiyo"]

deny_group = {}
for i, group in enumerate(DENY):
    for ch in group:
        deny_group.setdefault(ord(ch), set()).add(i)

parent = {}


def find(c):
    parent.setdefault(c, c)
    while parent[c] != c:
        parent[c] = parent[parent[c]]
        c = parent[c]
    return c


members = collections.defaultdict(set)


def group_of(c):
    r = find(c)
    members[r].add(c)
    return r


def may_join(ga, gb):
    both = members[ga] | members[gb]
    if len([c for c in both if c in JOYO]) > 1 or len([c for c in both if c in JINMEIYO]) > 1:
        return False
    for x in members[ga]:
        for y in members[gb]:
            if deny_group.get(x, set()) & deny_group.get(y, set()):
                return False
    return True


def join(a, b):
    ga, gb = group_of(a), group_of(b)
    if ga == gb or not may_join(ga, gb):
        return False
    parent[gb] = ga
    members[ga] |= members.pop(gb)
    return True


# Strongest evidence first: a looser pair never blocks a stricter one.
def strength(item):
    key, bits = item
    order = [ORIGIN["own"], ORIGIN["jinmeiyo"], ORIGIN["unihan-z"], ORIGIN["itaiji"] | ORIGIN["unihan-sem"], ORIGIN["itaiji"],
             ORIGIN["unihan-sem"], ORIGIN["unihan-specialized"]]
    for rank, need in enumerate(order):
        if bits & need == need:
            return (rank, sorted(key))
    return (len(order), sorted(key))


kept_pairs = {}
for key, bits in sorted(pair_origin.items(), key=strength):
    a, b = sorted(key)
    if join(a, b):
        kept_pairs[key] = bits


def rank(c):
    code = ENCODE.get(c)
    return (c not in JOYO, c not in JINMEIYO, code is None, code if code is not None else 0, c)


kanji = {}  # source -> (target, origin bits)
for root, group in members.items():
    if len(group) < 2:
        continue
    rep = min(group, key=rank)
    for c in group:
        if c == rep:
            continue
        bits = 0
        for key, b in kept_pairs.items():
            if c in key:
                bits |= b
        kanji[c] = (rep, bits)
for src, dst, origin in radical_pairs:
    if src in kanji:
        continue
    target = kanji.get(dst, (dst, 0))[0]
    kanji[src] = (target, ORIGIN[origin])

# --- compatibility characters ----------------------------------------------
decomp = {}
for line in open(UNI + "UnicodeData.txt", encoding="utf-8"):
    f = line.split(";")
    if f[5]:
        tag = f[5].startswith("<")
        parts = f[5].split(" ")[1:] if tag else f[5].split(" ")
        decomp[int(f[0], 16)] = (tag, [int(p, 16) for p in parts], f[5].split(" ")[0] if tag else "")


# Superscripts and subscripts are not the digits and letters they raise or
# lower (x²/x2, 10⁵/105): they stay as they are, also inside another
# character's decomposition (㎡ -> m²).
RAISED = ("<super>", "<sub>")


def full_decomposition(c):
    if c not in decomp or decomp[c][2] in RAISED:
        return [c]
    return [x for p in decomp[c][1] for x in full_decomposition(p)]


compat = {}
for c, (tag, _, _) in sorted(decomp.items()):
    if not tag or 0xF900 <= c <= 0xFAFF or 0x2E80 <= c <= 0x2FDF:
        continue
    result = unicodedata.normalize("NFC", "".join(map(chr, full_decomposition(c))))
    if any(unicodedata.category(ch)[0] in "MZC" for ch in result) or result == chr(c):
        continue
    # The key reads ` as the opening quote ‘ (CP932's single-byte grave
    # accent): ｀ as ` would join a grave accent with a quote.
    if result == "`":
        continue
    compat[c] = (result, ORIGIN["unicode"])
# CP932's second codes of one character (NEC row 13, the NEC-selected and
# the IBM extension rows) fold to the code CP932 writes.
dup_codes = []
for code, c in DECODE:
    if ENCODE.get(c) not in (None, code):
        dup_codes.append((code, ENCODE[c]))

# --- the small families ----------------------------------------------------
# Not the zero-width joiner: it makes one character of an emoji sequence.
SPACES = [0x20, 0x09, 0x3000, 0xA0, 0x200B, 0x200C, 0x2060, 0xFEFF, 0x202F, 0x205F] + \
    list(range(0x2000, 0x200B))
DOTS = [0x30FB, 0xFF65, 0xB7]
VARIATION_SELECTORS = list(range(0xFE00, 0xFE10)) + list(range(0xE0100, 0xE01F0))
SYMBOLS = [
    ("-", "-‐‑‒–—―−－﹣"),
    ("~", "~〜～∼"),
    ('"', '"“”＂'),
    ("'", "'‘’＇`"),
]
# Not the primes ′ ″: minutes and seconds, feet and inches, not quotes.
# The spellings by one character; the iteration marks are handled where they
# stand. ヴ/ブ, ぢ/じ, づ/ず and を/お are no rule: they join different names
# (ベン/ヴェン, ちず子/ちづ子), so only the words of tools/kana_words.txt
# (tools/gen_kana_words.py) join across them.
KANA = [("ヰ", "イ"), ("ヱ", "エ"), ("ゔ", "ヴ"), ("ゐ", "い"), ("ゑ", "え")]
# The kanji after which が between two kanji is the place-name ヶ (霞が関/霞ヶ関,
# 自由が丘/自由ヶ丘): those the dictionaries' place names show it before. Not
# 日: 三が日, the New Year's first days, is not 三ヶ日, a town.
KE_PLACES = "丘岡谷森峰峯嶺島嶋崎原城浦鼻関山尾岳嶽峠坂台浜池枝根越作迫面"
KANA_WORDS = [tuple(line.rstrip("\n").split("\t")[::-1]) for line in open("tools/kana_words.txt", encoding="utf-8")]
COMPANY = [
    ("(株)", ["株式会社", "(株)", "（株）", "㈱", "カブシキガイシャ"], "カ)", "(カ"),
    ("(有)", ["有限会社", "(有)", "（有）", "㈲", "ユウゲンガイシャ"], "ユ)", "(ユ"),
    ("(同)", ["合同会社", "(同)", "（同）"], "ド)", "(ド"),
    ("(資)", ["合資会社", "(資)", "（資）", "㈾"], "シ)", "(シ"),
    ("(名)", ["合名会社", "(名)", "（名）", "㈴"], "メ)", "(メ"),
    ("(一社)", ["一般社団法人", "(一社)", "（一社）"], "シヤ)", "(シヤ"),
    ("(一財)", ["一般財団法人", "(一財)", "（一財）"], "ザイ)", "(ザイ"),
    ("(医)", ["医療法人", "(医)", "（医）"], "イ)", "(イ"),
    ("(学)", ["学校法人", "(学)", "（学）"], "ガク)", "(ガク"),
    ("(福)", ["社会福祉法人", "(福)", "（福）"], "フク)", "(フク"),
    ("(特非)", ["特定非営利活動法人", "NPO法人", "(特非)", "（特非）"], "トクヒ)", "(トクヒ"),
]

# --- output ----------------------------------------------------------------
out = []
w = out.append
w("// Generated by tools/gen_variant_tables.py from SKK-JISYO.itaiji (skkdic-extra)")
w("// and the Unicode data files (unicode-data: Unihan_Variants, Unihan_OtherMappings,")
w("// UnicodeData, EquivalentUnifiedIdeograph); do not edit. Regenerate with")
w("//   python3 tools/gen_variant_tables.py > engine/variant_tables.h")
w("// Characters are the engine's text: CP932, or the codec's form of a")
w("// character CP932 cannot hold. The fold tables are built from these when a")
w("// kind is first used (engine/variant_folding.cpp).")
w("#pragma once")
w("#include <cstdint>")
w("#include <string_view>")
w("")
w("namespace tavrin::variant_tables {")
w("")
w("// Where a pair comes from (bits).")
w("enum TOrigin : std::uint16_t {")
w("  kItaiji = 1,           // SKK-JISYO.itaiji")
w("  kUnihanZ = 2,          // Unihan kZVariant")
w("  kUnihanSemantic = 4,   // Unihan kSemanticVariant")
w("  kUnihanSpecialized = 8,  // Unihan kSpecializedSemanticVariant")
w("  kRadical = 16,         // EquivalentUnifiedIdeograph.txt")
w("  kUnicodeData = 32,     // UnicodeData.txt decompositions")
w("  kCp932 = 64,           // the CP932 table's duplicate codes")
w("  kOwn = 128,            // this program's own list")
w("  kJinmeiyo = 256,       // Unihan kJinmeiyoKanji: an old form the name-kanji list allows")
w("};")
w("")
w("struct TPair {")
w("  std::string_view Source, Target;")
w("  std::uint16_t Origin;")
w("};")
w("")


def table(name, comment, rows):
    w("// " + comment)
    w("inline constexpr TPair %s[] = {" % name)
    for src, dst, origin, note in rows:
        w("    {%s, %s, %d},  // %s" % (c_string(src), c_string(dst), origin, note))
    w("};")
    w("")


rows = []
for c, (t, bits) in sorted(kanji.items(), key=lambda kv: (rank(kv[1][0]), kv[0])):
    rows.append((engine_bytes(chr(c)), engine_bytes(chr(t)), bits, "%s -> %s" % (shown(chr(c)), shown(chr(t)))))
for c in VARIATION_SELECTORS:
    rows.append((engine_bytes(chr(c)), b"", ORIGIN["own"], "variation selector U+%04X" % c))
table("kKanji", "Kanji forms: each to its group's representative; variation selectors go.", rows)

rows = []
for c, (t, bits) in sorted(compat.items()):
    rows.append((engine_bytes(chr(c)), engine_bytes(t), bits, "%s -> %s" % (shown(chr(c)), shown(t))))
for code, to in dup_codes:
    rows.append((code_bytes(code), code_bytes(to), ORIGIN["cp932"], "0x%04X -> 0x%04X" % (code, to)))
table("kCompat", "Compatibility characters as NFKC folds them; CP932's duplicate codes to one.", rows)

table("kBlanks", "Blanks ignored inside a line.",
      [(engine_bytes(chr(c)), b"", ORIGIN["own"], "U+%04X" % c) for c in SPACES])
table("kDots", "Middle dots, ignored everywhere.",
      [(engine_bytes(chr(c)), b"", ORIGIN["own"], "U+%04X" % c) for c in DOTS])
rows = []
for rep, members_ in SYMBOLS:
    for ch in members_:
        rows.append((engine_bytes(ch), engine_bytes(rep), ORIGIN["own"], "U+%04X -> %s" % (ord(ch), rep)))
table("kSymbols", "Symbol families, each to its first member.", rows)
table("kKana", "Katakana spellings, as written before the width and kana folding.",
      [(engine_bytes(a), engine_bytes(b), ORIGIN["own"], "%s -> %s" % (a, b)) for a, b in KANA])
table("kKanaWords", "Words of one meaning across ヴ/ブ, ぢ/じ, づ/ず, を/お (tools/kana_words.txt): variant, standard.",
      [(engine_bytes(a), engine_bytes(b), ORIGIN["own"], "%s -> %s" % (a, b)) for a, b in KANA_WORDS])
table("kKePlaces", "Kanji after which が between kanji is the place-name ヶ (霞が関 = 霞ヶ関).",
      [(engine_bytes(c), b"", ORIGIN["own"], c) for c in KE_PLACES])
rows = []
for token, forms, start, end in COMPANY:
    for f in forms:
        rows.append((engine_bytes(f), engine_bytes(token), ORIGIN["own"], "%s -> %s" % (f, token)))
table("kCompanyForms", "Company forms at either end of a line, each to its form's token.", rows)
table("kCompanyInside", "Company forms that count inside a line as well: written out, one character, (株) and (有).",
      [(engine_bytes(f), engine_bytes(token), ORIGIN["own"], "%s -> %s" % (f, token))
       for token, forms, _, _ in COMPANY for f in forms
       if f == forms[0] or len(f) == 1 or (token in ("(株)", "(有)") and f[0] in "(（")])
table("kCompanyStarts", "Bank-transfer forms that count only at the start of a line.",
      [(engine_bytes(s), engine_bytes(t), ORIGIN["own"], "%s -> %s" % (s, t)) for t, _, s, _ in COMPANY])
table("kCompanyEnds", "Bank-transfer forms that count only at the end of a line.",
      [(engine_bytes(e), engine_bytes(t), ORIGIN["own"], "%s -> %s" % (e, t)) for t, _, _, e in COMPANY])
w("}  // namespace tavrin::variant_tables")
sys.stdout.write("\n".join(out) + "\n")
print("kanji %d, compat %d, duplicate codes %d" % (len(kanji), len(compat), len(dup_codes)), file=sys.stderr)
