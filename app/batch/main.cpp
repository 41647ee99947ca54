// tavrin-batch: the [全データ] and [類字抽出] commands over standard input.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_command.h"
#include "util/memory_setup.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
  tavrin::SetUpMemory();
  const std::optional<std::size_t> size = FileSize(stdin);
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const tavrin::TBatchArgs parsed = tavrin::ParseBatchArgs(args);
  if (parsed.Action == tavrin::TBatchArgs::TAction::Help) {
    std::fputs(tavrin::BatchUsage().c_str(), stdout);
    return 0;
  }
  if (parsed.Action == tavrin::TBatchArgs::TAction::Invalid) {
    std::fprintf(stderr, "tavrin-batch: %s\n\n%s", parsed.Error.c_str(), tavrin::BatchUsage().c_str());
    return 2;
  }

  tavrin::TBatchOutput output;
  try {
    std::string input = ReadAll(stdin, size);
    if (std::ferror(stdin)) {
      std::perror("tavrin-batch: standard input");
      return 1;
    }
    output = tavrin::RunBatch(parsed.Options, std::move(input));
  } catch (const std::exception& e) {
    // Out of memory, or a text too large to hold: said, and nothing written.
    std::fprintf(stderr, "tavrin-batch: %s\n", e.what());
    return 1;
  }
  if (output.Replaced > 0) {
    std::fprintf(stderr, "tavrin-batch: %zu characters could not be kept and were replaced by \"?\"\n",
                 output.Replaced);
  }
  std::fwrite(output.Out.data(), 1, output.Out.size(), stdout);
  std::fprintf(stderr, "%s\n", output.Summary.c_str());
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::perror("tavrin-batch: standard output");
    return 1;
  }
  // Everything is written: the system takes back the collection at once,
  // which freeing a hundred thousand items one by one would not.
  std::fflush(stderr);
  std::_Exit(0);
}
