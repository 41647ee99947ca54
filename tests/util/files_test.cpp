#include "util/files.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/platform.h"
#include "util/messages.h"
#include "util/stopwatch.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("tavrin-files-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  void Touch(const std::string& name) { std::ofstream(dir / name) << "x"; }
  fs::path dir;
};

// Two files and a folder of the same pattern: only the files, each with the
// folder and the delimiter before it.
TEST_F(Files, ListFilesTakesFilesOnly) {
  Touch("a.dat");
  Touch("b.dat");
  Touch("B.DAT");
  Touch("a.txt");
  fs::create_directories(dir / "c.dat");
  const std::string base = test::InFolder(dir);
  EXPECT_EQ(ListFiles(dir.string(), "*.dat"),
            (std::vector<std::string>{base + "a.dat", base + "b.dat"}));
  EXPECT_EQ(ListFiles(base, "?.txt"), (std::vector<std::string>{base + "a.txt"}));
  EXPECT_TRUE(ListFiles((dir / "missing").string(), "*").empty());
}

TEST(MatchesMask, WildcardsAndCase) {
  EXPECT_TRUE(MatchesMask("report.dat", "*.dat"));
  EXPECT_TRUE(MatchesMask(".dat", "*.dat"));
  EXPECT_FALSE(MatchesMask("report.DAT", "*.dat"));       // letter case as the file system has it
  EXPECT_TRUE(MatchesMask("\xe6\x97\xa5.txt", "?.txt"));  // "?" is one UTF-8 character
  EXPECT_FALSE(MatchesMask("ab.txt", "?.txt"));
  EXPECT_TRUE(MatchesMask("abc", "a*b*c*"));
}

TEST_F(Files, FileTimestampTruncatesToTwoSeconds) {
  Touch("t.ini");
  std::tm when{};
  when.tm_year = 2024 - 1900;
  when.tm_mon = 2;
  when.tm_mday = 5;
  when.tm_hour = 13;
  when.tm_min = 14;
  when.tm_sec = 15;
  when.tm_isdst = -1;
  const std::time_t t = std::mktime(&when);
  ASSERT_TRUE(test::SetFileTime(dir / "t.ini", t));
  EXPECT_EQ(FileTimestamp((dir / "t.ini").string()), (DateTime{2024, 3, 5, 13, 14, 14}));

  // Nothing matches: the present time.
  const DateTime before = LocalNow();
  const DateTime missing = FileTimestamp((dir / "none.ini").string());
  EXPECT_GE(missing, before);
  EXPECT_LE(missing, LocalNow());
}

TEST_F(Files, DiskFreeBytes) {
  EXPECT_GT(DiskFreeBytes(dir.string()), 0);
  EXPECT_GT(DiskFreeBytes((dir / "not-yet" / "x.ini").string()), 0);  // nearest existing folder
  EXPECT_EQ(DiskFreeBytes(""), -1);
}

// The stopwatch reads an injected clock; a wrap of the 32-bit counter between
// start and stop still gives the elapsed time.
TEST(StopWatch, ElapsedAcrossAWrapAndTheMessage) {
  std::uint32_t now = 0xFFFFFF00u;
  MillisecondClock previous = SetMillisecondClock([&now] { return now; });
  std::vector<std::string> shown;
  MessageHandler previousHandler =
      SetMessageHandler([&](MessageKind kind, const std::string& text) {
        EXPECT_EQ(kind, MessageKind::Information);
        shown.push_back(text);
        return true;
      });
  StopWatch(0);
  now += 1500;  // wraps past zero
  EXPECT_EQ(StopWatch(2), 1500);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Turn Around Time was 1500 msec.");
  now += 500;
  EXPECT_EQ(StopWatch(1), 2000);  // still measured from the same start, no message
  EXPECT_EQ(shown.size(), 1u);
  SetMessageHandler(previousHandler);
  SetMillisecondClock(previous);
}

}  // namespace
}  // namespace tavrin
