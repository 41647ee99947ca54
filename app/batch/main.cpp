// tavrin-batch: the [全データ] and [類字抽出] commands over files or standard input.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <future>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/batch_command.h"
#include "app/batch_texts.h"
#include "engine/variant_folding.h"
#include "util/cp932.h"
#include "util/error_texts.h"
#include "util/memory_setup.h"
#include "util/os.h"
#include "util/text_encoding.h"

namespace {

constexpr char kVersion[] = "tavrin-batch " TAVRIN_VERSION
                            "\n"
                            "Copyright (c) 2026 The Tavrin developers\n"
                            "License: MIT (see the LICENSE file that comes with the program)\n";

namespace os = tavrin::os;

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

// Where text meant for a person goes. A file or a pipe keeps the output's
// bytes, as they are on every platform. A Windows console shows characters
// rather than bytes: there the output, in its encoding, is written as text.
class TStream {
 public:
  explicit TStream(std::FILE* stream) : stream_(stream) {
#if defined(_WIN32)
    console_ = os::IsConsole(stream);
#endif
  }

  // The encoding of the bytes that Write is given (UTF-8 until known).
  void SetEncoding(tavrin::TTextEncoding encoding) { encoding_ = encoding; }
  bool Console() const { return console_; }

  bool Write(std::string_view bytes) const {
#if defined(_WIN32)
    if (console_) return os::WriteConsoleText(stream_, AsUtf8(bytes));
#endif
    return std::fwrite(bytes.data(), 1, bytes.size(), stream_) == bytes.size();
  }

 private:
  // Whole lines of the output as UTF-8, without a byte-order mark.
  std::string AsUtf8(std::string_view bytes) const {
    if (encoding_ == tavrin::TTextEncoding::Utf8) {
      const std::string_view bom = tavrin::ByteOrderMark(encoding_);
      if (bytes.starts_with(bom)) bytes.remove_prefix(bom.size());
      return std::string(bytes);
    }
    return tavrin::cp932::ToUtf8(tavrin::DecodeText(std::string(bytes), encoding_).Text);
  }

  std::FILE* stream_;
  bool console_ = false;
  tavrin::TTextEncoding encoding_ = tavrin::TTextEncoding::Utf8;
};

// A line (UTF-8) to standard error, prefixed with the program's name.
void Say(std::string_view line) {
  static const TStream err(stderr);
  err.Write("tavrin-batch: " + std::string(line) + "\n");
  std::fflush(stderr);
}

// Writes text to standard output and flushes it; false (said) on failure.
bool WriteOut(const TStream& out, std::string_view text, tavrin::TLanguage language) {
  out.Write(text);
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  Say(tavrin::BatchText(tavrin::TBatchText::StandardOutput, language) + ": " +
      tavrin::ErrorText(os::WriteError(stdout, errno), language));
  return false;
}

int Run(const std::vector<std::string>& argStrings) {
  // Before anything can open a file as descriptor 0: is standard input open?
  const bool stdinOpen = os::StandardInputOpen();
  os::UseBinaryStandardStreams();
  tavrin::SetUpMemory();
  TStream out(stdout);
  const tavrin::TLanguage language = tavrin::UserLanguage();
  const std::vector<std::string_view> args(argStrings.begin(), argStrings.end());
  const tavrin::TBatchArgs parsed = tavrin::ParseBatchArgs(args, language);
  switch (parsed.Action) {
    case tavrin::TBatchArgs::TAction::Help:
      return WriteOut(out, tavrin::BatchUsage(language), language) ? 0 : 1;
    case tavrin::TBatchArgs::TAction::Version:
      return WriteOut(out, kVersion, language) ? 0 : 1;
    case tavrin::TBatchArgs::TAction::Invalid:
      Say(parsed.Error + "\n" + tavrin::BatchText(tavrin::TBatchText::TryHelp, language));
      return 2;
    case tavrin::TBatchArgs::TAction::Run:
      break;
  }

  tavrin::TBatchOutput output;
  // A mapped input stays mapped until the output is written.
  std::unique_ptr<os::FileMapping> mapped;
  try {
    // One file's bytes, or nothing after saying why.
    const auto read = [&](const std::string& name) -> std::optional<tavrin::TBatchInput> {
      const bool isStdin = name == "-";
      const std::string shown =
          isStdin ? tavrin::BatchText(tavrin::TBatchText::StandardInput, language) : name;
      std::FILE* in = isStdin ? (stdinOpen ? stdin : nullptr) : os::OpenForReading(name);
      if (in == nullptr) {
        if (isStdin) errno = EBADF;
        Say(shown + ": " + tavrin::ErrorText(errno, language));
        return std::nullopt;
      }
      std::string part = ReadAll(in, os::RegularFileSize(in));
      const bool failed = std::ferror(in) != 0;
      const int error = os::ReadError(in, errno);
      if (!isStdin) std::fclose(in);
      if (failed) {
        Say(shown + ": " + tavrin::ErrorText(error, language));
        return std::nullopt;
      }
      return tavrin::TBatchInput{shown, std::move(part)};
    };
    // The dictionaries first: a fault in one is the user's to fix, as a
    // bad argument is (status 2), and nothing is written.
    tavrin::TBatchOptions options = parsed.Options;
    std::vector<tavrin::TBatchInput> dictionaries;
    for (const std::string& name : parsed.Dictionaries) {
      std::optional<tavrin::TBatchInput> file = read(name);
      if (!file) return 2;
      dictionaries.push_back(std::move(*file));
    }
    if (const std::string error = tavrin::ReadBatchDictionaries(std::move(dictionaries), options);
        !error.empty()) {
      Say(error);
      return 2;
    }
    // The folding tables the run asks for (the canonical spellings of map
    // and normalize read the okurigana table, the keys the kinds folded) are
    // made on another thread while the input is read.
    std::future<void> tables;
    const bool canonical = options.Output != tavrin::TBatchOptions::TOutput::Copy;
    if (options.Similar && (canonical || options.Folds != 0))
      tables = tavrin::MakeFoldersAhead(options.Folds, options.Hyphen, canonical);
    std::vector<tavrin::TBatchInput> inputs;
    const std::vector<std::string> stdinOnly{"-"};
    const std::vector<std::string>& files = parsed.Files.empty() ? stdinOnly : parsed.Files;
    const auto writer = [&out](std::string_view piece) { return out.Write(piece); };
    // One regular file (standard input too), not shown in a console, is
    // mapped: mostly distinct lines are read where they lie. Other input,
    // and a file that cannot be opened (the reading below says why), is
    // read as before.
    if (files.size() == 1 && !out.Console()) {
      const bool isStdin = files.front() == "-";
      // Only a regular file is opened here: a pipe's writer must not see it
      // opened twice.
      std::FILE* in = nullptr;
      if (isStdin)
        in = stdinOpen ? stdin : nullptr;
      else if (os::KindOf(files.front()) == os::FileKind::Regular)
        in = os::OpenForReading(files.front());
      if (in != nullptr) {
        mapped = os::MapRegularFile(in);
        if (!isStdin) std::fclose(in);
      }
      if (mapped) {
        if (std::optional<tavrin::TBatchOutput> done =
                tavrin::RunBatchInPlace(options, mapped->Bytes(), writer))
          output = std::move(*done);
        else
          mapped.reset();  // read below instead: a copy beside the mapping would double the memory
      }
    }
    if (!mapped) {
      for (const std::string& name : files) {
        std::optional<tavrin::TBatchInput> file = read(name);
        if (!file) return 1;
        inputs.push_back(std::move(*file));
      }
      // Shown in a console, the output is read back as text in its encoding.
      if (out.Console()) out.SetEncoding(tavrin::BatchOutputEncoding(options, inputs));
      output = tavrin::RunBatch(options, std::move(inputs), writer);
    }
  } catch (const std::bad_alloc&) {
    // Out of memory: said in the words of the system's error, and nothing
    // more written.
    Say(tavrin::ErrorText(ENOMEM, language));
    return 1;
  } catch (const std::exception& e) {
    // A text too large to hold: likewise.
    Say(e.what());
    return 1;
  }
  if (!output.Error.empty()) {
    Say(output.Error);
    return 1;
  }
  // A piece the writer refused left the error mark on the stream.
  if (!WriteOut(out, output.Out, language) || output.WriteFailed) return 1;
  TStream(stderr).Write(output.Summary + "\n");
  // Everything is written: the system takes back the collection at once,
  // which freeing a hundred thousand items one by one would not.
  std::fflush(stderr);
  std::_Exit(0);
}

}  // namespace

#if defined(_WIN32)
// Arguments arrive as UTF-16, so that any file name reaches the program.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(os::Utf8FromWide(argv[i]));
  return Run(args);
}
#else
int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
