// What differs between a variant and its canonical spelling: the kinds
// named in the tool-tip and the variant's bytes drawn highlighted.
#include "app/spelling_differences.h"

#include <gtest/gtest.h>

#include "engine/variant_folding.h"
#include "util/cp932.h"

namespace tavrin {
namespace {

using cp932::Sjis;

TEST(SpellingDifferences, KindsAndParts) {
  struct Row {
    const char* name;
    const char* variant;
    const char* canonical;
    bool hyphen;
    const char* kinds;    // DifferenceKindNames, UTF-8
    const char* differs;  // the highlighted parts of the variant, "|" between
  };
  const Row rows[] = {
      {"width", "ﾕﾆｯﾄ", "ユニット", true, "全角/半角", "ﾕ|ﾆ|ｯ|ﾄ"},
      {"kana kind only", "てすと", "テスト", true, "ひらがな/カタカナ", "て|す|と"},
      // A voiced kana against its two half-width characters is one part.
      {"voiced kana, width and kind", "がっこう", "ｶﾞｯｺｳ", true, "全角/半角、ひらがな/カタカナ",
       "が|っ|こ|う"},
      {"case", "Abc", "abc", true, "大文字/小文字", "A"},
      {"full-width capital", "ＡＢ", "ab", true, "全角/半角、大文字/小文字", "Ａ|Ｂ"},
      {"small kana", "キヨウ", "キョウ", true, "小書き文字", "ヨ"},
      {"long vowel against hyphen", "ｺ-ﾋ", "ｺｰﾋ", true, "長音/ハイフン", "-"},
      {"not width: - is no half-width ー", "コ-ヒ", "コーヒ", true, "長音/ハイフン", "-"},
      {"trailing hyphen against long vowel", "サンヨ-", "サンヨー", true, "長音/ハイフン", "-"},
      {"trailing mark", "データー", "データ", true, "末尾の長音/ハイフン", "ー"},
      // The case: a trailing full-width space the key drops.
      {"trailing full-width space", "CCD-9537 1　", "CCD-9537 1", true, "空白", "　"},
      {"leading blanks", "  abc", "abc", true, "空白", "  "},
      {"canonical has the mark", "データ", "データー", true, "末尾の長音/ハイフン", ""},
      // A base and its combining marks or variation selector are one part:
      // a mark drawn apart from its base is lost.
      {"combining voiced mark", "カ\u3099ス会社", "ガス会社", true, "濁点", "カ\u3099"},
      {"combining semi-voiced mark", "ハ\u309Aン屋", "パン屋", true, "濁点", "ハ\u309A"},
      {"combining mark against half-width", "カ\u3099ス", "ｶﾞｽ", true, "全角/半角", "カ\u3099|ス"},
      {"only the combining mark differs", "カ\u3099ス", "カ゛ス", true, "濁点", "カ\u3099"},
      {"separate voiced mark", "か゛っこう", "がっこう", true, "濁点", "か゛"},
      {"old kana", "ヰスキー", "イスキー", true, "旧仮名", "ヰ"},
      {"old kana, width", "ゑびす", "ｴﾋﾞｽ", true, "全角/半角、ひらがな/カタカナ、旧仮名",
       "ゑ|び|す"},
      {"wave dash", "10\u301C20", "10～20", true, "波ダッシュ", "\u301C"},
      {"minus sign, no width", "A\u22121", "A-1", true, "別コードの同じ字", "\u2212"},
      {"em dash", "A\u2014B", "A―B", true, "別コードの同じ字", "\u2014"},
      {"lines of one mark", "ｰ", "-", false, "末尾の長音/ハイフン", "ｰ"},
      {"half-width voiced mark", "ﾊﾟﾝ", "ハ゜ン", true, "全角/半角", "ﾊﾟ|ﾝ"},
      {"variation selector", "#\uFE0Fabc", "＃\uFE0Fabc", true, "全角/半角", "#\uFE0F"},
      {"marks after leading blanks", " \u0301a", "\u0301a", true, "空白", " \u0301"},
  };
  for (const Row& r : rows) {
    const std::string v = Sjis(r.variant);
    const TSpellingDifferences d = CompareSpellings(v, Sjis(r.canonical), r.hyphen);
    EXPECT_EQ(cp932::ToUtf8(DifferenceKindNames(d.Kinds)), r.kinds) << r.name;
    std::string parts;
    for (const TSpellingDifference& p : d.Parts) {
      if (p.Length == 0) continue;
      if (!parts.empty()) parts += '|';
      parts += cp932::ToUtf8(v.substr(p.Start, p.Length));
    }
    EXPECT_EQ(parts, r.differs) << r.name;
  }
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

// The kinds of variants a difference needs, by the names the tool-tips and
// map --explain show; a kind that is off is never named.
TEST(SpellingDifferences, KindsOfVariants) {
  struct Row {
    unsigned kinds;  // FVariants
    const char* variant;
    const char* canonical;
    const char* names;  // AllDifferenceKinds' names, UTF-8
  };
  const Row rows[] = {
      {kAllVariantKinds, "渡邊", "渡辺", "異体字"},
      {kAllVariantKinds, "①", "1", "互換文字"},
      {kAllVariantKinds, "山田 太郎", "山田太郎", "空白・中点"},
      {kAllVariantKinds, "03‒1234", "03-1234", "記号"},
      {kAllVariantKinds, "ヴァイオリン", "バイオリン", "カナ表記"},
      {kAllVariantKinds, "㈱山田", "株式会社山田", "法人格"},
      {kAllVariantKinds, "第一回", "第1回", "数字表記"},
      {kAllVariantKinds, "１－２－３", "1丁目2番3号", "全角/半角、数字表記"},
      {kAllVariantKinds, "申込書", "申し込み書", "送り仮名・かな書き"},
      {kAllVariantKinds, "ください", "下さい", "送り仮名・かな書き"},
      {kAllVariantKinds, "髙橋様申込書", "高橋様申し込み書", "異体字、送り仮名・かな書き"},
      {kAllVariantKinds, "ｶﾞｯｺｳ", "ガッコウ", "全角/半角"},
      {kAllVariantKinds, "髙橋ｶﾞｯｺｳ", "高橋ガッコウ", "全角/半角、異体字"},
      // A kind that changes the length: the width of the rest is still named.
      {kAllVariantKinds, "㈱ﾔﾏﾀﾞ", "株式会社ヤマダ", "全角/半角、法人格"},
      {kVariantKanji | kVariantSpace, "渡邊 太郎", "渡辺太郎", "異体字、空白・中点"},
      {0, "渡邊", "渡辺", ""},
  };
  for (const Row& r : rows) {
    TUniqueManager m;
    m.FHyphen = m.FHyphenTerminate = true;
    m.FVariants = r.kinds;
    EXPECT_EQ(cp932::ToUtf8(
                  DifferenceKindNames(AllDifferenceKinds(m, Sjis(r.variant), Sjis(r.canonical)))),
              r.names)
        << r.variant << " / " << r.canonical;
  }
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

// The parts of the variant as "variant→canonical", "|" between (UTF-8).
std::string PartsOf(const std::string& variant, const TSpellingDifferences& d) {
  std::string out;
  for (const TSpellingDifference& p : d.Parts) {
    if (!out.empty()) out += '|';
    out += cp932::ToUtf8(variant.substr(p.Start, p.Length)) + "→" + cp932::ToUtf8(p.Canonical);
  }
  return out;
}

// Spellings of different lengths are aligned at grapheme clusters by what
// each folds to: only what differs is a part, and the text around it is
// left alone.
TEST(SpellingDifferences, PartsOfSpellingsOfOtherLengths) {
  struct Row {
    unsigned kinds;  // the kinds of variants the key was made with
    const char* variant;
    const char* canonical;
    const char* parts;
  };
  const Row rows[] = {
      {kAllVariantKinds, "㈱南海マリン", "株式会社南海マリン", "㈱→株式会社"},
      // A character matching by chance inside a form joins its neighbours;
      // a character matching beside one paired by the kinds stays apart.
      {kAllVariantKinds, "（株）南海マリン", "株式会社南海マリン", "（株）→株式会社"},
      {kAllVariantKinds, "(株)渡邊", "株式会社渡辺", "(株)→株式会社|邊→辺"},
      // The matched characters keep their own parts of width.
      {kAllVariantKinds, "ﾔﾏﾀﾞ(ｶ", "ヤマダ（株）", "ﾔ→ヤ|ﾏ→マ|ﾀﾞ→ダ|(→（|ｶ→株）"},
      // Insertions at the start, in the middle and at the end: an empty
      // part where the canonical has more.
      {kAllVariantKinds, "南海マリン", "株式会社南海マリン", "→株式会社"},
      {kAllVariantKinds, "山田太郎", "山田・太郎", "→・"},
      {kAllVariantKinds, "南海マリン", "南海マリン株式会社", "→株式会社"},
      {kAllVariantKinds, "カブシキガイシャ", "株式会社", "カブシキガイシャ→株式会社"},
      // One to one by the kinds' folds: each character its own part.
      {kAllVariantKinds, "①②③号", "123号", "①→1|②→2|③→3"},
      // A base with its combining mark, and a character outside CP932
      // (a surrogate pair in UTF-16), are one cluster each.
      {kAllVariantKinds, "カ\u3099ス㈱", "ガス株式会社", "カ\u3099→ガ|㈱→株式会社"},
      {kAllVariantKinds, "𠮷野家㈱", "𠮷野家株式会社", "㈱→株式会社"},
      // An insertion after a mark that extends a blank: the parts stay in
      // order and join.
      {kAllVariantKinds, "　ﾟカ", "　Aﾟ㈱゜カ", "　ﾟ→Aﾟ㈱゜"},
      {0, "", "", ""},
      {0, "", "abc", "→abc"},
      {0, "abc", "", "abc→"},
      // Blanks and a trailing mark the key drops are still told apart.
      {kAllVariantKinds, "㈱データー ", "株式会社データ", "㈱→株式会社|ー→| →"},
  };
  for (const Row& r : rows) {
    const std::string v = Sjis(r.variant);
    EXPECT_EQ(PartsOf(v, CompareSpellings(v, Sjis(r.canonical), true, r.kinds)), r.parts)
        << r.variant << " / " << r.canonical;
  }
}

// A long line whose alignment would cost too much is one part from its
// first to its last difference; a short one of the same pattern is aligned.
TEST(SpellingDifferences, LongLinesDifferInOnePart) {
  for (const std::size_t n : {std::size_t{20}, std::size_t{3000}}) {
    std::string v = "x", c = "x";
    for (std::size_t i = 0; i < n; ++i) v += "ab", c += "ac";
    v += "y", c += "y";
    const TSpellingDifferences d = CompareSpellings(v, c, true);
    if (n == 20) {
      EXPECT_EQ(d.Parts.size(), n);
      continue;
    }
    ASSERT_EQ(d.Parts.size(), 1u);
    EXPECT_EQ(d.Parts[0].Start, 2u);
    EXPECT_EQ(d.Parts[0].Length, 2 * n - 1);  // the first b to the last
    EXPECT_TRUE(d.Parts[0].Canonical == c.substr(2, 2 * n - 1));
  }
}

}  // namespace
}  // namespace tavrin
