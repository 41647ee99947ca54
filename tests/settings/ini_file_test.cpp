// The settings file on disk: atomic replacement, write failures, the header.
#include "settings/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "settings/ini_header.h"
#include "tests/settings/temp_folder.h"
#include "util/cp932.h"
#include "util/error.h"

namespace tavrin {
namespace {

using cp932::Sjis;

TEST(IniFile, MissingFileReadsDefaultsAndWritingCreatesIt) {
  TempFolder dir;
  IniFile ini(dir.File("a.ini"));
  EXPECT_EQ(ini.ReadString("User", "FSound", "dflt"), "dflt");
  ini.WriteString("User", "FSound", "1");
  ini.WriteString("User", "FHint", "0");
  EXPECT_EQ(dir.Read("a.ini"), "[User]\r\nFSound=1\r\nFHint=0\r\n");
  EXPECT_EQ(IniFile(dir.File("a.ini")).ReadString("user", "fhint", ""), "0");
  EXPECT_EQ(dir.Entries(), 1u) << "no temporary file is left behind";
}

TEST(IniFile, ReplacementKeepsPermissionsAndFollowsLinks) {
  TempFolder dir;
  dir.Write("real.ini", "[S]\r\nk=1\r\n");
  ::chmod(dir.File("real.ini").c_str(), 0640);
  std::filesystem::create_symlink("real.ini", dir.File("link.ini"));
  IniFile(dir.File("link.ini")).WriteString("S", "k", "2");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.ini")));
  EXPECT_EQ(dir.Read("real.ini"), "[S]\r\nk=2\r\n");
  struct stat st;
  ASSERT_EQ(::stat(dir.File("real.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(IniFile, DirectoryInPlaceOfTheFileReadsAsEmpty) {
  TempFolder dir;
  std::filesystem::create_directory(dir.File("d.ini"));
  EXPECT_EQ(IniFile(dir.File("d.ini")).ReadString("S", "k", "x"), "x");
}

// A folder that cannot be created (its parent is a regular file) stands for
// an unwritable folder: root writes through permission bits.
TEST(IniFile, FailedWriteNamesTheFullPathAndKeepsTheOldText) {
  TempFolder dir;
  dir.Write("plain", "");
  const std::string path = dir.File("plain") + "/tavrin.ini";
  IniFile ini(path);
  try {
    ini.WriteString("User", "FSound", "1");
    FAIL() << "no failure";
  } catch (const EError& e) {
    EXPECT_EQ(std::string(e.what()), path + Sjis(" に書き込めません"));
  }
  EXPECT_EQ(ini.ReadString("User", "FSound", "none"), "none");
}

TEST(IniFile, ReplacingADirectoryFailsAndLeavesNoTemporaryFile) {
  TempFolder dir;
  std::filesystem::create_directory(dir.File("d.ini"));
  std::filesystem::create_directory(dir.File("d.ini") + "/inside");
  EXPECT_THROW(IniFile(dir.File("d.ini")).WriteString("S", "k", "v"), EError);
  EXPECT_EQ(dir.Entries(), 1u);
}

TEST(IniHeader, TwoLinesWithLocalTime) {
  ::setenv("TZ", "JST-9", 1);
  ::tzset();
  // 2026-03-04 05:06:07 UTC is 14:06:07 in Japan.
  EXPECT_EQ(IniHeaderText("Tavrin", 1772600767),
            "[Tavrin Environment Data File. Created @ 2026/03/04 14:06:07]\r\n" +
                Sjis("[注意:本ファイルを編集しないでください(動作不具合の原因となります)]") +
                "\r\n");
  ::unsetenv("TZ");
  ::tzset();
}

TEST(IniHeader, CreateWritesTheHeaderOnlyWhenTheFileIsMissing) {
  TempFolder dir;
  const std::string path = dir.File("tavrin.ini");
  CreateIniFileWithHeader(path, "Tavrin");
  std::string header = dir.Read("tavrin.ini");
  EXPECT_EQ(header.rfind("[Tavrin Environment Data File. Created @ ", 0), 0u);
  EXPECT_EQ(std::count(header.begin(), header.end(), '\n'), 2);
  // To the profile functions the header is two empty sections.
  EXPECT_EQ(IniFile(path).ReadString("User", "FSound", "d"), "d");

  dir.Write("tavrin.ini", "[User]\r\nFSound=0\r\n");
  CreateIniFileWithHeader(path, "Tavrin");
  EXPECT_EQ(dir.Read("tavrin.ini"), "[User]\r\nFSound=0\r\n");
}

TEST(IniHeader, CreateFailsWithItsMessageWhenTheFolderIsUnwritable) {
  TempFolder dir;
  dir.Write("plain", "");
  try {
    CreateIniFileWithHeader(dir.File("plain") + "/tavrin.ini", "Tavrin");
    FAIL() << "no failure";
  } catch (const EError& e) {
    EXPECT_EQ(std::string(e.what()),
              Sjis("TAccIni.CreateIniFile データファイルの初期生成に失敗しました"));
  }
  EXPECT_FALSE(WriteIniHeader(dir.File("plain") + "/tavrin.ini", "Tavrin"));
}

}  // namespace
}  // namespace tavrin
