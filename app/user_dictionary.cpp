#include "app/user_dictionary.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "app/clipboard_lines.h"
#include "engine/char_folding.h"
#include "util/text_encoding.h"

namespace tavrin {

std::vector<std::string_view> DictionaryFields(std::string_view Line) {
  std::vector<std::string_view> fields;
  for (std::size_t from = 0;;) {
    const std::size_t tab = Line.find('\t', from);
    fields.push_back(Line.substr(from, tab - from));
    if (tab == std::string_view::npos) return fields;
    from = tab + 1;
  }
}

std::optional<TDictionaryError> ReadUserDictionary(std::string Bytes, TUserDictionary& Into) {
  using TKind = TDictionaryError::TKind;
  const TDecodedText decoded = DecodeText(std::move(Bytes), std::nullopt);
  if (decoded.ErrorOffset)
    return TDictionaryError{decoded.ErrorIsNul ? TKind::Nul : TKind::InvalidText,
                            decoded.ErrorLine};
  const std::string_view text = decoded.Text;
  std::vector<TUserRule> rules;
  std::size_t number = 0;
  for (std::size_t at = 0; at < text.size();) {
    ++number;
    const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
    const std::string_view line = text.substr(at, end - at);
    at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    if (IsBlankLine(line) || line.starts_with('#')) continue;
    TUserRule rule;
    rule.Apart = line.starts_with('!');
    for (const std::string_view field : DictionaryFields(line.substr(rule.Apart ? 1 : 0))) {
      if (field.empty()) return TDictionaryError{TKind::EmptyField, number};
      rule.Spellings.emplace_back(field);
    }
    if (rule.Spellings.size() < 2) return TDictionaryError{TKind::SingleField, number};
    rules.push_back(std::move(rule));
  }
  std::move(rules.begin(), rules.end(), std::back_inserter(Into.Rules));
  return std::nullopt;
}

TDictionaryGroups::TDictionaryGroups(TUserDictionary Dictionary, const TUniqueManager& Manager)
    : FDictionary(std::move(Dictionary)) {
  // Each spelling gets a number, a group and the time it was last placed;
  // the rules are played in order, so that a later one holds.
  TTextIndex<std::uint32_t> numbers;
  std::vector<std::string_view> texts;
  std::vector<std::uint32_t> groupOf;
  std::vector<std::uint64_t> placed;
  std::vector<std::vector<std::uint32_t>> members;
  std::uint64_t clock = 0;
  const auto kept = [&](std::string_view s) { return Manager.FTrim ? TrimBlanksView(s) : s; };
  const auto numberOf = [&](std::string_view s) {
    const auto [n, fresh] = numbers.try_emplace(kept(s), static_cast<std::uint32_t>(texts.size()));
    if (fresh) texts.push_back(kept(s)), groupOf.push_back(kNone), placed.push_back(0);
    return *n;
  };
  const auto newGroup = [&](std::string_view canonical) {
    members.emplace_back();
    FCanonical.push_back(canonical);
    return static_cast<std::uint32_t>(members.size() - 1);
  };
  const auto place = [&](std::uint32_t n, std::uint32_t g) {
    if (const std::uint32_t old = groupOf[n]; old != g) {
      if (old != kNone) {
        std::erase(members[old], n);
        if (FCanonical[old] == texts[n]) FCanonical[old] = {};
      }
      members[g].push_back(n);
      groupOf[n] = g;
    }
    placed[n] = ++clock;
  };
  for (const TUserRule& rule : FDictionary.Rules) {
    const std::uint32_t first = numberOf(rule.Spellings.front());
    if (!rule.Apart) {
      const std::uint32_t g = newGroup(texts[first]);
      for (const std::string& s : rule.Spellings) {
        const std::uint32_t n = numberOf(s), old = groupOf[n];
        if (old != kNone && old != g) {
          // A chain: the earlier group comes in whole.
          for (const std::uint32_t m : members[old]) groupOf[m] = g;
          members[g].insert(members[g].end(), members[old].begin(), members[old].end());
          members[old].clear();
          FCanonical[old] = {};
        }
        place(n, g);
      }
      continue;
    }
    if (groupOf[first] == kNone) place(first, newGroup({}));
    for (std::size_t k = 1; k < rule.Spellings.size(); ++k) {
      const std::uint32_t n = numberOf(rule.Spellings[k]);
      if (n == first) continue;
      if (groupOf[n] == kNone || groupOf[n] == groupOf[first])
        place(n, newGroup({}));
      else
        placed[n] = ++clock;  // apart already; lines of its key now follow it
    }
  }
  FSpellingGroup.reserve(texts.size());
  FKeyGroup.reserve(texts.size());
  for (std::uint32_t n = 0; n < texts.size(); ++n) {
    if (groupOf[n] == kNone || texts[n].empty()) continue;
    FSpellingGroup.try_emplace(texts[n], groupOf[n]);
    const std::string& key = FKeys.emplace_back(Manager.MakeKey(texts[n]));
    const auto [entry, fresh] = FKeyGroup.try_emplace(key, TKeyEntry{groupOf[n], placed[n]});
    if (!fresh && entry->Stamp < placed[n]) *entry = TKeyEntry{groupOf[n], placed[n]};
  }
}

std::uint32_t TDictionaryGroups::GroupOf(const TUniqueItem& Item) const {
  const TKeyEntry* byKey = FKeyGroup.find(Item.Key());
  if (byKey == nullptr) return kNone;
  const std::uint32_t* named = FSpellingGroup.find(Item.Text());
  return named != nullptr ? *named : byKey->Group;
}

void TDictionaryGroups::Mark(TUniqueManager& Manager) const {
  if (empty()) return;
  const std::int32_t count = Manager.Count();
  std::vector<std::uint32_t> groups(static_cast<std::size_t>(count));
  std::vector<std::uint32_t> sizes(GroupCount());
  for (std::int32_t i = 0; i < count; ++i) {
    const std::uint32_t g = groups[static_cast<std::size_t>(i)] = GroupOf(*Manager.Items(i));
    if (g != kNone) ++sizes[g];
  }
  for (std::int32_t i = 0; i < count; ++i) {
    const std::uint32_t g = groups[static_cast<std::size_t>(i)];
    if (g == kNone) continue;
    TUniqueItem& item = *Manager.Items(i);
    item.SetSimilar(sizes[g] >= 2 || (!FCanonical[g].empty() && item.Text() != FCanonical[g]));
  }
}

}  // namespace tavrin
