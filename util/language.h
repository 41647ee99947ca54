#pragma once
// The language a command-line program speaks: Japanese to a user whose
// system is set to Japanese, English to everyone else.
#include "util/os.h"

namespace tavrin {

enum class TLanguage { English, Japanese };

inline TLanguage UserLanguage() {
  return os::UserLanguageIsJapanese() ? TLanguage::Japanese : TLanguage::English;
}

// The one of two texts (UTF-8) for the language.
inline const char* InLanguage(TLanguage language, const char* english, const char* japanese) {
  return language == TLanguage::Japanese ? japanese : english;
}

}  // namespace tavrin
