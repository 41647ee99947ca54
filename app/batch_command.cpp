#include "app/batch_command.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "app/build_data.h"
#include "app/clipboard_lines.h"
#include "app/command_texts.h"
#include "app/copy_text.h"
#include "app/extract_similar.h"
#include "app/result_rows.h"
#include "app/spelling_differences.h"
#include "app/variant_groups.h"
#include "engine/unique_manager.h"
#include "engine/variant_folding.h"
#include "util/cp932.h"
#include "util/parallel.h"

namespace tavrin {

TBatchArgs ParseBatchArgs(std::span<const std::string_view> Args) {
  TBatchArgs result;
  TBatchOptions& o = result.Options;
  const std::pair<std::string_view, bool*> switches[] = {
      {"--no-zenkaku", &o.Zenkaku}, {"--no-upper", &o.Upper},   {"--no-sort", &o.ExtractSort},
      {"--no-hyphen", &o.Hyphen},   {"--no-hyphen-terminate", &o.HyphenTerminate},
      {"--no-count", &o.CopyCount},
  };
  const std::pair<std::string_view, std::optional<TTextEncoding>> encodings[] = {
      {"auto", std::nullopt},
      {"cp932", TTextEncoding::Cp932},
      {"utf8", TTextEncoding::Utf8},
      {"utf16le", TTextEncoding::Utf16Le},
      {"utf16be", TTextEncoding::Utf16Be},
  };
  const auto fail = [&](std::string error) {
    result.Error = std::move(error);
    return result;
  };
  bool commandSeen = false, optionsEnded = false;
  for (std::size_t i = 0; i < Args.size(); ++i) {
    const std::string_view arg = Args[i];
    if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
      if (commandSeen) {
        result.Files.emplace_back(arg);
        continue;
      }
      if (arg != "all" && arg != "similar" && arg != "map" && arg != "normalize")
        return fail("unknown command: " + std::string(arg));
      commandSeen = true;
      o.Similar = arg != "all";
      o.Output = arg == "map"         ? TBatchOptions::TOutput::Map
                 : arg == "normalize" ? TBatchOptions::TOutput::Normalize
                                      : TBatchOptions::TOutput::Copy;
      continue;
    }
    if (arg == "--help" || arg == "-h" || arg == "--version") {
      if (Args.size() != 1) return fail(std::string(arg) + " takes no other argument");
      result.Action = arg == "--version" ? TBatchArgs::TAction::Version : TBatchArgs::TAction::Help;
      return result;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--trim") {
      o.Trim = true;
    } else if (arg == "--explain") {
      o.Explain = true;
    } else if (arg == "--fold" || arg.starts_with("--fold=")) {
      std::string_view list = arg.substr(std::string_view("--fold").size());
      if (list.empty() && ++i == Args.size()) return fail("--fold needs a value");
      list = list.empty() ? Args[i] : list.substr(1);
      // A comma-separated list of kinds; every name must be known.
      for (;;) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        unsigned kind = name == "all" ? kAllVariantKinds : 0;
        for (unsigned k = 0; k < kVariantKindCount; ++k)
          if (name == kVariantKindNames[k]) kind = 1u << k;
        if (kind == 0) return fail("unknown kind of variant: \"" + std::string(name) + "\"");
        o.Folds |= kind;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
      }
    } else if (arg == "--utf8") {
      o.Encoding = TTextEncoding::Utf8;
    } else if (arg == "--encoding" || arg.starts_with("--encoding=")) {
      std::string_view name = arg.substr(std::string_view("--encoding").size());
      if (name.empty() && ++i == Args.size()) return fail("--encoding needs a value");
      name = name.empty() ? Args[i] : name.substr(1);
      bool known = false;
      for (const auto& [key, value] : encodings) {
        if (name == key) o.Encoding = value, known = true;
      }
      if (!known) return fail("unknown encoding: " + std::string(name));
    } else {
      bool known = false;
      for (const auto& [name, field] : switches) {
        if (arg == name) *field = false, known = true;
      }
      if (!known) return fail("unknown option: " + std::string(arg));
    }
  }
  if (!commandSeen) return fail("no command given (all, similar, map or normalize)");
  if (o.Folds != 0 && !o.Similar) return fail("--fold applies to similar, map and normalize only");
  if (o.Explain && o.Output != TBatchOptions::TOutput::Map) return fail("--explain applies to map only");
  result.Action = TBatchArgs::TAction::Run;
  return result;
}

std::string BatchUsage() {
  return "Usage: tavrin-batch all|similar|map|normalize [options] [FILE...]\n"
         "\n"
         "Reads the FILEs in order as one input (none, or \"-\": standard input; a file's\n"
         "last line ends at the file's end) and its lines as the program reads the\n"
         "clipboard (lines end at CR, LF or CR LF; a quoted cell spanning two lines is\n"
         "joined; blank lines are dropped), runs one command\n"
         "and writes to standard output exactly the text that\n"
         "[コピー] would put on the clipboard: one line per listed row, ended by CR LF,\n"
         "with a TAB and the count after the text. The status-bar summary goes to\n"
         "standard error as one line. An empty result writes nothing.\n"
         "\n"
         "Commands:\n"
         "  all       [全データ]: every distinct line with its count\n"
         "  similar   [類字抽出]: only the lines that have a differently written partner\n"
         "  map       after [類字抽出], one line per variant: variant TAB canonical TAB\n"
         "            count CR LF (the canonical spelling of a group is its most\n"
         "            frequent line; on a tie the most standard one: a full company\n"
         "            form, no half-width kana, no compatibility character, standard\n"
         "            kanji; then the one that occurs first)\n"
         "  normalize the input unchanged except that every variant line becomes its\n"
         "            canonical spelling: same rows, same line breaks (a spelling that\n"
         "            would join a line next to it is written as a quoted two-line\n"
         "            cell, which reads back as the one row)\n"
         "\n"
         "Options (the program's defaults apply without them):\n"
         "  --no-zenkaku           all: merge lines that differ in width or kana kind\n"
         "  --no-upper             all: merge lines that differ in case\n"
         "  --trim                 remove the blanks around each line before counting\n"
         "  --no-sort              keep the order of first occurrence\n"
         "  --no-hyphen            keep the hyphen and the long-vowel mark apart\n"
         "  --no-hyphen-terminate  do not ignore a trailing hyphen or long-vowel mark\n"
         "  --no-count             copy the texts without their counts\n"
         "  --fold=KIND[,KIND...]  similar, map, normalize: also join lines that differ in\n"
         "                         these kinds of variants, none by default, every one\n"
         "                         with all: kanji (kanji forms: 渡邊/渡辺, 髙/高, 佐々木/佐佐木),\n"
         "                         compat (compatibility characters: ①/1, ㍻/平成, ㈱/(株)),\n"
         "                         space (blanks inside the line and middle dots),\n"
         "                         symbol (dashes, tildes, quotes; ー between digits),\n"
         "                         kana (ヰ/イ, ゝ ゞ; ヴァイオリン/バイオリン and the other\n"
         "                         listed words across ヴ/ブ, ぢ/じ, づ/ず, を/お), company (株式会社/\n"
         "                         (株)/㈱/カ) at the start of a line, likewise at its end;\n"
         "                         the written-out forms and ㈱ inside it too)\n"
         "  --explain              map: a fourth column, after a TAB, with the kinds of\n"
         "                         difference from the canonical spelling, joined by \"、\"\n"
         "  --encoding=ENC         the input's encoding: auto (the default), cp932, utf8,\n"
         "                         utf16le or utf16be. auto takes the encoding a byte\n"
         "                         order mark names; else input that is valid UTF-8 and\n"
         "                         not all ASCII is UTF-8; else input with at least 8\n"
         "                         valid UTF-8 multi-byte characters before its first\n"
         "                         invalid byte is refused as invalid UTF-8; else it is\n"
         "                         CP932. All files must be in one encoding, and a later\n"
         "                         file's byte order mark is no text. The output is in\n"
         "                         the input's encoding, with its BOM when it had one\n"
         "  --utf8                 the same as --encoding=utf8\n"
         "  --help                 show this text\n"
         "  --version              show the program's version\n"
         "\n"
         "Exit status: 0 on success (an empty result included), 2 on bad arguments,\n"
         "1 when reading (a missing file, input not valid in its encoding or holding a\n"
         "NUL character, files in different encodings), running or writing fails.\n";
}

namespace {

static_assert(kPlainUtf8Sequences == 8, "the usage text states the number");

std::string EncodingName(TTextEncoding Encoding) {
  static constexpr const char* kNames[] = {"CP932", "UTF-8", "UTF-16LE", "UTF-16BE"};
  return kNames[static_cast<int>(Encoding)];
}

// What is wrong with a text DecodeText refused.
std::string DecodeError(const TDecodedText& Decoded) {
  return (Decoded.ErrorIsNul ? std::string("NUL character") : "invalid " + EncodingName(Decoded.Encoding)) +
         " in line " + std::to_string(Decoded.ErrorLine) + " at byte offset " + std::to_string(*Decoded.ErrorOffset);
}

// The files decoded and joined into the engine's text; Error set when one
// is refused.
TDecodedText DecodeInputs(std::vector<TBatchInput>& Inputs, const std::optional<TTextEncoding>& Forced,
                          std::string& Error) {
  if (Inputs.size() == 1) {
    TDecodedText decoded = DecodeText(std::move(Inputs.front().Bytes), Forced);
    if (decoded.ErrorOffset) Error = DecodeError(decoded);
    return decoded;
  }
  std::optional<TTextEncoding> encoding = Forced;
  std::size_t decider = 0;  // the file that showed the encoding
  if (!encoding) {
    for (std::size_t k = 0; k < Inputs.size(); ++k) {
      const std::optional<TTextEncoding> shown = RecognisedEncoding(Inputs[k].Bytes);
      if (!shown) continue;
      if (!encoding) {
        encoding = shown, decider = k;
      } else if (*shown != *encoding) {
        Error = Inputs[k].Name + ": in " + EncodingName(*shown) + ", unlike " + Inputs[decider].Name + " (" +
                EncodingName(*encoding) + ")";
        return {};
      }
    }
    // Every file ASCII: as one file of ASCII reads.
    if (!encoding) encoding = TTextEncoding::Cp932;
  }
  TDecodedText joined;
  joined.Encoding = *encoding;
  std::string_view lineBreak;
  for (std::size_t k = 0; k < Inputs.size(); ++k) {
    TDecodedText part = DecodeText(std::move(Inputs[k].Bytes), encoding);
    Inputs[k].Bytes = {};
    if (part.ErrorOffset) {
      Error = Inputs[k].Name + ": " + DecodeError(part);
      return {};
    }
    if (k == 0) joined.Bom = part.Bom;
    const std::string& text = part.Text;
    if (!joined.Text.empty() && joined.Text.back() != '\n' && joined.Text.back() != '\r') {
      // The last line of the file before ends at its end, with the text's
      // own kind of line break.
      if (lineBreak.empty()) lineBreak = "\r\n";
      joined.Text += lineBreak;
    }
    if (lineBreak.empty()) {
      const std::size_t at = text.find_first_of("\r\n");
      if (at != std::string::npos)
        lineBreak = text.compare(at, 2, "\r\n") == 0 ? "\r\n" : text[at] == '\r' ? "\r" : "\n";
    }
    joined.Text += text;
  }
  return joined;
}

}  // namespace

TBatchOutput RunBatch(const TBatchOptions& Options, std::string Input, const TBatchWrite& Write) {
  std::vector<TBatchInput> inputs(1);
  inputs.front().Bytes = std::move(Input);
  return RunBatch(Options, std::move(inputs), Write);
}

TBatchOutput RunBatch(const TBatchOptions& Options, std::vector<TBatchInput> Inputs, const TBatchWrite& Write) {
  TBatchOutput output;
  TDecodedText decoded = DecodeInputs(Inputs, Options.Encoding, output.Error);
  if (!output.Error.empty()) return output;
  std::string Input = std::move(decoded.Text);
  const bool normalize = Options.Output == TBatchOptions::TOutput::Normalize;
  // Normalizing writes the input back: it is kept as given.
  const std::string given = normalize ? Input : std::string();

  output.Manager = std::make_unique<TUniqueManager>();
  TUniqueManager& manager = *output.Manager;
  manager.FTrim = Options.Trim;
  manager.FZenkaku = Options.Zenkaku;
  manager.FUpper = Options.Upper;
  manager.FHyphenTerminate = Options.HyphenTerminate;
  manager.FHyphen = Options.Hyphen;
  manager.FVariants = Options.Similar ? Options.Folds : 0;
  BuildDataInBlocks(manager, std::move(Input), Options.ExtractSort);

  if (Options.Output == TBatchOptions::TOutput::Copy) {
    // The rows are written as they are made, in pieces of a few thousand
    // positions that the cores make and encode at once; without a writer
    // they are gathered in Out.
    const TBatchWrite gather = [&](std::string_view piece) {
      output.Out += piece;
      return true;
    };
    const TBatchWrite& write = Write ? Write : gather;
    std::size_t rows = 0;
    bool bom = decoded.Bom;
    if (!Options.Similar || MarkSimilar(manager)) {
      constexpr std::int32_t kPositions = 1 << 15;
      const std::int32_t count = manager.Count();
      const unsigned width = count < kPositions ? 1u : ParallelWidth();
      std::vector<std::string> pieces(width);
      std::vector<std::size_t> pieceRows(width);
      for (std::int64_t from = 0; from < count && !output.WriteFailed; from += std::int64_t{kPositions} * width) {
        RunParts(width, [&](unsigned p) {
          const std::int64_t at = from + std::int64_t{kPositions} * p;
          // The part works on its own string and count, handed over at its
          // end: the parts' slots share cache lines.
          std::string piece = std::move(pieces[p]);
          std::size_t pieceRowCount = 0;
          piece.clear();
          if (at < count) {
            ForEachRow(
                manager, Options.Similar, Options.Zenkaku, Options.Upper,
                [&](const TResultRow& row) {
                  ++pieceRowCount;
                  AppendCopyLine(piece, row, Options.CopyCount);
                },
                static_cast<std::int32_t>(at), static_cast<std::int32_t>(std::min<std::int64_t>(at + kPositions, count)));
            piece = EncodeText(std::move(piece), decoded.Encoding, false);
          }
          pieces[p] = std::move(piece);
          pieceRows[p] = pieceRowCount;
        });
        for (unsigned p = 0; p < width && !output.WriteFailed; ++p) {
          rows += pieceRows[p];
          if (pieces[p].empty()) continue;
          // The byte order mark goes before the first text written.
          if (bom) output.WriteFailed = !write(ByteOrderMark(decoded.Encoding));
          bom = false;
          if (!output.WriteFailed) output.WriteFailed = !write(pieces[p]);
        }
      }
    }
    output.Summary = cp932::ToUtf8(SummaryText(!Options.Similar, manager.TotalCount(), rows));
    return output;
  }
  std::vector<TResultRow> rows;
  if (Options.Similar) {
    if (MarkSimilar(manager)) rows = FillRows(manager, true, Options.Zenkaku, Options.Upper);
  } else {
    rows = FillRows(manager, false, Options.Zenkaku, Options.Upper);
  }
  output.Summary =
      cp932::ToUtf8(SummaryText(!Options.Similar, manager.TotalCount(), rows.size()));
  const std::vector<TVariantGroup> groups = VariantGroups(rows);
  // The kinds' names are CP932, as the texts are, until the output is encoded.
  const auto kinds = [&](std::string_view variant, std::string_view canonical) {
    return DifferenceKindNames(AllDifferenceKinds(manager, variant, canonical));
  };
  std::string text = normalize         ? NormalizedText(given, groups, Options.Trim)
                     : Options.Explain ? VariantMapText(groups, kinds)
                                       : VariantMapText(groups);
  output.Out = EncodeText(std::move(text), decoded.Encoding, decoded.Bom);
  return output;
}

}  // namespace tavrin
