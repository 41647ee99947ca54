#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/container.h"
#include "tests/platform.h"
#include "util/cp932.h"
#include "util/messages.h"
#include "util/os.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;
using cp932::Sjis;

// A container item of the tests' own: one line of text, saved to its own file.
class TLineItem : public TCustomContainerItem {
 public:
  explicit TLineItem(const std::string& line) : Line(line) {}
  std::string GetLine() const override { return Line; }
  bool Matches(const std::string& value) const override { return value == Line; }
  std::string GetDbFileName() const override { return DbFile; }
  std::string Line;
  std::string DbFile;
};

class TLineContainer : public TCustomContainer {
 public:
  TLineContainer() : TCustomContainer(ItemClassOf<TLineItem>()) {}
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (std::int32_t i = 0; i < Count(); ++i) out.push_back(Items(i)->GetLine());
    return out;
  }
};

// Records every message box and the folder the test writes into.
class ContainerFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = SetMessageHandler([this](MessageKind kind, const std::string& text) {
      EXPECT_EQ(kind, MessageKind::Error);
      messages.push_back(text);
      return true;
    });
    dir = fs::temp_directory_path() /
          ("tavrin-container-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    SetMessageHandler(previous);
    fs::remove_all(dir);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path p = dir / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  MessageHandler previous;
  std::vector<std::string> messages;
  fs::path dir;
};

TEST_F(ContainerFiles, DeleteByIndexOutsideTheListChangesNothing) {
  TLineContainer c;
  c.AddItem(std::make_unique<TLineItem>("a"));
  c.AddItem(std::make_unique<TLineItem>("b"));
  c.Delete(2);  // Count itself is already outside
  c.Delete(-1);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0],
            Sjis("TCustomContainer.Delete error\r\r無効なインデックス(2)が渡されました"));
  EXPECT_EQ(messages[1],
            Sjis("TCustomContainer.Delete error\r\r無効なインデックス(-1)が渡されました"));
  EXPECT_EQ(c.Lines(), (std::vector<std::string>{"a", "b"}));
  c.Delete(0);
  EXPECT_EQ(c.Lines(), (std::vector<std::string>{"b"}));
}

TEST_F(ContainerFiles, DeleteOfAForeignItemChangesNothing) {
  TLineContainer c;
  c.AddItem(std::make_unique<TLineItem>("a"));
  TLineItem stranger("a");
  c.Delete(&stranger);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(
      messages[0],
      Sjis("TCustomContainer.Delete error\r\r削除要求されたオブジェクトは見つかりませんでした"));
  EXPECT_EQ(c.Count(), 1);
  c.Delete(c.Items(0));
  EXPECT_EQ(c.Count(), 0);
  EXPECT_EQ(messages.size(), 1u);
}

// Lines end with CR, LF or CR LF; blank lines (after trimming bytes up to
// 0x20) are skipped; prefix and suffix go around the trimmed text; Shift-JIS
// bytes, a 0x5C trail byte included, pass untouched.
TEST_F(ContainerFiles, LineLoadingTrimsSkipsAndWraps) {
  const std::string path = Write("lines.txt", " one \r\n\r\n\t\x95\x5C\rthree\n   \nlast");
  TLineContainer c;
  c.FLinePrefix = "<";
  c.FLineSuffix = ">";
  c.AddItem(std::make_unique<TLineItem>("cleared first"));
  ASSERT_TRUE(c.LoadFromFile(path));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(c.Lines(), (std::vector<std::string>{"<one>", "<\x95\x5C>", "<three>", "<last>"}));
  EXPECT_EQ(c.FileName(), path);
}

TEST_F(ContainerFiles, MissingAndUnreadableFilesAreReported) {
  TLineContainer c;
  const std::string missing = (dir / "none.txt").string();
  EXPECT_FALSE(c.LoadFromFile(missing));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0],
            Sjis("TCustomContainer.LoadFromFile Error\r\r\"" + missing + "\" is not Found."));

  // With FLoadMissing the missing file is read, and reading fails.
  c.FLoadMissing = true;
  EXPECT_FALSE(c.LoadFromFile(missing));
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], Sjis("TCustomContainer.LoadFromFile Error\r\r\"" + missing +
                              "\" の読み込みに失敗しました"));
}

TEST_F(ContainerFiles, WholeFileGivesOneItemForThePath) {
  const std::string path = Write("whole.dat", "ignored\r\nlines\r\n");
  TLineContainer c;
  c.FWholeFile = true;
  ASSERT_TRUE(c.LoadFromFile(path));
  EXPECT_EQ(c.Lines(), (std::vector<std::string>{path}));
}

TEST_F(ContainerFiles, SaveWritesEveryLineWithCrLfAndRoundTrips) {
  TLineContainer c;
  c.AddItem(std::make_unique<TLineItem>("\x83\x65\x83\x58\x83\x67"));
  c.AddItem(std::make_unique<TLineItem>("b"));
  const std::string path = (dir / "out.txt").string();
  c.SaveToFile(path);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Read(path), "\x83\x65\x83\x58\x83\x67\r\nb\r\n");
  TLineContainer back;
  ASSERT_TRUE(back.LoadFromFile(path));
  EXPECT_EQ(back.Lines(), c.Lines());
  back.Save();  // to the file it loaded
  EXPECT_EQ(Read(path), "\x83\x65\x83\x58\x83\x67\r\nb\r\n");
}

TEST_F(ContainerFiles, SaveIntoAMissingFolderWritesNothing) {
  TLineContainer c;
  c.AddItem(std::make_unique<TLineItem>("a"));
  const std::string folder = (dir / "absent").string();
  c.SaveToFile(folder + "/out.txt");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], Sjis("TCustomContainer.SaveToFile Error\r\rDB Folder : \"" + folder +
                              "\" is not Found"));
  EXPECT_FALSE(fs::exists(folder));
}

TEST_F(ContainerFiles, WriteFailuresAreReportedWithTheName) {
  TLineContainer c;
  c.AddItem(std::make_unique<TLineItem>("a"));
  fs::create_directories(dir / "taken");  // a folder where the file should go
  const std::string path = (dir / "taken").string();
  c.SaveToFile(path);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0],
            Sjis("TCustomContainer.SaveToFile Error\r\r\"" + path + "\" の保存に失敗しました"));
}

TEST_F(ContainerFiles, SaveItemToFileUsesTheItemsOwnFile) {
  TLineContainer c;
  auto item = std::make_unique<TLineItem>("own");
  item->DbFile = (dir / "own.dat").string();
  TLineItem* raw = item.get();
  c.AddItem(std::move(item));
  c.SaveItemToFile(raw);
  EXPECT_EQ(Read(raw->DbFile), "own\r\n");

  raw->DbFile = "";  // no folder part at all
  c.SaveItemToFile(raw);
  raw->DbFile = (dir / "absent" / "x.dat").string();
  c.SaveItemToFile(raw);
  ASSERT_EQ(messages.size(), 2u);
  for (const std::string& m : messages)
    EXPECT_EQ(m, Sjis("TCustomContainer.SaveToFile Error\r\r_ContainerItem.GetDbFileName "
                      "が有効な文字列を返しませんでした"));
}

// Named files first, in the given order; then the rest in listing order.
// Without FWholeFile each load clears, so the last file's lines remain.
TEST_F(ContainerFiles, FolderLoadingHonoursTheOrder) {
  Write("a.dat", "A");
  Write("b.dat", "B");
  Write("c.dat", "C");
  Write("skip.txt", "T");
  fs::create_directories(dir / "d.dat");  // a folder is never loaded
  TLineContainer c;
  c.FWholeFile = true;
  const std::vector<std::string> order{"C.txt", "a"};
  c.LoadFromFolder(&order, dir.string(), ".dat");
  const std::string base = test::InFolder(dir);
  if (os::kWindows) {
    // Names match whatever their letter case, as on the file system: C.dat
    // is c.dat, loaded once under the name asked for.
    EXPECT_EQ(c.Lines(),
              (std::vector<std::string>{base + "C.dat", base + "a.dat", base + "b.dat"}));
    EXPECT_EQ(messages.size(), 0u);
  } else {
    // C.dat does not exist: names keep their case, so c.dat is not taken
    // for it and is loaded with the rest.
    EXPECT_EQ(c.Lines(),
              (std::vector<std::string>{base + "a.dat", base + "b.dat", base + "c.dat"}));
    EXPECT_EQ(messages.size(), 1u);
  }

  TLineContainer lines;
  lines.LoadFromFolder(nullptr, dir.string(), ".dat");
  EXPECT_EQ(lines.Lines(), (std::vector<std::string>{"C"}));
}

}  // namespace
}  // namespace tavrin
