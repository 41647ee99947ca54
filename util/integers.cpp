#include "util/integers.h"

#include <algorithm>
#include <limits>

#include "util/cp932.h"
#include "util/error.h"
#include "util/sjis.h"

namespace tavrin {
namespace {

std::string_view TrimControls(std::string_view s) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  return v < base ? v : -1;
}

}  // namespace

std::int64_t ParseInteger(std::string_view text) {
  const std::string_view t = TrimControls(text);
  const auto fail = [&] {
    throw EError("'" + std::string(t) + cp932::Sjis("' は整数ではありません"));
  };
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  int base = 10;
  if (i < t.size() && (t[i] == '$' || t[i] == 'x' || t[i] == 'X')) {
    base = 16, i += 1;
  } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
    base = 16, i += 2;
  }
  if (i == t.size()) fail();
  // The magnitude stops growing past 2^31, so long runs of digits cannot overflow.
  constexpr std::uint64_t kLimit = std::uint64_t(1) << 31;
  std::uint64_t magnitude = 0;
  for (; i < t.size(); ++i) {
    const int digit = DigitValue(t[i], base);
    if (digit < 0) fail();
    magnitude = std::min(magnitude * base + digit, kLimit + 1);
  }
  if (magnitude > (negative ? kLimit : kLimit - 1)) fail();
  return negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
}

std::string IntegerText(std::int32_t value) { return std::to_string(value); }

std::string UpperCaseText(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); i += CharLength(out, i))
    if (out[i] >= 'a' && out[i] <= 'z' && CharLength(out, i) == 1)
      out[i] = char(out[i] - 'a' + 'A');
  return out;
}

void RemoveAdjacentDuplicates(std::vector<std::string>& list) {
  // std::string compares as unsigned bytes, a proper prefix first.
  std::vector<bool> marked(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (marked[i]) continue;
    for (std::size_t j = i + 1; j < list.size(); ++j) {
      const int order = list[i].compare(list[j]);
      if (order == 0)
        marked[j] = true;
      else if (order < 0)
        break;  // entry j is greater: the run of entry i has ended
    }
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < list.size(); ++i)
    if (!marked[i]) {
      if (kept != i) list[kept] = std::move(list[i]);
      ++kept;
    }
  list.resize(kept);
}

}  // namespace tavrin
