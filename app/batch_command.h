#pragma once
// The batch program's logic over the same core as the window: parse the
// arguments, run [全データ] or [類字抽出] on the input text and produce the
// text [コピー] would put on the clipboard afterwards, and the summary.
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "engine/unique_manager.h"

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
  bool Utf8 = false;  // input and output UTF-8 instead of CP932
};

struct TBatchArgs {
  enum class TAction { Run, Help, Invalid };
  TAction Action = TAction::Invalid;
  TBatchOptions Options;
  std::string Error;  // for Invalid: what was wrong (UTF-8)
};

// Arguments after the program name: exactly one of "all", "similar", "map"
// and "normalize", any
// of the options, in any order; "--help" (or "-h") alone asks for the usage.
TBatchArgs ParseBatchArgs(std::span<const std::string_view> Args);

// The usage text (UTF-8, ending in a line break).
std::string BatchUsage();

struct TBatchOutput {
  std::string Out;          // the copy text: CP932, or UTF-8 with Options.Utf8
  std::string Summary;      // the status-bar summary, UTF-8, no line break
  std::size_t Replaced = 0; // input characters the codec could not keep (UTF-8 input)
  // The collection behind the output, handed out so that a program about to
  // end can leave it to the system instead of freeing item by item.
  std::unique_ptr<TUniqueManager> Manager;
};

// Runs one command on Input (the clipboard text: CP932 bytes, or UTF-8 with
// Options.Utf8). Input without a non-blank line gives no output and the
// summary "表示するデータがありません", as a first command does in the window.
TBatchOutput RunBatch(const TBatchOptions& Options, std::string Input);

}  // namespace tavrin
