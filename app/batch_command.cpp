#include "app/batch_command.h"

#include <utility>
#include <vector>

#include "app/build_data.h"
#include "app/clipboard_lines.h"
#include "app/command_texts.h"
#include "app/copy_text.h"
#include "app/extract_similar.h"
#include "app/result_rows.h"
#include "app/variant_groups.h"
#include "engine/unique_manager.h"
#include "util/cp932.h"

namespace tavrin {

TBatchArgs ParseBatchArgs(std::span<const std::string_view> Args) {
  TBatchArgs result;
  TBatchOptions& o = result.Options;
  const std::pair<std::string_view, bool*> switches[] = {
      {"--no-zenkaku", &o.Zenkaku}, {"--no-upper", &o.Upper},   {"--no-sort", &o.ExtractSort},
      {"--no-hyphen", &o.Hyphen},   {"--no-hyphen-terminate", &o.HyphenTerminate},
      {"--no-count", &o.CopyCount},
  };
  bool commandSeen = false;
  for (const std::string_view arg : Args) {
    if (arg == "--help" || arg == "-h") {
      if (Args.size() != 1) {
        result.Error = "--help takes no other argument";
        return result;
      }
      result.Action = TBatchArgs::TAction::Help;
      return result;
    }
    if (arg == "all" || arg == "similar" || arg == "map" || arg == "normalize") {
      if (commandSeen) {
        result.Error = "more than one command given";
        return result;
      }
      commandSeen = true;
      o.Similar = arg != "all";
      o.Output = arg == "map"         ? TBatchOptions::TOutput::Map
                 : arg == "normalize" ? TBatchOptions::TOutput::Normalize
                                      : TBatchOptions::TOutput::Copy;
      continue;
    }
    if (arg == "--trim") {
      o.Trim = true;
      continue;
    }
    if (arg == "--utf8") {
      o.Utf8 = true;
      continue;
    }
    bool known = false;
    for (const auto& [name, field] : switches) {
      if (arg == name) {
        *field = false;
        known = true;
      }
    }
    if (!known) {
      result.Error = "unknown argument: " + std::string(arg);
      return result;
    }
  }
  if (!commandSeen) {
    result.Error = "no command given (all, similar, map or normalize)";
    return result;
  }
  result.Action = TBatchArgs::TAction::Run;
  return result;
}

std::string BatchUsage() {
  return "Usage: tavrin-batch all|similar|map|normalize [options] < input > output\n"
         "\n"
         "Reads the lines of standard input as the program reads the clipboard (lines end\n"
         "at CR, LF or CR LF; a quoted cell spanning two lines is joined; blank lines are\n"
         "dropped), runs one command and writes to standard output exactly the text that\n"
         "[コピー] would put on the clipboard: one line per listed row, ended by CR LF,\n"
         "with a TAB and the count after the text. The status-bar summary goes to\n"
         "standard error as one line. An empty result writes nothing.\n"
         "\n"
         "Commands:\n"
         "  all       [全データ]: every distinct line with its count\n"
         "  similar   [類字抽出]: only the lines that have a differently written partner\n"
         "  map       after [類字抽出], one line per variant: variant TAB canonical TAB\n"
         "            count CR LF (the canonical spelling of a group is its most\n"
         "            frequent line, on a tie the one that occurs first)\n"
         "  normalize the input unchanged except that every variant line becomes its\n"
         "            canonical spelling: same lines, same line breaks\n"
         "\n"
         "Options (the program's defaults apply without them):\n"
         "  --no-zenkaku           all: merge lines that differ in width or kana kind\n"
         "  --no-upper             all: merge lines that differ in case\n"
         "  --trim                 remove the blanks around each line before counting\n"
         "  --no-sort              keep the order of first occurrence\n"
         "  --no-hyphen            keep the hyphen and the long-vowel mark apart\n"
         "  --no-hyphen-terminate  do not ignore a trailing hyphen or long-vowel mark\n"
         "  --no-count             copy the texts without their counts\n"
         "  --utf8                 input and output in UTF-8 instead of CP932\n"
         "  --help                 show this text\n"
         "\n"
         "Exit status: 0 on success (an empty result included), 2 on bad arguments,\n"
         "1 when reading, running or writing fails.\n";
}

TBatchOutput RunBatch(const TBatchOptions& Options, std::string Input) {
  TBatchOutput output;
  if (Options.Utf8) {
    cp932::EncodeResult encoded = cp932::FromUtf8(Input);
    Input = std::move(encoded.bytes);
    output.Replaced = encoded.replaced;
  } else {
    Input = cp932::FromCp932(std::move(Input));
  }
  const bool normalize = Options.Output == TBatchOptions::TOutput::Normalize;
  // Normalizing writes the input back: it is kept as given.
  const std::string given = normalize ? Input : std::string();
  const TClipboardLines lines = ClipboardLines(std::move(Input));

  output.Manager = std::make_unique<TUniqueManager>();
  TUniqueManager& manager = *output.Manager;
  manager.FTrim = Options.Trim;
  manager.FZenkaku = Options.Zenkaku;
  manager.FUpper = Options.Upper;
  manager.FHyphenTerminate = Options.HyphenTerminate;
  manager.FHyphen = Options.Hyphen;
  std::vector<TUniqueItem*> inputOrder;
  BuildData(manager, lines, Options.ExtractSort, {},
            Options.Output == TBatchOptions::TOutput::Copy ? nullptr : &inputOrder);

  std::vector<TResultRow> rows;
  if (Options.Similar) {
    if (MarkSimilar(manager)) rows = FillRows(manager, true, Options.Zenkaku, Options.Upper);
  } else {
    rows = FillRows(manager, false, Options.Zenkaku, Options.Upper);
  }
  output.Summary =
      cp932::ToUtf8(SummaryText(!Options.Similar, manager.TotalCount(), rows.size()));
  if (Options.Output != TBatchOptions::TOutput::Copy) {
    const std::vector<TVariantGroup> groups = VariantGroups(rows, inputOrder);
    std::string text = normalize ? NormalizedText(given, groups, Options.Trim) : VariantMapText(groups);
    output.Out = Options.Utf8 ? cp932::ToUtf8(text) : std::move(text);
    return output;
  }
  TCopyResult copy = CopyRows(rows, {}, TCopyKind::All, Options.CopyCount);
  if (copy.Status == TCopyResult::TStatus::Copied) {
    output.Out = Options.Utf8 ? cp932::ToUtf8(copy.Text) : cp932::ToCp932(std::move(copy.Text)).bytes;
  }
  return output;
}

}  // namespace tavrin
