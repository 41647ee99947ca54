#pragma once
// The words a message gives for a system error (an errno value): one table,
// so that a program says the same on every platform, in English or in
// Japanese. The runtimes' own texts differ ("Permission denied" on Windows
// where Linux says "Is a directory").
#include <string>

#include "util/language.h"

namespace tavrin {

// UTF-8; an error the table lacks is named by the runtime's text.
std::string ErrorText(int error, TLanguage language);

}  // namespace tavrin
