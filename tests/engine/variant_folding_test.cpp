#include "engine/variant_folding.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/char_folding.h"
#include "engine/okurigana_table.h"
#include "engine/unique_manager.h"
#include "engine/variant_tables.h"
#include "util/cp932.h"
#include "util/sjis.h"

namespace tavrin {
namespace {

using cp932::FromUtf8;

// The key [類字抽出] compares, with the batch's defaults and Kinds.
std::string Key(std::string_view utf8, unsigned Kinds) {
  TUniqueManager m;
  m.FHyphen = true;
  m.FHyphenTerminate = true;
  m.FVariants = Kinds;
  return m.MakeKey(FromUtf8(utf8).bytes);
}

struct TPairCase {
  unsigned Kind;
  const char* A;
  const char* B;
};

// Pairs that each kind alone joins and that nothing joins without it.
const TPairCase kGrouped[] = {
    {kVariantKanji, "渡辺", "渡邊"},
    {kVariantKanji, "渡辺", "渡邉"},
    {kVariantKanji, "高橋", "髙橋"},
    {kVariantKanji, "山崎", "山﨑"},
    {kVariantKanji, "佐々木", "佐佐木"},
    {kVariantKanji, "吉田", "𠮷田"},
    {kVariantKanji, "澤田", "沢田"},
    {kVariantKanji, "桜井", "櫻井"},
    {kVariantKanji, "国広", "國廣"},
    {kVariantKanji, "浜田", "濱田"},
    {kVariantKanji, "斎藤", "齋藤"},
    {kVariantKanji, "斉藤", "齊藤"},
    {kVariantKanji, "黒田", "黑田"},
    {kVariantKanji, "真田", "眞田"},
    {kVariantKanji, "竜也", "龍也"},
    {kVariantKanji, "富田", "冨田"},
    {kVariantKanji, "島田", "嶋田"},
    // Old forms of the Joyo table and of the name-kanji list, and the
    // itaiji list's pairs of two JIS level 1 characters.
    {kVariantKanji, "大学", "大學"},
    {kVariantKanji, "駅前", "驛前"},
    {kVariantKanji, "県道", "縣道"},
    {kVariantKanji, "円山", "圓山"},
    {kVariantKanji, "予定", "豫定"},
    {kVariantKanji, "欠席", "缺席"},
    {kVariantKanji, "武蔵", "武藏"},
    {kVariantKanji, "長瀬", "長瀨"},
    {kVariantKanji, "弁護士", "辯護士"},
    {kVariantKanji, "弁別", "辨別"},
    {kVariantKanji, "花弁", "花瓣"},
    {kVariantKanji, "高峰", "高峯"},
    {kVariantKanji, "灯台", "燈台"},
    {kVariantKanji, "本館", "本舘"},
    {kVariantKanji, "野村", "埜村"},
    {kVariantKanji, "檜山", "桧山"},
    {kVariantKanji, "葛\xEF\xB8\x80城", "葛城"},      // variation selector U+FE00
    {kVariantKanji, "葛\xF3\xA0\x84\x80城", "葛城"},  // U+E0100
    {kVariantKanji, "\xE2\xBC\x80二", "一二"},        // Kangxi radical one
    {kVariantKanji, "\xEF\xA8\x90田", "塚田"},        // U+FA10, a compatibility ideograph
    {kVariantCompat, "①", "1"},
    {kVariantCompat, "Ⅱ世", "II世"},
    {kVariantCompat, "㍻元年", "平成元年"},
    {kVariantCompat, "10㌔", "10キロ"},
    {kVariantCompat, "5㎏", "5kg"},
    {kVariantCompat, "20㎡", "20m²"},
    {kVariantCompat, "㈱山田", "(株)山田"},
    {kVariantCompat, "№5", "No5"},
    {kVariantCompat, "℡03", "TEL03"},
    {kVariantCompat, "\xE2\x85\xB0", "i"},  // ⅰ, NEC-selected IBM row
    {kVariantSpace, "山田 太郎", "山田太郎"},
    {kVariantSpace, "山田　太郎", "山田太郎"},
    {kVariantSpace, "山田\t太郎", "山田太郎"},
    {kVariantSpace, "山田\xC2\xA0太郎", "山田太郎"},
    {kVariantSpace, "山田\xE2\x80\x8B太郎", "山田太郎"},
    {kVariantSpace, "10\t20", "10 20"},
    {kVariantSpace, "1·2年", "1・2年"},
    {kVariantSpace, "サニー・ヒルズ", "サニーヒルズ"},
    {kVariantSpace, "サニー･ヒルズ", "サニーヒルズ"},
    {kVariantSpace, "サニー·ヒルズ", "サニーヒルズ"},
    {kVariantSpace, "ダ・ヴィンチ", "ダ·ヴィンチ"},  // a dot beside one character stays, as one dot
    {kVariantSpace, "ラ・サール 学院", "ラ・サール学院"},
    {kVariantSymbol, "03‒1234‒5678", "03-1234-5678"},
    {kVariantSymbol, "03‐1234", "03-1234"},
    {kVariantSymbol, "03–1234", "03-1234"},
    {kVariantSymbol, "03―1234", "03-1234"},
    {kVariantSymbol, "10∼20", "10~20"},
    {kVariantSymbol, "“本”", "\"本\""},
    {kVariantSymbol, "‘本’", "'本'"},
    {kVariantKana, "ヴァイオリン", "バイオリン"},
    {kVariantKana, "ヴァイオリン教室", "バイオリン教室"},
    {kVariantKana, "ｳﾞｧﾗｴﾃｨｰ", "バラエティー"},
    {kVariantKana, "ヴァラエティー", "バラエティ"},
    {kVariantKana, "ライヴ", "ライブ"},
    {kVariantKana, "スケヂュール", "スケジュール"},
    {kVariantKana, "こぢんまり", "こじんまり"},
    {kVariantKana, "さしづめ", "さしずめ"},
    {kVariantKana, "かつを", "カツオ"},
    {kVariantKana, "ゔぁいおりん", "バイオリン"},
    {kVariantKana, "こゝろ", "こころ"},
    {kVariantKana, "いすゞ", "いすず"},
    {kVariantKana, "バナヽ", "バナナ"},
    {kVariantKana, "ちゞむ", "ちぢむ"},
    // The place-name ヶ between kanji; が only before a kanji of place names.
    {kVariantKana, "霞ヶ関", "霞ケ関"},
    {kVariantKana, "霞が関", "霞ヶ関"},
    {kVariantKana, "八ヶ岳", "八ｹ岳"},
    {kVariantKana, "三ヵ所", "三カ所"},
    {kVariantKana, "自由が丘駅", "自由ヶ丘駅"},
    {kVariantCompany, "株式会社山田", "(株)山田"},
    {kVariantCompany, "株式会社山田", "（株）山田"},
    {kVariantCompany, "株式会社山田", "㈱山田"},
    {kVariantCompany, "株式会社 山田", "(株)山田"},
    {kVariantCompany, "カブシキガイシャヤマダ", "カ)ヤマダ"},
    {kVariantCompany, "ｶ)ﾔﾏﾀﾞ", "株式会社ヤマダ"},
    {kVariantCompany, "山田株式会社", "山田(株)"},
    {kVariantCompany, "ヤマダ(カ", "ヤマダ（株）"},
    {kVariantCompany, "有限会社山田", "㈲山田"},
    {kVariantCompany, "ユ)ヤマダ", "(有)ヤマダ"},
    {kVariantCompany, "合同会社山田", "(同)山田"},
    {kVariantCompany, "合資会社山田", "㈾山田"},
    {kVariantCompany, "合名会社山田", "㈴山田"},
    {kVariantCompany, "一般社団法人山田会", "(一社)山田会"},
    {kVariantCompany, "一般財団法人ヤマダカイ", "ザイ)ヤマダカイ"},
    {kVariantCompany, "医療法人山田会", "(医)山田会"},
    {kVariantCompany, "学校法人ヤマダガクエン", "ガク)ヤマダガクエン"},
    {kVariantCompany, "社会福祉法人山田会", "(福)山田会"},
    {kVariantCompany, "特定非営利活動法人山田", "NPO法人山田"},
    {kVariantCompany, "ＮＰＯ法人ヤマダ", "トクヒ)ヤマダ"},
    {kVariantCompany, "山田(株)東京支店", "山田株式会社東京支店"},
    {kVariantCompany, "山田㈲東京支店", "山田（有）東京支店"},
    {kVariantCompany, "東京医療法人会", "東京(医)会"},
    // ヴ in a word of six kana or more, one of the list inside it too.
    {kVariantKana, "ヴァージニア", "バージニア"},
    {kVariantKana, "ベートーヴェン", "ベートーベン"},
    {kVariantKana, "キャラヴァン隊", "キャラバン隊"},
    {kVariantKana, "インタヴュアー", "インタビュアー"},
    {kVariantKana, "ムーヴメント", "ムーブメント"},  // a rewrite that keeps the key's size
    {kVariantKana, "ｳﾞｧｰｼﾞﾆｱ", "バージニア"},        // a sound mark of its own
    {kVariantNumber, "一丁目", "1丁目"},
    {kVariantNumber, "本町一丁目", "本町１丁目"},
    {kVariantNumber, "二番地", "2番地"},
    {kVariantNumber, "第一回", "第1回"},
    {kVariantNumber, "第一章第二節", "第1章第2節"},
    {kVariantNumber, "十二月", "12月"},
    {kVariantNumber, "二十人", "20人"},
    {kVariantNumber, "百五人", "105人"},
    {kVariantNumber, "三千五百円", "3500円"},
    {kVariantNumber, "二〇二四年", "2024年"},
    {kVariantNumber, "一九九九年", "1999年"},
    {kVariantNumber, "一人", "1人"},
    {kVariantNumber, "山(一人", "山(1人"},  // what stands right before the numeral counts
    {kVariantNumber, "一つ", "1つ"},
    {kVariantNumber, "二十一世紀", "21世紀"},
    {kVariantNumber, "一時間", "1時間"},
    {kVariantNumber, "3ヶ月", "3か月"},
    {kVariantNumber, "3カ月", "3箇月"},
    {kVariantNumber, "三ヶ所", "3カ所"},
    {kVariantNumber, "1丁目2番3号", "1-2-3"},
    {kVariantNumber, "本町一丁目二番三号", "本町１－２－３"},
    {kVariantNumber, "1丁目2番地3", "1-2-3"},
    {kVariantNumber, "1丁目2番地", "1-2"},
    {kVariantNumber, "十日", "10日"},  // a lone place numeral before 円 and 日; 十 before 月
    {kVariantNumber, "千円", "1000円"},
    {kVariantNumber, "十月", "10月"},
    {kVariantNumber, "1丁目2-3", "1-2-3"},
    {kVariantNumber, "℡03-1234-5678", "TEL03-1234-5678"},
    {kVariantNumber, "Tel.03-1234-5678", "TEL 03-1234-5678"},
    {kVariantNumber, "tel:(03)1234-5678", "℡(03)1234-5678"},
    {kVariantNumber, "一万円", "1万円"},  // 万 and 億 stay after their group's digits
    {kVariantNumber, "三億五千万円", "3億5000万円"},
    {kVariantNumber, "一万二人", "1万2人"},
    {kVariantNumber, "第三回定例会", "第3回定例会"},  // after 第, whatever follows
    {kVariantNumber, "三時十五分", "3時15分"},        // a time or a date going on
    {kVariantNumber, "二〇二四年五月", "2024年5月"},
    {kVariantNumber, "平成三十年", "平成30年"},
    {kVariantNumber, "三号館", "3号館"},  // a few kanji after 号 and 番
    {kVariantNumber, "二番線", "2番線"},
    // The words of the okurigana table, alone and inside a line.
    {kVariantOkurigana, "申込", "申し込み"},
    {kVariantOkurigana, "申込書", "申し込み書"},
    {kVariantOkurigana, "申込みの受付", "申し込みの受付"},
    {kVariantOkurigana, "引越し業者", "引っ越し業者"},
    {kVariantOkurigana, "引越", "引っ越し"},
    {kVariantOkurigana, "問合せ先", "問い合わせ先"},
    {kVariantOkurigana, "見積書", "見積もり書"},
    {kVariantOkurigana, "振込先", "振り込み先"},
    {kVariantOkurigana, "子ども会", "子供会"},
    {kVariantOkurigana, "ください", "下さい"},
    {kVariantOkurigana, "あらかじめ", "予め"},
    {kVariantOkurigana, "（すでに）", "(既に)"},
    // After a run of kana, which the first look passes over.
    {kVariantOkurigana, "新しいお申込書", "新しいお申し込み書"},
};

TEST(VariantFolds, EachKindJoinsItsPairs) {
  for (const TPairCase& c : kGrouped) {
    EXPECT_NE(Key(c.A, 0), Key(c.B, 0)) << c.A << " / " << c.B << ": joined without any kind";
    EXPECT_EQ(Key(c.A, c.Kind), Key(c.B, c.Kind)) << c.A << " / " << c.B;
    EXPECT_EQ(Key(c.A, kAllVariantKinds), Key(c.B, kAllVariantKinds))
        << c.A << " / " << c.B << " (all kinds)";
  }
}

TEST(VariantFolds, DifferentNamesStayApartUnderAllKinds) {
  const std::pair<const char*, const char*> apart[] = {
      {"斉藤", "斎藤"},
      {"伊藤", "伊東"},
      {"埼玉", "崎玉"},
      {"后藤", "後藤"},
      {"干場", "乾場"},
      {"叶", "葉"},
      {"佐々木", "佐木"},
      {"サーバー", "サバ"},
      {"1-2-3", "1-23"},
      {"バス", "パス"},
      // A repeat mark after a sound mark that opens the line has no kana to
      // repeat (and nothing before the line to look at).
      {"ﾞゞ", "ﾞず"},
      {"株式会社山田", "山田株式会社"},
      {"㈱山田", "㈲山田"},
      {"カ)ヤマダ", "ヤマダ(カ"},
      {"山田(株)東京支店", "(株)山田東京支店"},  // where the form stands counts
      {"山田カ)東京", "山田株式会社東京"},       // bank-transfer forms only at the ends
      {"山田太郎", "山田 次郎"},
      {"ブァ", "バ"},
      {"ズ", "ジ"},
      {"ベスト", "ヴェスト"},
      {"ビール", "ヴィール"},
      {"バリ", "ヴァリ"},
      {"ベン", "ヴェン"},
      {"エルベ", "エルヴェ"},
      {"ハービー", "ハーヴィー"},    // five kana: Herbie, Harvey
      {"ベルナー", "ヴェルナー"},    // a trailing mark does not count
      {"ﾞヴェルナー", "ﾞベルナー"},  // nor a sound mark that opens the line
      {"ちず子", "ちづ子"},
      {"かずき", "かづき"},
      {"じ", "ぢ"},
      {"きずく", "きづく"},
      {"三が日", "三ヶ日"},  // the New Year's days, a town
      {"霞ヶ", "霞ケ"},      // ヶ only between two kanji
      {"ヶ関", "ケ関"},
      {"霞ゲ関", "霞ヶ関"},
      {"10~20", "10-20"},
      {"\"本\"", "'本'"},
      {"言う", "云う"},
      {"一号", "壱号"},
      {"回転", "廻転"},
      {"留守", "溜守"},
      {"愈々", "癒々"},
      {"畑山", "畠山"},  // different families, though the itaiji list relates them
      {"杉山", "椙山"},
      {"広子", "宏子"},
      {"弘", "広"},
      {"堺", "界"},
      {"関", "函"},
      {"障害", "障碍"},  // one word, two characters: 碍子
      {"燗", "爛"},
      {"5′30″", "5'30\""},  // minutes and seconds, not quotes
      {"x²", "x2"},
      {"10⁵", "105"},
      {"H₂O", "H2O"},
      {"10 20", "1020"},
      {"(山一人", "(山1人"},  // a numeral after a kanji is part of a word
      {"1・2年", "12年"},
      {"John Smith", "JohnSmith"},
      {"A・B", "AB"},
      {"ア・テスト", "アテスト"},  // a dot beside a piece of one character stays
      {"コ・コン", "ここん"},
      {"中・島", "中島"},  // the dot stands for a character (中甑島)
      {"ア・ラ・", "アラ"},
      {"大松・", "大松"},  // a dot at the end, too (大松碆)
      {"‘", "｀"},         // a quote and a grave accent
      {"👨\u200D👩\u200D👧", "👨👩👧"},
      {"👩\u200D❤\uFE0F\u200D👨", "👩❤👨"},
      {"・", "·"},  // fold to nothing: joined by no kind
      {"・", "ー"},
      {"一郎", "1郎"},  // numerals inside a word or a name stay
      {"一般", "1般"},
      {"統一", "統1"},
      {"同一人物", "同1人物"},
      {"一人前", "1人前"},
      {"三日月", "3日月"},
      {"四日市", "4日市"},
      {"二階堂", "2階堂"},
      {"九十九", "99"},
      {"もう一つ", "もう1つ"},
      {"お八つ", "お8つ"},
      {"レツゴー三匹", "レツゴー3匹"},
      {"一人ぼっち", "1人ぼっち"},
      {"五月ケ丘", "5月ケ丘"},
      {"十分", "10分"},   // a lone place numeral, and the words of the list
      {"百月", "100月"},  // a place and family name (どうづき)
      {"千歳", "1000歳"},
      {"一時", "1時"},
      {"九段", "9段"},
      {"五分", "5分"},
      {"一二回", "12回"},  // once or twice
      {"三三九度", "339度"},
      {"十十人", "20人"},
      {"1丁目", "1"},
      {"四月一日", "4月1日"},  // family names (わたぬき, ほずみ)
      {"八月一日", "8月1日"},
      {"一万田", "1万田"},
      {"万一回", "万1回"},
      {"一万万円", "1万万円"},
      {"万人", "1万人"},
      {"一年一度", "1年1度"},
      {"東三十年", "東30年"},
      {"1丁目2", "1-2"},
      // Another kanji is another word; kana alone may be any word read so,
      // or a name's kana, and a kanji word read two ways is neither.
      {"卸", "下ろし"},
      {"叔父", "伯父"},
      {"早い", "速い"},
      {"きよう", "器用"},
      {"じんめい", "人名"},
      {"ひとがた", "人形"},
      {"にんぎょう", "ひとがた"},
      {"かみしも", "上下"},
      {"あけぼの町", "曙町"},
      {"すでに済", "既に済"},
      {"こども", "子供"},  // a noun in kana may be a name's reading
      {"ちず子", "ちづ子"},
  };
  for (const auto& [a, b] : apart)
    EXPECT_NE(Key(a, kAllVariantKinds), Key(b, kAllVariantKinds)) << a << " / " << b;
}

TEST(VariantFolds, KeepWhatTheOptionsDecide) {
  // Outer blanks stay for the trimming options; one trailing mark still goes.
  TUniqueManager m;
  m.FVariants = kAllVariantKinds;
  const std::string key = m.MakeKey(FromUtf8(" 山田 太郎 ").bytes);
  EXPECT_EQ(key, FromUtf8(" 山田太郎 ").bytes);
  // Without the hyphen option a long-vowel mark is a dash only between digits.
  m.FVariants = kVariantSymbol;
  EXPECT_EQ(m.MakeKey(FromUtf8("1ー2ｰ3").bytes), "1-2-3");
  EXPECT_NE(m.MakeKey(FromUtf8("アー1").bytes), m.MakeKey(FromUtf8("ア-1").bytes));
  EXPECT_NE(m.MakeKey(FromUtf8("1ー").bytes + "a", m.FVariants), "1-a");
  m.FVariants = kAllVariantKinds;
  m.FHyphen = m.FHyphenTerminate = true;
  EXPECT_EQ(m.MakeKey(FromUtf8("コーヒー").bytes), m.MakeKey(FromUtf8("コーヒ").bytes));
  // With no kind the key is the key as always, and a variant-made key may
  // be longer than its text.
  m.FVariants = 0;
  EXPECT_EQ(m.MakeKey(FromUtf8("㍻").bytes), FromUtf8("㍻").bytes);
  m.FVariants = kVariantCompat;
  EXPECT_EQ(m.MakeKey(FromUtf8("㍻").bytes), FromUtf8("平成").bytes);
}

// Every character a table lists, alone and in the places where context
// counts, folds to a key that folding again leaves as it is.
TEST(VariantFolds, AreIdempotentOverEveryTableCharacter) {
  namespace vt = variant_tables;
  std::vector<std::string> chars;
  const auto take = [&](std::span<const vt::TPair> pairs) {
    for (const vt::TPair& p : pairs) {
      chars.emplace_back(p.Source);
      if (!p.Target.empty()) chars.emplace_back(p.Target);
    }
  };
  take(vt::kKanji);
  take(vt::kCompat);
  take(vt::kBlanks);
  take(vt::kDots);
  take(vt::kSymbols);
  take(vt::kKana);
  take(vt::kCompanyForms);
  take(vt::kCompanyStarts);
  take(vt::kCompanyEnds);
  for (const char* mark :
       {"々", "ゝ", "ゞ", "ヽ", "ヾ", "ー", "ｰ", "ﾞ", "ﾟ", "゛", "ヶ", "ヵ", "カ", "が", "ｹﾞ"})
    chars.push_back(FromUtf8(mark).bytes);
  // Every 97th word of the okurigana table, each spelling.
  for (std::size_t i = 0; i < std::size(okurigana_table::kWords); i += 97) {
    const std::string line(okurigana_table::kWords[i]);
    for (std::size_t from = 0; from <= line.size();) {
      const std::size_t tab = std::min(line.find('\t', from), line.size());
      chars.push_back(FromUtf8(line.substr(from, tab - from)).bytes);
      from = tab + 1;
    }
  }
  const std::string around[][2] = {
      {"", ""},
      {"1", "2"},
      {FromUtf8("カ").bytes, FromUtf8("ゝ").bytes},
      {FromUtf8("漢").bytes, FromUtf8("々").bytes},
      {FromUtf8("ヴ").bytes, FromUtf8("ァ").bytes},
      {FromUtf8("山田").bytes, ""},
      {"", FromUtf8("山田").bytes},
      {FromUtf8("ぢ").bytes, FromUtf8("ゞ").bytes},
      {"a ", " b"},
      {FromUtf8("ウ").bytes, FromUtf8("ァ").bytes},
      {FromUtf8("ｯ").bytes, ""},
      {FromUtf8("ﾁ").bytes, FromUtf8("ﾞ").bytes},
      {FromUtf8("霞").bytes, FromUtf8("関").bytes},
      {FromUtf8("一").bytes, FromUtf8("人").bytes},
      {FromUtf8("第十").bytes, FromUtf8("丁目2番").bytes},
      // Blank runs the one pass settles: at the ends, between what a
      // spelling, ヶ or a repeat mark joins, between digits.
      {FromUtf8("　 ").bytes, FromUtf8("\t　").bytes},
      {FromUtf8("ｳ　").bytes, FromUtf8("ァイオリン").bytes},
      {FromUtf8("霞 ").bytes, FromUtf8("　関").bytes},
      {FromUtf8("3　").bytes, FromUtf8(" 々").bytes},
  };
  std::size_t checked = 0;
  for (const unsigned kinds : {1u, 2u, 4u, 8u, 16u, 32u, 64u, 128u, kAllVariantKinds}) {
    for (const bool hyphens : {false, true}) {
      for (const std::string& c : chars) {
        for (const auto& [before, after] : around) {
          const std::string text = before + c + after;
          std::string key(text.size(), '\0');
          key.resize(FoldKeyInto(text, hyphens, key.data()));
          const std::string once = FoldVariants(key, kinds, hyphens);
          // The keys' one-pass folding gives the same (no trimming here),
          // but where the kinds leave nothing.
          TUniqueManager m;
          m.FHyphen = m.FTrim = hyphens;
          m.FVariants = kinds;
          ASSERT_EQ(m.MakeKey(text), once.empty() ? key : once)
              << "kinds " << kinds << " hyphens " << hyphens << ": " << cp932::ToUtf8(text);
          ASSERT_EQ(FoldVariants(once, kinds, hyphens), once)
              << "kinds " << kinds << " hyphens " << hyphens << ": " << cp932::ToUtf8(text);
          std::string refolded(once.size(), '\0');
          refolded.resize(FoldKeyInto(once, hyphens, refolded.data()));
          ASSERT_EQ(refolded, once)
              << "the width folding changes " << cp932::ToUtf8(text) << "'s key";
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 100000u);
}

// Folds only join: lines that share a key without any kind share one under
// every combination of kinds and options, the trailing-mark rule included.
TEST(VariantFolds, NeverPartLinesThatShareAPlainKey) {
  const char* const pieces[] = {
      "A",      "a",        "Ａ", "1",  "①",      "²",    "-",     "‐",  "ー",     "ｰ",
      "－",     " ",        "　", "\t", "・",     "カ",   "ｶ",     "(",  "（株）", "株式会社",
      "ヤマダ", "ヴ",       "ブ", "ﾞ",  "゛",     "々",   "ゝ",    "〜", "~",      "\u200D",
      "👨",      "一",       "十", "人", "丁目",   "番",   "ヶ月",  "第", "TEL",    "℡",
      "申込",   "申し込み", "み", "書", "こども", "子供", "子ども"};
  std::vector<std::string> pieceBytes;
  for (const char* p : pieces) pieceBytes.push_back(FromUtf8(p).bytes);
  std::mt19937 random(32);
  std::vector<std::string> lines;
  for (int i = 0; i < 1500; ++i) {
    std::string line;
    for (int k = 1 + static_cast<int>(random() % 4); k > 0; --k)
      line += pieceBytes[random() % pieceBytes.size()];
    lines.push_back(line);
  }
  for (unsigned options = 0; options < 8; ++options) {
    TUniqueManager m;
    m.FHyphen = options & 1, m.FHyphenTerminate = options & 2, m.FTrim = options & 4;
    std::map<std::string, std::vector<const std::string*>> plain;
    for (const std::string& line : lines) plain[m.MakeKey(line, 0)].push_back(&line);
    for (unsigned kinds = 1; kinds <= kAllVariantKinds; ++kinds) {
      // The okurigana kind's table is large to build: with it, each other
      // kind alone and all of them.
      const unsigned others = kinds & ~unsigned{kVariantOkurigana};
      if ((kinds & kVariantOkurigana) && others != 0 &&
          others != (kAllVariantKinds & ~unsigned{kVariantOkurigana}) &&
          (others & (others - 1)) != 0)
        continue;
      for (const auto& [key, group] : plain) {
        const std::string first = m.MakeKey(*group.front(), kinds);
        for (const std::string* line : group)
          ASSERT_EQ(m.MakeKey(*line, kinds), first)
              << "options " << options << " kinds " << kinds << ": " << cp932::ToUtf8(*line)
              << " / " << cp932::ToUtf8(*group.front());
      }
    }
  }
}

TEST(VariantFolds, SeeCharactersOutsideCp932ThroughTheirForms) {
  // Each reaches the fold as the codec's form, not as "?" or bytes.
  for (const char* utf8 : {"𠮷", "葛\xEF\xB8\x80", "\xE2\xBC\x80", "\xC2\xA0", "∼"}) {
    const std::string text = FromUtf8(utf8).bytes;
    EXPECT_EQ(cp932::ToUtf8(text), utf8);
    EXPECT_EQ(text.find('?'), std::string::npos) << utf8;
  }
  EXPECT_EQ(Key("𠮷野家", kVariantKanji), FromUtf8("吉野家").bytes);
  EXPECT_EQ(Key("\xE2\xBC\x80\xE2\xBC\x86", kVariantKanji), FromUtf8("一二").bytes);
  EXPECT_EQ(Key("葛\xEF\xB8\x80\xF3\xA0\x84\x81", kVariantKanji), FromUtf8("葛").bytes);
  // 𠮷 々: the repeat copies the whole form.
  EXPECT_EQ(Key("\xF0\xA0\x80\x8B々", kVariantKanji),
            FromUtf8("\xF0\xA0\x80\x8B\xF0\xA0\x80\x8B").bytes);
}

TEST(VariantTables, RecordSourcesAndKeepTheDenyList) {
  namespace vt = variant_tables;
  for (const vt::TPair& p : vt::kKanji) {
    EXPECT_NE(p.Origin, 0) << cp932::ToUtf8(p.Source);
    EXPECT_EQ(CharLength(p.Source, 0), p.Source.size());
  }
  // No pair joins the characters kept apart, in either direction.
  const char* deny[][2] = {{"斉", "斎"}, {"崎", "埼"}, {"后", "後"}, {"干", "乾"}, {"叶", "葉"}};
  for (const auto& [a, b] : deny) {
    EXPECT_NE(Key(a, kVariantKanji), Key(b, kVariantKanji)) << a << b;
  }
}

}  // namespace
}  // namespace tavrin
