#pragma once
// The batch program's logic over the same core as the window: parse the
// arguments, run [全データ] or [類字抽出] on the input text and produce the
// text [コピー] would put on the clipboard afterwards, and the summary.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/user_dictionary.h"
#include "engine/unique_manager.h"
#include "util/language.h"
#include "util/text_encoding.h"

namespace tavrin {

// The window's options with their defaults.
struct TBatchOptions {
  bool Similar = false;  // "similar" ([類字抽出], also map and normalize) or "all" ([全データ])
  // What is written: the copy text, or after the extraction the
  // replacement map ("map") or the normalized input ("normalize").
  enum class TOutput { Copy, Map, Normalize };
  TOutput Output = TOutput::Copy;
  bool Zenkaku = true;
  bool Upper = true;
  bool Trim = false;
  bool ExtractSort = true;
  bool Hyphen = true;
  bool HyphenTerminate = true;
  bool CopyCount = true;
  // The kinds of variants [類字抽出] folds besides (TVariantKind bits);
  // none by default. Only for similar, map and normalize.
  unsigned Folds = 0;
  // map: a fourth column with the kinds of difference from the canonical.
  bool Explain = false;
  // The user's rules (ReadBatchDictionaries); only for similar, map and normalize.
  TUserDictionary Dictionary;
  // The input's encoding; none: recognised from the input. The output is
  // written in the input's encoding, with its BOM when it had one.
  std::optional<TTextEncoding> Encoding;
  // The language of the summary and the messages (not an argument: the
  // user's, see util/language.h).
  TLanguage Language = TLanguage::English;
};

struct TBatchArgs {
  enum class TAction { Run, Help, Version, Invalid };
  TAction Action = TAction::Invalid;
  TBatchOptions Options;
  std::vector<std::string> Files;  // inputs in order, "-" for standard input; none: standard input
  std::vector<std::string> Dictionaries;  // the --dict files in order
  std::string Error;  // for Invalid: what was wrong (UTF-8, one line, in the language)
};

// Arguments after the program name: the options in any order, the command
// ("all", "similar", "map" or "normalize") as the first other word, then the
// files ("--" ends the options). "--fold=KIND[,KIND...]" takes the kinds'
// names (engine/variant_folding.h) and "all"; "--explain" goes with map;
// "--dict FILE" (or "--dict=FILE", repeatable) names a dictionary file. "--help" (or "-h") or
// "--version" alone asks for the usage or the version. Language is that of the messages and of
// Options.Language.
TBatchArgs ParseBatchArgs(std::span<const std::string_view> Args,
                          TLanguage Language = TLanguage::English);

// One file of the input, named as messages name it.
struct TBatchInput {
  std::string Name;
  std::string Bytes;
};

// Reads the dictionary files in order into Options.Dictionary. Returns the
// error (UTF-8, in Options.Language) naming the file and line of the first
// malformed one, when one is; empty when all are read.
std::string ReadBatchDictionaries(std::vector<TBatchInput> Files, TBatchOptions& Options);

// The usage text (UTF-8, ending in a line break).
std::string BatchUsage(TLanguage Language);

struct TBatchOutput {
  std::string Out;           // the output, in the input's encoding (when not given to a writer)
  bool WriteFailed = false;  // the writer refused a piece of the output
  std::string Summary;       // the status-bar summary in Options.Language, UTF-8, no line break
  std::string Error;         // when the input is not valid in its encoding: why (UTF-8, in
                             // Options.Language); no output then
  // The collection behind the output, handed out so that a program about to
  // end can leave it to the system instead of freeing item by item.
  std::unique_ptr<TUniqueManager> Manager;
};

// Runs one command on Input (the clipboard text in Options.Encoding, or in
// the encoding it is recognised to have). Input without a non-blank line gives no output and the
// summary "表示するデータがありません" (in English "No data to show"), as a
// first command does in the window.
// The copy text goes to Write in pieces of whole lines as it is made (a
// million rows need no copy of them all); Write returns false when it
// failed, and nothing more is written then. Without Write, and for the map
// and the normalized text, the output is in Out.
using TBatchWrite = std::function<bool(std::string_view)>;
TBatchOutput RunBatch(const TBatchOptions& Options, std::string Input,
                      const TBatchWrite& Write = {});

// RunBatch over several files read as one input, as sort reads them: each
// file's last line ends at the file's end (a line break is put behind a
// file that does not end with one, and a CR that ends a file before one that
// starts with LF becomes CR LF, so that the two stay two line ends), and a
// BOM at the start of a later file is a mark, not text. Each file is read in
// Options.Encoding, or in the encoding its own bytes are recognised to have.
// The output follows the first file that has text (more than a BOM) and
// shows its encoding (a BOM, or a byte above 0x7F): it is in that file's
// encoding (BatchOutputEncoding), with a BOM when that file has one; CP932
// without a BOM when no file shows one. With more than
// one file, an error about a file's content names the file, and its line
// and offset are the file's own.
TBatchOutput RunBatch(const TBatchOptions& Options, std::vector<TBatchInput> Inputs,
                      const TBatchWrite& Write = {});

// RunBatch over one file's bytes where they lie (a mapped file), for
// mostly distinct lines that are the engine's text as they are (CP932
// without codes of the unassigned rows) and options the distinct-heavy path
// takes (app/distinct_batch.h). None, with nothing written, for other input:
// the caller reads it and runs RunBatch.
std::optional<TBatchOutput> RunBatchInPlace(const TBatchOptions& Options, std::string_view Bytes,
                                            const TBatchWrite& Write = {});

// The encoding of RunBatch's output: Options.Encoding, or the one of the
// first file that has text and shows its encoding; CP932 when none does.
TTextEncoding BatchOutputEncoding(const TBatchOptions& Options,
                                  const std::vector<TBatchInput>& Inputs);

}  // namespace tavrin
