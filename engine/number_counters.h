#pragma once
// The counters after which a kanji numeral and its digits are one number
// (一人/1人, 十二月/12月): a hand-kept, closed list, one a line, in UTF-8.
// Longer counters are tried first. Measured on the dictionaries' vocabulary
// (bench/variants/sample-number.tsv); a counter that mostly follows 一 in
// words of its own (一部, 一時, 一色, 一戸) is not here.
#include <string_view>

namespace tavrin::number_counters {

// Counters a house number may follow a place name with (本町一丁目).
inline constexpr std::string_view kAddress[] = {
    "丁目",
    "番地",
};

inline constexpr std::string_view kCounters[] = {
    "人",   "名", "個",   "つ", "回",   "回目", "度", "年", "年間", "年度", "年生", "月", "日",
    "日間", "時", "時間", "分", "秒",   "歳",   "才", "円", "本",   "枚",   "冊",   "台", "匹",
    "頭",   "件", "階",   "番", "番目", "号",   "位", "着", "杯",   "週",   "週間", "章", "節",
    "巻",   "品", "点",   "校", "軒",   "通",   "種", "期", "周年", "歩",   "問",   "級", "段",
    "割",   "倍", "泊",   "組", "票",   "戦",   "勝", "敗", "世紀", "曲",   "話",
};

// Counters that may stand after a numeral with か, カ, ヵ, ヶ, ケ or 箇
// between (3ヶ月, 3か月, 3カ月, 3箇月): the mark is one token there.
inline constexpr std::string_view kAfterMark[] = {
    "月", "所", "国", "年", "条",
};

// Words of a numeral and a counter that stay as they are: 一時 (for a
// while, not one o'clock), 一杯 (full), 二分 (halving) and the other
// tenths (五分 is even), 十二分 (amply), 十八番 (one's forte), 千三つ (a
// liar), 千六本 (a cut), 九品 (a rank of paradise), and places (七曲,
// 九段, 八頭, 九頭, 五ヶ所). A longer counter still counts (一時間).
inline constexpr std::string_view kWords[] = {
    "一時", "一杯", "一分", "二分",   "三分",   "四分",   "五分",   "六分",
    "七分", "八分", "九分", "十二分", "十八番", "千三つ", "千六本", "七曲",
    "九段", "八頭", "九頭", "九品",   "五ケ所", "五ヶ所",
};

}  // namespace tavrin::number_counters
