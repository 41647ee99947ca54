#pragma once
// The error raised by the program's own components. Its message is
// Shift-JIS text that begins with the class and operation, e.g.
// "TAccIni.CreateIniFile データファイルの初期生成に失敗しました".
#include <stdexcept>
#include <string>

namespace tavrin {

class EError : public std::runtime_error {
 public:
  explicit EError(const std::string& sjisMessage) : std::runtime_error(sjisMessage) {}
};

}  // namespace tavrin
