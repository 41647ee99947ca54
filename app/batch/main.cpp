// tavrin-batch: the [全データ] and [類字抽出] commands over files or standard input.
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_command.h"
#include "util/memory_setup.h"

namespace {

constexpr char kVersion[] =
    "tavrin-batch " TAVRIN_VERSION "\n"
    "Copyright (c) 2026 The Tavrin developers\n"
    "License: MIT (see the LICENSE file that comes with the program)\n";

// The size of the regular file open as in; none for a pipe or a terminal.
std::optional<std::size_t> FileSize(std::FILE* in) {
  struct stat info {};
  if (fstat(fileno(in), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<std::size_t>(info.st_size);
}

std::string ReadAll(std::FILE* in, std::optional<std::size_t> size) {
  std::string data;
  std::size_t used = 0;
  // A file's size is known: one buffer of that size (plus one byte, to see
  // the end at once). A pipe grows its buffer by doubling.
  data.resize(size.value_or(0) > 0 ? *size + 1 : std::size_t{1} << 20);
  for (;;) {
    const std::size_t got = std::fread(data.data() + used, 1, data.size() - used, in);
    used += got;
    if (used < data.size()) break;
    data.resize(data.size() * 2);
  }
  data.resize(used);
  return data;
}

// Writes text to standard output and flushes it; false (said) on failure.
bool WriteOut(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  std::perror("tavrin-batch: standard output");
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // Before anything can open a file as descriptor 0: is standard input open?
  const bool stdinOpen = fcntl(0, F_GETFD) != -1;
  tavrin::SetUpMemory();
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const tavrin::TBatchArgs parsed = tavrin::ParseBatchArgs(args);
  switch (parsed.Action) {
    case tavrin::TBatchArgs::TAction::Help: return WriteOut(tavrin::BatchUsage()) ? 0 : 1;
    case tavrin::TBatchArgs::TAction::Version: return WriteOut(kVersion) ? 0 : 1;
    case tavrin::TBatchArgs::TAction::Invalid:
      std::fprintf(stderr, "tavrin-batch: %s\nTry 'tavrin-batch --help'.\n", parsed.Error.c_str());
      return 2;
    case tavrin::TBatchArgs::TAction::Run: break;
  }

  tavrin::TBatchOutput output;
  try {
    std::string input;
    const std::vector<std::string> stdinOnly{"-"};
    const std::vector<std::string>& files = parsed.Files.empty() ? stdinOnly : parsed.Files;
    for (const std::string& name : files) {
      const bool isStdin = name == "-";
      const std::string shown = isStdin ? "standard input" : name;
      std::FILE* in = isStdin ? (stdinOpen ? stdin : nullptr) : std::fopen(name.c_str(), "rb");
      if (in == nullptr) {
        if (isStdin) errno = EBADF;
        std::fprintf(stderr, "tavrin-batch: %s: %s\n", shown.c_str(), std::strerror(errno));
        return 1;
      }
      std::string part = ReadAll(in, FileSize(in));
      const bool failed = std::ferror(in) != 0;
      const int error = errno;
      if (!isStdin) std::fclose(in);
      if (failed) {
        std::fprintf(stderr, "tavrin-batch: %s: %s\n", shown.c_str(), std::strerror(error));
        return 1;
      }
      // A later file's BOM, the same as the first's, is no text.
      const std::optional<tavrin::TTextEncoding> bom = tavrin::EncodingOfBom(input);
      if (bom && tavrin::EncodingOfBom(part) == bom) part.erase(0, tavrin::ByteOrderMark(*bom).size());
      if (input.empty()) {
        input = std::move(part);
      } else {
        input += part;
      }
    }
    output = tavrin::RunBatch(parsed.Options, std::move(input), [](std::string_view piece) {
      return std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size();
    });
  } catch (const std::exception& e) {
    // Out of memory, or a text too large to hold: said, and nothing more written.
    std::fprintf(stderr, "tavrin-batch: %s\n", e.what());
    return 1;
  }
  if (!output.Error.empty()) {
    std::fprintf(stderr, "tavrin-batch: %s\n", output.Error.c_str());
    return 1;
  }
  // A piece the writer refused left the error mark on the stream.
  if (!WriteOut(output.Out) || output.WriteFailed) return 1;
  std::fprintf(stderr, "%s\n", output.Summary.c_str());
  // Everything is written: the system takes back the collection at once,
  // which freeing a hundred thousand items one by one would not.
  std::fflush(stderr);
  std::_Exit(0);
}
