#pragma once
// Everything tavrin-batch says, in English and in Japanese (UTF-8): its
// usage, its messages and its summary, from one table.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "util/language.h"

namespace tavrin {

enum class TBatchText {
  Usage,
  TryHelp,          // the line after a message about the arguments
  UnknownCommand,   // %1: the word
  NoOtherArgument,  // %1: --help, -h or --version
  NeedsValue,       // %1: the option
  UnknownKind,      // %1: the name
  UnknownEncoding,  // %1: the name
  UnknownOption,    // %1: the option
  NoCommand,
  FoldWithoutSimilar,
  ExplainWithoutMap,
  StandardInput,  // the name messages give standard input
  StandardOutput,
  InvalidText,   // %1: the encoding, %2: the line, %3: the byte offset
  NulCharacter,  // %1: the line, %2: the byte offset
  CutUtf8,       // %1: the line, %2: the byte offset where the cut character starts
  DictWithoutSimilar,
  DictLine,  // %1: the dictionary file, %2: the line, %3: what is wrong (one of the four below)
  DictInvalidText,
  DictNul,
  DictSingleField,
  DictEmptyField,
  Count
};

// The text in the language, each "%1" to "%9" replaced by that argument.
std::string BatchText(TBatchText Text, TLanguage Language,
                      std::initializer_list<std::string_view> Args = {});

// The status-bar summary: in Japanese the window's, in English the same facts.
std::string BatchSummary(TLanguage Language, bool AllData, long long TotalCount, std::size_t Rows);

}  // namespace tavrin
