#include "app/text_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace tavrin {

std::optional<std::string> ReadRegularFile(const std::string& path) {
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return text;
}

}  // namespace tavrin
