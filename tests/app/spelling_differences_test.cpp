// What differs between a variant and its canonical spelling: the kinds
// named in the tool-tip and the variant's bytes drawn highlighted.
#include <gtest/gtest.h>

#include "app/spelling_differences.h"
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
      {"voiced kana, width and kind", "がっこう", "ｶﾞｯｺｳ", true, "全角/半角、ひらがな/カタカナ", "が|っ|こ|う"},
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
      {"old kana, width", "ゑびす", "ｴﾋﾞｽ", true, "全角/半角、ひらがな/カタカナ、旧仮名", "ゑ|び|す"},
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
      {kAllVariantKinds, "ｶﾞｯｺｳ", "ガッコウ", "全角/半角"},
      {kAllVariantKinds, "髙橋ｶﾞｯｺｳ", "高橋ガッコウ", "全角/半角、異体字"},
      {kVariantKanji | kVariantSpace, "渡邊 太郎", "渡辺太郎", "異体字、空白・中点"},
      {0, "渡邊", "渡辺", ""},
  };
  for (const Row& r : rows) {
    TUniqueManager m;
    m.FHyphen = m.FHyphenTerminate = true;
    m.FVariants = r.kinds;
    EXPECT_EQ(cp932::ToUtf8(DifferenceKindNames(AllDifferenceKinds(m, Sjis(r.variant), Sjis(r.canonical)))), r.names)
        << r.variant << " / " << r.canonical;
  }
}

}  // namespace
}  // namespace tavrin
