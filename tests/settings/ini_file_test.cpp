// The settings file on disk: atomic replacement, write failures, the header.
#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>

#include "settings/ini_header.h"
#include "tests/platform.h"
#include "tests/settings/temp_folder.h"
#include "util/cp932.h"
#include "util/error.h"
#include "util/text_encoding.h"

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

TEST(IniFile, FolderRemovedMeanwhileIsMadeAgainAtTheWrite) {
  TempFolder dir;
  const std::string file = dir.File("Tavrin/sub/a.ini");
  ASSERT_TRUE(CreateMissingFolders(file));
  IniFile ini(file, IniFile::Writes::Deferred);
  ini.WriteString("User", "FSound", "1");
  std::filesystem::remove_all(dir.File("Tavrin"));
  ini.Flush();
  EXPECT_EQ(IniFile(file).ReadString("User", "FSound", ""), "1");
}

TEST(IniFile, ReplacementKeepsPermissionsAndFollowsLinks) {
#if defined(_WIN32)
  GTEST_SKIP() << "POSIX permission bits and symbolic links";
#else
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
#endif
}

// A file an editor saved as UTF-16 ("Unicode") or UTF-8 is read in its
// encoding, and written back whole in the program's: never two encodings
// in one file, and characters CP932 lacks (𠮷, ☃) come back as they were.
TEST(IniFile, UnicodeFileIsReadAndWrittenBackInTheProgramsEncoding) {
  const std::string before =
      "[Tavrin Environment Data File. Created @ 2026/12/10 09:00:00]\r\n"
      "[注意:本ファイルを編集しないでください(動作不具合の原因となります)]\r\n"
      "[User]\r\nFSound=0\r\nlvResultName=メイリオ\r\n; 𠮷野家 ☃\r\n";
  std::string after = before;
  after.replace(after.find("FSound=0"), 8, "FSound=1");
  const struct {
    const char* name;
    TTextEncoding encoding;
    bool bom;
  } files[] = {
      {"UTF-16LE with BOM (Notepad's Unicode)", TTextEncoding::Utf16Le, true},
      {"UTF-16BE with BOM", TTextEncoding::Utf16Be, true},
      {"UTF-16LE without BOM", TTextEncoding::Utf16Le, false},
      {"UTF-8 with BOM", TTextEncoding::Utf8, true},
      {"UTF-8 without BOM", TTextEncoding::Utf8, false},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    TempFolder dir;
    dir.Write("tavrin.ini", EncodeText(cp932::FromUtf8(before).bytes, f.encoding, f.bom));
    IniFile ini(dir.File("tavrin.ini"));
    EXPECT_EQ(ini.ReadString("User", "FSound", "1"), "0");
    EXPECT_EQ(ini.ReadString("User", "lvResultName", ""), Sjis("メイリオ"));
    ini.WriteString("User", "FSound", "1");
    EXPECT_EQ(cp932::ToUtf8(dir.Read("tavrin.ini")), after);
  }
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

// A pipe in the settings file's place is no settings file: it reads as
// empty at once, without waiting for a writer, and is never written to or
// replaced.
TEST(IniFile, PipeInPlaceOfTheFileReadsAsEmptyAndStays) {
#if defined(_WIN32)
  GTEST_SKIP() << "no FIFOs on Windows";
#else
  TempFolder dir;
  const std::string path = dir.File("tavrin.ini");
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  auto read = std::async(std::launch::async,
                         [&] { return IniFile(path).ReadString("User", "FSound", "d"); });
  if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    ADD_FAILURE() << "reading waited on the pipe";
    ::close(::open(path.c_str(), O_WRONLY | O_NONBLOCK));  // lets the reader go
  }
  EXPECT_EQ(read.get(), "d");
  IniFile ini(path);
  EXPECT_THROW(ini.WriteString("User", "FSound", "1"), EError);
  struct stat st;
  ASSERT_EQ(::lstat(path.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the pipe was replaced";
  EXPECT_EQ(dir.Entries(), 1u) << "no temporary file is left behind";
#endif
}

TEST(IniHeader, TwoLinesWithLocalTime) {
#if defined(_WIN32)
  GTEST_SKIP() << "the Win32 local time follows the system's time zone, not TZ";
#else
  ::setenv("TZ", "JST-9", 1);
  ::tzset();
  // 2026-03-04 05:06:07 UTC is 14:06:07 in Japan.
  EXPECT_EQ(IniHeaderText("Tavrin", 1772600767),
            "[Tavrin Environment Data File. Created @ 2026/03/04 14:06:07]\r\n" +
                Sjis("[注意:本ファイルを編集しないでください(動作不具合の原因となります)]") +
                "\r\n");
  ::unsetenv("TZ");
  ::tzset();
#endif
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
              Sjis("TAccIni.CreateIniFile データファイルの初期生成に失敗しました") + "\r" +
                  dir.File("plain") + "/tavrin.ini");
  }
  EXPECT_FALSE(WriteIniHeader(dir.File("plain") + "/tavrin.ini", "Tavrin"));
}

// An unwritable first place (its folder is a plain file) falls back to the
// second, whose missing folders are made; an existing first file wins.
TEST(IniHeader, FirstCreatableCandidateIsUsed) {
  TempFolder dir;
  dir.Write("plain", "");
  const std::string beside = dir.File("plain") + "/tavrin.ini";
  const std::string own = dir.File("config/tavrin/tavrin.ini");
  EXPECT_EQ(CreateFirstIniFile({beside, own}, "Tavrin"), own);
  EXPECT_EQ(dir.Read("config/tavrin/tavrin.ini").rfind("[Tavrin Environment", 0), 0u);
  dir.Write("here.ini", "");
  EXPECT_EQ(CreateFirstIniFile({dir.File("here.ini"), own}, "Tavrin"), dir.File("here.ini"));
  try {
    CreateFirstIniFile({beside, dir.File("plain") + "/x/tavrin.ini"}, "Tavrin");
    FAIL() << "no failure";
  } catch (const EError& e) {
    EXPECT_NE(std::string(e.what()).find(beside + "\r" + dir.File("plain") + "/x/tavrin.ini"),
              std::string::npos);
  }
}

#if defined(_WIN32)
TEST(IniHeader, UserSettingsFileFollowsTheApplicationDataFolder) {
  const char* appData = std::getenv("APPDATA");
  const std::string saved = appData ? appData : "";
  for (auto [value, expected] :
       {std::pair<const char*, std::string>{"C:\\cfg", "C:\\cfg\\Tavrin\\tavrin.ini"},
        {"C:\\cfg\\", "C:\\cfg\\Tavrin\\tavrin.ini"},
        {"\\\\server\\home", "\\\\server\\home\\Tavrin\\tavrin.ini"},
        {"relative", ""}}) {
    ASSERT_TRUE(test::SetEnvironment("APPDATA", value));
    EXPECT_EQ(UserSettingsFile(), expected) << value;
  }
  test::UnsetEnvironment("APPDATA");
  EXPECT_EQ(UserSettingsFile(), "");
  if (appData) test::SetEnvironment("APPDATA", saved.c_str());
}
#else
TEST(IniHeader, UserSettingsFileFollowsTheConfigFolder) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = config ? config : "";
  ::setenv("HOME", std::getenv("HOME") ? std::getenv("HOME") : "/root", 1);
  const std::string home = std::getenv("HOME");
  for (auto [value, expected] :
       {std::pair<const char*, std::string>{"/cfg", "/cfg/tavrin/tavrin.ini"},
        {"relative", home + "/.config/tavrin/tavrin.ini"},
        {"", home + "/.config/tavrin/tavrin.ini"}}) {
    ::setenv("XDG_CONFIG_HOME", value, 1);
    EXPECT_EQ(UserSettingsFile(), expected) << value;
  }
  if (config)
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    ::unsetenv("XDG_CONFIG_HOME");
}
#endif

TEST(IniFile, DeferredWritesReplaceTheFileOnceAtFlush) {
  TempFolder dir;
  dir.Write("a.ini", "[User]\r\nFSound=0\r\n");
  IniFile ini(dir.File("a.ini"), IniFile::Writes::Deferred);
  ini.WriteString("User", "FSound", "1");
  ini.WriteString("Form", "Left", "5");
  EXPECT_EQ(dir.Read("a.ini"), "[User]\r\nFSound=0\r\n");
  ini.Flush();
  EXPECT_EQ(dir.Read("a.ini"), "[User]\r\nFSound=1\r\n[Form]\r\nLeft=5\r\n");
}

// Only the temporary names a replacement makes, of regular files.
TEST(IniFile, LeftoverTemporariesOfThisFileAreRemoved) {
  TempFolder dir;
  for (const char* name : {"a.ini", "a.ini.tmpAb12Cd", "a.ini.tmpAb12C", "a.ini.tmpAb12Cd.x",
                           "b.ini.tmpAb12Cd", "a.ini.tmpAb-2Cd"})
    dir.Write(name, "x");
  std::filesystem::create_directory(dir.File("a.ini.tmpZZZZZZ"));
  RemoveLeftoverTemporaries(dir.File("a.ini"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("a.ini.tmpAb12Cd")));
  EXPECT_EQ(dir.Entries(), 6u) << "everything else stays";
}

}  // namespace
}  // namespace tavrin
