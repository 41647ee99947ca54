// The diagnostics text: its six header lines, the free space in MB, the
// settings file's time stamp and lines, and the cases where the file is
// missing, cannot be read, or the file system cannot be queried.
#include "app/diagnostics.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/platform.h"
#include "util/cp932.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const char kHead1[] = "Install Environment -------------------------------------------------";
const char kHead6[] = "Ini File description ------------------------------------------------";

class Diagnostics : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("tavrin-diagnostics-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    ini = (dir / "tavrin.ini").string();
  }
  void TearDown() override { fs::remove_all(dir); }
  void Write(const std::string& bytes) { std::ofstream(ini, std::ios::binary) << bytes; }
  std::string Folder() const { return test::InFolder(dir); }
  fs::path dir;
  std::string ini;
};

TDiagnosticsFacts Facts(std::int64_t freeBytes) {
  TDiagnosticsFacts facts;
  facts.ProgramFolder = "/opt/tavrin/bin/";
  facts.FreeBytes = freeBytes;
  facts.IniUpdated = {2019, 8, 23, 7, 5, 9};
  facts.Ini = TDiagnosticsFacts::TIni::Read;
  facts.IniLines = {"[Form]", "Left=10"};
  return facts;
}

// The whole text byte for byte: folder without its final "/", in quotes;
// zero-padded time; every line ended by CR LF, the last included.
TEST(DiagnosticsText, WholeTextInOrder) {
  EXPECT_EQ(DiagnosticsText(Facts(3 * 1048576 + 5)),
            std::string(kHead1) + "\r\n" +
                "Install folder : \"/opt/tavrin/bin\"\r\n"
                "Disk Free space : 3 MB\r\n"
                "Ini File updated : 2019/08/23 07:05:09\r\n"
                "\r\n" +
                kHead6 + "\r\n" + "[Form]\r\nLeft=10\r\n");
}

// Free space: truncated toward zero, a failed query (-1) as 0 MB, and sizes
// past the 32-bit range of megabytes in full.
TEST(DiagnosticsText, FreeSpaceInMegabytes) {
  const struct {
    std::int64_t bytes;
    const char* line;
  } rows[] = {
      {-1, "Disk Free space : 0 MB"},
      {0, "Disk Free space : 0 MB"},
      {1048575, "Disk Free space : 0 MB"},
      {1048576, "Disk Free space : 1 MB"},
      {std::int64_t{5000000} * 1048576, "Disk Free space : 5000000 MB"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(DiagnosticsLines(Facts(row.bytes))[2], row.line) << row.bytes;
}

// A root folder keeps its separator; a UTF-8 folder name comes out as CP932.
TEST(DiagnosticsText, FolderLine) {
  TDiagnosticsFacts facts = Facts(0);
  // Moved in: a literal assigned draws a false -Wrestrict from GCC 12 at -O3.
  facts.ProgramFolder = std::string("/");
  EXPECT_EQ(DiagnosticsLines(facts)[1], "Install folder : \"/\"");
  facts.ProgramFolder = "/home/\xe5\xb1\xb1\xe7\x94\xb0/";  // 山田
  EXPECT_EQ(DiagnosticsLines(facts)[1], "Install folder : \"/home/" + cp932::Sjis("山田") + "\"");
}

// The settings file in use is named last, wherever it is, in CP932; facts
// without a path name none.
TEST(DiagnosticsText, SettingsFilePathLine) {
  TDiagnosticsFacts facts = Facts(0);
  EXPECT_EQ(DiagnosticsLines(facts).back(), "Left=10");
  facts.IniFile = "/home/\xe5\xb1\xb1\xe7\x94\xb0/.config/tavrin/tavrin.ini";  // 山田
  const Lines lines = DiagnosticsLines(facts);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[8], "");
  EXPECT_EQ(lines[9],
            "Ini File path : \"/home/" + cp932::Sjis("山田") + "/.config/tavrin/tavrin.ini\"");
}

TEST_F(Diagnostics, SettingsFileLinesAsStoredWithItsTimeStamp) {
  // CP932 text, a blank line, mixed line breaks, no final break.
  Write("[User]\r\n" + cp932::Sjis("名前=値") + "\n\r\nFSound=1\rlast");
  std::tm when{};
  when.tm_year = 2024 - 1900;
  when.tm_mon = 2;
  when.tm_mday = 5;
  when.tm_hour = 6;
  when.tm_min = 7;
  when.tm_sec = 9;
  when.tm_isdst = -1;
  ASSERT_TRUE(test::SetFileTime(ini, std::mktime(&when)));

  const TDiagnosticsFacts facts = GatherDiagnostics(Folder(), ini);
  const Lines lines = DiagnosticsLines(facts);
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[1], "Install folder : \"" + dir.string() + "\"");
  EXPECT_EQ(lines[3], "Ini File updated : 2024/03/05 06:07:08");  // even second
  EXPECT_EQ(Lines(lines.begin() + 6, lines.end()),
            (Lines{"[User]", cp932::Sjis("名前=値"), "", "FSound=1", "last", "",
                   "Ini File path : \"" + ini + "\""}));
  EXPECT_NE(facts.FreeBytes, -1);
}

// Missing file: all six header lines, the not-found line, the present time.
TEST_F(Diagnostics, MissingSettingsFile) {
  const std::time_t before = std::time(nullptr);
  const Lines lines = DiagnosticsLines(GatherDiagnostics(Folder(), ini));
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], kHead1);
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], kHead6);
  EXPECT_EQ(lines[6], "Ini File is not Found");
  EXPECT_EQ(lines[8], "Ini File path : \"" + ini + "\"");
  // The present time to the second, within the test's run.
  bool match = false;
  for (std::time_t t = before; t <= std::time(nullptr) && !match; ++t) {
    const std::tm local = test::LocalTm(t);
    char text[64];
    std::strftime(text, sizeof text, "Ini File updated : %Y/%m/%d %H:%M:%S", &local);
    match = lines[3] == text;
  }
  EXPECT_TRUE(match) << lines[3];
}

// A folder of the settings file's name is no file; a pipe would block a
// read, so it is reported as unreadable instead of hanging the copy.
TEST_F(Diagnostics, SettingsPathThatIsNoReadableFile) {
  fs::create_directories(ini);
  EXPECT_EQ(DiagnosticsLines(GatherDiagnostics(Folder(), ini))[6], "Ini File is not Found");
  fs::remove(ini);
#if defined(_WIN32)
  GTEST_SKIP() << "no FIFOs on Windows";
#else
  ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);
  EXPECT_EQ(DiagnosticsLines(GatherDiagnostics(Folder(), ini))[6], "Ini File cannot be read");
#endif
}

// A file system that cannot be queried (here: no folder at all) gives 0 MB
// and the rest of the text as usual.
TEST_F(Diagnostics, FileSystemThatCannotBeQueried) {
  Write("[Form]\r\n");
  const TDiagnosticsFacts facts = GatherDiagnostics("", ini);
  EXPECT_EQ(facts.FreeBytes, -1);
  const Lines lines = DiagnosticsLines(facts);
  EXPECT_EQ(lines[1], "Install folder : \"\"");
  EXPECT_EQ(lines[2], "Disk Free space : 0 MB");
  EXPECT_EQ(lines[6], "[Form]");
}

}  // namespace
}  // namespace tavrin
