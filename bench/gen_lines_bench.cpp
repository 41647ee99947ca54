// Deterministic test data for the benchmarks: Japanese words, some written
// in their variant forms (half-width, hiragana, upper case, small kana,
// hyphen for the long-vowel mark), repeated after a Zipf-like law; or, with
// "codes", random short codes such as アキクス-482, mostly distinct.
// Usage: gen_lines_bench LINES [VOCABULARY] > file   (CP932, CR LF)
//        gen_lines_bench codes LINES [SEED] > file
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "engine/char_folding.h"
#include "util/cp932.h"

namespace {

std::string Utf8(char32_t c) {
  std::string s;
  if (c < 0x80) {
    s += char(c);
  } else if (c < 0x800) {
    s += char(0xC0 | (c >> 6));
    s += char(0x80 | (c & 0x3F));
  } else {
    s += char(0xE0 | (c >> 12));
    s += char(0x80 | ((c >> 6) & 0x3F));
    s += char(0x80 | (c & 0x3F));
  }
  return s;
}

// One word in its plain katakana form and the variant forms of it.
std::vector<std::string> Forms(std::mt19937& rng) {
  std::uniform_int_distribution<int> length(2, 6), kana(0x30A2, 0x30F3), latin(0, 25), kind(0, 9);
  std::u32string kata;
  const int n = length(rng);
  for (int i = 0; i < n; ++i) kata += char32_t(kana(rng));
  const bool longVowel = kind(rng) < 3;
  std::string base, hira, upper, lower;
  for (char32_t c : kata) base += Utf8(c), hira += Utf8(c - 0x60);
  if (kind(rng) < 3) {  // a word with Latin letters
    for (int i = 0; i < 3; ++i) {
      const int l = latin(rng);
      upper += char('A' + l);
      lower += char('a' + l);
    }
    base = upper + base;
    hira = lower + hira;
  }
  if (longVowel) base += Utf8(0x30FC), hira += Utf8(0x30FC);
  std::vector<std::string> forms{tavrin::cp932::FromUtf8(base).bytes};
  forms.push_back(tavrin::FoldWidth(forms[0]));          // half width
  forms.push_back(tavrin::cp932::FromUtf8(hira).bytes);  // hiragana (and lower case)
  if (longVowel) {
    std::string hyphen = base.substr(0, base.size() - 3) + "-";
    forms.push_back(tavrin::cp932::FromUtf8(hyphen).bytes);
  }
  return forms;
}

// Appends line and CR LF to out, written to standard output a megabyte at a
// time; the caller writes what is left.
void WriteLine(std::string& out, const std::string& line) {
  out += line;
  out += "\r\n";
  if (out.size() > (1 << 20)) {
    std::fwrite(out.data(), 1, out.size(), stdout);
    out.clear();
  }
}

// Four katakana of twenty, a hyphen and three digits: a few lines in a
// thousand repeat an earlier one at a million lines.
int Codes(long lines, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> kana(0x30A2, 0x30B5), digit(0, 9);
  std::string out;
  for (long i = 0; i < lines; ++i) {
    std::string code;
    for (int k = 0; k < 4; ++k) code += Utf8(char32_t(kana(rng)));
    code += '-';
    for (int k = 0; k < 3; ++k) code += char('0' + digit(rng));
    WriteLine(out, tavrin::cp932::FromUtf8(code).bytes);
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "codes") {
    return Codes(std::atol(argv[2]),
                 argc > 3 ? static_cast<unsigned>(std::atol(argv[3])) : 20261209u);
  }
  if (argc < 2) {
    std::fprintf(
        stderr,
        "usage: gen_lines_bench LINES [VOCABULARY]\n       gen_lines_bench codes LINES [SEED]\n");
    return 2;
  }
  const long lines = std::atol(argv[1]);
  const long vocabulary = argc > 2 ? std::atol(argv[2]) : std::max(1000L, lines / 11);
  std::mt19937 rng(20261207);
  std::vector<std::vector<std::string>> words;
  words.reserve(vocabulary);
  for (long i = 0; i < vocabulary; ++i) words.push_back(Forms(rng));

  // Zipf-like ranks (exponent 0.9) through the inverse of the cumulative law.
  std::vector<double> cumulative(vocabulary);
  double sum = 0;
  for (long r = 0; r < vocabulary; ++r) cumulative[r] = sum += 1.0 / std::pow(r + 1.0, 0.9);
  std::uniform_real_distribution<double> u(0, sum);
  std::uniform_int_distribution<int> variant(0, 99);
  std::string out;
  for (long i = 0; i < lines; ++i) {
    const long r =
        std::lower_bound(cumulative.begin(), cumulative.end(), u(rng)) - cumulative.begin();
    const std::vector<std::string>& forms = words[std::min(r, vocabulary - 1)];
    const int v = variant(rng);  // most lines are written the plain way
    WriteLine(out, v < 90 ? forms[0] : forms[1 + v % (forms.size() - 1)]);
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}
