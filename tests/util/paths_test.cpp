#include "util/paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/platform.h"

namespace tavrin {
namespace {

constexpr PathFlavour W = PathFlavour::Windows;
constexpr PathFlavour P = PathFlavour::Posix;
constexpr PathFlavour U = PathFlavour::WindowsUtf8;

// ぁ in UTF-8 ends with 0x81, a CP932 lead byte: read as CP932 it would
// swallow the "\" after it.
const std::string kSmallA = "\xE3\x81\x81";

// 0x95 0x5C is 表, whose trail byte is the byte of "\".
const std::string kHyou = "\x95\x5C";

struct Row {
  const char* name;
  PathFlavour flavour;
  std::string path, expected;
};

TEST(Paths, ReplaceExtension) {
  const Row rows[] = {
      {"extension replaced", W, "D:\\Tools\\app.exe", "D:\\Tools\\app.ini"},
      {"no extension appended", W, "D:\\Tools\\app", "D:\\Tools\\app.ini"},
      {"dot in a folder is not the extension", W, "D:\\v1.2\\app", "D:\\v1.2\\app.ini"},
      {"dot after a drive", W, "C:app", "C:app.ini"},
      {"last dot wins", W, "a.tar.gz", "a.tar.ini"},
      {"trail 0x5C is no delimiter", W, "x.y" + kHyou + "z", "x.ini"},
      {"posix", P, "/usr/bin/tavrin", "/usr/bin/tavrin.ini"},
      {"posix dot in folder", P, "/opt/v1.2/tavrin", "/opt/v1.2/tavrin.ini"},
      {"posix backslash is a name byte", P, "/a.b\\c", "/a.ini"},
      {"posix colon is a name byte", P, "x.y:z", "x.ini"},
      {"utf8 dot in a folder", U, "C:\\" + kSmallA + ".d\\app.exe",
       "C:\\" + kSmallA + ".d\\app.ini"},
      {"utf8 after a slash", U, "C:/v1.2/app", "C:/v1.2/app.ini"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(ReplaceExtension(row.path, ".ini", row.flavour), row.expected) << row.name;
}

TEST(Paths, FileNameOf) {
  const Row rows[] = {
      {"after backslash", W, "C:\\Tools\\doc.pdf", "doc.pdf"},
      {"after colon", W, "C:doc.pdf", "doc.pdf"},
      {"no delimiter", W, "doc.pdf", "doc.pdf"},
      {"trailing delimiter", W, "C:\\Tools\\", ""},
      {"trail 0x5C kept in the name", W, "C:\\" + kHyou + ".txt", kHyou + ".txt"},
      {"posix", P, "/home/u/doc.pdf", "doc.pdf"},
      {"posix keeps backslash and colon", P, "/home/C:\\doc.pdf", "C:\\doc.pdf"},
      {"utf8 after a lead-byte ending", U, "C:\\" + kSmallA + "\\x.txt", "x.txt"},
      {"utf8 after slash", U, "C:/Tools/doc.pdf", "doc.pdf"},
      {"utf8 after colon", U, "C:doc.pdf", "doc.pdf"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(FileNameOf(row.path, row.flavour), row.expected) << row.name;
}

TEST(Paths, FolderOf) {
  const Row rows[] = {
      {"root keeps its delimiter", W, "C:\\doc.pdf", "C:\\"},
      {"folder drops it", W, "C:\\Tools\\doc.pdf", "C:\\Tools"},
      {"drive-relative", W, "C:doc.pdf", "C:"},
      {"leading delimiter kept", W, "\\doc.pdf", "\\"},
      {"after another delimiter", W, "\\\\doc.pdf", "\\\\"},
      {"network share", W, "\\\\server\\share\\doc.pdf", "\\\\server\\share"},
      {"no delimiter", W, "doc.pdf", ""},
      {"empty", W, "", ""},
      {"folder of a folder", W, "C:\\Tools\\", "C:\\Tools"},
      {"trail 0x5C before the delimiter", W, "C:\\" + kHyou + "\\doc.pdf", "C:\\" + kHyou},
      {"trail 0x5C alone is no delimiter", W, kHyou + "doc", ""},
      {"lone lead byte at the end", W, "C:\\a\\\x95", "C:\\a"},
      {"posix folder", P, "/usr/bin/tavrin", "/usr/bin"},
      {"posix root", P, "/tavrin", "/"},
      {"posix relative", P, "bin/tavrin", "bin"},
      {"posix no delimiter", P, "tavrin", ""},
      {"posix double slash", P, "a//b", "a//"},
      {"posix ignores backslash", P, "a\\b", ""},
      {"posix trail byte 0x5C is plain", P, "/x" + kHyou + "/y", "/x" + kHyou},
      {"utf8 folder", U, "C:\\" + kSmallA + "\\x.txt", "C:\\" + kSmallA},
      {"utf8 root", U, "C:\\x.txt", "C:\\"},
      {"utf8 slash root", U, "C:/x.txt", "C:/"},
      {"utf8 mixed separators", U, "C:\\a/b\\c.txt", "C:\\a/b"},
      {"utf8 network share", U, "\\\\server\\share\\doc.pdf", "\\\\server\\share"},
      {"utf8 drive-relative", U, "C:doc.pdf", "C:"},
  };
  for (const Row& row : rows) EXPECT_EQ(FolderOf(row.path, row.flavour), row.expected) << row.name;
}

TEST(Paths, WithTrailingDelimiter) {
  const Row rows[] = {
      {"appended", W, "C:\\Tools", "C:\\Tools\\"},
      {"already there", W, "C:\\Tools\\", "C:\\Tools\\"},
      {"after a drive", W, "C:", "C:\\"},
      {"empty", W, "", "\\"},
      {"trail 0x5C is not a delimiter", W, "C:\\" + kHyou, "C:\\" + kHyou + "\\"},
      {"posix appended", P, "/usr/bin", "/usr/bin/"},
      {"posix root", P, "/", "/"},
      {"posix backslash is a name byte", P, "a\\", "a\\/"},
      {"utf8 appended", U, "C:\\" + kSmallA, "C:\\" + kSmallA + "\\"},
      {"utf8 slash is a separator", U, "C:/x/", "C:/x/"},
      {"utf8 after a drive", U, "C:", "C:\\"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(WithTrailingDelimiter(row.path, row.flavour), row.expected) << row.name;
}

TEST(Paths, ProgramFolderIsTheExecutablesRealFolder) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(std::filesystem::path(folder).is_absolute()) << folder;
  EXPECT_EQ(folder.back(), test::kSeparator);
  const std::string self = ExecutablePath();
  EXPECT_TRUE(std::filesystem::is_regular_file(self)) << self;
  EXPECT_EQ(self.rfind(folder, 0), 0u);
  EXPECT_EQ(self, std::filesystem::canonical(self).string()) << "links resolved";
  // The test binary has no extension on POSIX, ".exe" on Windows.
  const std::string stem = os::kWindows ? self.substr(0, self.size() - 4) : self;
  EXPECT_EQ(ProgramFileWithExtension(".ini"), stem + ".ini");
}

}  // namespace
}  // namespace tavrin
