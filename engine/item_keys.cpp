// The items' comparison keys: made in one pass over the new items, into one
// store; a key that equals its text (most plain ASCII lines) takes no bytes.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "engine/char_folding.h"
#include "engine/unique_manager.h"
#include "engine/variant_folding.h"
#include "util/byte_words.h"
#include "util/cp932.h"
#include "util/parallel.h"
#include "util/sjis.h"

namespace tavrin {
namespace {

// Base without one trailing hyphen or long-vowel mark, looking at its last
// whole character.
std::string_view WithoutTrailingMark(std::string_view base, bool hyphenFolded) {
  if (base.empty()) return base;
  const std::size_t n = base.size();
  // Every mark ends in one of these bytes.
  const char end = base[n - 1];
  if (end != '-' && end != '\xB0' && end != '\x5B' && end != '\x7C') return base;
  const std::string_view last =
      IsCharacterStart(base, n - 1) ? base.substr(n - 1) : base.substr(n - 2);
  bool mark = last == "-";
  if (!hyphenFolded) mark = mark || last == "\xB0" || last == "\x81\x7C" || last == "\x81\x5B";
  return mark ? base.substr(0, n - last.size()) : base;
}

// The characters that fold to a trailing mark, with the hyphen option off
// [0] and on [1]: a bit per single byte and per double-byte code.
const std::array<std::vector<std::uint64_t>, 2>& MarkCodes() {
  static const auto codes = [] {
    std::array<std::vector<std::uint64_t>, 2> c{std::vector<std::uint64_t>(1024),
                                                std::vector<std::uint64_t>(1024)};
    for (unsigned code = 0; code < 0x10000; ++code) {
      if (code >= 0x100 && !IsLeadByte(static_cast<unsigned char>(code >> 8))) continue;
      const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
      const std::string_view ch =
          code < 0x100 ? std::string_view(bytes + 1, 1) : std::string_view(bytes, 2);
      for (const bool hyphen : {false, true}) {
        char folded[2];
        const std::size_t n = FoldKeyInto(ch, hyphen, folded);
        if (WithoutTrailingMark({folded, n}, hyphen).size() < n)
          c[hyphen][code / 64] |= std::uint64_t{1} << (code % 64);
      }
    }
    return c;
  }();
  return codes;
}

// How much of Text the trailing-mark rule leaves to its key: all of it when
// its last character but blanks folds to no mark; without the mark when it
// stands at the very end; npos when blanks follow it (then the trimming
// decides, on the folded key).
std::size_t BeforeTrailingMark(std::string_view Text, bool hyphenFolded) {
  const std::vector<std::uint64_t>& marks = MarkCodes()[hyphenFolded];
  const auto mark = [&](unsigned code) { return (marks[code / 64] >> (code % 64) & 1) != 0; };
  std::size_t e = Text.size();
  for (;;) {
    while (e > 0 && static_cast<unsigned char>(Text[e - 1]) <= 0x20) --e;
    if (e < 2 || Text[e - 2] != '\x81' || Text[e - 1] != '\x40' || !IsCharacterStart(Text, e - 2))
      break;
    e -= 2;
  }
  if (e == 0) return Text.size();
  // The last character is its last byte alone, or the last two bytes: a
  // mark of either shape is confirmed at a character's start.
  const auto last = static_cast<unsigned char>(Text[e - 1]);
  std::size_t at = std::string_view::npos;
  if (e >= 2 && mark(static_cast<unsigned char>(Text[e - 2]) << 8 | last) &&
      IsCharacterStart(Text, e - 2))
    at = e - 2;
  else if (mark(last) && (last < 0x40 || IsCharacterStart(Text, e - 1)))
    at = e - 1;
  if (at == std::string_view::npos) return Text.size();
  return e == Text.size() ? at : std::string_view::npos;
}

}  // namespace

// Whether every option gives Text itself as its key, seen from its bytes
// alone: ASCII without capitals (no folding applies), no byte of 0x20 or
// below at either end (no trimming) and no trailing hyphen; under the kinds
// of variants also no blank inside (space), no grave accent (symbol) and no
// t (number: tel before a number is ℡). Eight bytes at a step.
bool KeyIsText(std::string_view Text, unsigned Variants) {
  if (Text.empty()) return false;
  const auto first = static_cast<unsigned char>(Text.front());
  const auto last = static_cast<unsigned char>(Text.back());
  if (first <= 0x20 || last <= 0x20 || last == '-') return false;
  const bool blanks = (Variants & kVariantSpace) != 0, grave = (Variants & kVariantSymbol) != 0,
             tee = (Variants & kVariantNumber) != 0;
  namespace bw = byte_words;
  std::size_t i = 0;
  for (; i + 8 <= Text.size(); i += 8) {
    std::uint64_t w;
    std::memcpy(&w, Text.data() + i, 8);
    if ((w & bw::kHighs) != 0) return false;
    std::uint64_t hit = bw::AsciiCapitals(w);
    if (blanks) hit |= bw::Equal(w, ' ') | bw::Equal(w, '\t');
    if (grave) hit |= bw::Equal(w, '`');
    if (tee) hit |= bw::Equal(w, 't');
    if (hit != 0) return false;
  }
  for (; i < Text.size(); ++i) {
    const auto b = static_cast<unsigned char>(Text[i]);
    if (b >= 0x80 || (b >= 'A' && b <= 'Z')) return false;
    if ((blanks && (b == ' ' || b == '\t')) || (grave && b == '`') || (tee && b == 't'))
      return false;
  }
  return true;
}

void TUniqueManager::AppendLength(std::string& Store, std::size_t Size) {
  for (; Size > 0x7F; Size >>= 7) Store += static_cast<char>((Size & 0x7F) | 0x80);
  Store += static_cast<char>(Size);
}

bool TUniqueManager::JoinKeyStores(std::vector<std::string>& Stores,
                                   std::vector<std::uint32_t>& KeyAt, std::size_t From,
                                   std::size_t N) {
  const std::size_t width = Stores.size();
  for (std::size_t p = 1; p < width; ++p) {
    if (Stores[0].size() + Stores[p].size() >= kSameAsText) return false;
    const auto base = static_cast<std::uint32_t>(Stores[0].size());
    for (std::size_t i = From + N * p / width; i < From + N * (p + 1) / width; ++i) {
      if (KeyAt[i] != kSameAsText) KeyAt[i] += base;
    }
    Stores[0] += Stores[p];
    Stores[p].clear();
  }
  return true;
}

std::string_view TUniqueManager::KeyIn(std::string_view Text, unsigned Variants,
                                       std::string& Scratch, std::string& Scratch2) const {
  if (Scratch.size() < Text.size()) Scratch.resize(Text.size());
  // The trimming and the trailing-mark rule, on a key as the folds left it.
  const auto finish = [&](std::string_view key) {
    if (FHyphen != FTrim) key = TrimControls(key);
    if (FHyphenTerminate) key = WithoutTrailingMark(key, FHyphen);
    return key;
  };
  if ((Variants & kAllVariantKinds) == 0)
    return finish({Scratch.data(), FoldKeyInto(Text, FHyphen, Scratch.data())});
  // The kinds of variants fold the key the options alone make, so that
  // they only ever join: two lines of one key keep one key under any kinds
  // (ABC‐ and ABC‐ー, whose mark goes before ‐ becomes -). A key may grow
  // there (㍻ -> 平成), so it moves to the second string.
  const TVariantFolder& folder = VariantFolder(Variants, FHyphen);
  std::string_view key;
  bool folded = false;
  // The text whose key the rule leaves: folded with the kinds' in one
  // pass, when it can.
  const std::size_t kept = FHyphenTerminate ? BeforeTrailingMark(Text, FHyphen) : Text.size();
  if (kept != std::string_view::npos) {
    unsigned finish = 0;
    if (const std::size_t n = VariantFoldText(folder, Text.substr(0, kept), Scratch2, finish);
        n != std::string::npos) {
      key = {Scratch2.data(), n};
      if (finish != 0) key = FoldVariantCompanyForms(folder, key, finish, Scratch);
      folded = true;
    }
  }
  if (!folded) {
    bool marked = false;
    const std::string_view plain =
        finish({Scratch.data(),
                FoldKeyIntoMarked(Text, FHyphen, Scratch.data(), VariantMarks(folder), marked)});
    key = FoldVariantsInto(folder, plain, marked, Scratch2);
  }
  key = finish(key);
  // A line the kinds fold to nothing (-, ・) is no spelling of any other:
  // it keeps the key of the options alone.
  if (key.empty()) key = finish({Scratch.data(), FoldKeyInto(Text, FHyphen, Scratch.data())});
  return key;
}

std::string_view TUniqueManager::OwnKey(std::string_view Text, std::string& Scratch,
                                        std::string& Scratch2) const {
  return KeyIsText(Text, FVariants) ? Text : KeyIn(Text, FVariants, Scratch, Scratch2);
}

std::string TUniqueManager::MakeKey(std::string_view Text) const {
  return MakeKey(Text, FVariants);
}

std::string TUniqueManager::MakeKey(std::string_view Text, unsigned Variants) const {
  std::string scratch, scratch2;
  return std::string(KeyIn(Text, Variants, scratch, scratch2));
}

void TUniqueManager::MakeKeys() const {
  const std::size_t from = FKeys.size(), n = FCount - from;
  if (n == 0) return;
  // The parts fold their ranges at once, each into a store of its own: the
  // first part's is the key store itself, going on at its end; the others'
  // are appended to it in order afterwards.
  const unsigned width = n < (1u << 14) ? 1u : ParallelWidth();
  const auto first = [&](unsigned p) { return from + n * p / width; };
  // Room for keys at once: a key is rarely longer than its text (only the
  // kinds of variants lengthen one), so a store seldom grows by copying
  // itself (untouched room costs nothing).
  const auto room = [&](std::size_t a, std::size_t b) {
    std::size_t bytes = 0;
    for (std::size_t i = a; i < b; ++i) bytes += Item(i).FTextSize + 5;
    return bytes;
  };
  std::vector<std::string> stores = KeyStores(width);
  std::vector<std::size_t> unplain(width, 0);
  // Items whose text holds a lead byte of the unassigned rows, by part.
  std::vector<std::vector<std::size_t>> unassigned(width);
  FKeys.resize(FCount);
  try {
    RunParts(width, [&](unsigned p) {
      // The part's store and count are its own while it runs (the parts'
      // would share cache lines), and given back at its end.
      std::string bytes = std::move(stores[p]);
      std::size_t unplainHere = 0;
      std::string scratch, scratch2;
      const std::size_t begin = first(p), end = first(p + 1);
      const auto giveBack = [&] {
        stores[p] = std::move(bytes);
        unplain[p] = unplainHere;
      };
      try {
        bytes.reserve(bytes.size() + room(begin, p == 0 ? FCount : end));
        for (std::size_t i = begin; i < end; ++i) {
          const std::string_view text = TextOf(i);
          std::string_view key;
          const bool keyIsText = KeyIsText(text, FVariants);
          if (!keyIsText && std::any_of(text.begin(), text.end(), [](char c) {
                return IsUnassignedLead(static_cast<unsigned char>(c));
              }))
            unassigned[p].push_back(i);
          if (keyIsText || (key = KeyIn(text, FVariants, scratch, scratch2)) == text) {
            FKeys[i] = kSameAsText;
            unplainHere += !PlainKey(text);
            continue;
          }
          if (bytes.size() + key.size() + 5 >= kSameAsText)
            throw std::length_error("keys of 4 GiB or more");
          FKeys[i] = static_cast<std::uint32_t>(bytes.size());
          AppendLength(bytes, key.size());
          bytes += key;
          unplainHere += !PlainKey(key);
        }
      } catch (...) {
        giveBack();
        throw;
      }
      giveBack();
    });
    if (!JoinKeyStores(stores, FKeys, from, n)) throw std::length_error("keys of 4 GiB or more");
  } catch (...) {
    FKeyBytes = std::move(stores[0]);
    FKeys.resize(from);  // the items keep no half-made keys
    throw;
  }
  FKeyBytes = std::move(stores[0]);
  KeepKeyStores(stores);
  for (const std::size_t u : unplain) FUnplainKeys += u;
  // Sized for every item only once some text holds an escape.
  if (!FGivenAt.empty()) FGivenAt.resize(FCount, kNoEscape);
  for (const std::vector<std::size_t>& items : unassigned) NoteEscapes(items);
}

void TUniqueManager::NoteEscapes(const std::vector<std::size_t>& Items) const {
  for (const std::size_t i : Items) {
    const std::string_view text = TextOf(i);
    const cp932::UnassignedCodes codes = cp932::FindUnassignedCodes(text);
    FOtherFormTexts += codes.other;
    if (!codes.escaped) continue;
    ++FEscapedTexts;
    if (FGivenAt.size() < FCount) FGivenAt.resize(FCount, kNoEscape);
    const std::string key = cp932::WithoutEscapes(KeyOf(i)), given = cp932::WithoutEscapes(text);
    if (FGivenBytes.size() + 8 + key.size() + given.size() >= kNoEscape)
      throw std::length_error("texts of 4 GiB or more");
    FGivenAt[i] = static_cast<std::uint32_t>(FGivenBytes.size());
    const std::uint32_t sizes[2] = {static_cast<std::uint32_t>(key.size()),
                                    static_cast<std::uint32_t>(given.size())};
    FGivenBytes.append(reinterpret_cast<const char*>(sizes), sizeof sizes);
    FGivenBytes += key;
    FGivenBytes += given;
  }
}

TSortString TUniqueManager::GivenSortString(std::size_t Index, std::string_view Key) const {
  if (FOtherFormTexts != 0 || Index >= FGivenAt.size() || FGivenAt[Index] == kNoEscape)
    return {Key, TextOf(Index)};
  std::uint32_t sizes[2];
  const char* at = FGivenBytes.data() + FGivenAt[Index];
  std::memcpy(sizes, at, sizeof sizes);
  return {{at + sizeof sizes, sizes[0]}, {at + sizeof sizes + sizes[0], sizes[1]}};
}

}  // namespace tavrin
