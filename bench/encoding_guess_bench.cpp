// The encoding guess of the batch program over a corpus of short files
// (tools/encoding_corpus.py): how often each set is read in the encoding it
// is written in, per kind of file (the part of the name after the number).
//   encoding_guess_bench CORPUS_DIR
// cp932/ must be read as CP932; utf8/ as UTF-8; utf8-cut/ (UTF-8 cut inside
// its last character) must be taken for UTF-8, which decoding then refuses.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "util/text_encoding.h"

namespace fs = std::filesystem;
using tavrin::TTextEncoding;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr,
                 "usage: encoding_guess_bench CORPUS_DIR (made by tools/encoding_corpus.py)\n");
    return 2;
  }
  const struct {
    const char* dir;
    TTextEncoding expected;
  } sets[] = {{"cp932", TTextEncoding::Cp932},
              {"utf8", TTextEncoding::Utf8},
              {"utf8-cut", TTextEncoding::Utf8}};
  for (const auto& set : sets) {
    const fs::path dir = fs::path(argv[1]) / set.dir;
    if (!fs::is_directory(dir)) continue;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::map<std::string, std::pair<long, long>> byKind;  // kind: wrong, all
    std::vector<std::string> examples;
    for (const fs::path& file : files) {
      std::ifstream in(file, std::ios::binary);
      std::ostringstream s;
      s << in.rdbuf();
      // A file all ASCII reads alike in both: none is guessed, and none is wrong.
      const TTextEncoding guessed = tavrin::RecognisedEncoding(s.str()).value_or(set.expected);
      const std::string name = file.filename().string();
      const std::string kind =
          name.substr(name.find('-') + 1, name.rfind('.') - name.find('-') - 1);
      auto& [wrong, all] = byKind[kind];
      ++all;
      if (guessed != set.expected) {
        ++wrong;
        if (examples.size() < 5) examples.push_back(name);
      }
    }
    long wrong = 0, all = 0;
    for (const auto& [kind, counts] : byKind) wrong += counts.first, all += counts.second;
    std::printf("%-9s %6ld files, %5ld misread (%.3f%%)", set.dir, all, wrong,
                all ? 100.0 * wrong / all : 0.0);
    for (const auto& [kind, counts] : byKind)
      std::printf("; %s %ld/%ld", kind.c_str(), counts.first, counts.second);
    for (const std::string& e : examples)
      std::printf("%s %s", &e == &examples.front() ? "\n  e.g." : ",", e.c_str());
    std::printf("\n");
  }
  return 0;
}
