#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/platform.h"

namespace tavrin {

class TempFolder {
 public:
  TempFolder() { path_ = test::MakeTempFolder("tavrin-settings-"); }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  std::string Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(File(name), std::ios::binary) << bytes;
  }
  std::size_t Entries() const {
    auto it = std::filesystem::directory_iterator(path_);
    return static_cast<std::size_t>(std::distance(it, std::filesystem::directory_iterator()));
  }

 private:
  std::string path_;
};

}  // namespace tavrin
