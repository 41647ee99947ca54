#include "engine/variant_folding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/char_folding.h"
#include "engine/variant_tables.h"
#include "util/sjis.h"

namespace tavrin {
namespace {

namespace vt = variant_tables;

// What a character of the key does under the kinds.
enum class TAction : std::uint8_t {
  Keep,
  Replace,       // becomes Bytes
  Delete,        // goes (middle dots, variation selectors)
  Blank,         // goes when inside the line
  RepeatKanji,   // 々: the kanji before it
  RepeatKana,    // ゝ ヽ: the kana before it, without its sound mark
  RepeatVoiced,  // ゞ ヾ: the kana before it, voiced
};

struct TRule {
  TAction Action = TAction::Keep;
  std::string Bytes;
};

// A single-byte Unicode scalar value of a 6-byte form, or 0.
char32_t FormScalar(std::string_view c) {
  if (c.size() != 6) return 0;
  const int hi = DigitAt(c, 2), lo = DigitAt(c, 4);
  const unsigned plane = static_cast<unsigned char>(c[1]) - kPlaneTrail;
  return static_cast<char32_t>(plane << 16 | unsigned(hi) << 8 | unsigned(lo));
}

bool IsKanji(std::string_view c) {
  if (c.size() == 2) {
    const auto lead = static_cast<unsigned char>(c[0]);
    const unsigned code = unsigned(lead) << 8 | static_cast<unsigned char>(c[1]);
    return code >= 0x889F && !IsUnassignedLead(lead);
  }
  const char32_t u = FormScalar(c);
  return (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) ||
         (u >= 0x20000 && u <= 0x3FFFF);
}

// A half-width kana that can be repeated (not the long-vowel or sound marks).
bool IsKanaByte(unsigned char b) { return (b >= 0xA6 && b <= 0xAF) || (b >= 0xB1 && b <= 0xDD); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class TFolder {
 public:
  TFolder(unsigned Kinds, bool Hyphens);
  std::string_view Fold(std::string_view Key, std::string& Out) const;

 private:
  void AddTable(std::span<const vt::TPair> Pairs, TAction Action);
  void AddRule(std::string_view Source, TAction Action, std::string_view Target);
  const TRule* RuleFor(std::string_view c) const {
    if (c.size() == 1) return FSingle[static_cast<unsigned char>(c[0])];
    if (c.size() == 2) return FDouble[static_cast<unsigned char>(c[0]) << 8 | static_cast<unsigned char>(c[1])];
    const auto it = FLong.find(std::string(c));
    return it == FLong.end() ? nullptr : &it->second;
  }
  // The rule-by-rule pass, the kana spellings and "-" between digits, the
  // company forms.
  void MapCharacters(std::string_view Key, std::string& Out) const;
  void Spellings(std::string_view Key, std::string& Out) const;
  void CompanyForms(std::string& Key) const;
  // Everything but the company forms.
  std::string Inner(std::string_view Key) const {
    std::string a, b;
    MapCharacters(Key, a);
    Spellings(a, b);
    return b;
  }

  unsigned FKinds;
  bool FHyphens;
  std::array<const TRule*, 256> FSingle{};
  std::vector<const TRule*> FDouble = std::vector<const TRule*>(0x10000, nullptr);
  std::unordered_map<std::string, TRule> FLong;
  std::vector<std::unique_ptr<TRule>> FRules;
  // Spellings of several characters: (pattern, replacement), longest first.
  std::vector<std::pair<std::string, std::string>> FPatterns;
  std::array<bool, 256> FPatternStart{};
  // Company forms (folded), longest first, and their tokens.
  std::vector<std::pair<std::string, std::string>> FStarts, FEnds;
};

std::string KeyFold(std::string_view s, bool hyphens) {
  std::string out(s.size(), '\0');
  out.resize(FoldKeyInto(s, hyphens, out.data()));
  return out;
}

void TFolder::AddRule(std::string_view Source, TAction Action, std::string_view Target) {
  // The key holds a character as the key folding left it.
  const std::string source = KeyFold(Source, FHyphens);
  if (source.empty() || CharLength(source, 0) != source.size()) return;
  std::string target = KeyFold(Target, FHyphens);
  if (Action == TAction::Replace && target == source) return;
  if (RuleFor(source) != nullptr) return;  // the first kind to list a character decides
  TRule rule{Action, std::move(target)};
  if (source.size() > 2) {
    FLong.emplace(source, std::move(rule));
    return;
  }
  FRules.push_back(std::make_unique<TRule>(std::move(rule)));
  if (source.size() == 1)
    FSingle[static_cast<unsigned char>(source[0])] = FRules.back().get();
  else
    FDouble[static_cast<unsigned char>(source[0]) << 8 | static_cast<unsigned char>(source[1])] = FRules.back().get();
}

void TFolder::AddTable(std::span<const vt::TPair> Pairs, TAction Action) {
  for (const vt::TPair& p : Pairs) {
    const TAction action = Action == TAction::Replace && p.Target.empty() ? TAction::Delete : Action;
    AddRule(p.Source, action, p.Target);
  }
}

TFolder::TFolder(unsigned Kinds, bool Hyphens) : FKinds(Kinds), FHyphens(Hyphens) {
  // Where two kinds list a character, the earlier here decides.
  if (Kinds & kVariantSpace) {
    AddTable(vt::kBlanks, TAction::Blank);
    AddTable(vt::kDots, TAction::Delete);
  }
  if (Kinds & kVariantSymbol) {
    AddTable(vt::kSymbols, TAction::Replace);  // ｰ between digits: Spellings
  }
  if (Kinds & kVariantKanji) {
    AddTable(vt::kKanji, TAction::Replace);
    AddRule("\x81\x58", TAction::RepeatKanji, {});  // 々
  }
  if (Kinds & kVariantCompat) AddTable(vt::kCompat, TAction::Replace);
  if (Kinds & kVariantKana) {
    for (const vt::TPair& p : vt::kKana) {
      const std::string source = KeyFold(p.Source, Hyphens);
      if (!source.empty() && CharLength(source, 0) == source.size())
        AddRule(p.Source, TAction::Replace, p.Target);
      else
        FPatterns.emplace_back(source, KeyFold(p.Target, Hyphens));
    }
    AddRule("\x81\x54", TAction::RepeatKana, {});    // ゝ
    AddRule("\x81\x52", TAction::RepeatKana, {});    // ヽ
    AddRule("\x81\x55", TAction::RepeatVoiced, {});  // ゞ
    AddRule("\x81\x53", TAction::RepeatVoiced, {});  // ヾ
  }
  // A replacement is folded by the rules in turn until nothing changes
  // (① -> 1, Ⅱ -> ii, ㌻ -> ﾍﾟｰｼﾞ): each rule then gives a fixed point.
  const auto settle = [this](TRule& rule) {
    for (int round = 0; round < 8 && rule.Action == TAction::Replace; ++round) {
      std::string next = Inner(rule.Bytes);
      if (next == rule.Bytes) return;
      rule.Bytes = std::move(next);
    }
  };
  for (auto& rule : FRules) settle(*rule);
  for (auto& [source, rule] : FLong) settle(rule);
  for (auto& [pattern, replacement] : FPatterns) replacement = Inner(replacement);
  std::sort(FPatterns.begin(), FPatterns.end(), [](const auto& a, const auto& b) {
    return a.first.size() != b.first.size() ? a.first.size() > b.first.size() : a.first < b.first;
  });
  for (const auto& p : FPatterns) FPatternStart[static_cast<unsigned char>(p.first[0])] = true;

  if (Kinds & kVariantCompany) {
    const auto add = [this](std::vector<std::pair<std::string, std::string>>& to, std::span<const vt::TPair> pairs) {
      for (const vt::TPair& p : pairs)
        to.emplace_back(Inner(KeyFold(p.Source, FHyphens)), Inner(KeyFold(p.Target, FHyphens)));
    };
    add(FStarts, vt::kCompanyForms);
    add(FStarts, vt::kCompanyStarts);
    add(FEnds, vt::kCompanyForms);
    add(FEnds, vt::kCompanyEnds);
    for (auto* list : {&FStarts, &FEnds}) {
      std::stable_sort(list->begin(), list->end(),
                       [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    }
  }
}

void TFolder::MapCharacters(std::string_view Key, std::string& Out) const {
  Out.clear();
  Out.reserve(Key.size() + 8);
  std::size_t last = std::string::npos, beforeLast = std::string::npos;  // where the last two characters start
  // A run of blanks after the first other character: dropped when another
  // character follows. Where it starts, and the characters before it.
  std::size_t run = std::string::npos, runLast = 0, runBeforeLast = 0;
  const auto dropRun = [&] {
    if (run == std::string::npos) return;
    Out.resize(run);
    last = runLast, beforeLast = runBeforeLast, run = std::string::npos;
  };
  const auto put = [&](std::string_view c) {
    dropRun();
    for (std::size_t i = 0; i < c.size(); i += CharLength(c, i)) {
      beforeLast = last;
      last = Out.size() + i;
    }
    Out += c;
  };
  const auto lastChar = [&](std::size_t at) {
    return std::string_view(Out).substr(at, CharLength(Out, at));
  };
  for (std::size_t i = 0; i < Key.size();) {
    const std::size_t n = CharLength(Key, i);
    const std::string_view c = Key.substr(i, n);
    i += n;
    const TRule* rule = RuleFor(c);
    if (rule == nullptr) {
      put(c);
      continue;
    }
    switch (rule->Action) {
      case TAction::Keep:
        put(c);
        break;
      case TAction::Replace:
        put(rule->Bytes);
        break;
      case TAction::Delete:
        break;
      case TAction::Blank:
        // Leading blanks, and a run after the text that nothing follows,
        // stay: the trimming options decide about outer blanks.
        if (last != std::string::npos && run == std::string::npos)
          run = Out.size(), runLast = last, runBeforeLast = beforeLast;
        Out += c;
        break;
      case TAction::RepeatKanji:
        dropRun();
        if (last != std::string::npos && IsKanji(lastChar(last)))
          put(std::string(lastChar(last)));
        else
          put(c);
        break;
      case TAction::RepeatKana:
      case TAction::RepeatVoiced: {
        dropRun();
        std::size_t base = std::string::npos;
        if (last != std::string::npos) {
          const auto b = static_cast<unsigned char>(Out[last]);
          if (Out.size() - last == 1 && IsKanaByte(b)) {
            base = last;
          } else if (Out.size() - last == 1 && (b == 0xDE || b == 0xDF) && beforeLast != std::string::npos &&
                     last - beforeLast == 1 && IsKanaByte(static_cast<unsigned char>(Out[beforeLast]))) {
            base = beforeLast;
          }
        }
        if (base == std::string::npos) {
          put(c);
          break;
        }
        const char kana = Out[base];
        put(std::string_view(&kana, 1));
        if (rule->Action == TAction::RepeatVoiced) put("\xDE");
        break;
      }
    }
  }
}

void TFolder::Spellings(std::string_view Key, std::string& Out) const {
  Out.clear();
  Out.reserve(Key.size());
  const bool dash = (FKinds & kVariantSymbol) != 0;
  for (std::size_t i = 0; i < Key.size();) {
    const auto b = static_cast<unsigned char>(Key[i]);
    const std::size_t n = CharLength(Key, i);
    if (FPatternStart[b]) {
      bool matched = false;
      for (const auto& [pattern, replacement] : FPatterns) {
        if (Key.compare(i, pattern.size(), pattern) == 0) {
          Out += replacement;
          i += pattern.size();
          matched = true;
          break;
        }
      }
      if (matched) continue;
    }
    if (dash && ((n == 1 && b == 0xB0) || (n == 2 && b == 0x81 && Key[i + 1] == '\x5B')) && !Out.empty() &&
        IsDigit(Out.back()) && i + n < Key.size() && IsDigit(Key[i + n])) {
      Out += '-';
      i += n;
      continue;
    }
    Out.append(Key, i, n);
    i += n;
  }
}

void TFolder::CompanyForms(std::string& Key) const {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  const auto control = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  std::size_t b = 0, e = Key.size();
  while (b < e && control(Key[b])) ++b;
  while (e > b && control(Key[e - 1])) --e;
  for (const auto& [form, token] : FStarts) {
    if (form.empty() || e - b < form.size() || Key.compare(b, form.size(), form) != 0) continue;
    std::size_t after = b + form.size();
    std::size_t skip = after;
    while (skip < e && blank(Key[skip])) ++skip;
    if (skip < e) after = skip;  // the blanks between the form and the name go
    Key.replace(b, after - b, token);
    e = e - (after - b) + token.size();
    b += token.size();
    break;
  }
  for (const auto& [form, token] : FEnds) {
    if (form.empty() || e - b < form.size()) continue;
    std::size_t at = e - form.size();
    if (Key.compare(at, form.size(), form) != 0 || !IsCharacterStart(Key, at)) continue;
    std::size_t before = at;
    while (before > b && blank(Key[before - 1])) --before;
    if (before == b) before = at;
    Key.replace(before, e - before, token);
    break;
  }
}

std::string_view TFolder::Fold(std::string_view Key, std::string& Out) const {
  thread_local std::string mapped;
  MapCharacters(Key, mapped);
  Spellings(mapped, Out);
  if (!FStarts.empty()) CompanyForms(Out);
  return Out;
}

const TFolder& FolderFor(unsigned Kinds, bool Hyphens) {
  static std::array<std::once_flag, 128> once;
  static std::array<std::unique_ptr<TFolder>, 128> folders;
  const unsigned index = (Kinds & kAllVariantKinds) | (Hyphens ? 64u : 0u);
  std::call_once(once[index], [&] { folders[index] = std::make_unique<TFolder>(Kinds & kAllVariantKinds, Hyphens); });
  return *folders[index];
}

}  // namespace

std::string_view FoldVariantsInto(std::string_view Key, unsigned Kinds, bool Hyphens, std::string& Out) {
  if ((Kinds & kAllVariantKinds) == 0) {
    Out.assign(Key);
    return Out;
  }
  return FolderFor(Kinds, Hyphens).Fold(Key, Out);
}

std::string FoldVariants(std::string_view Key, unsigned Kinds, bool Hyphens) {
  std::string out;
  FoldVariantsInto(Key, Kinds, Hyphens, out);
  return out;
}

}  // namespace tavrin
