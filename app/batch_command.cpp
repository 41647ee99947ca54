#include "app/batch_command.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "app/batch_texts.h"
#include "app/build_data.h"
#include "app/clipboard_lines.h"
#include "app/copy_text.h"
#include "app/distinct_batch.h"
#include "app/extract_similar.h"
#include "app/result_rows.h"
#include "app/spelling_differences.h"
#include "app/variant_groups.h"
#include "engine/unique_manager.h"
#include "engine/variant_folding.h"
#include "util/cp932.h"
#include "util/parallel.h"

namespace tavrin {

TBatchArgs ParseBatchArgs(std::span<const std::string_view> Args, TLanguage Language) {
  TBatchArgs result;
  TBatchOptions& o = result.Options;
  o.Language = Language;
  const std::pair<std::string_view, bool*> switches[] = {
      {"--no-zenkaku", &o.Zenkaku},
      {"--no-upper", &o.Upper},
      {"--no-sort", &o.ExtractSort},
      {"--no-hyphen", &o.Hyphen},
      {"--no-hyphen-terminate", &o.HyphenTerminate},
      {"--no-count", &o.CopyCount},
  };
  const std::pair<std::string_view, std::optional<TTextEncoding>> encodings[] = {
      {"auto", std::nullopt},
      {"cp932", TTextEncoding::Cp932},
      {"utf8", TTextEncoding::Utf8},
      {"utf16le", TTextEncoding::Utf16Le},
      {"utf16be", TTextEncoding::Utf16Be},
  };
  const auto fail = [&](TBatchText text, std::string_view arg = {}) {
    result.Error = BatchText(text, Language, {arg});
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
        return fail(TBatchText::UnknownCommand, arg);
      commandSeen = true;
      o.Similar = arg != "all";
      o.Output = arg == "map"         ? TBatchOptions::TOutput::Map
                 : arg == "normalize" ? TBatchOptions::TOutput::Normalize
                                      : TBatchOptions::TOutput::Copy;
      continue;
    }
    if (arg == "--help" || arg == "-h" || arg == "--version") {
      if (Args.size() != 1) return fail(TBatchText::NoOtherArgument, arg);
      result.Action = arg == "--version" ? TBatchArgs::TAction::Version : TBatchArgs::TAction::Help;
      return result;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--trim") {
      o.Trim = true;
    } else if (arg == "--explain") {
      o.Explain = true;
    } else if (arg == "--dict" || arg.starts_with("--dict=")) {
      std::string_view name = arg.substr(std::string_view("--dict").size());
      if (name.empty() && ++i == Args.size()) return fail(TBatchText::NeedsValue, "--dict");
      result.Dictionaries.emplace_back(name.empty() ? Args[i] : name.substr(1));
    } else if (arg == "--fold" || arg.starts_with("--fold=")) {
      std::string_view list = arg.substr(std::string_view("--fold").size());
      if (list.empty() && ++i == Args.size()) return fail(TBatchText::NeedsValue, "--fold");
      list = list.empty() ? Args[i] : list.substr(1);
      // A comma-separated list of kinds; every name must be known.
      for (;;) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        unsigned kind = name == "all" ? kAllVariantKinds : 0;
        for (unsigned k = 0; k < kVariantKindCount; ++k)
          if (name == kVariantKindNames[k]) kind = 1u << k;
        if (kind == 0) return fail(TBatchText::UnknownKind, name);
        o.Folds |= kind;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
      }
    } else if (arg == "--utf8") {
      o.Encoding = TTextEncoding::Utf8;
    } else if (arg == "--encoding" || arg.starts_with("--encoding=")) {
      std::string_view name = arg.substr(std::string_view("--encoding").size());
      if (name.empty() && ++i == Args.size()) return fail(TBatchText::NeedsValue, "--encoding");
      name = name.empty() ? Args[i] : name.substr(1);
      bool known = false;
      for (const auto& [key, value] : encodings) {
        if (name == key) o.Encoding = value, known = true;
      }
      if (!known) return fail(TBatchText::UnknownEncoding, name);
    } else {
      bool known = false;
      for (const auto& [name, field] : switches) {
        if (arg == name) *field = false, known = true;
      }
      if (!known) return fail(TBatchText::UnknownOption, arg);
    }
  }
  if (!commandSeen) return fail(TBatchText::NoCommand);
  if (o.Folds != 0 && !o.Similar) return fail(TBatchText::FoldWithoutSimilar);
  if (o.Explain && o.Output != TBatchOptions::TOutput::Map)
    return fail(TBatchText::ExplainWithoutMap);
  if (!result.Dictionaries.empty() && !o.Similar) return fail(TBatchText::DictWithoutSimilar);
  result.Action = TBatchArgs::TAction::Run;
  return result;
}

std::string ReadBatchDictionaries(std::vector<TBatchInput> Files, TBatchOptions& Options) {
  using TKind = TDictionaryError::TKind;
  for (TBatchInput& file : Files) {
    const std::optional<TDictionaryError> error =
        ReadUserDictionary(std::move(file.Bytes), Options.Dictionary);
    if (!error) continue;
    const TBatchText reason = error->Kind == TKind::Nul           ? TBatchText::DictNul
                              : error->Kind == TKind::SingleField ? TBatchText::DictSingleField
                              : error->Kind == TKind::EmptyField  ? TBatchText::DictEmptyField
                                                                  : TBatchText::DictInvalidText;
    return BatchText(TBatchText::DictLine, Options.Language,
                     {file.Name, std::to_string(error->Line), BatchText(reason, Options.Language)});
  }
  return {};
}

std::string BatchUsage(TLanguage Language) { return BatchText(TBatchText::Usage, Language); }

namespace {

std::string EncodingName(TTextEncoding Encoding) {
  static constexpr const char* kNames[] = {"CP932", "UTF-8", "UTF-16LE", "UTF-16BE"};
  return kNames[static_cast<int>(Encoding)];
}

// What is wrong with a text DecodeText refused.
std::string DecodeError(const TDecodedText& Decoded, TLanguage Language) {
  const std::string line = std::to_string(Decoded.ErrorLine),
                    offset = std::to_string(*Decoded.ErrorOffset);
  if (Decoded.ErrorIsNul) return BatchText(TBatchText::NulCharacter, Language, {line, offset});
  if (Decoded.ErrorIsCut) return BatchText(TBatchText::CutUtf8, Language, {line, offset});
  return BatchText(TBatchText::InvalidText, Language,
                   {EncodingName(Decoded.Encoding), line, offset});
}

// The file that decides the output's encoding and BOM: the first that has
// text (more than a BOM) and shows its encoding (a BOM, or a byte above
// 0x7F). A file of plain ASCII reads alike in CP932 and UTF-8 and has no say.
std::optional<std::size_t> OutputDecider(const std::vector<TBatchInput>& Inputs) {
  for (std::size_t k = 0; k < Inputs.size(); ++k) {
    const std::string_view bytes = Inputs[k].Bytes;
    const std::optional<TTextEncoding> bom = EncodingOfBom(bytes);
    if (bytes.size() > (bom ? ByteOrderMark(*bom).size() : 0) &&
        (bom || cp932::AsciiEnd(bytes) != bytes.size()))
      return k;
  }
  return std::nullopt;
}

// The files, each decoded in its own encoding, joined into the engine's
// text, with the output's encoding and BOM; Error set when one is refused.
TDecodedText DecodeInputs(std::vector<TBatchInput>& Inputs,
                          const std::optional<TTextEncoding>& Forced, TLanguage Language,
                          std::string& Error) {
  const std::optional<std::size_t> decider = OutputDecider(Inputs);
  TDecodedText joined;
  std::string_view lineBreak;
  for (std::size_t k = 0; k < Inputs.size(); ++k) {
    // A file of ASCII without a BOM, recognised as none, reads alike in any.
    const std::optional<TTextEncoding> encoding =
        Forced ? Forced : RecognisedEncoding(Inputs[k].Bytes);
    TDecodedText part =
        DecodeText(std::move(Inputs[k].Bytes), encoding.value_or(TTextEncoding::Cp932));
    Inputs[k].Bytes = {};
    if (part.ErrorOffset) {
      Error =
          (Inputs.size() > 1 ? Inputs[k].Name + ": " : std::string()) + DecodeError(part, Language);
      return {};
    }
    if (k == decider) joined.Encoding = part.Encoding, joined.Bom = part.Bom;
    const std::string& text = part.Text;
    if (!joined.Text.empty() && joined.Text.back() != '\n' && joined.Text.back() != '\r') {
      // The last line of the file before ends at its end, with the text's
      // own kind of line break.
      if (lineBreak.empty()) lineBreak = "\r\n";
      joined.Text += lineBreak;
    } else if (!joined.Text.empty() && joined.Text.back() == '\r' && text.starts_with('\n')) {
      // A CR that ends one file and an LF that starts the next are two line
      // ends: the CR becomes CR LF, so that the LF cannot join it.
      joined.Text += '\n';
    }
    if (lineBreak.empty()) {
      const std::size_t at = text.find_first_of("\r\n");
      if (at != std::string::npos)
        lineBreak = text.compare(at, 2, "\r\n") == 0 ? "\r\n" : text[at] == '\r' ? "\r" : "\n";
    }
    // The first text is taken over whole rather than copied.
    if (joined.Text.empty())
      joined.Text = std::move(part.Text);
    else
      joined.Text += text;
  }
  if (Forced) joined.Encoding = *Forced;
  return joined;
}

// Mostly distinct lines are sorted one entry a line; repeated ones are
// counted first.
TDistinctWay DistinctWay(std::string_view Text) {
  return LooksDistinctHeavy(Text, 0) ? TDistinctWay::PerLine : TDistinctWay::Counted;
}

}  // namespace

TTextEncoding BatchOutputEncoding(const TBatchOptions& Options,
                                  const std::vector<TBatchInput>& Inputs) {
  if (Options.Encoding) return *Options.Encoding;
  const std::optional<std::size_t> decider = OutputDecider(Inputs);
  return decider ? RecognisedEncoding(Inputs[*decider].Bytes).value_or(TTextEncoding::Cp932)
                 : TTextEncoding::Cp932;
}

TBatchOutput RunBatch(const TBatchOptions& Options, std::string Input, const TBatchWrite& Write) {
  std::vector<TBatchInput> inputs(1);
  inputs.front().Bytes = std::move(Input);
  return RunBatch(Options, std::move(inputs), Write);
}

std::optional<TBatchOutput> RunBatchInPlace(const TBatchOptions& Options, std::string_view Bytes,
                                            const TBatchWrite& Write) {
  // The options first: they need no look at the bytes.
  if (!DistinctBatchTakes(Options) || Bytes.size() < kDistinctBatchBytes) return std::nullopt;
  const TTextEncoding encoding =
      Options.Encoding.value_or(RecognisedEncoding(Bytes).value_or(TTextEncoding::Cp932));
  // Decoding would change nothing: no NUL (a fault), and no code to escape,
  // which the path looks for in each line it keeps (and declines).
  if (encoding != TTextEncoding::Cp932 || std::memchr(Bytes.data(), '\0', Bytes.size()) != nullptr)
    return std::nullopt;
  return RunDistinctBatch(Options, Bytes, encoding, false, Write, DistinctWay(Bytes));
}

TBatchOutput RunBatch(const TBatchOptions& Options, std::vector<TBatchInput> Inputs,
                      const TBatchWrite& Write) {
  TBatchOutput output;
  TDecodedText decoded = DecodeInputs(Inputs, Options.Encoding, Options.Language, output.Error);
  if (!output.Error.empty()) return output;
  std::string Input = std::move(decoded.Text);
  // A large text is sorted as compact entries rather than collected
  // through the hash index, where that path takes the options.
  if (DistinctBatchTakes(Options) && Input.size() >= kDistinctBatchBytes) {
    if (std::optional<TBatchOutput> distinct = RunDistinctBatch(
            Options, Input, decoded.Encoding, decoded.Bom, Write, DistinctWay(Input)))
      return std::move(*distinct);
  }
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
  // The user's rules, resolved for the keys these options make.
  std::optional<TDictionaryGroups> dictionary;
  if (Options.Similar && !Options.Dictionary.Rules.empty())
    dictionary.emplace(Options.Dictionary, manager);
  const auto markSimilar = [&] {
    if (!MarkSimilar(manager)) return false;
    if (dictionary) dictionary->Mark(manager);
    return true;
  };

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
    if (!Options.Similar || markSimilar()) {
      constexpr std::int32_t kPositions = 1 << 15;
      const std::int32_t count = manager.Count();
      const unsigned width = count < kPositions ? 1u : ParallelWidth();
      std::vector<std::string> pieces(width);
      std::vector<std::size_t> pieceRows(width);
      for (std::int64_t from = 0; from < count && !output.WriteFailed;
           from += std::int64_t{kPositions} * width) {
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
                static_cast<std::int32_t>(at),
                static_cast<std::int32_t>(std::min<std::int64_t>(at + kPositions, count)));
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
    output.Summary = BatchSummary(Options.Language, !Options.Similar, manager.TotalCount(), rows);
    return output;
  }
  std::vector<TResultRow> rows;
  if (Options.Similar) {
    if (markSimilar()) rows = FillRows(manager, true, Options.Zenkaku, Options.Upper);
  } else {
    rows = FillRows(manager, false, Options.Zenkaku, Options.Upper);
  }
  output.Summary =
      BatchSummary(Options.Language, !Options.Similar, manager.TotalCount(), rows.size());
  const std::vector<TVariantGroup> groups =
      VariantGroups(rows, dictionary ? &*dictionary : nullptr);
  // The kinds' names are CP932, as the texts are, until the output is
  // encoded. A rule is the reason (辞書) where it names the variant or joins
  // it to a canonical spelling no fold reaches; a line that only folds to
  // the rule's spelling keeps the kinds of its folds.
  const auto kinds = [&](std::string_view variant, std::string_view canonical) {
    if (dictionary) {
      const TUniqueItem* item = manager.FindText(variant);
      const std::uint32_t rule =
          item != nullptr ? dictionary->GroupOf(*item) : TDictionaryGroups::kNone;
      if (rule != TDictionaryGroups::kNone && !dictionary->CanonicalOf(rule).empty() &&
          (dictionary->Names(variant) || item->Key() != manager.MakeKey(canonical)))
        return cp932::Sjis("辞書");
    }
    return DifferenceKindNames(AllDifferenceKinds(manager, variant, canonical));
  };
  std::string text = normalize         ? NormalizedText(given, groups, Options.Trim)
                     : Options.Explain ? VariantMapText(groups, kinds)
                                       : VariantMapText(groups);
  output.Out = EncodeText(std::move(text), decoded.Encoding, decoded.Bom);
  return output;
}

}  // namespace tavrin
