// The operating-system seam: names in any script, what reads as a file,
// local time, and replacing a file.
#include "util/os.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/platform.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

class Os : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = test::MakeTempFolder("tavrin-os-");
    ASSERT_FALSE(dir.empty());
    base = dir + test::kSeparator;
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(dir, error);
  }
  std::string dir, base;
};

// UTF-8 names reach the file system intact (on Windows through the wide
// calls, whatever the ANSI code page) and come back the same.
TEST_F(Os, NamesInAnyScript) {
  std::vector<std::string> names = {"plain.txt", "顧客データ.txt", "Ünïcödé.txt",
                                    "\xF0\x9F\x98\x80.txt"};
  const std::time_t before = std::time(nullptr);
  for (const std::string& name : names) {
    ASSERT_TRUE(os::WriteWholeFile(base + name, "bytes of " + name)) << name;
    EXPECT_EQ(os::KindOf(base + name), os::FileKind::Regular) << name;
    EXPECT_EQ(os::ReadRegularFile(base + name), "bytes of " + name);
    const std::optional<std::int64_t> time = os::ModificationTime(base + name);
    ASSERT_TRUE(time) << name;
    EXPECT_GE(*time, before - 2);
    EXPECT_LE(*time, std::time(nullptr) + 2);
  }
  ASSERT_TRUE(os::MakeFolder(base + "フォルダ"));
  EXPECT_EQ(os::KindOf(base + "フォルダ"), os::FileKind::Folder);
  names.push_back("フォルダ");
  std::optional<std::vector<std::string>> listed = os::FolderNames(dir);
  ASSERT_TRUE(listed);
  std::sort(listed->begin(), listed->end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(*listed, names);
  EXPECT_TRUE(os::RemoveFile(base + "顧客データ.txt"));
  EXPECT_EQ(os::KindOf(base + "顧客データ.txt"), os::FileKind::Missing);
  EXPECT_GT(os::FreeBytes(base + "フォルダ").value_or(0), 0);
}

// Only a regular file reads as one; what is missing, a folder, or a path
// through a file reads as nothing.
TEST_F(Os, WhatReadsAsAFile) {
  ASSERT_TRUE(os::WriteWholeFile(base + "empty", ""));
  ASSERT_TRUE(os::WriteWholeFile(base + "file", "x"));
  ASSERT_TRUE(os::MakeFolder(base + "folder"));
  const struct {
    std::string path;
    os::FileKind kind;
    std::optional<std::string> bytes;
  } rows[] = {
      {base + "empty", os::FileKind::Regular, ""},
      {base + "file", os::FileKind::Regular, "x"},
      {base + "folder", os::FileKind::Folder, std::nullopt},
      {base + "missing", os::FileKind::Missing, std::nullopt},
      {base + "missing" + test::kSeparator + "x", os::FileKind::Missing, std::nullopt},
      {"", os::FileKind::Missing, std::nullopt},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(os::KindOf(row.path), row.kind) << row.path;
    EXPECT_EQ(os::ReadRegularFile(row.path), row.bytes) << row.path;
  }
  EXPECT_FALSE(os::FolderNames(base + "missing"));
  EXPECT_FALSE(os::WriteWholeFile(base + "missing" + test::kSeparator + "x", "x"));
}

// The seam's local time agrees with the C runtime's, which reads the same
// zone by another way, on both sides of a year and of the summer.
TEST(OsTime, LocalTimeAgreesWithTheRuntime) {
  for (const std::time_t t : {std::time_t{0}, std::time_t{946684799}, std::time_t{1720000000},
                              std::time_t{1772600767}, std::time(nullptr)}) {
    const std::tm expected = test::LocalTm(t);
    EXPECT_EQ(os::LocalTime(t),
              (DateTime{expected.tm_year + 1900, expected.tm_mon + 1, expected.tm_mday,
                        expected.tm_hour, expected.tm_min, expected.tm_sec}))
        << t;
  }
}

// Replacing: a new file, an existing one (longer and shorter), no temporary
// file left; a folder in the file's place is refused and left alone.
// A zeroed block stays zeros, and every byte of it can be written, whatever
// its bounds: unaligned at either end, inside one page, empty.
TEST(OsMemory, PrefaultZeroedKeepsTheZerosAndLeavesTheBlockWritable) {
  for (const std::size_t size : {std::size_t{0}, std::size_t{100}, std::size_t{3} << 20}) {
    char* block = static_cast<char*>(std::calloc(size + 8, 1));
    ASSERT_NE(block, nullptr);
    os::PrefaultZeroed(block + 3, size);
    EXPECT_TRUE(std::all_of(block, block + size + 8, [](char c) { return c == 0; })) << size;
    std::fill(block + 3, block + 3 + size, 'x');
    EXPECT_EQ(std::count(block, block + size + 8, 'x'), std::ptrdiff_t(size)) << size;
    std::free(block);
  }
}

TEST_F(Os, ReplaceRegularFile) {
  const std::string path = base + "settings.ini";
  for (const std::string bytes : {"first\r\n", "a longer second text\r\n", "3"}) {
    ASSERT_TRUE(os::ReplaceRegularFile(path, bytes));
    EXPECT_EQ(os::ReadRegularFile(path), bytes);
  }
  EXPECT_EQ(os::FolderNames(dir).value_or(std::vector<std::string>{}).size(), 1u)
      << "temporary file left";
  ASSERT_TRUE(os::RewriteInPlace(path, "4"));
  EXPECT_EQ(os::ReadRegularFile(path), "4");
  EXPECT_FALSE(os::RewriteInPlace(base + "missing.ini", "x"));
  ASSERT_TRUE(os::MakeFolder(base + "folder.ini"));
  EXPECT_FALSE(os::ReplaceRegularFile(base + "folder.ini", "x"));
  EXPECT_EQ(os::KindOf(base + "folder.ini"), os::FileKind::Folder);
  EXPECT_EQ(os::FolderNames(dir).value_or(std::vector<std::string>{}).size(), 2u)
      << "temporary file left";
}

// A file marked read-only is left as it is, not replaced behind the mark.
TEST_F(Os, ReadOnlyFileIsNotReplaced) {
  const std::string path = base + "settings.ini";
  ASSERT_TRUE(os::WriteWholeFile(path, "old"));
  fs::permissions(fs::path(path),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  if (!os::kWindows && test::IsSuperUser())
    GTEST_SKIP() << "the superuser writes through permission bits";
  EXPECT_FALSE(os::ReplaceRegularFile(path, "new"));
  EXPECT_EQ(os::ReadRegularFile(path), "old");
  fs::permissions(fs::path(path), fs::perms::owner_write, fs::perm_options::add);
}

// The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty
// decides, as for gettext; on Windows the display language does.
TEST(OsLanguage, FirstSetLocaleVariableDecides) {
  if (os::kWindows) GTEST_SKIP() << "the display language is the system's";
  const char* const names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  const struct {
    const char* values[3];  // nullptr: unset
    bool japanese;
  } cases[] = {
      {{nullptr, nullptr, "ja_JP.UTF-8"}, true},
      {{nullptr, nullptr, "en_US.UTF-8"}, false},
      {{"C", nullptr, "ja_JP.UTF-8"}, false},        // LC_ALL overrides
      {{"", "ja_JP.eucJP", "C"}, true},              // an empty one is skipped
      {{nullptr, "C.UTF-8", "ja_JP.UTF-8"}, false},  // LC_MESSAGES before LANG
      {{"ja", nullptr, nullptr}, true},
      {{nullptr, nullptr, nullptr}, false},
  };
  std::string saved[3];
  bool had[3];
  for (int i = 0; i < 3; ++i) {
    const char* value = std::getenv(names[i]);
    had[i] = value != nullptr;
    if (value) saved[i] = value;
  }
  for (const auto& c : cases) {
    for (int i = 0; i < 3; ++i)
      c.values[i] ? (void)test::SetEnvironment(names[i], c.values[i])
                  : test::UnsetEnvironment(names[i]);
    EXPECT_EQ(os::UserLanguageIsJapanese(), c.japanese)
        << (c.values[0] ? c.values[0] : "-") << " " << (c.values[1] ? c.values[1] : "-") << " "
        << (c.values[2] ? c.values[2] : "-");
  }
  for (int i = 0; i < 3; ++i)
    had[i] ? (void)test::SetEnvironment(names[i], saved[i].c_str())
           : test::UnsetEnvironment(names[i]);
}

}  // namespace
}  // namespace tavrin
